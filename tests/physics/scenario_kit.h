// Riding helpers for the scenario tests: holding a speed, measuring while
// riding.
#pragma once

#include <algorithm>

#include "physics/bike_controls.h"
#include "physics_kit.h"

namespace physics_kit {

// Throttle toward a speed (ft/s), clutch out, rear brake when too fast.
inline void hold_speed(Bike* b, double target) {
  double error = target - speed(b);
  set_clutch(*b, 0);
  set_throttle(*b, std::clamp(error / 2, 0.0, 1.0));
  set_rear_brake(*b, std::clamp(-error / 8, 0.0, 1.0));
}

}  // namespace physics_kit
