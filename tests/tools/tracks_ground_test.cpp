// The shipped tracks' ground as the game loads it: a bike can ride every
// part of the racing surface (no face too steep, no wall, no hole), the
// scenery stands off it, and the tile map's transitions fit together and
// keep fitting when the ground is repainted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "track/scenery.h"
#include "track/terrain.h"
#include "track/track.h"
#include "tracks_shipped.h"

namespace {

using tracks::CourseSample;
using tracks::SampledCourse;
using tracks::Vec2;

class TrackGround : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shipped::load(GetParam()));
    course = shipped::course(GetParam());
  }
  float height(Vec2 p) const { return TerrainHeightAt(track().terrain, static_cast<float>(p.x), static_cast<float>(p.y)); }
  SampledCourse course;
};

TEST_P(TrackGround, TheRacingSurfaceIsRideable) {
  // Along the track no face is steeper than 45 degrees, across it no berm
  // steeper than 40, measured over one grid spacing everywhere on the
  // racing surface.
  const double step = track().terrain.spacing;
  double steepest_along = 0, steepest_across = 0;
  for (const std::vector<CourseSample>* path : {&course.loop, &course.start})
    for (size_t k = 0; k < path->size(); k += 2) {
      const CourseSample& c = (*path)[k];
      if (path == &course.start && c.s < 0) continue;
      for (double d = -c.half_width + 1; d <= c.half_width - 1; d += 2) {
        Vec2 p = c.p + c.left() * d;
        double here = height(p);
        steepest_along = std::max(steepest_along, std::fabs(height(p + c.t * step) - here) / step);
        if (d + step <= c.half_width - 1)
          steepest_across = std::max(steepest_across, std::fabs(height(p + c.left() * step) - here) / step);
      }
    }
  EXPECT_LT(steepest_along, 1.0);
  EXPECT_LT(steepest_across, 0.84);
  EXPECT_GT(steepest_along, 0.3);  // there are jumps to ride
}

TEST_P(TrackGround, NoWallsOrHolesAnywhere) {
  const int p = track().terrain.grid_size;
  float steepest = 0;
  for (int j = 0; j < p; ++j)
    for (int i = 0; i + 1 < p; ++i) {
      steepest = std::max(steepest, std::fabs(TerrainVertexHeight(track().terrain, i + 1, j) - TerrainVertexHeight(track().terrain, i, j)));
      steepest = std::max(steepest, std::fabs(TerrainVertexHeight(track().terrain, j, i + 1) - TerrainVertexHeight(track().terrain, j, i)));
    }
  EXPECT_LT(steepest / track().terrain.spacing, 1.3);
}

TEST_P(TrackGround, SceneryStandsOffTheTrack) {
  // Trees, fans, banners, hay bales and tuff blocks all stand beyond the
  // track edges; the riders never meet them on the racing surface.
  auto clearance = [&](float x, float z) {
    double nearest = 1e9;
    for (const std::vector<CourseSample>* path : {&course.loop, &course.start})
      for (size_t k = 0; k < path->size(); k += 2) {
        const CourseSample& c = (*path)[k];
        nearest = std::min(nearest, std::hypot(x - c.p.x, z - c.p.y) - c.half_width);
      }
    return nearest;
  };
  ASSERT_LT(track().scenery.first_track_billboard, static_cast<int>(track().scenery.billboards.size()));
  ASSERT_LT(track().scenery.first_track_statue, static_cast<int>(track().scenery.statues.size()));
  for (size_t k = track().scenery.first_track_billboard; k < track().scenery.billboards.size(); ++k)
    EXPECT_GT(clearance(track().scenery.billboards[k].x, track().scenery.billboards[k].z), 1.0) << "billboard " << k;
  for (size_t k = track().scenery.first_track_statue; k < track().scenery.statues.size(); ++k)
    EXPECT_GT(clearance(track().scenery.statues[k].x, track().scenery.statues[k].z), 1.0) << "statue " << k << " " << track().scenery.statues[k].model_file;
}

// The material of each corner of a tile: its kind's corner bits pick the
// overlay or the base kind.
std::array<int, 4> corner_kinds(int kind) {
  int code = track().terrain.tile_code[kind];
  int base = (code >> 16) & 0xFF, overlay = (code >> 8) & 0xFF;
  std::array<int, 4> corners{};
  const int bits[4] = {8, 4, 2, 1};  // low x low z, high x low z, low x high z, high x high z
  for (int k = 0; k < 4; ++k) corners[k] = (code & bits[k]) ? overlay : base;
  return corners;
}

// Every tile agrees with its right and lower neighbours about the
// materials of the corners they share.
int mismatched_corners() {
  const int tiles = terrain_tiles(track().terrain);
  int bad = 0;
  for (int tz = 0; tz < tiles; ++tz)
    for (int tx = 0; tx < tiles; ++tx) {
      auto here = corner_kinds(track().terrain.tile_map[tx + tiles * tz]);
      if (tx + 1 < tiles) {
        auto right = corner_kinds(track().terrain.tile_map[tx + 1 + tiles * tz]);
        bad += here[1] != right[0] || here[3] != right[2];
      }
      if (tz + 1 < tiles) {
        auto below = corner_kinds(track().terrain.tile_map[tx + tiles * (tz + 1)]);
        bad += here[2] != below[0] || here[3] != below[1];
      }
    }
  return bad;
}

// The plain material of a tile (its kind's base when all four corners
// show it), or -1 for a transition.
int plain_material(int tx, int tz) {
  int code = track().terrain.tile_code[track().terrain.tile_map[tx + terrain_tiles(track().terrain) * tz]];
  int base = (code >> 16) & 0xFF, overlay = (code >> 8) & 0xFF;
  return base == overlay ? base : -1;
}

TEST_P(TrackGround, TransitionTilesFitTogetherAndRepaint) {
  for (int kind = 0; kind < track().terrain.tile_count; ++kind)
    EXPECT_NE(track().terrain.tile_code[kind], -256) << track().terrain.tile_texture_name[kind];
  ASSERT_EQ(mismatched_corners(), 0);

  // Into a 6 x 6 patch of each material, paint 2 x 2 tiles of every other
  // one: the tiles around find their transitions and everything still fits.
  const int tiles = terrain_tiles(track().terrain);
  std::vector<int> plain_kinds;
  for (int kind = 0; kind < track().terrain.tile_count; ++kind)
    if (track().terrain.tile_code[kind] == ((kind << 16) | (kind << 8))) plain_kinds.push_back(kind);
  ASSERT_GE(plain_kinds.size(), 3u);
  int painted = 0;
  for (int ground : plain_kinds)
    for (int tz = 0; tz + 6 <= tiles && painted < 8 * static_cast<int>(plain_kinds.size()); tz += 7)
      for (int tx = 0; tx + 6 <= tiles; tx += 7) {
        bool pure = true;
        for (int dz = 0; dz < 6 && pure; ++dz)
          for (int dx = 0; dx < 6 && pure; ++dx) pure = plain_material(tx + dx, tz + dz) == ground;
        if (!pure) continue;
        int other = plain_kinds[(painted + 1) % plain_kinds.size()];
        if (other == ground) other = plain_kinds[(painted + 2) % plain_kinds.size()];
        for (int dz = 2; dz < 4; ++dz)
          for (int dx = 2; dx < 4; ++dx) PaintTile(track().terrain, tx + dx, tz + dz, other);
        EXPECT_EQ(plain_material(tx + 2, tz + 2), other);
        EXPECT_EQ(plain_material(tx + 1, tz + 1), -1);  // a transition now
        ++painted;
        tx += 14;
      }
  EXPECT_GE(painted, 4);
  EXPECT_EQ(mismatched_corners(), 0);
}

TEST_P(TrackGround, MaterialsRideAsTheyLook) {
  // Look up a plain kind by its texture and compare grip and drag.
  auto kind_of = [&](const std::string& texture) {
    for (int k = 0; k < track().terrain.tile_count; ++k)
      if (track().terrain.tile_texture_name[k] == "@" + texture) return k;
    return -1;
  };
  auto roost_modes = [&](int kind) {
    std::vector<int> modes;
    for (const RoostType& r : track().terrain.materials[kind].roost) modes.push_back(r.mode);
    return modes;
  };
  const std::string folder = GetParam();
  if (folder == "rabbithill") {
    int loam = kind_of("loam.png"), hard = kind_of("hardpack.png"), grass = kind_of("grass.png"), mud = kind_of("mud.png");
    ASSERT_GE(std::min({loam, hard, grass, mud}), 0);
    EXPECT_GT(FrictionAt(loam, 10), FrictionAt(hard, 10));  // hard pack is slick
    EXPECT_GT(FrictionAt(loam, 10), FrictionAt(grass, 10));
    EXPECT_GT(RollResistAt(grass, 30).b, RollResistAt(loam, 30).b);  // grass is slower
    EXPECT_GT(RollResistAt(mud, 30).b, RollResistAt(grass, 30).b);
    auto modes = roost_modes(mud);
    EXPECT_NE(std::find(modes.begin(), modes.end(), 2), modes.end());  // mud splashes
  }
  if (folder == "dunecreek") {
    int sand = kind_of("sand.png"), wet = kind_of("wetsand.png");
    ASSERT_GE(std::min(sand, wet), 0);
    EXPECT_GT(RollResistAt(sand, 30).b, 2.5 * RollResistAt(wet, 30).a);  // deep sand sinks and drags
    EXPECT_GT(track().terrain.materials[sand].roost[0].dig, 2.0f);               // and throws a lot
  }
  // Every kind throws something.
  for (int k = 0; k < track().terrain.tile_count; ++k) EXPECT_NE(track().terrain.materials[k].roost[0].mode, 0) << k;
}

INSTANTIATE_TEST_SUITE_P(Shipped, TrackGround, ::testing::ValuesIn(shipped::folders()));

}  // namespace
