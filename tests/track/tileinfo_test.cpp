#include <cmath>
#include <cstdio>

#include "core/messages.h"
#include "data/data_file.h"
#include "data/texture_cache.h"
#include "testkit.h"
#include "track/terrain.h"
#include "track/tile_kinds.h"
#include "track_fixture.h"

namespace {

struct Tileinfo : ::testing::Test {
  testkit::DataFolders folders;
  Terrain t;
  void SetUp() override {
    for (const char* name : {"roost.png", "dirt.png", "mud.png", "my splash.png"})
      testkit::write_file(folders.data + name, fixture::tiny_png());
  }
  // Reads the text as a tileinfo file; returns the messages it posted, oldest first.
  std::vector<std::string> read(std::string text) {
    clear_messages();
    DataFile* file = df_open_stream(fmemopen(text.data(), text.size(), "rb"));
    ReadTileinfo(t, file);
    df_close(file);
    std::vector<std::string> posted;
    for (int age = 0; message_line(age); ++age) posted.insert(posted.begin(), message_line(age));
    return posted;
  }
};

TEST_F(Tileinfo, KindsWithSortedCurvesAndRoost) {
  auto posted = read(
      "texture @dirt.png\n"
      "  friction 1.0 20\n"
      "\tfriction 0.5 10\n"
      "friction 0.8 15\r\n"
      "roll_resist 4 12 8\n"
      "roll_resist 2 10 3\n"
      "roost count=20 dig=0.5 size=0.3 r=200 g=150 b=100 a=-1 fade_a=-256 fade_r=64\n"
      "\n"
      "addtile\n"
      "texture @mud.png\n"
      "addtile\n");
  EXPECT_TRUE(posted.empty()) << posted[0];
  ASSERT_EQ(t.tile_count, 2);
  const TileMaterial& dirt = t.materials[0];
  EXPECT_EQ(std::vector<float>(dirt.friction_speed, dirt.friction_speed + 4), (std::vector<float>{10, 15, 20, 0}));
  EXPECT_EQ(std::vector<float>(dirt.friction_value, dirt.friction_value + 4), (std::vector<float>{0.5f, 0.8f, 1.0f, 1.0f}));
  EXPECT_EQ(std::vector<float>(dirt.roll_speed, dirt.roll_speed + 3), (std::vector<float>{3, 8, 0}));
  EXPECT_FLOAT_EQ(dirt.roll_a[0], 2.0f);
  EXPECT_FLOAT_EQ(dirt.roll_b[1], 12.0f);
  EXPECT_NEAR(FrictionAt(dirt, 12.5f), 0.5f + 0.3f * (12.5f * 12.5f - 100) / 125, 1e-6);
  const RoostType& roost = dirt.roost[0];
  EXPECT_EQ(roost.mode, 1);
  EXPECT_EQ(roost.texture, LoadTexture("@roost.png"));
  EXPECT_FLOAT_EQ(roost.count, 20.0f);
  EXPECT_FLOAT_EQ(roost.dig, 0.5f);
  EXPECT_FLOAT_EQ(roost.size, 0.3f);
  EXPECT_FLOAT_EQ(roost.slip_threshold, 4.0f);
  EXPECT_EQ(roost.r, 200);
  EXPECT_EQ(roost.a, 255);
  EXPECT_EQ(roost.fade_a, -2);
  EXPECT_EQ(roost.fade_r, 0);  // 64 per second is half a unit per tick: truncated
  EXPECT_EQ(dirt.roost[1].mode, 0);
  EXPECT_EQ(t.tile_texture[0], LoadTexture("@dirt.png"));
  EXPECT_EQ(t.tile_texture[1], LoadTexture("@mud.png"));
  EXPECT_EQ(t.tile_code[1], (1 << 16) | (1 << 8));
  // A kind with no lines keeps the defaults.
  EXPECT_FLOAT_EQ(FrictionAt(t.materials[1], 30.0f), 1.0f);
  RollResist r = RollResistAt(t.materials[1], 9.0f);
  EXPECT_FLOAT_EQ(r.a + (r.b - r.a) * 0.5f, 10.0f);
}

TEST_F(Tileinfo, WarningsAndWhatStays) {
  std::string text = "texture @dirt.png\n";
  for (int k = 1; k <= 9; ++k) text += "friction 1 " + std::to_string(k) + "\n";
  for (int k = 1; k <= 9; ++k) text += "roll_resist 1 2 " + std::to_string(k) + "\n";
  for (int k = 1; k <= 5; ++k) text += "roost count=" + std::to_string(k) + "\n";
  text +=
      "friction 0.5\n"
      "roll_resist 1 2\n"
      "friction nan 3\n"
      "frictions 1 2\n"
      "Texture @mud.png\n"
      "addtile\n";
  auto posted = read(text);
  EXPECT_EQ(posted, (std::vector<std::string>{"tileinfo warning: too many friction points",
                                              "tileinfo warning: too many roll_resist points",
                                              "tileinfo warning: too many roost types",
                                              "tileinfo warning: bad friction parameters",
                                              "tileinfo warning: bad roll_resist parameters",
                                              "tileinfo warning: bad friction parameters",
                                              "tileinfo warning: Unknown identifier 'frictions'",
                                              "tileinfo warning: Unknown identifier 'Texture'"}));
  ASSERT_EQ(t.tile_count, 1);
  EXPECT_FLOAT_EQ(t.materials[0].friction_speed[7], 8.0f);
  EXPECT_FLOAT_EQ(t.materials[0].roll_speed[7], 8.0f);
  EXPECT_FLOAT_EQ(t.materials[0].roost[3].count, 4.0f);
}

TEST_F(Tileinfo, ValuesAreRaisedToTheirLimits) {
  read("friction -1 0\nroll_resist 0 -3 -2\nroll_resist -1 4 5\naddtile\n");
  const TileMaterial& m = t.materials[0];
  EXPECT_FLOAT_EQ(m.friction_value[0], 0.0f);
  EXPECT_FLOAT_EQ(m.friction_speed[0], MATERIAL_MIN_SPEED);
  EXPECT_FLOAT_EQ(m.roll_a[0], 0.0f);
  EXPECT_FLOAT_EQ(m.roll_b[0], 0.0f);
  EXPECT_FLOAT_EQ(m.roll_speed[0], MATERIAL_MIN_SPEED);
  EXPECT_FLOAT_EQ(m.roll_a[1], 0.0f);
}

TEST_F(Tileinfo, RoostParameters) {
  auto posted = read(
      "roost splash=0\n"
      "roost splash=1 texture=\"@my splash.png\" slow_angle=.5e1 randomize=+2\n"
      "roost count=many dig= colour=red fade_b=x r=300\n"
      "roost\tvscale=3\b\"grow=2\"\n"
      "addtile\n");
  const RoostType* roost = t.materials[0].roost;
  EXPECT_EQ(roost[0].mode, 1);
  EXPECT_EQ(roost[1].mode, 2);
  EXPECT_EQ(roost[1].texture, LoadTexture("@my splash.png"));
  EXPECT_NE(roost[1].texture, 0);
  EXPECT_FLOAT_EQ(roost[1].slow_angle, 5.0f);
  EXPECT_FLOAT_EQ(roost[1].randomize, 2.0f);
  EXPECT_FLOAT_EQ(roost[2].count, 0.0f);
  EXPECT_FLOAT_EQ(roost[2].dig, 0.0f);
  EXPECT_EQ(roost[2].r, 44);
  EXPECT_FLOAT_EQ(roost[3].vscale, 3.0f);
  EXPECT_FLOAT_EQ(roost[3].grow, 2.0f);
  EXPECT_EQ(posted, (std::vector<std::string>{"tileinfo warning: bad count", "tileinfo warning: bad dig",
                                              "tileinfo warning: unknown roost parameter 'colour=red'",
                                              "tileinfo warning: bad fade_b"}));
}

TEST_F(Tileinfo, AtMost256KindsAndAnUnclosedKindIsDropped) {
  std::string text;
  for (int k = 0; k < 300; ++k) text += "texture @dirt.png\naddtile\n";
  auto posted = read(text + "nonsense\n");
  EXPECT_EQ(t.tile_count, 256);
  EXPECT_TRUE(posted.empty());
  read("texture @dirt.png\naddtile\ntexture @mud.png\nfriction 1 2\n");
  EXPECT_EQ(t.tile_count, 1);
}

}  // namespace

namespace {

TEST_F(Tileinfo, TexturelistLines) {
  std::string text = "  0.8 6 20 dirt.png\n\n2.5 mud.png\n-1 -2 -3 dirt.png\nmud.png";
  DataFile* file = df_open_stream(fmemopen(text.data(), text.size(), "rb"));
  ReadTexturelist(t, file);
  df_close(file);
  ASSERT_EQ(t.tile_count, 4);
  EXPECT_EQ(t.tile_texture_name[0], "@dirt.png");
  EXPECT_FLOAT_EQ(t.materials[0].friction_value[0], 0.8f);
  EXPECT_FLOAT_EQ(t.materials[0].roll_b[0], 20.0f);
  // Fewer than three numbers: the whole line is the name.
  EXPECT_EQ(t.tile_texture_name[1], "@2.5 mud.png");
  EXPECT_EQ(t.tile_texture[1], 0);
  EXPECT_FLOAT_EQ(t.materials[1].friction_value[0], 1.0f);
  EXPECT_FLOAT_EQ(t.materials[1].roll_a[0], 5.0f);
  // Negative values are raised to 0, as in tileinfo.
  EXPECT_FLOAT_EQ(t.materials[2].friction_value[0], 0.0f);
  EXPECT_FLOAT_EQ(t.materials[2].roll_b[0], 0.0f);
  // A last line without a line break keeps its whole name.
  EXPECT_EQ(t.tile_texture_name[3], "@mud.png");
  EXPECT_NE(t.tile_texture[3], 0);
  EXPECT_EQ(t.materials[3].roost[0].mode, 1);
}

}  // namespace
