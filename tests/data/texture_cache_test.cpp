#include "data/texture_cache.h"

#include <vector>

#include "core/messages.h"
#include "core/run_settings.h"
#include "data/image_write.h"
#include "testkit.h"

namespace {

// A graphics side that records what it is asked to do.
struct Upload {
  int id, width, height, channels;
  bool repeat_s, repeat_t;
  uint8_t first_byte;
};
std::vector<Upload> uploads;
std::vector<Upload> replacements;
std::vector<int> released;
int next_id = 100;

const TextureUploader recorder = {
    [](const uint8_t* levels, int w, int h, int c, bool s, bool t) {
      uploads.push_back({next_id, w, h, c, s, t, levels[0]});
      return next_id++;
    },
    [](int id, const uint8_t* levels, int w, int h, int c) { replacements.push_back({id, w, h, c, false, false, levels[0]}); },
    [](int id) { released.push_back(id); },
};

std::string ppm(int width, int height, uint8_t value = 7) {
  std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3, value);
  return encode_ppm(rgb.data(), width, height);
}

// A J7 picture of one colour (every difference after the first pixel is 0).
std::string flat_j7(int width, int height, uint8_t value) {
  std::string bytes = "J7 " + std::to_string(width) + " " + std::to_string(height) + "\n";
  bytes += std::string(4, static_cast<char>(value));
  bytes += std::string(static_cast<size_t>(width) * height * 4 - 4, '\0');
  return bytes;
}

class TextureCache : public ::testing::Test {
 protected:
  testkit::DataFolders folders;
  void SetUp() override {
    run_settings.model_texture_reduction = 0;
    uploads.clear();
    replacements.clear();
    released.clear();
  }
  void TearDown() override { set_texture_uploader({}); }
  void data(const std::string& name, const std::string& bytes) { testkit::write_file(folders.data + name, bytes); }
};

TEST_F(TextureCache, CachesByNameAndCountsEveryLevel) {
  data("a.ppm", ppm(4, 4));
  data("b.ppm", ppm(2, 2));
  int a = LoadTexture("@a.ppm");
  int b = LoadTexture("@b.ppm");
  EXPECT_NE(a, 0);
  EXPECT_NE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(LoadTexture("@a.ppm"), a);
  EXPECT_EQ(texture_memory.bytes, (16u + 4u + 1u) * 3u + (4u + 1u) * 3u);
  EXPECT_STREQ(TextureName(b), "@b.ppm");
  EXPECT_EQ(TextureName(12345), nullptr);
  EXPECT_EQ(texture_entries().size(), 2u);
}

TEST_F(TextureCache, CaseMismatchReturnsTheCachedTextureWithAWarning) {
  data("Grass.ppm", ppm(2, 2));
  int id = LoadTexture("@Grass.ppm");
  ASSERT_NE(id, 0);
  EXPECT_EQ(LoadTexture("@grass.PPM"), id);
  EXPECT_STREQ(message_line(0), "Warning: case mismatch on '@grass.PPM'");
  EXPECT_EQ(texture_entries().size(), 1u);
}

TEST_F(TextureCache, NonPowerOfTwoIsResampledWithAWarning) {
  set_texture_uploader(recorder);
  data("wide.ppm", ppm(300, 200));
  ASSERT_NE(LoadTexture("@wide.ppm"), 0);
  EXPECT_STREQ(message_line(0), "Warning: Non power of 2 texture '@wide.ppm'");
  ASSERT_EQ(uploads.size(), 1u);
  EXPECT_EQ(uploads[0].width, 512);
  EXPECT_EQ(uploads[0].height, 256);
  EXPECT_EQ(texture_memory.bytes, static_cast<unsigned>(mip_chain_bytes(512, 256, 3) - 3));
}

TEST_F(TextureCache, ReductionDropsLevelsWhileBothSidesAreAbove128) {
  set_texture_uploader(recorder);
  run_settings.model_texture_reduction = 2;
  data("big.ppm", ppm(1024, 1024));
  data("flat.ppm", ppm(256, 128));
  data("keep.ppm", ppm(512, 512));
  LoadTexture("@big.ppm");
  LoadTexture("@flat.ppm");
  // "!" turns the reduction off and is not part of the cached name.
  int keep = LoadTexture("!@keep.ppm");
  ASSERT_EQ(uploads.size(), 3u);
  EXPECT_EQ(uploads[0].width, 256);
  EXPECT_EQ(uploads[0].height, 256);
  EXPECT_EQ(uploads[1].width, 256);
  EXPECT_EQ(uploads[1].height, 128);
  EXPECT_EQ(uploads[2].width, 512);
  EXPECT_STREQ(TextureName(keep), "@keep.ppm");
  EXPECT_EQ(LoadTexture("@keep.ppm"), keep);
  EXPECT_EQ(texture_entries()[0].bytes, static_cast<unsigned>(mip_chain_bytes(256, 256, 3) - 3));
}

TEST_F(TextureCache, RepeatFlagsComeFromTheName) {
  set_texture_uploader(recorder);
  struct Case {
    const char* name;
    bool s, t;
  };
  const Case cases[] = {{"@dirt-repeat.ppm", true, true}, {"@fence-hrepeat.ppm", true, false},
                        {"@pole-vrepeat.ppm", false, true}, {"@sign.ppm", false, false},
                        {"@repeat.ppm", false, false}};
  for (const Case& c : cases) {
    data(c.name + 1, ppm(2, 2));
    ASSERT_NE(LoadTexture(c.name), 0) << c.name;
    EXPECT_EQ(uploads.back().repeat_s, c.s) << c.name;
    EXPECT_EQ(uploads.back().repeat_t, c.t) << c.name;
  }
}

TEST_F(TextureCache, FormatsByMagicWordWithPngFallback) {
  std::string png;
  const uint8_t rgba[4 * 4] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
  ASSERT_TRUE(encode_png(rgba, 2, 2, 4, &png));
  data("looks-like.ppm", png);  // the name does not decide the format
  data("pic.j7", flat_j7(2, 2, 9));
  data("broken.ppm", "P6 2 2 255\n");
  set_texture_uploader(recorder);
  EXPECT_NE(LoadTexture("@looks-like.ppm"), 0);
  EXPECT_EQ(uploads.back().channels, 4);
  EXPECT_NE(LoadTexture("@pic.j7"), 0);
  EXPECT_EQ(uploads.back().first_byte, 9);
  EXPECT_EQ(LoadTexture("@broken.ppm"), 0);
  EXPECT_EQ(texture_entries().size(), 2u);
}

TEST_F(TextureCache, MissingFileIsReportedOnlyWithDebug) {
  EXPECT_EQ(LoadTexture("@nothing.png"), 0);
  EXPECT_EQ(message_line(0), nullptr);
  run_settings.debug_level = 1;
  EXPECT_EQ(LoadTexture("@nothing.png"), 0);
  EXPECT_STREQ(message_line(0), "Can't open texture \"@nothing.png\"");
  run_settings.debug_level = 0;
}

TEST_F(TextureCache, CleanUpFreesOnlyStaleGenerations) {
  set_texture_uploader(recorder);
  run_settings.debug_level = 1;
  for (const char* name : {"start.ppm", "old.ppm", "again.ppm", "new.ppm"}) data(name, ppm(2, 2));
  int permanent = LoadTexture("@start.ppm");  // generation 0: never deleted
  texture_memory.generation = 1;
  int old = LoadTexture("@old.ppm");
  int again = LoadTexture("@again.ppm");
  texture_memory.generation = 2;
  texture_memory.bytes = 0;
  EXPECT_EQ(LoadTexture("@again.ppm"), again);  // requested again: counted again, kept
  EXPECT_EQ(texture_memory.bytes, 15u);
  int fresh = LoadTexture("@new.ppm");
  clean_up_textures();
  EXPECT_EQ(released, std::vector<int>{old});
  EXPECT_STREQ(message_line(0), "deleting tid 101 (@old.ppm)");
  EXPECT_EQ(TextureName(old), nullptr);
  for (int kept : {permanent, again, fresh}) EXPECT_NE(TextureName(kept), nullptr);
  run_settings.debug_level = 0;
}

TEST_F(TextureCache, AnimationStepsLoopPauseAndRestart) {
  set_texture_uploader(recorder);
  std::string png;
  std::vector<uint8_t> rgba(2 * 2 * 4, 77);
  ASSERT_TRUE(encode_png(rgba.data(), 2, 2, 4, &png));
  data("frame2.png", png);
  // Three steps over frames 1, 0, 2; period 10.
  data("loop.seq", "ANIM1 3 3 10 1\n1 0 2\n" + flat_j7(2, 2, 11) + flat_j7(2, 2, 22) + "PNG  @frame2.png  \n");
  data("once.seq", "ANIM1 3 3 10 0\n1 0 2\n" + flat_j7(2, 2, 11) + flat_j7(2, 2, 22) + "PNG @frame2.png\n");
  int looping = LoadTexture("@loop.seq");
  int once = LoadTexture("@once.seq");
  ASSERT_NE(looping, 0);
  ASSERT_NE(once, 0);
  EXPECT_EQ(uploads[0].first_byte, 22);  // created from step 0's frame (frame 1)
  ASSERT_EQ(texture_animations().size(), 2u);

  advance_texture_animations(35);  // step 3: looping wraps to step 0, once stays on step 2
  ASSERT_EQ(replacements.size(), 1u);
  EXPECT_EQ(replacements[0].id, once);
  EXPECT_EQ(replacements[0].first_byte, 77);
  advance_texture_animations(15);  // step 1 for both: frame 0
  EXPECT_EQ(replacements.size(), 3u);
  EXPECT_EQ(replacements.back().first_byte, 11);

  pause_texture_animation(looping);
  advance_texture_animations(25);
  EXPECT_EQ(replacements.back().id, once);
  restart_texture_animation(looping, 100);
  advance_texture_animations(105);  // step 0 of the restarted animation: frame 1
  EXPECT_EQ(replacements.back().id, looping);
  EXPECT_EQ(replacements.back().first_byte, 22);
}

TEST_F(TextureCache, DamagedAnimationsGiveTheirMessages) {
  data("small.png", [] {
    std::string png;
    std::vector<uint8_t> rgb(4 * 4 * 3, 1);
    encode_png(rgb.data(), 4, 4, 3, &png);
    return png;
  }());
  data("rgb.png", [] {
    std::string png;
    std::vector<uint8_t> rgb(2 * 2 * 3, 1);
    encode_png(rgb.data(), 2, 2, 3, &png);
    return png;
  }());
  struct Case {
    std::string seq;
    const char* message;
  };
  const Case cases[] = {
      {"ANIM1 1 1 10 0\n0\nPNG", "EOF while reading .seq"},
      {"ANIM1 1 1 10 0\n0\nPNG @absent.png\n", "Can't read @absent.png"},
      {"ANIM1 2 2 10 0\n0 1\n" + flat_j7(2, 2, 1) + "GIF x\n", "Error reading .seq frame 1"},
      {"ANIM1 2 2 10 0\n0 1\n" + flat_j7(2, 2, 1) + "PNG @small.png\n", "Width/height mismatch reading .seq"},
      {"ANIM1 2 2 10 0\n0 1\n" + flat_j7(2, 2, 1) + "PNG @rgb.png\n", "Depth mismatch reading .seq"},
      {"ANIM1 0 1 10 0\n", "Bad .seq header"},
      {"ANIM1 1 1 0 0\n0\n" + flat_j7(2, 2, 1), "Bad .seq header"},
      {"ANIM1 2 1 10 0\n0 1\n" + flat_j7(2, 2, 1), "Bad .seq step 1"},
  };
  int k = 0;
  for (const Case& c : cases) {
    std::string name = "bad" + std::to_string(k++) + ".seq";
    data(name, c.seq);
    EXPECT_EQ(LoadTexture(("@" + name).c_str()), 0) << c.seq;
    EXPECT_STREQ(message_line(0), c.message) << c.seq;
  }
  EXPECT_TRUE(texture_animations().empty());
}

TEST_F(TextureCache, CleanUpDropsAnimationsOfDeletedTextures) {
  run_settings.debug_level = 1;
  data("anim.seq", "ANIM1 1 1 10 0\n0\n" + flat_j7(2, 2, 5));
  texture_memory.generation = 1;
  int id = LoadTexture("@anim.seq");
  ASSERT_NE(id, 0);
  texture_memory.generation = 2;
  clean_up_textures();
  EXPECT_TRUE(texture_animations().empty());
  EXPECT_EQ(std::string(message_line(0)), "deleting anim 0 for tid " + std::to_string(id));
  run_settings.debug_level = 0;
}

}  // namespace
