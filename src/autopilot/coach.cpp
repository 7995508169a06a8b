#include "autopilot/coach.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "physics/ground_plane.h"
#include "race/race_session.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

constexpr double BLEND_DISTANCE = 45;  // ft before a gate the aim turns toward the one after
constexpr double STEER_GAIN = 2.5;     // steer per radian of heading error
constexpr double YAW_DAMPING = 0.5;    // steer per rad/s of turning
constexpr double CRAWL_SPEED = 8;      // ft/s while turning round
constexpr double MISSED_GATE_AIM = 5;  // ft behind a missed gate's line
constexpr double STUCK_SPEED = 3;      // ft/s
constexpr int STUCK_TICKS = 3 * TICKS_PER_SECOND;
constexpr int BACK_UP_TICKS = 2 * TICKS_PER_SECOND;

struct CoachState {
  int slow_ticks = 0;
  int backing_up = 0;  // ticks left walking the bike back
};
CoachState coaches[RACE_SLOTS];
CoachPace pace;

Flat gate_centre(int position) {
  const TimingGate& g = track().timing.gates[static_cast<size_t>(sequence_gate(position))];
  return {g.centre[0], g.centre[2]};
}

void hold(Bike& b) {
  set_throttle(b, 0);
  set_clutch(b, 1);
  set_front_brake(b, 1);
  set_rear_brake(b, 1);
  set_steer(b, 0);
}

}  // namespace

void set_coach_pace(const CoachPace& p) { pace = p; }

void reset_coaches() { std::fill(std::begin(coaches), std::end(coaches), CoachState{}); }

void coach_tick(Bike& b) {
  CoachState& state = coaches[std::clamp(b.slot, 0, RACE_SLOTS - 1)];
  if (track().timing.gates.empty() || track().timing.lap_sequence.empty() || race_clock <= race.gate_drop_tick || bike_crashed(b)) {
    hold(b);
    return;
  }
  const Flat at = flat(body_position(b.frame));
  const Flat forward = flat(-body_axis(b.frame, 2));
  const Flat gate = gate_centre(b.gates_passed), after = gate_centre(b.gates_passed + 1);
  const Flat to_gate = gate - at;
  const double distance = norm(to_gate);

  // Aim at the gate, turning toward the next one as it comes close. A
  // rider already beyond the gate's line (having missed it) heads back into
  // the half disc behind the line, where the gate counts.
  const TimingGate& g = track().timing.gates[static_cast<size_t>(sequence_gate(b.gates_passed))];
  const Flat through = {g.direction[0], g.direction[2]};
  Flat aim = gate;
  if (dot(at - gate, through) >= 0) {
    aim = {gate.x + through.x * MISSED_GATE_AIM, gate.z + through.z * MISSED_GATE_AIM};
  } else if (distance < BLEND_DISTANCE) {
    double share = 0.5 * (1 - distance / BLEND_DISTANCE);
    aim = {gate.x + (after.x - gate.x) * share, gate.z + (after.z - gate.z) * share};
  }
  const double error = turn_between(forward, aim - at);
  const double yaw_right = -body_angular_velocity(b.frame).y;

  // As fast as the sharper of the heading error and the turn at the gate allows.
  const double turn = std::max(std::fabs(turn_between(to_gate, after - gate)), std::fabs(error));
  double wanted = std::max(pace.turn_speed * 0.5,
                           pace.top_speed - (pace.top_speed - pace.turn_speed) * std::min(turn / (M_PI / 2), 1.5));
  if (std::fabs(error) > M_PI / 2) wanted = CRAWL_SPEED;
  const double speed = bike_speed(b);

  if (state.backing_up > 0) {
    --state.backing_up;
    set_throttle(b, 0);
    set_clutch(b, 1);
    set_back_up(b, 1);
    set_steer(b, error > 0 ? -1 : 1);
    return;
  }
  state.slow_ticks = speed < STUCK_SPEED ? state.slow_ticks + 1 : 0;
  if (state.slow_ticks > STUCK_TICKS && std::fabs(error) > M_PI / 3) {
    state.slow_ticks = 0;
    state.backing_up = BACK_UP_TICKS;
  }

  set_back_up(b, 0);
  set_steer(b, std::clamp(STEER_GAIN * error - YAW_DAMPING * yaw_right, -1.0, 1.0));
  set_clutch(b, 0);
  const double gap = wanted - speed;
  set_throttle(b, std::clamp(gap / 6 + 0.3, 0.0, 1.0));
  const double brake = std::clamp(-gap / 12, 0.0, 1.0);
  set_front_brake(b, brake);
  set_rear_brake(b, brake);
}

void drive_coaches() {
  for (int slot = 0; slot < RACE_SLOTS; ++slot)
    if (race.slot_bike[slot] && race.slot_control[slot] == CONTROL_LOCAL) coach_tick(*race.slot_bike[slot]);
}
