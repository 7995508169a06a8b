#include "track/track_load.h"

#include <filesystem>

#include "core/messages.h"
#include "core/ripemd160.h"
#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "data/image_write.h"
#include "data/texture_cache.h"
#include "testkit.h"
#include "track/lighting.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_list.h"
#include "track_fixture.h"

namespace {

namespace fs = std::filesystem;

// The hand-made "mesa" track: text files from the fixtures folder, the
// binary ones made here.
struct TrackLoad : ::testing::Test {
  testkit::DataFolders folders;
  std::string folder;
  void SetUp() override {
    folder = folders.data + "mesa/";
    fs::copy(testkit::fixtures_dir() + "/track/mesa", folder, fs::copy_options::recursive);
    testkit::write_file(folder + "terrain.hf", fixture::inline_heights(2, 2.0f, 0.0f, 6.0f, fixture::ramp_samples(2)));
    testkit::write_file(folder + "shading.ppm", fixture::flat_ppm(9, 180, 170, 160));
    testkit::write_file(folder + "tilemap", std::string("\x00\x01\x00\x01\x01\x01\x00\x00\x00\x00\x00\x00\x01\x01\x01\x01", 16));
    for (const char* name : {"mesa/dirt.png", "mesa/grass.png", "mesa/hay.png", "mesa/tree.png", "mesa/map.png",
                             "roost.png", "startgate.ppm", "sky-e.ppm", "sky-s.ppm", "sky-w.ppm", "sky-u.ppm",
                             "sky-env.ppm"})
      testkit::write_file(folders.data + name, fixture::tiny_png());
    testkit::write_file(folders.data + "mesa/hay.jm", "hay bale model\n");
    testkit::write_file(folders.data + "mesa/tower.jm", "tower model\n");
    testkit::write_file(folders.data + "startgate.jm", "starting gate model\n");
    testkit::write_file(folders.data + "mesa/hay.shp", "1 0 0.5 0 1.5 0.8 5000 500\n");
    testkit::write_file(folders.data + "startgate.shp", "1 0 1 0 2 0.5 5000 500\n");
  }
  void TearDown() override { UnloadTrack(); }

  std::string file(const std::string& name) { return testkit::read_file(folders.data + name); }
  // The digest of the hashed files, computed here from their bytes.
  std::array<uint8_t, 20> expected_hash(const std::vector<std::string>& models) {
    std::string stream;
    for (const char* name : {"terrain.hf", "terrain.png", "texturelist", "tilemap", "tileinfo", "timing_gates", "statues"})
      if (testkit::file_exists(folder + name)) stream += file("mesa/" + std::string(name));
    for (const std::string& model : models) stream += file(model);
    return Ripemd160::of(stream.data(), stream.size());
  }
  std::array<uint8_t, 20> load_hash() {
    EXPECT_EQ(LoadTrack("mesa"), 1) << (message_line(0) ? message_line(0) : "");
    std::array<uint8_t, 20> hash = track().hash;
    UnloadTrack();
    return hash;
  }
};

TEST_F(TrackLoad, LoadsEveryPartInOrder) {
  ASSERT_EQ(LoadTrack("mesa"), 1);
  EXPECT_EQ(message_line(0), nullptr) << message_line(0);
  EXPECT_EQ(track().terrain.grid_size, 9);
  EXPECT_EQ(track().terrain.tile_count, 2);
  EXPECT_EQ(track().terrain.materials[0].roost[0].fade_a, -3);
  EXPECT_EQ(track().terrain.decals.size(), 1u);
  EXPECT_EQ(track().timing.gates.size(), 3u);
  EXPECT_EQ(track().timing.lap_sequence, (std::vector<int32_t>{0, 1, 2, 0, 100001, 2}));
  // Starting gates first, in front of their positions; then the statues file.
  ASSERT_EQ(track().scenery.statues.size(), 5u);
  EXPECT_EQ(track().timing.start_gate_statues, (std::vector<int>{0, 1}));
  EXPECT_FLOAT_EQ(track().scenery.statues[0].x, 4.0f);
  EXPECT_FLOAT_EQ(track().scenery.statues[0].z, 1.0f);
  EXPECT_EQ(track().scenery.statues[0].model_file, "@startgate.jm");
  EXPECT_NE(track().scenery.statues[1].shape, nullptr);
  EXPECT_EQ(track().scenery.first_track_statue, 2);
  // Roost billboards, then the flaggers' three, then the billboards file.
  EXPECT_EQ(track().scenery.first_track_billboard, ROOST_BILLBOARDS + 3);
  EXPECT_EQ(track().scenery.billboards.size(), static_cast<size_t>(ROOST_BILLBOARDS + 5));
  EXPECT_EQ(track().scenery.billboards[ROOST_BILLBOARDS + 4].g, 255);
  EXPECT_EQ(track().scenery.billboards[ROOST_BILLBOARDS + 4].r, 0x80);
  EXPECT_EQ(track().scenery.flaggers.size(), 1u);
  EXPECT_EQ(track().scenery.start_animation.billboard, ROOST_BILLBOARDS);
  EXPECT_STREQ(TextureName(track().lighting.sky[0]), "@mesa/tree.png");
  EXPECT_EQ(track().lighting.flares.size(), 1u);
  EXPECT_STREQ(TextureName(track().map_texture), "@mesa/map.png");
  int bucketed = 0;
  for (const auto& bucket : track().scenery.buckets) bucketed += static_cast<int>(!bucket.empty());
  EXPECT_GT(bucketed, 0);
  EXPECT_EQ(Ripemd160::hex(track().hash), Ripemd160::hex(expected_hash({"startgate.jm", "mesa/hay.jm", "mesa/tower.jm"})));

  // With debug on, the log follows the loading order.
  UnloadTrack();
  std::string log = fixture::start_log();
  run_settings.debug_level = 1;
  ASSERT_EQ(LoadTrack("mesa"), 1);
  run_settings.debug_level = 0;
  std::string text = testkit::read_file(log);
  size_t loading = text.find("Loading '@mesa'\n"), hf = text.find("bytes texture memory used after hf creation\n"),
         flags = text.find("after flagger creation\n"), statue = text.find("after statue creation\n");
  EXPECT_NE(loading, std::string::npos);
  EXPECT_LT(loading, hf);
  EXPECT_LT(hf, flags);
  EXPECT_LT(flags, statue);
  EXPECT_NE(statue, std::string::npos);
}

TEST_F(TrackLoad, HashFollowsOnlyTheFilesThatDecideTheRide) {
  auto base = load_hash();
  EXPECT_EQ(load_hash(), base);  // reloading gives the same hash
  testkit::write_file(folder + "billboards", "[ 1 0 1 ] 3 1 @mesa/tree.png\n");
  testkit::write_file(folder + "lighting", "sun_vector [ 0 1 0 ]\n");
  testkit::write_file(folder + "flaggers", "");
  testkit::write_file(folder + "decals", "[ 2 2 ] 0 1 1 @mesa/tree.png\n");
  EXPECT_EQ(load_hash(), base);
  testkit::write_file(folders.data + "mesa/tower.jm", "a taller tower model\n");
  auto model_changed = load_hash();
  EXPECT_NE(model_changed, base);
  testkit::write_file(folder + "tileinfo", file("mesa/tileinfo") + "addtile\n");
  EXPECT_NE(load_hash(), model_changed);
}

TEST_F(TrackLoad, CompressedTwinHashesTheSame) {
  auto plain = load_hash();
  std::string hf = file("mesa/terrain.hf");
  fs::remove(folder + "terrain.hf");
  testkit::write_file(folder + "terrain.hf.gz", testkit::gzip(hf));
  reset_data_layer();
  EXPECT_EQ(load_hash(), plain);
}

TEST_F(TrackLoad, WithoutStatuesOrGatesTheStreamEndsEarly) {
  fs::remove(folder + "statues");
  fs::remove(folder + "timing_gates");
  ASSERT_EQ(LoadTrack("mesa"), 1);
  EXPECT_TRUE(track().scenery.statues.empty());
  EXPECT_TRUE(track().timing.start_positions.empty());
  EXPECT_EQ(track().hash, expected_hash({}));
}

TEST_F(TrackLoad, UnloadEmptiesEverything) {
  ASSERT_EQ(LoadTrack("mesa"), 1);
  UnloadTrack();
  EXPECT_TRUE(track().terrain.heights.empty());
  EXPECT_EQ(track().terrain.tile_count, 0);
  EXPECT_TRUE(track().terrain.decals.empty());
  EXPECT_TRUE(track().scenery.statues.empty());
  EXPECT_TRUE(track().scenery.billboards.empty());
  EXPECT_TRUE(track().scenery.billboard_draw_list.empty());
  EXPECT_TRUE(track().scenery.flaggers.empty());
  EXPECT_TRUE(track().timing.gates.empty());
  EXPECT_TRUE(track().timing.lap_sequence.empty());
  EXPECT_TRUE(track().lighting.flares.empty());
  for (const auto& bucket : track().scenery.buckets) EXPECT_TRUE(bucket.empty());
  EXPECT_EQ(TerrainHeightAt(track().terrain, 3, 3), 0.0f);
}

TEST_F(TrackLoad, FailedTerrainClearsTheTrackName) {
  fs::remove(folder + "tilemap");
  EXPECT_EQ(LoadTrack("mesa"), 0);
  EXPECT_EQ(track().name, "");
  EXPECT_STREQ(message_line(0), "Can't open '@mesa/tilemap'");
  EXPECT_TRUE(track().terrain.heights.empty());
}

TEST_F(TrackLoad, SaveTrackInfo) {
  EXPECT_FALSE(save_track_info());  // nothing loaded yet
  ASSERT_TRUE(build_track_list());
  ASSERT_EQ(LoadTrack("mesa"), 1);
  ASSERT_TRUE(save_track_info());
  EXPECT_STREQ(message_line(0), "Track info saved to mesa.trackinfo");
  EXPECT_EQ(testkit::read_file(folders.home + "mesa.trackinfo"),
            "dir=mesa\nlongname=Mesa Test Track\nfirstlap=3\nnormallap=3\nhash=" + Ripemd160::hex(track().hash) + "\n");
}

// Every folder the data builder writes loads cleanly and hashes the same twice.
TEST(GameData, EveryTrackLoadsWithoutWarnings) {
  std::string home = testkit::scratch_dir("home");
  setenv("BL_USER_HOME", home.c_str(), 1);
  setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  reset_data_layer();
  ASSERT_TRUE(build_track_list()) << "no tracks in " << testkit::game_dir();
  for (const std::string& dir : track_list.dirs) {
    SCOPED_TRACE(dir);
    std::array<uint8_t, 20> first{};
    for (int run = 0; run < 2; ++run) {
      clear_messages();
      ASSERT_EQ(LoadTrack(dir), 1) << (message_line(0) ? message_line(0) : "");
      EXPECT_EQ(message_line(0), nullptr) << message_line(0);
      EXPECT_GT(track().terrain.tile_count, 0);
      // Every transition tile names kinds that exist.
      for (int k = 0; k < track().terrain.tile_count; ++k)
        EXPECT_NE(track().terrain.tile_code[static_cast<size_t>(k)], -256) << track().terrain.tile_texture_name[static_cast<size_t>(k)];
      EXPECT_FALSE(track().timing.gates.empty());
      EXPECT_EQ(track().timing.start_positions.size(), static_cast<size_t>(MAX_START_POSITIONS));
      if (run == 0) first = track().hash;
      else EXPECT_EQ(track().hash, first);
      UnloadTrack();
    }
  }
  reset_data_layer();
}

}  // namespace
