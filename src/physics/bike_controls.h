// Writing the rider's inputs into a bike, and reading the engine back.
// Each setter clamps to its range; throttle, dab, back up and lean write 0
// while the rider is thrown off.
#pragma once

#include "physics/bike.h"

void set_throttle(Bike& b, double throttle);
// From the clutch lever (0 = released): the wanted engagement is
// 1 - lever * 8/7; engagement falls at once but rises by 1/32 per call.
void set_clutch(Bike& b, double lever);
void set_front_brake(Bike& b, double brake);
void set_rear_brake(Bike& b, double brake);
void set_steer(Bike& b, double steer);
void set_dab(Bike& b, double dab);
void set_back_up(Bike& b, double back_up);
void set_lean(Bike& b, double lean);
// Shift input -1, 0 or +1: acts only when it differs from the previous
// input, so a held input shifts once. Absent gears are never selected.
void shift_gear(Bike& b, int input);

// Ratio of the gear with index `gear` (<= 0: absent).
double gear_ratio(const Bike& b, int gear);
// Moves a gear index into 0 .. 5 and down past absent gears.
int valid_gear(const Bike& b, int gear);

double engine_rpm(const Bike& b);
// The engine torque the drivetrain would use now (ft*lbf), with the
// wheelie cut applied.
double engine_torque(const Bike& b);
