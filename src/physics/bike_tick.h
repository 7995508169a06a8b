// Bikes on the loaded terrain: putting one on the ground, and the contacts
// between the bikes of a tick.
#pragma once

#include "physics/bike.h"

// Bikes beyond this many take no part in the pair contacts.
constexpr int MAX_TICK_BIKES = 64;

// Puts a bike on the loaded terrain at (x, z) facing `heading` (radians
// about the vertical; 0 faces -z): from the grid height there it is raised
// in 0.25 ft steps until nothing touches the ground. The contact joints of
// the trials are removed.
void place_bike(Bike& b, double x, double z, double heading);

// Fills `order` with the bikes sorted by frame speed, fastest first (ties
// keep their order), and runs collide_bikes for every pair.
void collide_bike_pairs(Bike* const* bikes, int count, Bike** order);
