#include <cmath>

#include "core/messages.h"
#include "core/ripemd160.h"
#include "core/run_settings.h"
#include "data/image_write.h"
#include "testkit.h"
#include "track/terrain.h"
#include "track_fixture.h"

namespace {

struct TerrainLoad : ::testing::Test {
  testkit::DataFolders folders;
  Terrain t;
  std::string dir() { return folders.data + "hill/"; }
  void write(const std::string& name, const std::string& bytes) { testkit::write_file(dir() + name, bytes); }
  void remove(const std::string& name) { std::remove((dir() + name).c_str()); }
};

TEST_F(TerrainLoad, MinimalTrackFillsTheRecord) {
  fixture::write_minimal_track(folders.data, "hill");
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1) << message_line(0);
  EXPECT_EQ(t.grid_shift, 1);
  EXPECT_EQ(t.grid_size, 5);
  EXPECT_FLOAT_EQ(t.spacing, 2.0f);
  EXPECT_FLOAT_EQ(t.tile_size, 4.0f);
  EXPECT_FLOAT_EQ(t.extent, 8.0f);
  std::vector<uint16_t> samples = fixture::ramp_samples(1);
  for (size_t k = 0; k < samples.size(); ++k) EXPECT_NEAR(t.heights[k], samples[k] * 10.0 / 65535, 1e-4);
  EXPECT_FLOAT_EQ(t.min_height, 0.0f);
  EXPECT_FLOAT_EQ(t.max_height, 10.0f);
  // shading.ppm is stored at half intensity.
  EXPECT_EQ(t.shading[0], 100);
  EXPECT_EQ(t.shading[1], 50);
  EXPECT_EQ(t.shading[2], 25);
  EXPECT_EQ(t.shadow[7], 0);
  EXPECT_EQ(t.tile_count, 2);
  EXPECT_NE(t.tile_texture[0], 0);
  EXPECT_NE(t.tile_texture[1], 0);
  EXPECT_FLOAT_EQ(t.materials[1].friction_value[0], 0.7f);
  EXPECT_FLOAT_EQ(t.materials[1].roll_b[0], 20.0f);
  EXPECT_EQ(t.materials[1].roost[0].mode, 1);
  EXPECT_EQ(t.tile_map, (std::vector<uint8_t>{0, 1, 0, 1}));
  EXPECT_FALSE(t.has_decals);
  EXPECT_EQ(t.heights_modified, 0);
}

TEST_F(TerrainLoad, HeightsFromPngOrFlatWithoutOne) {
  fixture::write_minimal_track(folders.data, "hill");
  write("terrain.hf", "1 2.0 -5.0 15.0\n");
  // No terrain.png: a flat field at the minimum height.
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  for (float h : t.heights) EXPECT_FLOAT_EQ(h, -5.0f);
  // A 3 x 2 height image repeats its last column and row.
  const uint16_t samples[] = {0, 65535, 32768, 13107, 26214, 39321};
  std::string png;
  ASSERT_TRUE(encode_png_grey16(samples, 3, 2, &png));
  write("terrain.png", png);
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  auto height_of = [](uint16_t s) { return -5.0f + s * 20.0f / 65535.0f; };
  EXPECT_NEAR(t.heights[1], height_of(65535), 1e-4);
  EXPECT_NEAR(t.heights[4], height_of(32768), 1e-4);       // (4, 0) reads column 2
  EXPECT_NEAR(t.heights[5 * 4 + 0], height_of(13107), 1e-4);  // (0, 4) reads row 1
  EXPECT_NEAR(t.heights[5 * 4 + 4], height_of(39321), 1e-4);
}

TEST_F(TerrainLoad, ShadingX2IsUsedAsItIsAndShadowsAreInverted) {
  fixture::write_minimal_track(folders.data, "hill");
  write("shadingx2.ppm", fixture::flat_ppm(5, 201, 7, 255));
  std::vector<uint8_t> light(25, 255);
  light[6] = 55;
  write("shadows.pgm", encode_pgm(light.data(), 5, 5));
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  EXPECT_EQ(t.shading[0], 201);
  EXPECT_EQ(t.shading[2], 255);
  EXPECT_EQ(t.shadow[6], 200);
  EXPECT_EQ(t.shadow[5], 0);
}

TEST_F(TerrainLoad, TileMapBytesBeyondTheKindsAreClamped) {
  fixture::write_minimal_track(folders.data, "hill");
  std::string list;
  for (int k = 0; k < 10; ++k) list += "textures/loam.png\n";
  write("texturelist", list);
  write("tilemap", std::string("\x00\xc8\x09\x05", 4));
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  EXPECT_EQ(t.tile_count, 10);
  EXPECT_EQ(t.tile_map, (std::vector<uint8_t>{0, 9, 9, 5}));
  // A line of only a name gets the default friction and resistance.
  EXPECT_FLOAT_EQ(t.materials[3].friction_value[0], 1.0f);
  EXPECT_FLOAT_EQ(t.materials[3].roll_a[0], 5.0f);
}

TEST_F(TerrainLoad, FailuresReportAndLeaveAnEmptyRecord) {
  struct Case {
    const char* file;  // replaced (or removed when bytes is null)
    const char* bytes;
    std::vector<std::string> messages;  // newest last
  };
  std::string wrong_size = fixture::flat_ppm(3, 1, 2, 3);
  const Case cases[] = {
      {"terrain.hf", nullptr, {"Can't open '@hill/terrain.hf'"}},
      {"terrain.hf", "1 2.0 0.0\n", {"Bad height field parameters", "Error reading heights"}},
      {"terrain.hf", "40 2.0 0.0 1.0\n", {"Bad height field parameters", "Error reading heights"}},
      {"terrain.hf", "1 0 0.0 1.0\n", {"Bad height field parameters", "Error reading heights"}},
      {"terrain.hf", "1 2.0 0.0 1.0\n:\x01\x02", {"Error reading heights"}},
      {"shading.ppm", nullptr, {"Can't open '@hill/shading.ppm'"}},
      {"shading.ppm", wrong_size.c_str(), {"Bad shading dimensions (3x3)"}},
      {"shading.ppm", "P6 5 5 255\n", {"Error reading shading"}},
      {"texturelist", nullptr, {"Can't open '@hill/texturelist'"}},
      {"tilemap", nullptr, {"Can't open '@hill/tilemap'"}},
      {"tilemap", "\x01", {"Error reading tilemap"}},
      {"shadows.pgm", "P5 5 5 255\n", {"Error reading shadows"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file + std::string(" ") + (c.bytes ? c.bytes : "(missing)"));
    fixture::write_minimal_track(folders.data, "hill");
    if (c.bytes) write(c.file, c.bytes);
    else remove(c.file);
    clear_messages();
    EXPECT_EQ(LoadTerrain(t, "@hill"), 0);
    ASSERT_GE(messages_shown(), static_cast<int>(c.messages.size()));
    for (size_t k = 0; k < c.messages.size(); ++k)
      EXPECT_STREQ(message_line(static_cast<int>(c.messages.size() - 1 - k)), c.messages[k].c_str());
    EXPECT_TRUE(t.heights.empty());
    EXPECT_EQ(t.grid_size, 0);
    EXPECT_EQ(t.tile_count, 0);
  }
}

TEST_F(TerrainLoad, WrongShadowSizeIsLoggedAndFails) {
  std::string log = fixture::start_log();
  fixture::write_minimal_track(folders.data, "hill");
  std::vector<uint8_t> light(16, 255);
  write("shadows.pgm", encode_pgm(light.data(), 4, 4));
  EXPECT_EQ(LoadTerrain(t, "@hill"), 0);
  EXPECT_NE(testkit::read_file(log).find("Bad shadow dimensions (4x4)\n"), std::string::npos);
}

TEST_F(TerrainLoad, HeightDigestIsLoggedAtSuperDebug) {
  std::string log = fixture::start_log();
  fixture::write_minimal_track(folders.data, "hill");
  run_settings.debug_level = 2;
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  run_settings.debug_level = 0;
  std::string hf = testkit::read_file(dir() + "terrain.hf");
  std::string sample_bytes = hf.substr(hf.find(':') + 1);
  std::string expected = Ripemd160::hex(Ripemd160::of(sample_bytes.data(), sample_bytes.size()));
  EXPECT_NE(testkit::read_file(log).find(expected + "\n"), std::string::npos);
  EXPECT_NE(testkit::read_file(log).find("bytes texture memory used after ground tiles loaded\n"), std::string::npos);
}

TEST_F(TerrainLoad, SaveAndReloadQuantisesHeights) {
  fixture::write_minimal_track(folders.data, "hill");
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  t.heights[7] = -3.25f;  // a new lowest point
  t.heights[8] = 12.5f;   // and a new highest
  t.shading[5] = 255;
  t.tile_map[2] = 1;
  std::vector<float> before = t.heights;
  std::vector<uint8_t> shading = t.shading;
  ASSERT_EQ(SaveTerrain(t), 1);
  EXPECT_FLOAT_EQ(t.min_height, -3.25f);
  EXPECT_FLOAT_EQ(t.max_height, 12.5f);
  // Written to the home folder, so the game reads them back from there.
  EXPECT_TRUE(testkit::file_exists(folders.home + "hill/terrain.png"));
  EXPECT_EQ(testkit::read_file(folders.home + "hill/terrain.hf"), "1 2.000000 -3.250000 12.500000\n");
  EXPECT_FALSE(testkit::file_exists(folders.home + "hill/decals"));
  Terrain again;
  ASSERT_EQ(LoadTerrain(again, "@hill"), 1);
  float step = (12.5f + 3.25f) / 65535.0f;
  for (size_t k = 0; k < before.size(); ++k) EXPECT_NEAR(again.heights[k], before[k], step * 0.5f + 1e-5f) << k;
  EXPECT_EQ(again.shading, shading);  // shadingx2.ppm comes back unchanged
  EXPECT_EQ(again.tile_map[2], 1);
  std::string doubled = testkit::read_file(folders.home + "hill/shading.ppm");
  EXPECT_EQ(static_cast<uint8_t>(doubled[doubled.size() - 25 * 3 + 5]), 255);  // 255 doubled is capped
  EXPECT_EQ(static_cast<uint8_t>(doubled[doubled.size() - 1]), shading.back() * 2);
}

TEST_F(TerrainLoad, SaveOfAFlatFieldKeepsItFlat) {
  fixture::write_minimal_track(folders.data, "hill");
  write("terrain.hf", "1 2.0 3.0 3.0\n");
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  ASSERT_EQ(SaveTerrain(t), 1);
  Terrain again;
  ASSERT_EQ(LoadTerrain(again, "@hill"), 1);
  for (float h : again.heights) EXPECT_FLOAT_EQ(h, 3.0f);
}

TEST_F(TerrainLoad, SaveStopsAtTheFileThatFails) {
  fixture::write_minimal_track(folders.data, "hill");
  ASSERT_EQ(LoadTerrain(t, "@hill"), 1);
  testkit::write_file(folders.home + "hill/shading.ppm/blocker", "a folder in the way");
  EXPECT_EQ(SaveTerrain(t), 0);
  EXPECT_STREQ(message_line(0), "Can't open 'shading.ppm'");
  EXPECT_TRUE(testkit::file_exists(folders.home + "hill/terrain.hf"));
  EXPECT_FALSE(testkit::file_exists(folders.home + "hill/tilemap"));
}

}  // namespace
