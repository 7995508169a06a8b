// The player's bike setup: menu values in friendly units (percent, degrees,
// miles per hour, tooth offsets) turned into the bike's physical setup and
// option flags, the physical figures shown on the "Suspension and Gearing"
// page, and the twelve advanced assists that follow the "Stability" slider.
#pragma once

#include <string>

#include "physics/bike.h"

struct Settings;
struct SettingItem;

// Setters: each clamps and stores the physical value.
void set_leveling(Bike& b, double v);
void set_roll_damping(Bike& b, double v);
void set_roll_limit_angle(Bike& b, double degrees);
void set_roll_limit_factor(Bike& b, double v);
void set_steering_damping(Bike& b, double v);
void set_steering_strength(Bike& b, double v);
void set_max_steering_force(Bike& b, double v);
void set_direct_steering(Bike& b, double v);
void set_slow_damping_speed(Bike& b, double v);
void set_slow_damping_factor(Bike& b, double v);
void set_landing_damping_falloff(Bike& b, double seconds);
void set_landing_damping_factor(Bike& b, double v);
void set_auto_clutch_rpm(Bike& b, double rpm);
void set_front_braking_torque(Bike& b, double v);
void set_rear_braking_torque(Bike& b, double v);
void set_max_dab_speed(Bike& b, double mph);
// Choice indices ("No" = 0, "Yes" = 1; "Normal" = 0, "Antilock" = 1).
void set_arcade(Bike& b, int index);
void set_front_antilock(Bike& b, int index);
void set_rear_antilock(Bike& b, int index);
void set_automatic_shifting(Bike& b, int index);
void set_dab_when_stopped(Bike& b, int index);
// "No", "Yes", "Front Only".
void set_stop_wheelies(Bike& b, int index);
// Tooth offsets on the model's sprockets; each sprocket counts at least 3 teeth.
void set_sprockets(Bike& b, double front_adjustment, double rear_adjustment);
// Percent values, 50 = the model's middle setting.
void set_fork(Bike& b, double compression, double rebound, double spring_rate, double preload, double oil_level);
void set_shock(Bike& b, double compression, double rebound, double spring_rate, double preload);
void set_rider_springs(Bike& b, double vertical_spring, double vertical_damping, double forward_spring,
                       double forward_damping);

// Pushes every setting of a settings record into the bike.
void apply_settings(Bike& b, const Settings& s);
// One of the twelve advanced stability settings, while the player drags it.
// False when the item is not one of them.
bool apply_stability_item(Bike& b, const SettingItem& item);

// The "Suspension and Gearing" page's physical figures for a model; all
// empty when the model is not in the table.
struct SetupTexts {
  std::string fork_spring_rate, fork_preload, fork_oil_level;
  std::string shock_spring_rate, shock_preload;
  std::string countershaft_sprocket, rear_sprocket;
};
SetupTexts setup_display(const char* model, const Settings& values);
