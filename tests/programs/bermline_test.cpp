// Runs the built game as a player would, with scratch home folders.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "testkit.h"

namespace {

struct GameRun {
  testkit::ProcessResult result;
  std::string home;
};

GameRun run_bermline(std::vector<std::string> args, std::map<std::string, std::string> env = {}) {
  GameRun run;
  run.home = testkit::scratch_dir("home");
  env.emplace("BL_USER_HOME", run.home);
  env.emplace("BL_HOME", "");  // the data beside the executable
  env.emplace("VOXA_LOGFILE", "");
  args.insert(args.begin(), BL_BERMLINE);
  run.result = testkit::run_process(args, env);
  return run;
}

std::string first_lines(const std::string& text, int count) {
  std::istringstream in(text);
  std::string out;
  for (std::string line; count-- > 0 && std::getline(in, line);) out += line.substr(line.find("] ") + 2) + "\n";
  return out;
}

}  // namespace

TEST(Bermline, CommandLineErrorsExitOne) {
  struct Case {
    std::vector<std::string> args;
    const char* err;
  } cases[] = {
      {{"--lock-fps"}, "Bad arg for --lock-fps\n"},
      {{"--wat"}, "bad option '--wat'\n"},
      {{"one.bldemo", "two.bldemo"}, "Too many files!\n"},
      {{"--chase-center", "1,2"}, "Bad arg for --chase-center\n"},
  };
  for (const Case& c : cases) {
    GameRun run = run_bermline(c.args);
    EXPECT_EQ(run.result.status, 1) << c.args[0];
    EXPECT_EQ(run.result.err, c.err) << c.args[0];
  }
}

// No window can be made: the game says so, ends with status 1 and leaves
// the configuration as it was. (A window without OpenGL is tried where a
// display exists.)
TEST(Bermline, WithoutADisplayTheGameStopsAndKeepsItsConfiguration) {
  struct Case {
    const char* video_driver;  // "" = none chosen
    const char* logged;
  } cases[] = {
      {"", "No display to show a window on"},
      {"dummy", "Error: Can't create window!"},  // a driver without OpenGL
  };
  for (const Case& c : cases) {
    std::string home = testkit::scratch_dir("home");
    testkit::write_file(home + "config", "laps=12\n");
    testkit::ProcessResult result = testkit::run_process(
        {BL_BERMLINE, "--track", "rabbithill"},
        {{"BL_USER_HOME", home}, {"BL_HOME", ""}, {"VOXA_LOGFILE", ""}, {"DISPLAY", ""}, {"WAYLAND_DISPLAY", ""},
         {"SDL_VIDEODRIVER", c.video_driver}});
    EXPECT_EQ(result.status, 1) << c.video_driver;
    EXPECT_NE(result.err.find("Problem starting Bermline: Can't create window!\n"), std::string::npos) << result.err;
    EXPECT_EQ(testkit::read_file(home + "config"), "laps=12\n") << c.video_driver;
    const std::string log = testkit::read_file(home + "lastlog.txt");
    EXPECT_NE(log.find(std::string("] ") + c.logged + "\n"), std::string::npos) << log;
  }
}

TEST(Bermline, ReportsMissingGameData) {
  std::string empty = testkit::scratch_dir("empty-data");
  GameRun run = run_bermline({}, {{"BL_HOME", empty}});
  EXPECT_EQ(run.result.status, 0);
  EXPECT_NE(run.result.err.find("Can't find game data"), std::string::npos) << run.result.err;
  std::string log = testkit::read_file(run.home + "lastlog.txt");
  EXPECT_EQ(first_lines(log, 2), "Logfile \"" + run.home + "lastlog.txt\" opened\nVOXA 0.31\n");
  EXPECT_FALSE(testkit::file_exists(run.home + "config"));
}

TEST(Bermline, ATamperedIdentityFileIsNotAccepted) {
  std::string data = testkit::scratch_dir("tampered");
  testkit::write_file(data + "zzzz.saf", testkit::read_file(testkit::game_dir() + "zzzz.saf") + " ");
  GameRun run = run_bermline({}, {{"BL_HOME", data}});
  EXPECT_NE(run.result.err.find("Can't find game data"), std::string::npos);
}

TEST(Bermline, NoTracksFound) {
  std::string data = testkit::scratch_dir("no-tracks");
  testkit::write_file(data + "zzzz.saf", testkit::read_file(testkit::game_dir() + "zzzz.saf"));
  GameRun run = run_bermline({}, {{"BL_HOME", data}});
  EXPECT_EQ(run.result.status, 1);
  EXPECT_EQ(run.result.err, "No tracks found\n");
}

// (The kit's own tests rebuild the data and compare it byte for byte.)
TEST(BermlineData, CheckPassesOnTheGeneratedDataAndListsEveryTrack) {
  testkit::ProcessResult check = testkit::run_process({BL_BERMLINE_DATA, "--check", testkit::game_dir()});
  EXPECT_EQ(check.status, 0) << check.out << check.err;
  for (const char* track : {"rabbithill \"Rabbit Hill\" hash ", "dunecreek ", "ironworks "})
    EXPECT_NE(("\n" + check.out).find(std::string("\n") + track), std::string::npos) << track << " in\n" << check.out;
  EXPECT_NE(check.out.find(": all good\n"), std::string::npos) << check.out;
}

TEST(BermlineData, CheckFailsOnAFolderWithoutTracksAndUsageIsExplained) {
  std::string empty = testkit::scratch_dir("empty");
  testkit::ProcessResult check = testkit::run_process({BL_BERMLINE_DATA, "--check", empty});
  EXPECT_EQ(check.status, 1);
  EXPECT_NE(check.out.find("no tracks found"), std::string::npos) << check.out;
  EXPECT_EQ(testkit::run_process({BL_BERMLINE_DATA}).status, 2);
  EXPECT_EQ(testkit::run_process({BL_BERMLINE_DATA, "--check"}).status, 2);
}
