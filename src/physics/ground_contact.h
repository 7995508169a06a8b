// Contacts between a bike and the ground: the tyres with grip and rolling
// resistance from the ground material under them, and the body shapes.
#pragma once

#include "physics/bike.h"
#include "physics/terrain_contact.h"

struct Terrain;

// The geometric tyre query for one wheel in its current pose.
bool find_wheel_ground(const Terrain& t, const WheelContact& w, GroundHit* hit);

// Tests one tyre and stores the result in its record (depth 0 when it
// touches nothing). With `make_joints` it also makes the tyre's contact
// joint with friction mu = ground friction * grip, and adds the rolling
// resistance; without, it only measures (replayed bikes).
bool wheel_ground_contact(const Terrain& t, WheelContact& w, double grip, bool make_joints = true);

// Both tyres and every body shape of a bike against the loaded terrain,
// before the world step. A rider whose shape hits the ground upside down
// at speed is thrown off. Returns whether anything touched.
bool collide_bike_ground(Bike& b);

// Grip left at the frame's lean in arcade mode: 1 upright, 0.625 from 45 degrees.
double arcade_grip(const Bike& b);
// The same at a given lean (rad, either side).
double arcade_grip_at(double lean);
