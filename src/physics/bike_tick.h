// One simulation tick for a set of locally simulated bikes on the loaded
// terrain, in the race tick's order: ground contacts, bike-pair contacts
// (fastest bike first), the world step with the contact group emptied, then
// step_bike for each bike in order. Scenery, roost and the race's own
// bookkeeping are the race session's; this is the physics part of its tick.
#pragma once

#include "physics/bike.h"

constexpr int MAX_TICK_BIKES = 64;

// Bikes beyond MAX_TICK_BIKES are not simulated. Does not advance race_clock.
void tick_bikes(Bike* const* bikes, int count);

// Puts a bike on the loaded terrain at (x, z) facing `heading` (radians
// about the vertical; 0 faces -z): from the grid height there it is raised
// in 0.25 ft steps until nothing touches the ground. The contact joints of
// the trials are removed.
void place_bike(Bike& b, double x, double z, double heading);

// Fills `order` with the bikes sorted by frame speed, fastest first (ties
// keep their order), and runs collide_bikes for every pair.
void collide_bike_pairs(Bike* const* bikes, int count, Bike** order);
