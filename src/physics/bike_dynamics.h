// The pieces of step_bike that act on the bike itself: suspension,
// drivetrain with clutch and gearbox, brakes, front wheel damping and the
// joint force balance. Each runs once per tick, in step_bike's order.
#pragma once

#include "physics/bike.h"

// Fork spring (with its air column), damping and the ramp-out at full extension.
void fork_force(Bike& b);
// Shock through the linkage onto the swingarm.
void shock_torque(Bike& b);
// Automatic shifting, clutch, chain wind-up and slip, drive torque, engine
// speed, and both brakes with their antilock and wheelie rules.
void drivetrain_and_brakes(Bike& b);
// Damps every rotation of the front wheel except its spin.
void front_wheel_damping(Bike& b);
// Removes the net force and torque the joints' own errors put on the bike.
void joint_force_balance(Bike& b);

// How far the clutch is in at an engine speed: the automatic clutch bites
// from the auto clutch rpm and is fully in 2000 rpm higher, never beyond the
// clutch control.
double clutch_engagement(const Bike& b, double rpm);
// Engine torque table entry for an rpm: the nearest 500 rpm, within the table.
int torque_index(double rpm);
