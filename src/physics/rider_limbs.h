// Posing the rider's limbs: a two-bone solve from a root (shoulder, hip)
// toward a target (grip, footpeg). Used for the feet of a thrown rider and
// for drawing.
#pragma once

#include "physics/bike.h"

struct Limb {
  Vec3 joint;  // elbow or knee
  Vec3 end;    // hand or foot: the target, or as far toward it as the limb reaches
};

// `bend` is the direction the middle joint should bend toward.
Limb solve_limb(const Vec3& root, const Vec3& target, double upper, double lower, const Vec3& bend);

// The left (side 0) or right (side 1) leg of the rider toward his footpeg,
// in world space, in the current pose.
Limb rider_leg(const Bike& b, int side);
// The left or right arm toward the handlebar grip.
Limb rider_arm(const Bike& b, int side);

// A rider-geometry point for one side: x mirrored for the left (side 0).
inline Vec3 side_point(const double* p, int side) { return {side == 0 ? -p[0] : p[0], p[1], p[2]}; }
