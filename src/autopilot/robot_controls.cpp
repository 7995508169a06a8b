#include "autopilot/robot_controls.h"

#include <algorithm>

#include "physics/bike.h"
#include "physics/bike_controls.h"

namespace {

constexpr double THROTTLE_STEP = 1.0 / 32;  // per tick

}  // namespace

void set_engagement(Bike& b, double engagement) { set_clutch(b, (1 - std::clamp(engagement, 0.0, 1.0)) * 7 / 8); }

void hold_at_gate(Bike& b, double throttle) {
  set_dab(b, 1);
  b.flags &= static_cast<uint8_t>(~OPTION_AUTO_SHIFT);
  set_engagement(b, 0);
  set_front_brake(b, 1);
  set_rear_brake(b, 1);
  set_steer(b, 0);
  set_throttle(b, throttle);
  b.controls.gear = valid_gear(b, launch_gear(b));
}

int launch_gear(const Bike& b) { return b.info.two_stroke > 0 ? 1 : 0; }

double clutch_rpm(const Bike& b) { return b.info.auto_downshift_rpm; }

void ease_throttle(Bike& b, double wanted) {
  const double now = b.controls.throttle;
  set_throttle(b, std::clamp(wanted, now - THROTTLE_STEP, now + THROTTLE_STEP));
}
