#include <cmath>
#include <limits>

#include "testkit.h"
#include "track/terrain.h"

namespace {

// A 5 x 5 vertex field (2 x 2 tiles), spacing 2, with heights that make
// every triangle tilt differently.
Terrain small_field() {
  Terrain t;
  t.grid_shift = 1;
  t.grid_size = 5;
  t.spacing = 2.0f;
  t.tile_size = 4.0f;
  t.extent = 8.0f;
  t.heights.resize(25);
  for (int j = 0; j < 5; ++j)
    for (int i = 0; i < 5; ++i) t.heights[static_cast<size_t>(i + 5 * j)] = static_cast<float>((i * 7 + j * 3 + i * j * i) % 11);
  return t;
}

struct Point3 {
  double x, y, z;
};

Point3 vertex(const Terrain& t, int i, int j) {
  return {i * 2.0, t.heights[static_cast<size_t>(i + 5 * j)], j * 2.0};
}

// Height of the plane through three points at (x, z).
double plane_height(Point3 a, Point3 b, Point3 c, double x, double z) {
  double ux = b.x - a.x, uy = b.y - a.y, uz = b.z - a.z;
  double vx = c.x - a.x, vy = c.y - a.y, vz = c.z - a.z;
  double nx = uy * vz - uz * vy, ny = uz * vx - ux * vz, nz = ux * vy - uy * vx;
  return a.y - (nx * (x - a.x) + nz * (z - a.z)) / ny;
}

// The expected triangle, chosen by which side of the cell's diagonal the
// point lies on (the side holding (i, j) for odd cells, (i+1, j) for even).
double expected_height(const Terrain& t, double x, double z) {
  int i = static_cast<int>(x / 2), j = static_cast<int>(z / 2);
  double fu = x / 2 - i, fv = z / 2 - j;
  if ((i + j) % 2) {
    if (fu + fv <= 1) return plane_height(vertex(t, i, j), vertex(t, i + 1, j), vertex(t, i, j + 1), x, z);
    return plane_height(vertex(t, i + 1, j + 1), vertex(t, i + 1, j), vertex(t, i, j + 1), x, z);
  }
  if (fu >= fv) return plane_height(vertex(t, i, j), vertex(t, i + 1, j), vertex(t, i + 1, j + 1), x, z);
  return plane_height(vertex(t, i, j), vertex(t, i, j + 1), vertex(t, i + 1, j + 1), x, z);
}

TEST(TerrainQuery, HeightFollowsBothDiagonals) {
  Terrain t = small_field();
  // Points in even and odd cells, on both sides of each diagonal.
  const float points[][2] = {{0.5f, 0.2f}, {0.2f, 1.5f}, {2.5f, 0.5f}, {3.8f, 1.7f}, {4.4f, 2.2f},
                             {5.9f, 3.9f}, {6.1f, 5.5f}, {7.9f, 6.1f}, {1.0f, 6.5f}, {3.3f, 7.7f}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
    EXPECT_NEAR(TerrainHeightAt(t, p[0], p[1]), expected_height(t, p[0], p[1]), 1e-4);
  }
  // At every vertex the surface passes through the vertex height.
  for (int j = 0; j < 5; ++j)
    for (int i = 0; i < 5; ++i) EXPECT_FLOAT_EQ(TerrainHeightAt(t, i * 2.0f, j * 2.0f), t.heights[i + 5 * j]);
}

TEST(TerrainQuery, PointOnDiagonalMatchesBothTriangles) {
  Terrain t = small_field();
  // Odd cell (1, 0): diagonal from (2, 0) [vertex (1,0)] ... from (4, 0) to (2, 2).
  float on_odd = TerrainHeightAt(t, 3.0f, 1.0f);
  EXPECT_NEAR(on_odd, (t.heights[2] + t.heights[1 + 5]) / 2, 1e-5);
  // Even cell (0, 0): diagonal from (0, 0) to (2, 2).
  float on_even = TerrainHeightAt(t, 1.0f, 1.0f);
  EXPECT_NEAR(on_even, (t.heights[0] + t.heights[1 + 5]) / 2, 1e-5);
}

TEST(TerrainQuery, OutsideTheFieldReadsTheBorder) {
  Terrain t = small_field();
  struct Case {
    float x, z, inside_x, inside_z;
  };
  const Case cases[] = {{-5.0f, 3.0f, 0.0f, 3.0f},     {3.0f, -0.5f, 3.0f, 0.0f},  {100.0f, 5.0f, 8.0f, 5.0f},
                        {3.5f, 9.25f, 3.5f, 8.0f},     {-7.0f, -7.0f, 0.0f, 0.0f}, {1e30f, 1e30f, 8.0f, 8.0f},
                        {-1e30f, 4.5f, 0.0f, 4.5f}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.z);
    EXPECT_NEAR(TerrainHeightAt(t, c.x, c.z), TerrainHeightAt(t, c.inside_x, c.inside_z), 1e-5);
  }
  float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_TRUE(std::isfinite(TerrainHeightAt(t, nan, nan)));
}

TEST(TerrainQuery, NormalIsPerpendicularToTheTriangleAndPointsUp) {
  Terrain t = small_field();
  const float points[][2] = {{0.5f, 0.2f}, {0.2f, 1.5f}, {2.5f, 0.5f}, {3.8f, 1.7f}, {6.1f, 5.5f}};
  for (const auto& p : points) {
    SCOPED_TRACE(testing::Message() << p[0] << "," << p[1]);
    float n[3];
    TerrainNormalAt(t, p[0], p[1], n);
    EXPECT_GT(n[1], 0.0f);
    // Moving a little along the surface in x and z stays in the normal's plane.
    for (auto step : {std::pair{0.01f, 0.0f}, std::pair{0.0f, 0.01f}}) {
      float dy = TerrainHeightAt(t, p[0] + step.first, p[1] + step.second) - TerrainHeightAt(t, p[0], p[1]);
      EXPECT_NEAR(n[0] * step.first + n[1] * dy + n[2] * step.second, 0.0f, 1e-3f * std::fabs(n[1]) + 1e-4f);
    }
  }
  // Not normalised: a flat triangle gives (0, spacing^2, 0).
  Terrain flat = small_field();
  std::fill(flat.heights.begin(), flat.heights.end(), 3.0f);
  float n[3];
  TerrainNormalAt(flat, 4.2f, 4.9f, n);
  EXPECT_FLOAT_EQ(n[0], 0.0f);
  EXPECT_FLOAT_EQ(n[1], 4.0f);
  EXPECT_FLOAT_EQ(n[2], 0.0f);
}

TEST(TerrainQuery, TileKindUnderAPointIsClamped) {
  Terrain t = small_field();
  t.tile_map = {0, 1, 2, 3};
  EXPECT_EQ(TerrainTileKindAt(t, 1.0f, 1.0f), 0);
  EXPECT_EQ(TerrainTileKindAt(t, 5.0f, 1.0f), 1);
  EXPECT_EQ(TerrainTileKindAt(t, 1.0f, 7.0f), 2);
  EXPECT_EQ(TerrainTileKindAt(t, 50.0f, 50.0f), 3);
  EXPECT_EQ(TerrainTileKindAt(t, -3.0f, 50.0f), 2);
}

}  // namespace
