#include "autopilot/autopilot.h"

#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "race/race_hooks.h"

void set_personality(Bike&, const char*) {}

void autopilot_tick(Bike& b) {
  // At rest: stopped on both brakes, the clutch lever pulled, a foot down.
  set_throttle(b, 0);
  set_clutch(b, 1);
  set_front_brake(b, 1);
  set_rear_brake(b, 1);
  set_steer(b, 0);
  set_dab(b, 1);
}

void load_lines(const char*, int) {}
void save_lines() {}
void prune_lines() {}
void plan_laps() {}
void clear_lines() {}

void install_autopilot() {
  static const AutopilotHooks hooks = [] {
    AutopilotHooks h{};
    h.set_personality = set_personality;
    h.autopilot_tick = autopilot_tick;
    h.load_lines = load_lines;
    h.save_lines = save_lines;
    h.prune_lines = prune_lines;
    h.plan_laps = plan_laps;
    h.clear_lines = clear_lines;
    return h;
  }();
  set_autopilot_hooks(&hooks);
}
