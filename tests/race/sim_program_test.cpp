// bermline-sim as a user runs it, on the generated game data: its options,
// the coach riding Rabbit Hill, a demo that replays to the same result, and
// the last line that scripts read.
// GCC 12 reports std::function inside <regex> as maybe used uninitialised
// when optimising with the sanitizers: a false alarm in the library.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "testkit.h"

namespace {

struct SimRun {
  int status;
  std::vector<std::string> lines;
  std::string err;
};

SimRun sim(std::vector<std::string> args, const std::string& home) {
  args.insert(args.begin(), {BL_BERMLINE_SIM, "--home", home});
  testkit::ProcessResult r = testkit::run_process(args, {{"BL_HOME", ""}, {"BL_USER_HOME", ""}});
  SimRun run{r.status, {}, r.err};
  size_t from = 0;
  for (size_t end; (end = r.out.find('\n', from)) != std::string::npos; from = end + 1) {
    std::string line = r.out.substr(from, end - from);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    run.lines.push_back(line);
  }
  return run;
}

const std::regex LAST_LINE(R"(ticks=(\d+) wall_s=\d+\.\d+ ticks_per_s=\d+\.\d realtime=\d+\.\d\d)");

const char* const REPORT_HEADER = "Slot | No. |         Bike | Laps |  Best Lap | Crashes | Finished";

// The standings rows (after the two header lines, before the rider report).
std::vector<std::string> rows(const SimRun& run) {
  if (run.lines.size() < 3) return {};
  auto report = std::find(run.lines.begin(), run.lines.end(), REPORT_HEADER);
  return {run.lines.begin() + 2, report};
}

TEST(SimProgram, CoachRidesALapOfRabbitHillAndTheDemoReplaysToTheSameResult) {
  const std::string home = testkit::scratch_dir("home");
  const std::string demo = home + "lap.bldemo";
  SimRun race = sim({"--track", "rabbithill", "--lineup", "1", "--laps", "1", "--record", demo}, home);
  ASSERT_EQ(race.status, 0) << race.err;
  ASSERT_EQ(race.lines.size(), 7u) << race.err;
  EXPECT_EQ(race.lines[0].rfind("Time=0.00|Laps=1|Track=rabbithill|Date=", 0), 0u) << race.lines[0];
  EXPECT_EQ(race.lines[1], " No. |         Bike | Laps | Total Time | BLap |  Best Time");
  std::smatch row;
  ASSERT_TRUE(std::regex_match(race.lines[2], row, std::regex(R"( 999 \| crf250\(2009\) \|    1 \|   (\d):(\d\d)\.\d\d\d \|    0 \|   0:00\.000)")))
      << race.lines[2];
  const int seconds = std::stoi(row[1]) * 60 + std::stoi(row[2]);
  EXPECT_GT(seconds, 60);
  EXPECT_LT(seconds, 300) << "a lap of Rabbit Hill";
  // The rider report: one lap, no best lap (that needs a second lap), its
  // crashes, finished.
  EXPECT_EQ(race.lines[3], REPORT_HEADER);
  EXPECT_TRUE(std::regex_match(race.lines[4], std::regex(R"(   0 \| 999 \| crf250\(2009\) \|    1 \|          - \|       \d \| yes)")))
      << race.lines[4];
  EXPECT_TRUE(std::regex_match(race.lines[5], std::regex(R"(predicted_first_lap_s=\d+\.\d{3} predicted_normal_lap_s=\d+\.\d{3})")))
      << race.lines[5];
  EXPECT_TRUE(std::regex_match(race.lines[6], LAST_LINE)) << race.lines[6];
  EXPECT_TRUE(testkit::file_exists(home + "results.txt"));

  SimRun replay = sim({"--play", demo}, home);
  ASSERT_EQ(replay.status, 0) << replay.err;
  EXPECT_EQ(rows(replay), rows(race));
}

TEST(SimProgram, RobotsRunForTheSimulatedSecondsAsked) {
  const std::string home = testkit::scratch_dir("home");
  SimRun run = sim({"--robots", "3", "--max-seconds", "2", "--skill", "expert", "--minutes", "5"}, home);
  ASSERT_EQ(run.status, 0) << run.err;
  // Unfinished: the live standings of all three, then a report row each.
  ASSERT_EQ(run.lines.size(), 11u);
  EXPECT_EQ(run.lines[0].rfind("Time=300.00|Laps=5|Track=rabbithill|", 0), 0u) << run.lines[0];
  EXPECT_EQ(run.lines[5], REPORT_HEADER);
  for (int k = 6; k < 9; ++k) EXPECT_NE(run.lines[k].find("|    0 |          - |       0 | no"), std::string::npos) << run.lines[k];
  std::smatch last;
  ASSERT_TRUE(std::regex_match(run.lines[10], last, LAST_LINE)) << run.lines[10];
  EXPECT_EQ(last[1], "256");
}

TEST(SimProgram, ErosionIsMeasuredAndDrawn) {
  const std::string home = testkit::scratch_dir("home");
  const std::string picture = home + "ground.png";
  SimRun run = sim({"--lineup", "1,2", "--max-seconds", "25", "--erode", "1", "--roostfrequency=400", "--ground-diff", picture}, home);
  ASSERT_EQ(run.status, 0) << run.err;
  ASSERT_GE(run.lines.size(), 2u);
  std::smatch ground;
  ASSERT_TRUE(std::regex_match(run.lines[run.lines.size() - 2], ground,
                               std::regex(R"(ground moved_ft3=(\d+\.\d{3}) deepest_rut_ft=(\d+\.\d{4}) highest_pile_ft=(\d+\.\d{4}))")))
      << run.lines[run.lines.size() - 2];
  EXPECT_GT(std::stod(ground[1]), 0) << "riding off the gate digs";
  EXPECT_GT(std::stod(ground[2]), 0);
  EXPECT_GT(std::stod(ground[3]), 0) << "and the dirt lands somewhere";
  EXPECT_TRUE(std::regex_match(run.lines.back(), LAST_LINE));
  const std::string png = testkit::read_file(picture);
  ASSERT_GT(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");

  // A picture that cannot be written fails the run.
  SimRun unwritable = sim({"--lineup", "1", "--max-seconds", "1", "--ground-diff", home + "no/such/folder/g.png"}, home);
  EXPECT_EQ(unwritable.status, 1);
  EXPECT_NE(unwritable.err.find("can't write"), std::string::npos) << unwritable.err;
}

TEST(SimProgram, BadOptionsAreRefused) {
  const std::string home = testkit::scratch_dir("home");
  struct Case {
    std::vector<std::string> args;
    const char* message;
  } cases[] = {
      {{"--frobnicate", "1"}, "unknown option '--frobnicate'"},
      {{"--laps"}, "missing value for --laps"},
      {{"--laps", "two"}, "bad value 'two' for --laps"},
      {{"--robots", "41"}, "bad value '41' for --robots"},
      {{"--lineup", "1,2,7"}, "bad value '1,2,7' for --lineup"},
      {{"--skill", "pro"}, "bad value 'pro' for --skill"},
      {{"--max-seconds", "-3"}, "bad value '-3' for --max-seconds"},
      {{"--track", "nowhere"}, "no track 'nowhere'"},
      {{"--erode", "2"}, "bad value '2' for --erode"},
      {{"--roostfrequency", "1001"}, "bad value '1001' for --roostfrequency"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    SimRun run = sim(c.args, home);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
  }
  SimRun help = sim({"--help"}, home);
  EXPECT_EQ(help.status, 0);
  ASSERT_FALSE(help.lines.empty());
  EXPECT_EQ(help.lines[0], "usage: bermline-sim [options]");
}

TEST(SimProgram, ADemoThatDoesNotPlayFailsAndRacesNothing) {
  const std::string home = testkit::scratch_dir("home");
  testkit::write_file(home + "damaged.bldemo", "not a demo at all\n");
  for (const std::string& demo : {home + "missing.bldemo", home + "damaged.bldemo"}) {
    SCOPED_TRACE(demo);
    SimRun run = sim({"--play", demo}, home);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("can't play '" + demo + "'"), std::string::npos) << run.err;
    EXPECT_TRUE(run.lines.empty()) << "no standings: nothing was raced";
  }
}

TEST(SimProgram, RecordingOverTheDemoBeingPlayedIsRefused) {
  const std::string home = testkit::scratch_dir("home");
  const std::string demo = home + "d.bldemo";
  ASSERT_EQ(sim({"--lineup", "1", "--max-seconds", "1", "--record", demo}, home).status, 0);
  const std::string before = testkit::read_file(demo);
  SimRun run = sim({"--play", demo, "--record", demo}, home);
  EXPECT_EQ(run.status, 0);
  EXPECT_NE(run.err.find("Can't record and play from same file - recording disabled"), std::string::npos);
  EXPECT_EQ(testkit::read_file(demo), before);
}

}  // namespace
