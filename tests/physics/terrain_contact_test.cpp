// Tyre and sphere contact with the terrain's triangles, checked against
// brute-force references on a bumpy field.
#include <cmath>
#include <random>

#include "physics/terrain_contact.h"
#include "physics_kit.h"

using namespace physics_kit;

namespace {

constexpr double RIM = 0.8333, TYRE = 0.3333;

Terrain bumpy() {
  return shaped_terrain(3, 2, [](float x, float z) { return 2 + std::sin(x * 0.7f) * 1.2f + std::cos(z * 0.45f + x * 0.2f); });
}

Vec3 vertex(const Terrain& t, int i, int j) { return {i * t.spacing, TerrainVertexHeight(t, i, j), j * t.spacing}; }

// Closest point of a triangle to p.
Vec3 closest_on_triangle(const Vec3& p, const Vec3& a, const Vec3& b, const Vec3& c) {
  Vec3 ab = b - a, ac = c - a, ap = p - a;
  double d1 = dot(ab, ap), d2 = dot(ac, ap);
  if (d1 <= 0 && d2 <= 0) return a;
  Vec3 bp = p - b;
  double d3 = dot(ab, bp), d4 = dot(ac, bp);
  if (d3 >= 0 && d4 <= d3) return b;
  double vc = d1 * d4 - d3 * d2;
  if (vc <= 0 && d1 >= 0 && d3 <= 0) return a + ab * (d1 / (d1 - d3));
  Vec3 cp = p - c;
  double d5 = dot(ab, cp), d6 = dot(ac, cp);
  if (d6 >= 0 && d5 <= d6) return c;
  double vb = d5 * d2 - d1 * d6;
  if (vb <= 0 && d2 >= 0 && d6 <= 0) return a + ac * (d2 / (d2 - d6));
  double va = d3 * d6 - d5 * d4;
  if (va <= 0 && d4 - d3 >= 0 && d5 - d6 >= 0) return b + (c - b) * ((d4 - d3) / ((d4 - d3) + (d5 - d6)));
  double denom = 1 / (va + vb + vc);
  return a + ab * (vb * denom) + ac * (vc * denom);
}

// Distance from p to the ground's triangles near it.
double ground_distance(const Terrain& t, const Vec3& p) {
  double best = INFINITY;
  int i0 = static_cast<int>(std::floor(p.x / t.spacing)) - 2, j0 = static_cast<int>(std::floor(p.z / t.spacing)) - 2;
  for (int j = j0; j < j0 + 5; ++j)
    for (int i = i0; i < i0 + 5; ++i) {
      Vec3 v00 = vertex(t, i, j), v10 = vertex(t, i + 1, j), v01 = vertex(t, i, j + 1), v11 = vertex(t, i + 1, j + 1);
      Vec3 tris[2][3] = {{v00, v10, v11}, {v00, v11, v01}};
      if ((i + j) & 1) {
        Vec3 odd[2][3] = {{v00, v10, v01}, {v10, v11, v01}};
        std::copy(&odd[0][0], &odd[0][0] + 6, &tris[0][0]);
      }
      for (auto& tri : tris) best = std::min(best, length(p - closest_on_triangle(p, tri[0], tri[1], tri[2])));
    }
  return best;
}

TEST(TerrainContact, UprightTyreOnLevelGround) {
  Terrain t = flat_terrain(3, 2, 0.5f);
  GroundHit hit;
  ASSERT_TRUE(find_torus_ground(t, {5.3, 1.5, 7.1}, {1, 0, 0}, RIM, TYRE, &hit));
  EXPECT_NEAR(hit.depth, 0.5 + RIM + TYRE - 1.5, 1e-9);
  EXPECT_NEAR(hit.normal.y, 1, 1e-12);
  EXPECT_NEAR(hit.point.x, 5.3, 1e-9);
  EXPECT_NEAR(hit.point.y, 1.5 - RIM - TYRE, 1e-9);  // the tyre's deepest point
  EXPECT_NEAR(hit.point.z, 7.1, 1e-9);
  EXPECT_FALSE(find_torus_ground(t, {5.3, 0.5 + RIM + TYRE + 1e-6, 7.1}, {1, 0, 0}, RIM, TYRE, &hit));
  // Lying flat, the tyre touches with its whole ring.
  ASSERT_TRUE(find_torus_ground(t, {5.3, 0.7, 7.1}, {0, 1, 0}, RIM, TYRE, &hit));
  EXPECT_NEAR(hit.depth, TYRE - 0.2, 1e-9);
}

TEST(TerrainContact, TyreMatchesBruteForceOnBumpyGround) {
  Terrain t = bumpy();
  std::mt19937 random(5);
  std::uniform_real_distribution<double> unit(0, 1);
  int touching = 0;
  for (int n = 0; n < 120; ++n) {
    Vec3 centre{3 + 26 * unit(random), 0, 3 + 26 * unit(random)};
    centre.y = TerrainHeightAt(t, centre.x, centre.z) + 0.8 + 1.0 * unit(random);
    Vec3 axle = normalized(Vec3{1, (unit(random) - 0.5) * 1.5, (unit(random) - 0.5) * 2});
    // Reference: the least distance from the rim circle to the ground, by sampling the rim.
    Vec3 u = normalized(cross(axle, {0, 1, 0})), v = cross(axle, u);
    double nearest = INFINITY;
    bool rim_below = false;
    for (int k = 0; k < 720; ++k) {
      double a = k * 2 * M_PI / 720;
      Vec3 p = centre + (u * std::cos(a) + v * std::sin(a)) * RIM;
      nearest = std::min(nearest, ground_distance(t, p));
      rim_below = rim_below || p.y < TerrainHeightAt(t, p.x, p.z);
    }
    GroundHit hit;
    bool found = find_torus_ground(t, centre, axle, RIM, TYRE, &hit);
    SCOPED_TRACE(n);
    if (rim_below) {  // deeper than the tyre: the distance no longer measures it
      EXPECT_TRUE(found);
      EXPECT_GT(hit.depth, TYRE - 1e-3);
    } else if (TYRE - nearest > 1e-4) {
      ASSERT_TRUE(found);
      EXPECT_NEAR(hit.depth, TYRE - nearest, 2e-4);
      EXPECT_NEAR(length(hit.normal), 1, 1e-9);
      // The contact point is the tyre's deepest point: depth below the ground surface along the normal.
      Vec3 surface = hit.point + hit.normal * hit.depth;
      EXPECT_LT(ground_distance(t, surface), 2e-3);
      ++touching;
    } else if (TYRE - nearest < -1e-4) {
      EXPECT_FALSE(found);
    }
  }
  EXPECT_GT(touching, 30);
}

TEST(TerrainContact, SphereMatchesBruteForceAbove) {
  Terrain t = bumpy();
  std::mt19937 random(9);
  std::uniform_real_distribution<double> unit(0, 1);
  int touching = 0;
  for (int n = 0; n < 500; ++n) {
    Vec3 c{2 + 28 * unit(random), 0, 2 + 28 * unit(random)};
    double r = 0.2 + 1.5 * unit(random);
    c.y = TerrainHeightAt(t, c.x, c.z) + r * (0.2 + 1.2 * unit(random));
    double expected = r - ground_distance(t, c);
    GroundHit hit;
    bool found = sphere_ground(t, c, r, &hit);
    SCOPED_TRACE(n);
    if (expected > 1e-9) {
      ASSERT_TRUE(found);
      EXPECT_NEAR(hit.depth, expected, 1e-9);
      EXPECT_NEAR(length(hit.point - (c - hit.normal * r)), 0, 1e-9);
      ++touching;
    } else {
      EXPECT_FALSE(found);
    }
  }
  EXPECT_GT(touching, 150);
}

TEST(TerrainContact, SphereBelowTheSurfaceIsPushedUp) {
  Terrain t = flat_terrain(3, 2, 1);
  GroundHit hit;
  ASSERT_TRUE(sphere_ground(t, {7, 0.5, 7}, 0.25, &hit));
  EXPECT_NEAR(hit.depth, 0.75, 1e-9);
  EXPECT_NEAR(hit.normal.y, 1, 1e-12);
}

TEST(TerrainContact, BorderHeightsContinueOutwards) {
  Terrain t = shaped_terrain(3, 2, [](float x, float) { return x * 0.25f; });  // the far side ends at 8 ft
  GroundHit hit;
  ASSERT_TRUE(find_torus_ground(t, {200, 8 + RIM + TYRE - 0.1, -150}, {1, 0, 0}, RIM, TYRE, &hit));
  EXPECT_NEAR(hit.depth, 0.1, 1e-9);
  ASSERT_TRUE(sphere_ground(t, {-40, 0.3, 16}, 0.5, &hit));
  EXPECT_NEAR(hit.depth, 0.2, 1e-9);
  for (double bad : {double(NAN), double(INFINITY), 1e300}) {
    EXPECT_FALSE(find_torus_ground(t, {bad, 1, 4}, {1, 0, 0}, RIM, TYRE, &hit));
    EXPECT_FALSE(sphere_ground(t, {4, 1, bad}, 0.5, &hit));
  }
  Terrain empty;
  EXPECT_FALSE(sphere_ground(empty, {4, 0, 4}, 1, &hit));
}

}  // namespace
