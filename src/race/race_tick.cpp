// One simulation tick of the race, in its fixed order.
#include <algorithm>

#include "core/race_clock.h"
#include "physics/bike.h"
#include "physics/bike_step.h"
#include "physics/physics_world.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_contacts.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/rider_snapshot.h"
#include "race/starting_gate.h"
#include "race/time_trial.h"

namespace {

// Each slot's own tick after the world step: the robot's controls, the
// bike's dynamics, then its timing.
void step_slots() {
  const AutopilotHooks& autopilot = autopilot_hooks();
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    Bike* b = race.slot_bike[slot];
    if (!b) continue;
    const int control = race.slot_control[slot];
    if (control == CONTROL_AUTOPILOT) autopilot.autopilot_tick(*b);
    if (control == CONTROL_EXTERNAL) {
      // A collision wakes a replayed bike in the world step; its state
      // comes from outside, so it goes back to sleep.
      for (int body = 0; body < BODY_COUNT; ++body) dBodyDisable(bike_body(*b, body));
    }
    step_bike(*b, control != CONTROL_EXTERNAL);
    // A replayed bike still shows the previous tick's state (its next frame
    // comes after the clock advances), so its crossings belong to that tick.
    // Connected to a server, only the local rider is timed here (network issue).
    process_gates(*b, control == CONTROL_EXTERNAL ? std::max(race_clock - 1, 0) : race_clock);
  }
}

}  // namespace

void emit_race_roost() {
  Bike* bikes[RACE_SLOTS];
  const int count = race_bikes(bikes);
  if (count == 0) return;
  const int first = race_clock % count;
  for (int k = 0; k < count; ++k) {
    Bike& b = *bikes[(first + k) % count];
    emit_roost(race.roost, b, race.slot_control[b.slot] != CONTROL_EXTERNAL);
  }
}

void race_tick() {
  // Connected to a server, remote riders take their received states first
  // (network issue).
  const TimeTrialLaps laps_before = race.time_trial ? note_time_trial_laps() : TimeTrialLaps{};
  collide_race_bikes();
  emit_race_roost();
  step_physics_world();
  step_slots();
  update_roost(race.roost);
  animate_gate_bars();
  ++race_clock;
  record_demo_tick();
  play_demo_tick();
  if (race.time_trial) time_trial_tick(laps_before);
  publish_rider_snapshots();
}
