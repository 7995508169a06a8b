#include "physics/bike_controls.h"

#include <algorithm>
#include <cmath>

#include "core/units.h"

namespace {

// Not-a-number inputs count as 0.
double unit(double v) { return std::isfinite(v) ? std::clamp(v, 0.0, 1.0) : 0.0; }
double signed_unit(double v) { return std::isfinite(v) ? std::clamp(v, -1.0, 1.0) : 0.0; }

}  // namespace

void set_throttle(Bike& b, double v) { b.controls.throttle = bike_crashed(b) ? 0 : unit(v); }

void set_clutch(Bike& b, double lever) {
  double wanted = unit(1 - lever * 8 / 7);
  double& clutch = b.controls.clutch;
  clutch = wanted > clutch ? std::min(clutch + 4 * dt, wanted) : wanted;
}

void set_front_brake(Bike& b, double v) { b.controls.front_brake = unit(v); }
void set_rear_brake(Bike& b, double v) { b.controls.rear_brake = unit(v); }
void set_steer(Bike& b, double v) { b.controls.steer = signed_unit(v); }
void set_dab(Bike& b, double v) { b.controls.dab = bike_crashed(b) ? 0 : unit(v); }
void set_back_up(Bike& b, double v) { b.controls.back_up = bike_crashed(b) ? 0 : unit(v); }
void set_lean(Bike& b, double v) { b.controls.lean = bike_crashed(b) ? 0 : signed_unit(v); }

double gear_ratio(const Bike& b, int gear) {
  return gear >= 0 && gear < GEAR_COUNT ? b.info.gear_ratios[gear] : 0;
}

int valid_gear(const Bike& b, int gear) {
  gear = std::clamp(gear, 0, GEAR_COUNT - 1);
  while (gear > 0 && gear_ratio(b, gear) <= 0) --gear;
  return gear;
}

void shift_gear(Bike& b, int input) {
  BikeControls& c = b.controls;
  if (input == c.last_shift || input < -1 || input > 1 || bike_crashed(b)) return;
  c.last_shift = input;
  c.gear = valid_gear(b, c.gear + input);
}

double engine_rpm(const Bike& b) { return b.engine_speed * 30 / M_PI; }
