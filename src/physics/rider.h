// The rider and the assists that make the bike rideable: one sphere body
// hung on the frame and held by soft springs that lean and sit move, the
// steering controller with roll damping and limiting, the foot that holds a
// slow bike up, dabbing and braking when stopped, walking the bike
// backwards, the arcade mode, and the crash: ejection, the time down and
// the way back onto the bike. All of it runs inside step_bike.
#pragma once

#include "physics/bike.h"

// The player's controls that the assists may overwrite for one tick.
struct SavedControls {
  double front_brake, rear_brake, dab;
};

// Roll of a body: 0 upright, negative leaning toward its +x side.
double roll_angle(dBodyID body);

// Detaches the rider, starts the crash timer and takes his feet as the
// crash points.
void throw_rider(Bike& b);

// In step_bike's order.
void check_ejection(Bike& b);
SavedControls crash_recovery_and_stops(Bike& b);
void rider_springs(Bike& b);
void steer_bike(Bike& b);
void dab_support(Bike& b);
void restore_controls(Bike& b, const SavedControls& saved);
void animate_crash_points(Bike& b);

// What the rider asks of the layers above: for the pivot turn of a stopped
// rider, a point a few feet ahead on the racing line the bike follows (or
// the best line of its track section); false when there is none (no
// timing gates, no lines, no auto pilot).
struct RiderHooks {
  bool (*pivot_target)(const Bike& b, Vec3* target) = [](const Bike&, Vec3*) { return false; };
};
void set_rider_hooks(const RiderHooks& hooks);
const RiderHooks& rider_hooks();

// Pushes a body's horizontal velocity toward `target` with at most `max_force`.
void push_toward_velocity(dBodyID body, double max_force, const Vec3& target);
// The lean reached at full steer at speed v (lean-to-steer), with the
// given sharpness of the low-speed curve.
double max_lean_for_speed(const Bike& b, double v, int exponent);
