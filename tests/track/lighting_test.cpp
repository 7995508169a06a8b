#include "track/lighting.h"

#include <cmath>

#include "core/messages.h"
#include "data/texture_cache.h"
#include "testkit.h"
#include "track/track.h"
#include "track_fixture.h"

namespace {

struct LightingFile : ::testing::Test {
  testkit::DataFolders folders;
  void SetUp() override {
    for (const char* face : {"n", "e", "s", "w", "u", "env"})
      testkit::write_file(folders.data + "sky-" + face + ".ppm", fixture::flat_ppm(2, 1, 2, 3));
    for (const char* name : {"cloudy-n.ppm", "chrome.ppm", "flare.png"})
      testkit::write_file(folders.data + name, fixture::tiny_png());
  }
  void read(const std::string& text) {
    testkit::write_file(folders.data + "t/lighting", text);
    ReadLighting("@t");
  }
};

TEST_F(LightingFile, MissingFileLeavesTheResetValues) {
  track().lighting.fog_colour[0] = 0.25f;
  track().lighting.fog_density = 0.5f;
  track().lighting.flares.resize(3);
  ReadLighting("@nowhere");
  EXPECT_FLOAT_EQ(track().lighting.sun_vector[0], 1.0f);  // not normalised
  EXPECT_FLOAT_EQ(track().lighting.ambient[2], 0.5f);
  EXPECT_FLOAT_EQ(track().lighting.global_ambient[1], 0.2f);
  for (int id : track().lighting.sky) EXPECT_EQ(id, 0);
  EXPECT_EQ(track().lighting.environment, 0);
  EXPECT_TRUE(track().lighting.flares.empty());
  EXPECT_FLOAT_EQ(track().lighting.fog_density, 0.0f);
  EXPECT_FLOAT_EQ(track().lighting.fog_colour[0], 0.25f);  // the fog colour is kept
}

TEST_F(LightingFile, VectorsSkyAndDefaults) {
  read("sun_vector [ 0 2 0 ]\n"
       "  sun_color [0.9 0.8 0.7]\n"
       "\tambient [ 0.1 0.2 0.3 ]\n"
       "\n"
       "global_ambient [ 0.4 ]\n"
       "sky_n @cloudy-n.ppm\n"
       "sky_env @chrome.ppm\n");
  EXPECT_FLOAT_EQ(track().lighting.sun_vector[0], 0.0f);
  EXPECT_FLOAT_EQ(track().lighting.sun_vector[1], 1.0f);
  EXPECT_FLOAT_EQ(track().lighting.sun_colour[2], 0.7f);
  EXPECT_FLOAT_EQ(track().lighting.ambient[1], 0.2f);
  // A malformed vector keeps what it read before the mismatch.
  EXPECT_FLOAT_EQ(track().lighting.global_ambient[0], 0.4f);
  EXPECT_FLOAT_EQ(track().lighting.global_ambient[1], 0.2f);
  EXPECT_STREQ(TextureName(track().lighting.sky[0]), "@cloudy-n.ppm");
  EXPECT_STREQ(TextureName(track().lighting.sky[1]), "@sky-e.ppm");
  EXPECT_STREQ(TextureName(track().lighting.sky[4]), "@sky-u.ppm");
  EXPECT_STREQ(TextureName(track().lighting.environment), "@chrome.ppm");
}

TEST_F(LightingFile, FlaresCollectUpToEightElements) {
  std::string text;
  for (int k = 0; k < 9; ++k) text += "flare_element [ " + std::to_string(k) + " 0.5 ] [ 1 0.9 0.8 ] 0.1 @flare.png\n";
  text += "flare_point [ 100 50 -20 ]\n";
  text += "flare_element [ 1 2 ] [ 1 1 1 ] 0.2\n";  // six values: ignored
  text += "flare_element [ 1 2 ] [ 1 1 1 ] 0.2 @flare.png\n";
  text += "flare_vector [ 0 1 0 ]\n";
  text += "flare_element [ 3 3 ] [ 1 1 1 ] 0.2 @flare.png\n";  // never completed
  read(text);
  ASSERT_EQ(track().lighting.flares.size(), 2u);
  const LensFlare& point = track().lighting.flares[0];
  EXPECT_EQ(point.kind, 0);
  EXPECT_EQ(point.element_count, 8);
  EXPECT_FLOAT_EQ(point.offset[7][0], 7.0f);
  EXPECT_FLOAT_EQ(point.position[2], -20.0f);
  EXPECT_NE(point.texture[0], 0);
  EXPECT_EQ(track().lighting.flares[1].kind, 1);
  EXPECT_EQ(track().lighting.flares[1].element_count, 1);
}

TEST_F(LightingFile, UnknownKeywordEndsTheReading) {
  read("ambient [ 0.3 0.3 0.3 ]\nsun_vectr [ 0 1 0 ]\nambient [ 0.9 0.9 0.9 ]\nfog [ 1 0 0 ] 0.01\n");
  EXPECT_STREQ(message_line(0), "Error reading lighting: Unknown identifier 'sun_vectr'");
  EXPECT_FLOAT_EQ(track().lighting.ambient[0], 0.3f);
  EXPECT_FLOAT_EQ(track().lighting.fog_density, 0.0f);
  // What follows the early end still happens: normalised sun, default skies.
  EXPECT_NEAR(track().lighting.sun_vector[0], 1 / std::sqrt(3.0f), 1e-6);
  EXPECT_NE(track().lighting.sky[2], 0);
}

TEST_F(LightingFile, FogNeedsAllFourNumbers) {
  read("fog [ 0.5 0.6 0.7 ]\n");
  EXPECT_FLOAT_EQ(track().lighting.fog_colour[0], 1.0f);
  EXPECT_FLOAT_EQ(track().lighting.fog_density, 0.0f);
  read("fog [ 0.5 0.6 0.7 ] 0.002\n");
  EXPECT_FLOAT_EQ(track().lighting.fog_colour[1], 0.6f);
  EXPECT_FLOAT_EQ(track().lighting.fog_density, 0.002f);
}

TEST_F(LightingFile, ZeroSunVectorFallsBackToTheDefaultDirection) {
  read("sun_vector [ 0 0 0 ]\n");
  for (float c : track().lighting.sun_vector) EXPECT_NEAR(c, 1 / std::sqrt(3.0f), 1e-6);
}

}  // namespace
