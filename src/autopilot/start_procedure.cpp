#include "autopilot/start_procedure.h"

#include <algorithm>

#include "autopilot/personality.h"
#include "autopilot/robot_controls.h"
#include "core/mt19937.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "race/race_session.h"

namespace {

constexpr double FIRST_BLIP_WITHIN = 2;           // s after the reset
constexpr double BLIP_PAUSE = 2, BLIP_PAUSE_SPREAD = 0.5;
constexpr double BLIP = 0.25, BLIP_SPREAD = 0.5;
constexpr double QUIET_AFTER_SIGNAL = 0.125, QUIET_SPREAD = 0.375;
constexpr double LAUNCH_SECONDS = 2;
constexpr double ENGAGE_RATE = 4;                  // clutch engagement per second
constexpr double SHIFTING_FROM = 0.75;             // engagement at which automatic shifting returns

// Uniform in [0, 1), from the race's generator so that races replay.
double uniform() { return (mt_next(game_random) & 0x7FFFFFFF) * (1.0 / 2147483648.0); }

void launch(Bike& b, double since) {
  const double a = std::clamp(ENGAGE_RATE * since, 0.0, 1.0);
  set_engagement(b, a);
  const bool riding = !bike_crashed(b);
  set_dab(b, riding ? 1 - a : 0);
  set_throttle(b, riding ? 1 : 0);
  set_front_brake(b, 0);
  set_rear_brake(b, 0);
  set_steer(b, 0);
  if (a < SHIFTING_FROM) {
    b.flags &= static_cast<uint8_t>(~OPTION_AUTO_SHIFT);
    b.controls.gear = valid_gear(b, launch_gear(b));
  }
}

}  // namespace

bool start_procedure(Bike& b, RiderLines& r) {
  const double now = race_clock * dt, signal = race.start_signal_tick * dt, drop = race.gate_drop_tick * dt;
  if (now >= drop + START_PROCEDURE_SECONDS) return false;
  const double revs = bike_crashed(b) ? 0 : 1;
  double& t = r.launch_time;
  if (t == 0) t = FIRST_BLIP_WITHIN * uniform();

  if (now < signal) {
    // Blips while the field lines up: a negative time is a blip in progress.
    if (t < 0) {
      if (now < -t) return hold_at_gate(b, revs), true;
      t = std::min(now + BLIP_PAUSE + uniform() * BLIP_PAUSE_SPREAD, signal);
    }
    if (now >= t) t = -(now + BLIP + uniform() * BLIP_SPREAD);
    hold_at_gate(b, t < 0 ? revs : 0);
    return true;
  }
  if (t <= signal) t = signal + QUIET_AFTER_SIGNAL + uniform() * QUIET_SPREAD;
  if (t < drop) {
    if (now < t) return hold_at_gate(b, 0), true;
    const Personality& who = personality(r.personality);
    t = drop + who.reaction_min + uniform() * (who.reaction_max - who.reaction_min);
  }
  if (now < t) return hold_at_gate(b, revs), true;
  if (now < t + LAUNCH_SECONDS) return launch(b, now - t), true;
  return false;
}
