#include "physics/bike_setup.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/settings.h"
#include "physics/bike_load.h"

namespace {

constexpr double FEET_PER_SECOND_PER_MPH = 1.4666666666666666;
constexpr double MM_PER_FOOT = 304.79999999999995;
// lbf/ft in kgf/mm, per fork leg (two legs share the rate) and for the shock.
constexpr double FORK_KG_PER_MM = 0.0007440819724087572;
constexpr double SHOCK_KG_PER_MM = 0.0014881639448175144;

double clamped(double v, double low, double high) { return std::isfinite(v) ? std::clamp(v, low, high) : low; }

// A percent value as a fraction of a model range [first, second].
double in_range(const double range[2], double percent) {
  return range[0] + clamped(percent / 100, 0, 1) * (range[1] - range[0]);
}
// A percent value as a factor on a base damping: 0 % = half, 100 % = one and a half.
double damping_factor(double percent) { return clamped(0.5 + percent / 100, 0, 2); }

void set_flag(Bike& b, uint8_t bit, bool on) { b.flags = on ? (b.flags | bit) : (b.flags & ~bit); }

// The setter of each advanced stability item (the settings table holds
// their presets).
struct StabilitySetter {
  SettingItem Settings::* item;
  void (*set)(Bike&, double);
};
const StabilitySetter STABILITY_SETTERS[] = {
    {&Settings::leveling, set_leveling},
    {&Settings::roll_damping, set_roll_damping},
    {&Settings::roll_limit_angle, set_roll_limit_angle},
    {&Settings::roll_limit_factor, set_roll_limit_factor},
    {&Settings::steering_damping, set_steering_damping},
    {&Settings::steering_strength, set_steering_strength},
    {&Settings::max_steering_force, set_max_steering_force},
    {&Settings::direct_steering, set_direct_steering},
    {&Settings::slow_damping_speed, set_slow_damping_speed},
    {&Settings::slow_damping_factor, set_slow_damping_factor},
    {&Settings::land_damping_falloff, set_landing_damping_falloff},
    {&Settings::land_damping_factor, set_landing_damping_factor},
};

std::string format(const char* pattern, double value) {
  char text[64];
  std::snprintf(text, sizeof text, pattern, value);
  return text;
}

}  // namespace

void set_leveling(Bike& b, double v) { b.setup.leveling = clamped(v, 0, 200); }
void set_roll_damping(Bike& b, double v) { b.setup.roll_damping = clamped(v, 0, 200); }
void set_roll_limit_angle(Bike& b, double degrees) { b.setup.roll_limit_angle = clamped(degrees * M_PI / 180, 0, M_PI); }
void set_roll_limit_factor(Bike& b, double v) { b.setup.roll_limit_factor = clamped(v, 0, 64); }
void set_steering_damping(Bike& b, double v) { b.setup.steering_damping = clamped(v, 0, 100); }
void set_steering_strength(Bike& b, double v) { b.setup.steering_strength = clamped(v, 0, 200); }
void set_max_steering_force(Bike& b, double v) { b.setup.max_steering_force = clamped(v, 0, 1000); }
void set_direct_steering(Bike& b, double v) { b.setup.direct_steering = clamped(v, 0, 1); }
void set_slow_damping_speed(Bike& b, double v) { b.setup.slow_damping_speed = clamped(v, 0, 100); }
void set_slow_damping_factor(Bike& b, double v) { b.setup.slow_damping_factor = clamped(v, 1, 10); }
void set_landing_damping_falloff(Bike& b, double s) { b.setup.landing_damping_falloff = clamped(s, 0, 1); }
void set_landing_damping_factor(Bike& b, double v) { b.setup.landing_damping_factor = clamped(v, 1, 3); }
void set_auto_clutch_rpm(Bike& b, double rpm) { b.setup.auto_clutch_rpm = clamped(rpm, 0, 5000); }
void set_front_braking_torque(Bike& b, double v) { b.setup.front_braking_torque = clamped(v, 0, 500); }
void set_rear_braking_torque(Bike& b, double v) { b.setup.rear_braking_torque = clamped(v, 0, 500); }
void set_max_dab_speed(Bike& b, double mph) {
  b.setup.max_dab_speed = clamped(mph * FEET_PER_SECOND_PER_MPH, DAB_SPEED_BASE + 1, DAB_SPEED_BASE + 15);
}

void set_arcade(Bike& b, int index) { set_flag(b, OPTION_ARCADE, index == 1); }
void set_front_antilock(Bike& b, int index) { set_flag(b, OPTION_FRONT_ANTILOCK, index == 1); }
void set_rear_antilock(Bike& b, int index) { set_flag(b, OPTION_REAR_ANTILOCK, index == 1); }
void set_automatic_shifting(Bike& b, int index) { set_flag(b, OPTION_AUTO_SHIFT, index == 1); }
void set_dab_when_stopped(Bike& b, int index) { set_flag(b, OPTION_DAB_WHEN_STOPPED, index == 1); }

void set_stop_wheelies(Bike& b, int index) {
  static constexpr uint8_t bits[] = {0, OPTION_CUT_WHEELIE_DRIVE | OPTION_FRONT_BRAKE_RELEASE, OPTION_FRONT_BRAKE_RELEASE};
  uint8_t chosen = index >= 0 && index < 3 ? bits[index] : 0;
  b.flags = (b.flags & ~(OPTION_CUT_WHEELIE_DRIVE | OPTION_FRONT_BRAKE_RELEASE)) | chosen;
}

void set_sprockets(Bike& b, double front_adjustment, double rear_adjustment) {
  double front = std::max(b.info.front_sprocket + clamped(front_adjustment, -2, 2), 3.0);
  double rear = std::max(b.info.rear_sprocket + clamped(rear_adjustment, -2, 2), 3.0);
  b.final_drive_ratio = rear / front;
}

void set_fork(Bike& b, double compression, double rebound, double spring_rate, double preload, double oil_level) {
  const BikeInfo& i = b.info;
  b.setup.fork_compression_damping = i.fork_compression_damping * damping_factor(compression);
  b.setup.fork_rebound_damping = i.fork_rebound_damping * damping_factor(rebound);
  b.setup.fork_spring_rate = in_range(i.fork_spring_rate, spring_rate);
  b.setup.fork_preload = in_range(i.fork_preload, preload);
  b.setup.fork_air_gap = in_range(i.fork_air_gap, oil_level);  // more oil, shorter air column
}

void set_shock(Bike& b, double compression, double rebound, double spring_rate, double preload) {
  const BikeInfo& i = b.info;
  b.setup.shock_compression_damping = i.shock_compression_damping * damping_factor(compression);
  b.setup.shock_rebound_damping = i.shock_rebound_damping * damping_factor(rebound);
  b.setup.shock_spring_rate = in_range(i.shock_spring_rate, spring_rate);
  b.setup.shock_preload = in_range(i.shock_preload, preload);
}

void set_rider_springs(Bike& b, double vertical_spring, double vertical_damping, double forward_spring,
                       double forward_damping) {
  b.setup.rider_vertical_spring = clamped(vertical_spring / 100, 0, 1);
  b.setup.rider_vertical_damping = clamped(vertical_damping / 100, 0, 1);
  b.setup.rider_forward_spring = clamped(forward_spring / 100, 0, 1);
  b.setup.rider_forward_damping = clamped(forward_damping / 100, 0, 1);
}

void apply_settings(Bike& b, const Settings& s) {
  set_leveling(b, s.leveling.value);
  set_roll_damping(b, s.roll_damping.value);
  set_roll_limit_angle(b, s.roll_limit_angle.value);
  set_roll_limit_factor(b, s.roll_limit_factor.value);
  set_steering_damping(b, s.steering_damping.value);
  set_steering_strength(b, s.steering_strength.value);
  set_max_steering_force(b, s.max_steering_force.value);
  set_arcade(b, s.arcade.current);
  set_front_antilock(b, s.front_brake.current);
  set_rear_antilock(b, s.rear_brake.current);
  set_stop_wheelies(b, s.stop_wheelies.current);
  set_automatic_shifting(b, s.auto_shift.current);
  set_dab_when_stopped(b, s.auto_dab.current);
  set_direct_steering(b, s.direct_steering.value);
  set_slow_damping_speed(b, s.slow_damping_speed.value);
  set_slow_damping_factor(b, s.slow_damping_factor.value);
  set_landing_damping_falloff(b, s.land_damping_falloff.value);
  set_landing_damping_factor(b, s.land_damping_factor.value);
  set_auto_clutch_rpm(b, s.auto_clutch_rpms.value);
  set_front_braking_torque(b, s.brake_torque.value);
  set_rear_braking_torque(b, s.rear_brake_torque.value);
  set_max_dab_speed(b, s.max_dab_speed.value);
  set_sprockets(b, s.front_sprocket_adjustment.value, s.rear_sprocket_adjustment.value);
  set_fork(b, s.fork_compression_adjustment.value, s.fork_rebound_adjustment.value, s.fork_spring_rate_adjustment.value,
           s.fork_preload_adjustment.value, s.fork_oil_level_adjustment.value);
  set_shock(b, s.shock_compression_adjustment.value, s.shock_rebound_adjustment.value,
            s.shock_spring_rate_adjustment.value, s.shock_preload_adjustment.value);
  set_rider_springs(b, s.rider_yspring.value, s.rider_ydamping.value, s.rider_zspring.value, s.rider_zdamping.value);
  set_rider_mass_distribution(b, s.rider_mass_distribution.value);
}

bool apply_stability_item(Bike& b, const SettingItem& item) {
  for (const StabilitySetter& setter : STABILITY_SETTERS)
    if (&(settings.*setter.item) == &item) {
      setter.set(b, item.value);
      return true;
    }
  return false;
}

SetupTexts setup_display(const char* model, const Settings& v) {
  SetupTexts texts;
  const BikeInfo* i = find_bike_info(model);
  if (!i) return texts;
  texts.fork_spring_rate = format("%.3f kg/mm", in_range(i->fork_spring_rate, v.fork_spring_rate_adjustment.value) * FORK_KG_PER_MM);
  texts.fork_preload = format("%.2f mm", in_range(i->fork_preload, v.fork_preload_adjustment.value) * MM_PER_FOOT);
  texts.fork_oil_level = format("%.2f mm", in_range(i->fork_air_gap, v.fork_oil_level_adjustment.value) * MM_PER_FOOT);
  texts.shock_spring_rate = format("%.2f kg/mm", in_range(i->shock_spring_rate, v.shock_spring_rate_adjustment.value) * SHOCK_KG_PER_MM);
  texts.shock_preload = format("%.2f mm", in_range(i->shock_preload, v.shock_preload_adjustment.value) * MM_PER_FOOT);
  texts.countershaft_sprocket = format("%.2f teeth", i->front_sprocket + v.front_sprocket_adjustment.value);
  texts.rear_sprocket = format("%.2f teeth", i->rear_sprocket + v.rear_sprocket_adjustment.value);
  return texts;
}
