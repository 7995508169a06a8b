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

TEST(Bermline, StartsOnTheGeneratedDataAndWritesItsConfiguration) {
  GameRun run = run_bermline({});
  EXPECT_EQ(run.result.status, 0) << run.result.err;
  std::string log = testkit::read_file(run.home + "lastlog.txt");
  EXPECT_EQ(first_lines(log, 2), "Logfile \"" + run.home + "lastlog.txt\" opened\nVOXA 0.31\n");
  EXPECT_NE(log.find("No display layer"), std::string::npos);
  std::string config = testkit::read_file(run.home + "config");
  EXPECT_EQ(config.substr(0, 9), "xres=640\n");
  EXPECT_NE(config.find("\nscreenshot_key=(k)s\n"), std::string::npos);
}

TEST(Bermline, CommandLineErrorsExitOne) {
  struct Case {
    std::vector<std::string> args;
    int status;
    const char* err;
  } cases[] = {
      {{"--lock-fps"}, 1, "Bad arg for --lock-fps\n"},
      {{"--wat"}, 1, "bad option '--wat'\n"},
      {{"one.bldemo", "two.bldemo"}, 1, "Too many files!\n"},
      {{"--", "-x.bldemo"}, 0, ""},
      {{"--lock-fps=30", "--width", "800"}, 0, ""},
  };
  for (const Case& c : cases) {
    GameRun run = run_bermline(c.args);
    EXPECT_EQ(run.result.status, c.status) << c.args[0];
    EXPECT_EQ(run.result.err, c.err) << c.args[0];
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

TEST(Bermline, ConfigurationSurvivesARunAndOptionsDoNotOverwriteIt) {
  GameRun first = run_bermline({});
  ASSERT_EQ(first.result.status, 0);
  testkit::write_file(first.home + "config", "laps=12\nbike=rm125\n");
  std::vector<std::string> args = {BL_BERMLINE, "--track", "rabbithill"};
  testkit::ProcessResult again =
      testkit::run_process(args, {{"BL_USER_HOME", first.home}, {"BL_HOME", ""}, {"VOXA_LOGFILE", ""}});
  ASSERT_EQ(again.status, 0);
  std::string config = testkit::read_file(first.home + "config");
  EXPECT_NE(config.find("\nlaps=12.000000\n"), std::string::npos);
  EXPECT_NE(config.find("\nbike=rm125\n"), std::string::npos);
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
