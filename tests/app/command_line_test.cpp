#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/run_settings.h"
#include "core/settings.h"
#include "track/track.h"

namespace {

struct Parsed {
  int status;
  CommandLine line;
  std::string err;
};

Parsed parse(std::vector<std::string> args) {
  run_settings = RunSettings();
  reset_settings();
  args.insert(args.begin(), "bermline");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  argv.push_back(nullptr);
  Parsed parsed;
  testing::internal::CaptureStderr();
  parsed.status = parse_command_line(static_cast<int>(args.size()), argv.data(), &parsed.line);
  parsed.err = testing::internal::GetCapturedStderr();
  return parsed;
}

}  // namespace

TEST(MatchOption, ValueFormsAndEndOfOptions) {
  std::vector<std::string> args = {"--lock-fps", "30", "--lock-fps=20", "--", "--lock-fps", "--fugly"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  ArgCursor cursor{argv.data(), static_cast<int>(argv.size()), false};
  const char* value = nullptr;
  ASSERT_EQ(match_option(&cursor, "--lock-fps", &value), 1);
  EXPECT_STREQ(value, "30");
  ASSERT_EQ(match_option(&cursor, "--lock-fps", &value), 1);
  EXPECT_STREQ(value, "20");
  EXPECT_EQ(match_option(&cursor, "--lock-fps", &value), 0);  // takes the "--"
  EXPECT_TRUE(cursor.end_of_options);
  EXPECT_EQ(cursor.left, 2);
  EXPECT_EQ(match_option(&cursor, "--lock-fps", &value), 0);
  EXPECT_EQ(match_option(&cursor, "--fugly", nullptr), 0);
}

TEST(MatchOption, PrefixWithoutEqualsIsNoMatchAndLastArgumentHasNoValue) {
  std::vector<std::string> args = {"--lock-fpsx", "--lock-fps"};
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(a.data());
  ArgCursor cursor{argv.data(), 2, false};
  const char* value = "unchanged";
  EXPECT_EQ(match_option(&cursor, "--lock-fps", &value), 0);
  ++cursor.next;
  --cursor.left;
  ASSERT_EQ(match_option(&cursor, "--lock-fps", &value), 1);
  EXPECT_EQ(value, nullptr);
  EXPECT_EQ(cursor.left, 0);
}

TEST(CommandLine, BadValuesPrintTheirMessageAndExitOne) {
  const char* options[] = {"--texture-detail", "--ground-texture-detail", "--roostfrequency", "--erode",
                           "--detail", "--max-detail-distance", "--lod-scale", "--lod-bias",
                           "--lock-fps", "--fake-lag", "--fake-loss", "--chase-center"};
  for (const char* option : options) {
    Parsed bad = parse({option, "abc"});
    EXPECT_EQ(bad.status, 1) << option;
    EXPECT_EQ(bad.err, std::string("Bad arg for ") + option + "\n");
    Parsed last = parse({option});
    EXPECT_EQ(last.status, 1) << option << " as the last argument";
  }
}

TEST(CommandLine, ValuesAreClampedAndStored) {
  Parsed p = parse({"--texture-detail", "9", "--roostfrequency=5000", "--erode", "-2", "--fake-lag",
                    "2500", "--fake-loss", "150", "--lod-scale", "0", "--max-detail-distance", "40",
                    "--chase-center", "1,2.5,-3", "--lock-fps=30"});
  ASSERT_EQ(p.status, -1) << p.err;
  EXPECT_EQ(run_settings.model_texture_reduction, 4);
  EXPECT_EQ(run_settings.ground_texture_reduction, 4);
  EXPECT_EQ(run_settings.roost_frequency, 1000);
  EXPECT_EQ(run_settings.erosion, 0.0);
  EXPECT_DOUBLE_EQ(run_settings.fake_lag_seconds, 1.0);
  EXPECT_EQ(run_settings.fake_loss_percent, 100);
  EXPECT_DOUBLE_EQ(run_settings.model_lod_scale, 1e-6);
  EXPECT_DOUBLE_EQ(run_settings.detail_fade_distance, 45.0);
  EXPECT_FLOAT_EQ(p.line.chase_center[1], 2.5f);
  EXPECT_FLOAT_EQ(p.line.chase_center[2], -3.0f);
  EXPECT_FLOAT_EQ(p.line.lock_fps, 30.0f);

  Parsed ground = parse({"--ground-texture-detail", "-3", "--fake-lag", "250"});
  EXPECT_EQ(run_settings.ground_texture_reduction, 0);
  EXPECT_DOUBLE_EQ(run_settings.fake_lag_seconds, 0.25);
  EXPECT_EQ(ground.status, -1);
}

TEST(CommandLine, SwitchesAndLenientValues) {
  Parsed p = parse({"--debug", "--nolearn", "--practice", "--warp", "--editor", "--hidden-hud",
                    "--width", "wide", "--height=900", "--rotate-lineup", "3", "--depth", "32",
                    "--draw-fps", "1", "--track", "sandpit", "--connect", "bermline:host:19800",
                    "--password", "secret", "--bikes", "x"});
  ASSERT_EQ(p.status, -1) << p.err;
  EXPECT_EQ(p.err, "--bikes doesn't do anything anymore\n");
  EXPECT_EQ(run_settings.debug_level, 1);
  EXPECT_FALSE(run_settings.learning);
  EXPECT_TRUE(run_settings.practice);
  EXPECT_TRUE(p.line.warp);
  EXPECT_TRUE(run_settings.editor);
  EXPECT_FALSE(p.line.show_hud);
  EXPECT_EQ(settings.xres.integer, 640);  // unparsable width leaves it
  EXPECT_EQ(settings.yres.integer, 900);
  EXPECT_EQ(run_settings.rotate_lineup, 3);
  EXPECT_EQ(run_settings.colour_depth, 32);
  EXPECT_EQ(settings.draw_fps.integer, 1);
  EXPECT_EQ(run_settings.track, "sandpit");
  EXPECT_EQ(run_settings.server_address, "host:19800");
  EXPECT_EQ(run_settings.server_password, "secret");
  EXPECT_EQ(p.line.audio_frames_per_tick, 690);
}

TEST(CommandLine, ConnectWithAndWithoutSchemeAgree) {
  parse({"--connect", "bermline:race.example"});
  std::string with = run_settings.server_address;
  parse({"--connect=race.example"});
  EXPECT_EQ(with, run_settings.server_address);
}

TEST(CommandLine, PositionalArguments) {
  Parsed one = parse({"race.bldemo"});
  EXPECT_EQ(one.status, -1);
  EXPECT_EQ(one.line.file_argument, "race.bldemo");

  Parsed two = parse({"a.bldemo", "b.bldemo"});
  EXPECT_EQ(two.status, 1);
  EXPECT_EQ(two.err, "Too many files!\n");

  Parsed bad = parse({"--wat"});
  EXPECT_EQ(bad.status, 1);
  EXPECT_EQ(bad.err, "bad option '--wat'\n");

  Parsed after_dashes = parse({"--debug", "--", "-x.bldemo"});
  EXPECT_EQ(after_dashes.status, -1) << after_dashes.err;
  EXPECT_EQ(after_dashes.line.file_argument, "-x.bldemo");
  EXPECT_EQ(run_settings.debug_level, 1);

  Parsed options_after_dashes = parse({"--", "--debug"});
  EXPECT_EQ(options_after_dashes.line.file_argument, "--debug");
  EXPECT_EQ(run_settings.debug_level, 0);

  Parsed lone_dashes = parse({"--"});
  EXPECT_EQ(lone_dashes.status, -1);
  EXPECT_FALSE(lone_dashes.line.has_file_argument);
}

TEST(CommandLine, OpenHomeStopsParsing) {
  Parsed p = parse({"--open-home", "--wat"});
  EXPECT_EQ(p.status, 0);
  EXPECT_TRUE(p.line.open_home);
  EXPECT_EQ(p.err, "");
}
