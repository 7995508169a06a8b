#include "track/scenery.h"

#include <cmath>

#include "core/messages.h"
#include "data/texture_cache.h"
#include "testkit.h"
#include "track/shape.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track_fixture.h"

namespace {

// A tilted plane y = 0.5 x + 0.25 z over an 8 x 8 grid; extent `extent`.
void set_plane_terrain(float extent) {
  track().terrain = Terrain{};
  track().terrain.grid_shift = 2;
  track().terrain.grid_size = 9;
  track().terrain.spacing = extent / 8;
  track().terrain.extent = extent;
  for (int j = 0; j < 9; ++j)
    for (int i = 0; i < 9; ++i) track().terrain.heights.push_back(0.5f * i * track().terrain.spacing + 0.25f * j * track().terrain.spacing);
}

struct Scenery : ::testing::Test {
  testkit::DataFolders folders;
  void SetUp() override {
    set_plane_terrain(80.0f);
    clear_scenery();
    clear_timing_gates();
    for (const char* name : {"tree.png", "crate.png", "crate_norm.png", "wall-repeat.png", "wall_norm-repeat.ppm",
                             "barrel.png", "barrel_spec.png", "flag1.png", "flag2.png", "flag3.png", "go.png",
                             "done.png", "lap.png", "alt.png", "last.png", "finish.png", "green.png", "yellow.png"})
      data(name, fixture::tiny_png());
    data("box.shp", "1 0 0 0 5 1 2000 200\n");
  }
  void data(const std::string& name, const std::string& bytes) { testkit::write_file(folders.data + name, bytes); }
};

TEST_F(Scenery, BillboardColourPrefixBothWays) {
  int red = CreateBillboard(10, 2, 20, 5, 0.5f, "#ff0000#@tree.png");
  int plain = CreateBillboard(10, 0, 20, 5, 0.5f, "#ff0000@tree.png");  // no "#" in the eighth place
  int mixed = CreateBillboard(10, 0, 20, 5, 0.5f, "#A0b1C2#@tree.png");
  int none = CreateBillboard(1, 0, 1, 1, 1, nullptr);
  const Billboard& r = track().scenery.billboards[static_cast<size_t>(red)];
  EXPECT_EQ(r.r, 255);
  EXPECT_EQ(r.g, 0);
  EXPECT_EQ(r.b, 0);
  EXPECT_STREQ(TextureName(r.texture), "@tree.png");
  EXPECT_FLOAT_EQ(r.y, 0.5f * 10 + 0.25f * 20 + 2);
  EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(plain)].texture, 0);
  EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(plain)].r, 255);
  EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(mixed)].g, 0xb1);
  EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(none)].texture, 0);
  EXPECT_EQ(track().scenery.billboard_draw_list.size(), 2 * track().scenery.billboards.size());
}

TEST_F(Scenery, BillboardsFileAndWriter) {
  data("t/billboards", "[ 1 2 3 ] 4 0.5 @tree.png\n[4 0 4] 6 1 #00ff80#@tree.png\n[ 5 5 ] 1 1 @tree.png\n[9 9 9] 1 1 @tree.png\n");
  CreateBillboard(0, 0, 0, 1, 1, "@tree.png");  // before the mark: not saved
  track().scenery.first_track_billboard = static_cast<int>(track().scenery.billboards.size());
  ReadBillboards("@t");
  ASSERT_EQ(track().scenery.billboards.size(), 3u);  // reading stops at the malformed line
  CreateBillboard(7, 0, 7, 1, 1, "@missing.png");  // no texture name: not saved
  EXPECT_EQ(billboards_file_text(),
            "[1.000000 2.000000 3.000000] 4.000000 0.500000 @tree.png\n"
            "[4.000000 0.000000 4.000000] 6.000000 1.000000 #00ff80#@tree.png\n");
  ASSERT_TRUE(SaveBillboards("@t"));
  EXPECT_EQ(testkit::read_file(folders.home + "t/billboards"), billboards_file_text());
}

TEST_F(Scenery, StatueMapsShapesAndBuckets) {
  int crate = CreateStatue(40, 1, 40, 0, "@crate.jm", "@crate.png", "@box.shp");
  int wall = CreateStatue(10, 0, 10, 0, "@wall.jm", "@wall-repeat.png", "null");
  int barrel = CreateStatue(20, 0, 20, 0, "@barrel.jm", "@barrel.png", "@nothing.shp");
  EXPECT_STREQ(message_line(0), "Warning: missing shape file @nothing.shp");
  const Statue& c = track().scenery.statues[static_cast<size_t>(crate)];
  EXPECT_STREQ(TextureName(c.normal_map), "@crate_norm.png");
  EXPECT_EQ(c.specular_map, 0);
  ASSERT_NE(c.shape, nullptr);
  EXPECT_FLOAT_EQ(c.shape->bound, 5.0f);
  EXPECT_FLOAT_EQ(c.y, 0.5f * 40 + 0.25f * 40 + 1);
  EXPECT_EQ(c.model_file, "@crate.jm");
  EXPECT_STREQ(TextureName(track().scenery.statues[static_cast<size_t>(wall)].normal_map), "@wall_norm-repeat.ppm");
  EXPECT_EQ(track().scenery.statues[static_cast<size_t>(wall)].shape, nullptr);
  EXPECT_STREQ(TextureName(track().scenery.statues[static_cast<size_t>(barrel)].specular_map), "@barrel_spec.png");
  rebuild_scenery_buckets();
  // Only the crate has a shape: x, z 35..45 on an 80 field span cells 3..4.
  for (int cz = 0; cz < 8; ++cz)
    for (int cx = 0; cx < 8; ++cx) {
      bool listed = cx >= 3 && cx <= 4 && cz >= 3 && cz <= 4;
      EXPECT_EQ(track().scenery.buckets[static_cast<size_t>(cx + 8 * cz)], listed ? std::vector<int>{crate} : std::vector<int>{})
          << cx << "," << cz;
    }
}

TEST_F(Scenery, StatueBucketsAtTheBorder) {
  set_plane_terrain(1000.0f);
  int left = CreateStatue(0, 0, 530, 0, "@crate.jm", "@crate.png", "@box.shp");
  int right = CreateStatue(1000, 0, 990, 0, "@crate.jm", "@crate.png", "@box.shp");
  rebuild_scenery_buckets();
  // x = 0: ((0 - 5) / 1000 - 0.125) * 4/3 * 8 is negative, clamped to cell 0.
  EXPECT_EQ(track().scenery.buckets[0 + 8 * 4], std::vector<int>{left});
  EXPECT_EQ(track().scenery.buckets[7 + 8 * 7], std::vector<int>{right});
  int listed = 0;
  for (const auto& bucket : track().scenery.buckets) listed += static_cast<int>(bucket.size());
  EXPECT_EQ(listed, 2);
}

TEST_F(Scenery, StatuesFileAndWriter) {
  data("t/statues", "[ 1 0.5 2 ] 1.5 @crate.jm @crate.png @box.shp\n[3 0 4] 0 @wall.jm @wall-repeat.png null\n");
  track().scenery.first_track_statue = 0;
  ReadStatues("@t");
  ASSERT_EQ(track().scenery.statues.size(), 2u);
  EXPECT_EQ(statues_file_text(),
            "[1.000000 0.500000 2.000000] 1.500000 @crate.jm @crate.png @box.shp\n"
            "[3.000000 0.000000 4.000000] 0.000000 @wall.jm @wall-repeat.png null\n");
}

TEST_F(Scenery, GroundFrameFollowsTheSlope) {
  set_plane_terrain(80.0f);
  for (float heading : {0.0f, 0.7f, -2.5f}) {
    float frame[3][3];
    GroundFrame(30, 30, heading, frame);
    // Column 1 is the ground normal.
    float n[3] = {-0.5f, 1.0f, -0.25f};
    float length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (int r = 0; r < 3; ++r) EXPECT_NEAR(frame[r][1], n[r] / length, 1e-5);
    // Orthonormal and right-handed.
    for (int a = 0; a < 3; ++a)
      for (int b = 0; b < 3; ++b) {
        float dot = 0;
        for (int r = 0; r < 3; ++r) dot += frame[r][a] * frame[r][b];
        EXPECT_NEAR(dot, a == b ? 1.0f : 0.0f, 1e-5);
      }
    float det = frame[0][0] * (frame[1][1] * frame[2][2] - frame[1][2] * frame[2][1]) -
                frame[0][1] * (frame[1][0] * frame[2][2] - frame[1][2] * frame[2][0]) +
                frame[0][2] * (frame[1][0] * frame[2][1] - frame[1][1] * frame[2][0]);
    EXPECT_NEAR(det, 1.0f, 1e-5);
  }
  // On level ground: the rotation by the heading about y.
  track().terrain.heights.assign(81, 3.0f);
  float frame[3][3];
  GroundFrame(30, 30, 0.6f, frame);
  const float expected[3][3] = {{std::cos(0.6f), 0, std::sin(0.6f)}, {0, 1, 0}, {-std::sin(0.6f), 0, std::cos(0.6f)}};
  for (int r = 0; r < 3; ++r)
    for (int c = 0; c < 3; ++c) EXPECT_NEAR(frame[r][c], expected[r][c], 1e-6);
}

const char* FLAGGERS =
    "[ 10 3 10 ] [ 10 0 10 ] 4 1.5 2.5\n"
    "@flag1.png @flag2.png @flag3.png @go.png @done.png\n"
    "[ 20 5 20 ] 3 2 @lap.png @alt.png @last.png @finish.png\n";

TEST_F(Scenery, FlaggersFileWithSectionsClamped) {
  data("t/flaggers", std::string(FLAGGERS) +
                         "[ 30 0 30 ] 2 1 0 4 -7 99 @green.png @yellow.png\n"
                         "[ 31 0 31 ] 2 1 1 -1 -1 -1 @green.png @yellow.png\n"
                         "[ 32 0 32 ] 2 1 1 2 @green.png @yellow.png\n");
  track().timing.gates.resize(5);
  ReadFlaggers("@t");
  EXPECT_FLOAT_EQ(track().scenery.start_animation.duration, 2.5f);
  EXPECT_FLOAT_EQ(track().scenery.start_animation.end[1], 0.0f);
  EXPECT_STREQ(TextureName(track().scenery.start_animation.textures[0]), "@flag1.png");
  EXPECT_STREQ(TextureName(track().scenery.start_animation.textures[4]), "@done.png");
  EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(track().scenery.start_animation.billboard)].texture, track().scenery.start_animation.textures[0]);
  EXPECT_STREQ(TextureName(track().scenery.lap_board.textures[3]), "@finish.png");
  ASSERT_EQ(track().scenery.flaggers.size(), 2u);
  EXPECT_EQ(std::vector<int>(track().scenery.flaggers[0].sections, track().scenery.flaggers[0].sections + 4), (std::vector<int>{0, 4, -1, 4}));
  EXPECT_STREQ(TextureName(track().scenery.flaggers[0].caution_texture), "@yellow.png");
  EXPECT_EQ(track().scenery.billboards.size(), 4u);  // start, lap board, two flaggers
}

TEST_F(Scenery, FlaggersFileEndingAfterTheLapBoard) {
  data("t/flaggers", FLAGGERS);
  ReadFlaggers("@t");
  EXPECT_TRUE(track().scenery.flaggers.empty());
  EXPECT_EQ(track().scenery.start_animation.billboard, 0);
  EXPECT_EQ(track().scenery.lap_board.billboard, 1);
  data("t/flaggers", "[ 10 3 10 ] [ 10 0 10 ] 4 1.5\n");
  ReadFlaggers("@t");
  EXPECT_EQ(track().scenery.start_animation.billboard, -1);
  EXPECT_EQ(track().scenery.lap_board.billboard, -1);
  EXPECT_FLOAT_EQ(track().scenery.start_animation.duration, 1.0f);
}

TEST_F(Scenery, DecalBoundingBoxesAndBuckets) {
  track().terrain.folder = "@t";
  data("t/decals", "[ 20 15 ] 0 2 3 @tree.png\n[ 55 55 ] 1.5707964 2 3 @tree.png\n[ 1 1 ] 0 200 1 @tree.png\n");
  ReadDecals(track().terrain);
  ASSERT_EQ(track().terrain.decals.size(), 3u);
  EXPECT_TRUE(track().terrain.has_decals);
  auto bucket = [](int cx, int cz) { return track().terrain.decal_buckets[static_cast<size_t>(cx + 8 * cz)]; };
  // Decal 0 covers x 17..23 and z 14..16: cells x 1..2, z 1.
  EXPECT_EQ(bucket(1, 1), (std::vector<int>{0, 2}));
  EXPECT_EQ(bucket(2, 1), (std::vector<int>{0, 2}));
  EXPECT_EQ(bucket(2, 2), (std::vector<int>{2}));
  // Decal 1 is turned a quarter: x 54..56 and z 52..58, all in cell (5, 5).
  EXPECT_EQ(bucket(5, 5), (std::vector<int>{1, 2}));
  EXPECT_EQ(bucket(6, 5), (std::vector<int>{2}));
  EXPECT_EQ(bucket(7, 7), (std::vector<int>{2}));  // the big one covers the whole field
  remove_decal_bucket(track().terrain, 2);
  EXPECT_EQ(bucket(7, 7), std::vector<int>{});
  insert_decal_bucket(track().terrain, 2);
  EXPECT_EQ(bucket(1, 1), (std::vector<int>{0, 2}));
  EXPECT_EQ(decals_file_text(track().terrain).substr(0, 56), "[20.000000 15.000000] 0.000000 2.000000 3.000000 @tree.p");
}

}  // namespace
