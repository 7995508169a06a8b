#include "app/config_file.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <sstream>
#include <string>
#include <vector>

#include "core/settings.h"
#include "data/safe_write.h"
#include "testkit.h"

namespace {

struct ConfigTest : ::testing::Test {
  testkit::DataFolders folders;
  void SetUp() override { reset_settings(); }
  void load(const std::string& text) {
    testkit::write_file(folders.home + "config", text);
    load_config();
  }
};

std::vector<std::string> keys_of(const std::string& text) {
  std::vector<std::string> keys;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) keys.push_back(line.substr(0, line.find('=')));
  return keys;
}

}  // namespace

TEST_F(ConfigTest, NumbersAreClampedAndBadValuesIgnored) {
  load("laps=99\nminutes=-3\nfov=wide\nground_detail=nan\nrider_mass_distribution=0.4\nxres=1024x\nyres=abc\n");
  EXPECT_EQ(settings.laps.value, 50);
  EXPECT_EQ(settings.minutes.value, 0);
  EXPECT_EQ(settings.fov.value, 110);
  EXPECT_EQ(settings.ground_detail.value, 0);  // a value that compares false becomes the minimum
  EXPECT_FLOAT_EQ(static_cast<float>(settings.rider_mass_distribution.value), 0.4f);
  EXPECT_EQ(settings.xres.integer, 1024);
  EXPECT_EQ(settings.yres.integer, 480);
}

TEST_F(ConfigTest, EveryNumberRowClampsToItsOwnLimits) {
  std::vector<const SettingRow*> numbers;
  for (const SettingRow& row : setting_rows())
    if (row.item && row.defaults.kind == SettingKind::NUMBER) numbers.push_back(&row);
  ASSERT_FALSE(numbers.empty());
  for (const char* value : {"1e9", "-1e9"}) {
    SCOPED_TRACE(value);
    std::string text;
    for (const SettingRow* row : numbers) text += row->key + "=" + value + "\n";
    load(text);
    for (const SettingRow* row : numbers) {
      const double limit = value[0] == '-' ? row->defaults.minimum : row->defaults.maximum;
      EXPECT_EQ(row->item->value, limit) << row->key;
    }
  }
}

TEST_F(ConfigTest, ChoicesMatchExactlyAndLinesEndingInCrLfLoadAlike) {
  load("front_brake=antilock\r\nrear_brake=Antilock\r\nskill=Expert\nslot05=Robot (2 stroke)\nslot19=Empty\n"
       "unknown=1\nno equals sign here\nvideo_mode=Windowed\n");
  EXPECT_STREQ(settings.front_brake.choice(), "Antilock");  // default kept, not matched
  EXPECT_STREQ(settings.rear_brake.choice(), "Antilock");
  EXPECT_STREQ(settings.skill.choice(), "Expert");
  EXPECT_EQ(settings.slot[5].current, 3);
  EXPECT_EQ(settings.slot[19].current, 0);
  EXPECT_EQ(settings.video_mode.current, 1);
}

TEST_F(ConfigTest, LaterLinesOverrideAndTextsAreCut) {
  load("laps=3\nlaps=7\nname=" + std::string(80, 'n') + "\nnumber=12345\n");
  EXPECT_EQ(settings.laps.value, 7);
  EXPECT_EQ(settings.name.text, std::string(63, 'n'));
  EXPECT_EQ(settings.number.text, "123");
}

TEST_F(ConfigTest, OldBikeNamesSelectTheirModel) {
  load("bike=crf250\n");
  EXPECT_STREQ(settings.bike.choice(), "crf250(2008)");
  load("bike=kx125\n");
  EXPECT_STREQ(settings.bike.choice(), "kx125");
  load("bike=unicycle\n");
  EXPECT_STREQ(settings.bike.choice(), "kx125");
}

TEST_F(ConfigTest, ServerHistoryIgnoresOverlongNames) {
  load("server_name_hist00=" + std::string(126, 'a') + "\nserver_name_hist01=" + std::string(127, 'b') + "\n");
  EXPECT_EQ(settings.server_name_history[0].size(), 126u);
  EXPECT_TRUE(settings.server_name_history[1].empty());
}

TEST_F(ConfigTest, BindingForms) {
  load("throttle_key=(k)right ctrl\nclutch_key=right ctrl\nleft_key=  (0.9,0.1)Joystick 1 X axis\n");
  const ControlBinding& throttle = settings.bindings[BIND_THROTTLE];
  const ControlBinding& clutch = settings.bindings[BIND_CLUTCH];
  const ControlBinding& left = settings.bindings[BIND_LEFT];
  EXPECT_EQ(throttle.key_name, "right ctrl");
  EXPECT_EQ(clutch.key_name, throttle.key_name);
  EXPECT_TRUE(left.key_name.empty());
  EXPECT_EQ(left.axis_name, "Joystick 1 X axis");
  EXPECT_FLOAT_EQ(left.low, 0.9f);
  EXPECT_FLOAT_EQ(left.high, 0.1f);
  std::string text = config_text();
  EXPECT_NE(text.find("left_key=(0.900000,0.100000)Joystick 1 X axis\n"), std::string::npos);
  EXPECT_NE(text.find("throttle_key=(k)right ctrl\n"), std::string::npos);
}

TEST_F(ConfigTest, SaveWritesEveryKeyInOrderAndLoadsBackTheSame) {
  ASSERT_TRUE(save_config());
  std::string defaults = testkit::read_file(folders.home + "config");
  std::vector<std::string> keys = keys_of(defaults);
  ASSERT_GE(keys.size(), 6u);
  EXPECT_EQ(defaults.substr(0, 9), "xres=640\n");
  std::vector<std::string> head(keys.begin(), keys.begin() + 10);
  EXPECT_EQ(head, (std::vector<std::string>{"xres", "yres", "draw_fps", "draw_time", "draw_ping", "spy",
                                            "record", "skill", "minutes", "laps"}));
  EXPECT_EQ(keys[10], "slot00");
  EXPECT_EQ(keys[49], "slot39");
  EXPECT_EQ(keys.back(), "screenshot_key");
  EXPECT_NE(defaults.find("\nlaps=5.000000\n"), std::string::npos);
  EXPECT_NE(defaults.find("\nslot19=Human\n"), std::string::npos);
  EXPECT_NE(defaults.find("\nbillboard_optimize_lookahead=8\nthrottle_key=(k)x\n"), std::string::npos);

  load("laps=12\nbike=rm125\nname=Ace Rider\nfov=95.5\nthrottle_key=(0.1,0.9)pedal\nserver_name_hist03=old.host\n"
       "playback_mode=Race Against\n");
  ASSERT_TRUE(save_config());
  std::string changed = testkit::read_file(folders.home + "config");
  reset_settings();
  load_config();
  EXPECT_EQ(config_text(), changed);
  EXPECT_EQ(keys_of(changed), keys);
}

TEST_F(ConfigTest, UnboundControlsAreNotWritten) {
  settings.bindings[BIND_SCREENSHOT].key_name.clear();
  std::string text = config_text();
  EXPECT_EQ(text.find("screenshot_key"), std::string::npos);
  EXPECT_NE(text.find("console_key=(k)t\n"), std::string::npos);
}

TEST_F(ConfigTest, AFailedSaveKeepsThePreviousFile) {
  testkit::write_file(folders.home + "config", "laps=9\n");
  // A folder where the temporary file would go makes the write fail.
  std::string blocker = temporary_path_for(folders.home + "config");
  testkit::write_file(blocker + "/x", "");
  EXPECT_FALSE(save_config());
  EXPECT_EQ(testkit::read_file(folders.home + "config"), "laps=9\n");
}

TEST_F(ConfigTest, TextureChoicesComeFromTheData) {
  for (const char* name : {"rider_body-red.png", "riders/rider_body-blue.png", "rider_body-blue_norm.png",
                           "rider_body-x_spec.png", "rider_body-old.ppm", "crf250-team.png", "wheels-gold.png",
                           "kx125-green.png"})
    testkit::write_file(folders.data + name, "");
  build_texture_choices();
  // In the order of the data paths.
  EXPECT_EQ(settings.rider_texture.options, (std::vector<std::string>{"default", "red", "blue"}));
  EXPECT_EQ(settings.rider_texture.option_values[2], "@riders/rider_body-blue.png");
  EXPECT_EQ(settings.bike_texture.options, (std::vector<std::string>{"default", "team"}));
  EXPECT_EQ(settings.wheel_texture.options, (std::vector<std::string>{"default", "gold"}));

  load("bike_texture=team\nbike=kx125\n");  // choosing a bike resets its graphics
  EXPECT_EQ(settings.bike_texture.options, (std::vector<std::string>{"default", "green"}));
  EXPECT_EQ(settings.bike_texture.current, 0);
  load("bike_texture=green\nrider_texture=red\n");
  EXPECT_STREQ(settings.bike_texture.choice(), "green");
  EXPECT_STREQ(settings.rider_texture.choice(), "red");
}
