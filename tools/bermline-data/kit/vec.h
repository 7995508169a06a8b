// Small vector and rotation helpers for building models (bike space: x to
// the rider's right, y up, z to the rear; feet).
#pragma once

#include <cmath>

namespace kit {

constexpr double PI = 3.14159265358979323846;

struct Vec2 {
  double x = 0, y = 0;
};

inline Vec2 operator+(Vec2 a, Vec2 b) { return {a.x + b.x, a.y + b.y}; }
inline Vec2 operator-(Vec2 a, Vec2 b) { return {a.x - b.x, a.y - b.y}; }
inline Vec2 operator*(Vec2 a, double s) { return {a.x * s, a.y * s}; }
inline double cross(Vec2 a, Vec2 b) { return a.x * b.y - a.y * b.x; }

struct Vec3 {
  double x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline Vec3 operator-(Vec3 a, Vec3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline Vec3 operator-(Vec3 a) { return {-a.x, -a.y, -a.z}; }
inline Vec3 operator*(Vec3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
inline Vec3 operator*(double s, Vec3 a) { return a * s; }
inline Vec3 operator/(Vec3 a, double s) { return {a.x / s, a.y / s, a.z / s}; }
inline Vec3& operator+=(Vec3& a, Vec3 b) { return a = a + b; }
inline double dot(Vec3 a, Vec3 b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
inline Vec3 cross(Vec3 a, Vec3 b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline double length(Vec3 a) { return std::sqrt(dot(a, a)); }
inline Vec3 normalized(Vec3 a) {
  double l = length(a);
  return l > 1e-12 ? a / l : Vec3{0, 0, 0};
}
inline Vec3 lerp(Vec3 a, Vec3 b, double t) { return a + (b - a) * t; }

// A unit vector perpendicular to `a`.
inline Vec3 any_perpendicular(Vec3 a) {
  Vec3 helper = std::fabs(a.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 1, 0};
  return normalized(cross(a, helper));
}

// Rotation matrix, rows r[0..2]; v' = M v.
struct Mat3 {
  Vec3 r[3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
};

inline Vec3 operator*(const Mat3& m, Vec3 v) { return {dot(m.r[0], v), dot(m.r[1], v), dot(m.r[2], v)}; }
inline Mat3 operator*(const Mat3& a, const Mat3& b) {
  Mat3 out;
  for (int i = 0; i < 3; ++i) {
    Vec3 row = a.r[i];
    out.r[i] = {row.x * b.r[0].x + row.y * b.r[1].x + row.z * b.r[2].x,
                row.x * b.r[0].y + row.y * b.r[1].y + row.z * b.r[2].y,
                row.x * b.r[0].z + row.y * b.r[1].z + row.z * b.r[2].z};
  }
  return out;
}
inline Mat3 transpose(const Mat3& m) {
  Mat3 t;
  t.r[0] = {m.r[0].x, m.r[1].x, m.r[2].x};
  t.r[1] = {m.r[0].y, m.r[1].y, m.r[2].y};
  t.r[2] = {m.r[0].z, m.r[1].z, m.r[2].z};
  return t;
}

// Right-handed rotation by `angle` radians about a unit `axis`.
inline Mat3 rotation(Vec3 axis, double angle) {
  Vec3 a = normalized(axis);
  double c = std::cos(angle), s = std::sin(angle), t = 1 - c;
  Mat3 m;
  m.r[0] = {t * a.x * a.x + c, t * a.x * a.y - s * a.z, t * a.x * a.z + s * a.y};
  m.r[1] = {t * a.x * a.y + s * a.z, t * a.y * a.y + c, t * a.y * a.z - s * a.x};
  m.r[2] = {t * a.x * a.z - s * a.y, t * a.y * a.z + s * a.x, t * a.z * a.z + c};
  return m;
}

// The rotation that turns unit vector `from` onto unit vector `to` by the
// shortest arc.
inline Mat3 rotation_between(Vec3 from, Vec3 to) {
  Vec3 axis = cross(from, to);
  double s = length(axis), c = dot(from, to);
  if (s < 1e-12) return c > 0 ? Mat3{} : rotation(any_perpendicular(from), PI);
  return rotation(axis / s, std::atan2(s, c));
}

}  // namespace kit
