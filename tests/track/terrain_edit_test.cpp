#include <cmath>
#include <numeric>

#include "core/race_clock.h"
#include "testkit.h"
#include "track/lighting.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

// A flat field of `shift`, its stored shading equal to the computed light
// (set the lighting first).
Terrain flat_field(int shift, float height = 0.0f) {
  Terrain t;
  t.grid_shift = shift;
  t.grid_size = (2 << shift) + 1;
  t.spacing = 2.0f;
  t.tile_size = 4.0f;
  t.extent = 2.0f * (2 << shift);
  size_t n = static_cast<size_t>(t.grid_size) * t.grid_size;
  t.heights.assign(n, height);
  t.min_height = t.max_height = height;
  t.shading.assign(n * 3, 120);
  t.shadow.assign(n, 0);
  size_t tiles = static_cast<size_t>(1) << shift;
  t.tile_map.assign(tiles * tiles, 0);
  t.low_detail_per_side = ((2 << shift) / 64 + 6) / 7;
  t.low_detail_dirty.assign(static_cast<size_t>(t.low_detail_per_side * t.low_detail_per_side), 0);
  ReshadeRegion(t, 0, 0, t.grid_size, t.grid_size);
  std::fill(t.low_detail_dirty.begin(), t.low_detail_dirty.end(), 0);
  return t;
}

struct TerrainEdit : ::testing::Test {
  void SetUp() override {
    track().lighting = Lighting{};
    track().lighting.sun_vector[0] = 0, track().lighting.sun_vector[1] = 1, track().lighting.sun_vector[2] = 0;
    race_clock = 0;
  }
};

TEST_F(TerrainEdit, ShadeVertexFromSunAmbientAndShadow) {
  Terrain t = flat_field(1);
  uint8_t rgb[3];
  ShadeVertex(t, 2, 2, rgb);
  EXPECT_EQ(rgb[0], static_cast<int>((1.0f + 0.5f) * 0.5f * 255));
  t.shadow[2 + 5 * 2] = 255;
  ShadeVertex(t, 2, 2, rgb);
  EXPECT_EQ(rgb[0], static_cast<int>(0.5f * 0.5f * 255));
  // A slope facing away from the sun is darker than one facing it.
  track().lighting.sun_vector[0] = 0.6f, track().lighting.sun_vector[1] = 0.8f;
  Terrain slope = flat_field(1);
  for (int j = 0; j < 5; ++j)
    for (int i = 0; i < 5; ++i) slope.heights[static_cast<size_t>(i + 5 * j)] = static_cast<float>(i);
  uint8_t facing[3], away[3];
  ShadeVertex(slope, 2, 2, away);  // rises towards +x: faces -x, away from a sun at +x
  for (float& h : slope.heights) h = -h;
  ShadeVertex(slope, 2, 2, facing);
  EXPECT_GT(facing[1], away[1]);
  // Border and outside vertices are clamped, never read out of bounds.
  ShadeVertex(slope, -3, 99, rgb);
}

TEST_F(TerrainEdit, ReshadeRegionRecomputesAndMarksLowDetailTextures) {
  Terrain t = flat_field(5);  // 65 x 65 vertices: one low-detail texture
  ASSERT_EQ(t.low_detail_per_side, 1);
  std::fill(t.shading.begin(), t.shading.end(), 120);
  ReshadeRegion(t, 10, 10, 11, 10);
  EXPECT_EQ(t.shading[(10 + 65 * 10) * 3], 191);
  EXPECT_EQ(t.shading[(11 + 65 * 10) * 3], 191);
  EXPECT_EQ(t.shading[(12 + 65 * 10) * 3], 120);
  EXPECT_EQ(t.low_detail_dirty[0], 1);
  ReshadeRegion(t, -50, -50, 1000, 1000);  // clamped to the grid
  EXPECT_EQ(t.shading.back(), 191);
}

TEST_F(TerrainEdit, DeformWithZeroChangesNothing) {
  Terrain t = flat_field(2);
  Terrain before = t;
  DeformTerrain(t, 7.3f, 8.1f, 0.0f);
  EXPECT_EQ(t.heights, before.heights);
  EXPECT_EQ(t.shading, before.shading);
  EXPECT_EQ(t.heights_modified, 0);
}

TEST_F(TerrainEdit, DeformSpreadsTheChangeSmoothly) {
  Terrain t = flat_field(2);
  DeformTerrain(t, 8.0f, 8.0f, -1.0f);  // on vertex (4, 4)
  float total = std::accumulate(t.heights.begin(), t.heights.end(), 0.0f);
  EXPECT_NEAR(total, -1.0f, 1e-5);
  float centre = t.heights[4 + 9 * 4];
  EXPECT_LT(centre, t.heights[5 + 9 * 4]);
  EXPECT_FLOAT_EQ(t.heights[5 + 9 * 4], t.heights[4 + 9 * 3]);  // symmetric
  EXPECT_FLOAT_EQ(t.heights[6 + 9 * 4], 0.0f);                  // two spacings away: weight 0
  EXPECT_EQ(t.heights_modified, 1);
  EXPECT_FLOAT_EQ(t.min_height, centre);
  // The disturbed ground is darkened, green and blue more than red.
  const uint8_t* shade = &t.shading[(4 + 9 * 4) * 3];
  EXPECT_LT(shade[1], 191);
  EXPECT_LT(shade[0], 191);
  EXPECT_GE(shade[0], shade[1]);
  EXPECT_EQ(t.shading[(8 + 9 * 8) * 3], 191);
}

TEST_F(TerrainEdit, LockedGroundIsReshadedButKeepsItsHeights) {
  Terrain t = flat_field(2);
  t.deformation_locked = 1;
  Terrain before = t;
  DeformTerrain(t, 8.0f, 8.0f, -3.0f);
  EXPECT_EQ(t.heights, before.heights);
  EXPECT_EQ(t.heights_modified, 0);
  EXPECT_NE(t.shading, before.shading);
}

TEST_F(TerrainEdit, DeformNearAndFarFromTheBorderStaysInside) {
  Terrain t = flat_field(2);
  DeformTerrain(t, 0.5f, 0.5f, -1.0f);
  float total = std::accumulate(t.heights.begin(), t.heights.end(), 0.0f);
  EXPECT_LT(total, 0.0f);
  EXPECT_GT(total, -1.0f);  // the share of vertices off the grid is lost
  Terrain far = flat_field(2);
  DeformTerrain(far, 1e9f, -1e9f, 5.0f);
  DeformTerrain(far, NAN, 1.0f, 5.0f);
  EXPECT_EQ(far.heights_modified, 0);
}

TEST_F(TerrainEdit, DitheringKeepsSmallShadingStepsFromVanishing) {
  // Green 8 above where the darkening leads (191 - 64): each rut moves it
  // about an eighth of a step, which rounding alone would either lose or
  // turn into a whole step every time.
  Terrain t = flat_field(2);
  uint8_t& green = t.shading[(4 + 9 * 4) * 3 + 1];
  green = 135;
  for (race_clock = 1000; race_clock < 1016; ++race_clock) DeformTerrain(t, 8.0f, 8.0f, -1e-6f);
  EXPECT_LT(green, 135);
  EXPECT_GT(green, 127);
}

TEST_F(TerrainEdit, DepositPilesWithinTheSlopeLimit) {
  Terrain t = flat_field(1);  // spacing 2: at most 1 higher than the lower neighbour ahead
  DepositAt(t, 2, 2, 1.0f, 1.0f, 3.0f, 0);
  std::vector<float> expected(25, 0.0f);
  expected[2 + 5 * 2] = 1.0f;
  expected[2 + 5 * 3] = 1.0f;
  expected[2 + 5 * 4] = 1.0f;
  EXPECT_EQ(t.heights, expected);
  EXPECT_EQ(t.heights_modified, 1);
  EXPECT_FLOAT_EQ(t.max_height, 1.0f);
}

TEST_F(TerrainEdit, DepositFirstRoundMovesOnBeforePiling) {
  Terrain t = flat_field(2);
  t.heights[5 + 9 * 4] = -1.0f;  // the lower neighbour ahead in x
  DepositAt(t, 4, 4, 1.0f, -1.0f, 0.5f, 1);
  EXPECT_FLOAT_EQ(t.heights[4 + 9 * 4], 0.0f);
  EXPECT_FLOAT_EQ(t.heights[5 + 9 * 4], -0.5f);
  // A small amount on level ground stays where it lands.
  DepositAt(t, 1, 1, -1.0f, -1.0f, 0.25f, 0);
  EXPECT_FLOAT_EQ(t.heights[1 + 9 * 1], 0.25f);
}

TEST_F(TerrainEdit, DepositOffTheFieldEndsAndHugeAmountsTerminate) {
  Terrain t = flat_field(1);
  DepositAt(t, 4, 4, 1.0f, 1.0f, 1e30f, 0);
  EXPECT_FLOAT_EQ(t.heights[24], 1.0f);  // capped; the rest falls off the field
  Terrain locked = flat_field(1);
  locked.deformation_locked = 1;
  DepositAt(locked, 2, 2, 1.0f, 1.0f, 3.0f, 0);
  EXPECT_EQ(locked.heights_modified, 0);
  DepositAt(locked, 2, 2, 1.0f, 1.0f, NAN, 0);
}

// Kinds: 0 grass, 1 dirt, then transitions named "grass-dirt-<mask>".
Terrain painted_field(const std::vector<std::string>& transitions) {
  Terrain t = flat_field(2);  // 4 x 4 tiles
  std::vector<std::string> names = {"@grass.png", "@dirt.png"};
  for (const std::string& mask : transitions) names.push_back("@grass-dirt-" + mask + ".png");
  t.tile_count = static_cast<int>(names.size());
  for (size_t k = 0; k < names.size(); ++k) t.tile_texture_name[k] = names[k];
  DeriveTileCodes(t);
  return t;
}

TEST_F(TerrainEdit, PaintTileRefitsTransitionsAround) {
  Terrain t = painted_field({"1000", "1100", "0001", "0011", "0100", "1010", "0101", "0010"});
  PaintTile(t, 1, 1, 1);
  auto kind_at = [&](int tx, int tz) { return t.tile_map[static_cast<size_t>(tx + 4 * tz)]; };
  EXPECT_EQ(kind_at(1, 1), 1);
  // Neighbour (+1, +1) shares its low-x low-z corner: mask 1000 (kind 2).
  EXPECT_EQ(kind_at(2, 2), 2);
  // (0, +1) shares its two low-z corners: 1100 (kind 3).
  EXPECT_EQ(kind_at(1, 2), 3);
  // (-1, -1) shares its high-x high-z corner: 0001 (kind 4).
  EXPECT_EQ(kind_at(0, 0), 4);
  EXPECT_EQ(kind_at(1, 0), 5);  // 0011
  EXPECT_EQ(kind_at(2, 0), 9);  // 0010
  EXPECT_EQ(kind_at(0, 1), 8);  // 0101
  EXPECT_EQ(kind_at(3, 3), 0);  // not touching
  // Painting the same kind again changes nothing.
  std::vector<uint8_t> before = t.tile_map;
  PaintTile(t, 1, 1, 1);
  EXPECT_EQ(t.tile_map, before);
}

TEST_F(TerrainEdit, PaintTileLeavesNeighboursWithoutAFittingKind) {
  Terrain t = painted_field({"1000"});
  PaintTile(t, 1, 1, 1);
  EXPECT_EQ(t.tile_map[2 + 4 * 2], 2);
  EXPECT_EQ(t.tile_map[1 + 4 * 2], 0);  // no 1100 kind
  PaintTile(t, 0, 3, 1);                // at the border: outside neighbours skipped
  EXPECT_EQ(t.tile_map[0 + 4 * 3], 1);
  PaintTile(t, -1, -1, 1);  // outside the map: only the neighbours refit
  EXPECT_EQ(t.tile_map[0], 2);
}

TEST(TileCodes, FromTextureNames) {
  Terrain t;
  const char* names[] = {
      "@textures/grass.png",          "@textures/dirt.png",          "@textures/grass-dirt-1010.png",
      "@textures/grass-alt2.png",     "@textures/grass-dirt-x.png",  "@textures/grass-mud-1111.png",
      "@textures/sand-dirt-1111.png", "@textures/grass-dirt.png",    "plain.png",
      "plain-grass-0110.png",         "grass.ppm",                   "plain-grass-0110.png"};
  t.tile_count = 12;
  for (int k = 0; k < 12; ++k) t.tile_texture_name[static_cast<size_t>(k)] = names[k];
  DeriveTileCodes(t);
  const int expected[] = {
      (0 << 16) | (0 << 8),           (1 << 16) | (1 << 8), (0 << 16) | (1 << 8) | 0b1010, (0 << 16) | (0 << 8),
      (0 << 16) | (1 << 8),           -256,                 (6 << 16) | (6 << 8),          -256,
      (8 << 16) | (8 << 8),           (8 << 16) | (10 << 8) | 0b0110, (10 << 16) | (10 << 8),
      (8 << 16) | (10 << 8) | 0b0110};
  for (int k = 0; k < 12; ++k) EXPECT_EQ(t.tile_code[static_cast<size_t>(k)], expected[k]) << names[k];
}

}  // namespace
