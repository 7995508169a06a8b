// Contacts between collision shapes: a foreign shape (another bike's body,
// solid scenery) against a bike's two tyres and its body shapes, and bike
// against bike. Overlapping spheres become contact joints, or, for a bike
// that already hit another one this tick, explicit forces.
#pragma once

#include "physics/bike.h"

// Overwrites a bike shape copy's centres with their world positions for the
// body's pose; false when the shape is absent.
bool place_shape(Shape& copy, dBodyID body);

// A foreign shape (centres in the coordinates of `body`, or of the pose
// given by position and rotation when it sits on no body) against the bike.
// A rider hit at more than 20 ft/s relative speed throws him off.
bool collide_shape_with_bike(Bike& b, const Shape& shape, dBodyID body, const dReal* position,
                             const dReal* rotation, bool force_mode);

// Where a bike can reach this tick: its body around the frame, and its rider
// (who may have been thrown far from it).
struct BikeReach {
  Vec3 frame, rider;
  double reach, rider_reach;
};
BikeReach bike_reach(const Bike& b);
// False when nothing of the two bikes can touch.
bool reaches_meet(const BikeReach& a, const BikeReach& b);

// Every shape of A against B, in force mode when either bike already hit
// some bike this tick (race_clock). Touching bikes note the tick and spoil
// their current racing-line records.
bool collide_bikes(Bike& a, Bike& b);

// A thrown rider against his own bike's frame and fork, so that he does not
// pass through it.
void collide_rider_with_own_bike(Bike& b);

// A ball enclosing a shape's spheres (body coordinates).
ShapeBall enclosing_ball(const Shape& shape);

// How far from the frame centre any tyre or body shape of the bike can
// reach, with room for the suspension and steering to move. Needs the
// shape balls.
double bike_contact_reach(const Bike& b);
