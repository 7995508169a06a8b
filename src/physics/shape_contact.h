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

// A box holding every tyre and body shape of a bike as it stands now (the
// rider wherever he is); bikes whose boxes do not meet cannot touch.
// Finding it places all of the bike's shapes.
struct BikeReach {
  Vec3 low, high;
};
BikeReach bike_reach(Bike& b);
bool reaches_meet(const BikeReach& a, const BikeReach& b);

// Every shape of A against B, in force mode when either bike already hit
// some bike this tick (race_clock). Touching bikes note the tick and spoil
// their current racing-line records. With both reaches given (found this
// tick, B's shapes placed by it) they are not found again.
bool collide_bikes(Bike& a, Bike& b, const BikeReach* a_reach = nullptr, const BikeReach* b_reach = nullptr);

// A thrown rider against his own bike's frame and fork, so that he does not
// pass through it.
void collide_rider_with_own_bike(Bike& b);

// A ball enclosing a shape's spheres (body coordinates).
ShapeBall enclosing_ball(const Shape& shape);

// How far from the frame centre any tyre or body shape of the bike can
// reach, with room for the suspension and steering to move. Needs the
// shape balls.
double bike_contact_reach(const Bike& b);
