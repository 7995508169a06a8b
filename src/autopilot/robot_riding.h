// Riding a robot along its path: where it is on the path, the speed the
// path asks for there, steering that leans the bike into the path's turns,
// the throttle, brakes and clutch that hold the speed, and the bike's pitch
// in the air.
#pragma once

#include "autopilot/rider_state.h"

struct Bike;

// A robot nearly stopped and facing away from its path walks the bike
// round on the spot first.
void ride_path(Bike& b, RiderLines& r);

// The robot's control of one tick on the path it has: the starting gate,
// then riding, shrinking its look-ahead when stuck. (Training riders that
// follow a planned course use it too.)
void ride_along(Bike& b, RiderLines& r);
