// Geometric contact queries against the terrain's triangles: a tyre (a
// torus: the rim circle swept by a sphere of the tyre's radius) and a
// sphere. Grid vertex (i, j) lies at (i * spacing, H(i, j), j * spacing);
// vertex heights are read with the indices clamped, so the border heights
// continue outwards.
#pragma once

#include "physics/vec3.h"

struct Terrain;

struct GroundHit {
  Vec3 point;   // the deepest point of the tested body along the normal
  Vec3 normal;  // unit, out of the ground
  double depth = 0;
};

// Tyre of a wheel centred at `centre` with the unit axle direction `axle`.
// The deepest triangle wins (on ties the first tested: the cell under the
// tyre's lowest point, then the others row by row); false when no triangle
// is touched.
bool find_torus_ground(const Terrain& t, const Vec3& centre, const Vec3& axle, double rim_radius,
                       double tyre_radius, GroundHit* hit);

// The highest grid vertex of the cells within `reach` of (x, z): nothing
// above it can touch the ground there.
double highest_ground(const Terrain& t, double x, double z, double reach);

// Sphere against the terrain; false when it touches nothing.
bool sphere_ground(const Terrain& t, const Vec3& centre, double radius, GroundHit* hit);

// One triangle (corners in order, face normal (P2 - P1) x (P3 - P1)) against
// a sphere; false when they don't touch.
bool sphere_triangle(const Vec3& centre, double radius, const Vec3 corners[3], GroundHit* hit);
