#include "race/rider_snapshot.h"

#include <algorithm>

#include "physics/bike_controls.h"
#include "race/lap_timing.h"
#include "race/race_session.h"

namespace {

RiderSnapshot snapshots[RACE_SLOTS];

void take(RiderSnapshot& s, const Bike& b, int control) {
  s.present = true;
  s.control = control;
  for (int k = 0; k < BODY_COUNT; ++k) {
    const dBodyID body = bike_body(b, k);
    s.position[k] = body_position(body);
    const dReal* q = dBodyGetQuaternion(body);
    std::copy(q, q + 4, s.orientation[k]);
  }
  s.velocity = body_velocity(b.frame);
  s.engine_rpm = engine_rpm(b);
  s.gear = b.controls.gear;
  s.controls = b.controls;
  s.crashed = bike_crashed(b);
  s.crash_timer = b.crash_timer;
  for (int w = 0; w < WHEEL_COUNT; ++w) s.wheel_down[w] = wheel_down(b, w);
  s.laps = completed_laps(b);
  s.gates_passed = b.gates_passed;
  s.finished = b.finished;
}

}  // namespace

void publish_rider_snapshots() {
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    const Bike* b = race.slot_bike[slot];
    if (b) take(snapshots[slot], *b, race.slot_control[slot]);
    else if (snapshots[slot].present) snapshots[slot] = RiderSnapshot{};
  }
}

const RiderSnapshot& rider_snapshot(int slot) { return snapshots[std::clamp(slot, 0, RACE_SLOTS - 1)]; }
