// A small 3-vector for the physics code: ODE hands out dReal arrays, the
// contact and rider code reads better with operators.
#pragma once

#include <ode/ode.h>

#include <cmath>

struct Vec3 {
  double x = 0, y = 0, z = 0;

  constexpr Vec3() = default;
  constexpr Vec3(double x_, double y_, double z_) : x(x_), y(y_), z(z_) {}
  explicit Vec3(const dReal* v) : x(v[0]), y(v[1]), z(v[2]) {}

  constexpr Vec3 operator+(const Vec3& o) const { return {x + o.x, y + o.y, z + o.z}; }
  constexpr Vec3 operator-(const Vec3& o) const { return {x - o.x, y - o.y, z - o.z}; }
  constexpr Vec3 operator-() const { return {-x, -y, -z}; }
  constexpr Vec3 operator*(double s) const { return {x * s, y * s, z * s}; }
  constexpr Vec3 operator/(double s) const { return {x / s, y / s, z / s}; }
  Vec3& operator+=(const Vec3& o) { x += o.x; y += o.y; z += o.z; return *this; }
  Vec3& operator-=(const Vec3& o) { x -= o.x; y -= o.y; z -= o.z; return *this; }
  Vec3& operator*=(double s) { x *= s; y *= s; z *= s; return *this; }
};

constexpr Vec3 operator*(double s, const Vec3& v) { return v * s; }
constexpr double dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
constexpr Vec3 cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
constexpr double length_squared(const Vec3& v) { return dot(v, v); }
inline double length(const Vec3& v) { return std::sqrt(dot(v, v)); }
// The unit vector along v, or v itself when it has no length.
inline Vec3 normalized(const Vec3& v) {
  double l = length(v);
  return l > 0 ? v / l : v;
}

// Body queries in Vec3 form.
inline Vec3 body_position(dBodyID b) { return Vec3(dBodyGetPosition(b)); }
inline Vec3 body_velocity(dBodyID b) { return Vec3(dBodyGetLinearVel(b)); }
inline Vec3 body_angular_velocity(dBodyID b) { return Vec3(dBodyGetAngularVel(b)); }
// A body-space point in world space.
inline Vec3 body_point(dBodyID b, const Vec3& p) {
  dVector3 w;
  dBodyGetRelPointPos(b, p.x, p.y, p.z, w);
  return Vec3(w);
}
// Velocity of the body's material at a world point.
inline Vec3 body_point_velocity(dBodyID b, const Vec3& p) {
  dVector3 v;
  dBodyGetPointVel(b, p.x, p.y, p.z, v);
  return Vec3(v);
}
// A body-space direction in world space, and back.
inline Vec3 body_to_world(dBodyID b, const Vec3& v) {
  dVector3 w;
  dBodyVectorToWorld(b, v.x, v.y, v.z, w);
  return Vec3(w);
}
inline Vec3 world_to_body(dBodyID b, const Vec3& v) {
  dVector3 w;
  dBodyVectorFromWorld(b, v.x, v.y, v.z, w);
  return Vec3(w);
}
// Column k of the body's rotation: its own x (0), y (1) or z (2) axis in world space.
inline Vec3 body_axis(dBodyID b, int k) {
  const dReal* r = dBodyGetRotation(b);
  return {r[k], r[4 + k], r[8 + k]};
}
