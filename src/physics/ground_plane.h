// Directions and points on the ground plane (x, z) for riders that steer:
// the robots' auto pilot and the headless coach.
#pragma once

#include <cmath>

#include "physics/vec3.h"

struct Flat {
  double x, z;
};
inline Flat operator-(Flat a, Flat b) { return {a.x - b.x, a.z - b.z}; }
inline Flat operator+(Flat a, Flat b) { return {a.x + b.x, a.z + b.z}; }
inline Flat operator*(Flat a, double k) { return {a.x * k, a.z * k}; }
inline double dot(Flat a, Flat b) { return a.x * b.x + a.z * b.z; }
inline double norm(Flat a) { return std::sqrt(dot(a, a)); }
inline Flat flat(const Vec3& v) { return {v.x, v.z}; }

// Unit length; straight ahead (-z) for a zero vector.
inline Flat unit(Flat a) {
  const double l = norm(a);
  return l > 0 ? Flat{a.x / l, a.z / l} : Flat{0, -1};
}

// The direction to the right of one facing `f`.
inline Flat right_of(Flat f) { return {-f.z, f.x}; }

// Signed angle from direction `from` to `to`, positive to the right.
inline double turn_between(Flat from, Flat to) { return std::atan2(dot(to, right_of(from)), dot(to, from)); }
