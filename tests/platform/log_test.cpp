#include "platform/base/log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "testkit.h"

namespace {

std::vector<std::string> lines_of(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// The text after the "[h:mm:ss.cc] " prefix.
std::string body(const std::string& line) {
  size_t end = line.find("] ");
  return end == std::string::npos ? "<no prefix>" : line.substr(end + 2);
}

struct LogTest : ::testing::Test {
  void SetUp() override {
    unsetenv("VOXA_LOGFILE");
    voxa_log_reset();
  }
  void TearDown() override { voxa_log_reset(); }
};

}  // namespace

TEST(LogPrefix, HoursMinutesSecondsHundredths) {
  EXPECT_EQ(log_time_prefix(3725500), "[1:02:05.50] ");
  EXPECT_EQ(log_time_prefix(0), "[0:00:00.00] ");
  EXPECT_EQ(log_time_prefix(59999), "[0:00:59.99] ");
  EXPECT_EQ(log_time_prefix(36000000), "[10:00:00.00] ");
}

TEST_F(LogTest, FirstCallNamesTheFileAndOpensWithBanner) {
  std::string path = testkit::scratch_dir() + "lastlog.txt";
  EXPECT_EQ(voxa_log("VOXA_LOGFILE=%s", path.c_str()), 0);
  voxa_log("hello %d\n", 7);
  voxa_error("disk on fire");
  std::vector<std::string> lines = lines_of(testkit::read_file(path));
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(body(lines[0]), "Logfile \"" + path + "\" opened");
  EXPECT_EQ(body(lines[1]), "VOXA 0.31");
  EXPECT_EQ(body(lines[2]), "hello 7");
  EXPECT_EQ(body(lines[3]), "Error: disk on fire");
  EXPECT_STREQ(voxa_last_error(), "disk on fire");
}

TEST_F(LogTest, EnvironmentOverridesAndDoubleArrowAppends) {
  std::string dir = testkit::scratch_dir();
  std::string wanted = dir + "lastlog.txt", kept = dir + "kept.txt";
  setenv("VOXA_LOGFILE", (">>" + kept).c_str(), 1);
  for (int run = 0; run < 2; ++run) {
    voxa_log_reset();
    voxa_log("VOXA_LOGFILE=%s", wanted.c_str());
    voxa_log("run %d\n", run);
  }
  EXPECT_FALSE(testkit::file_exists(wanted));
  std::vector<std::string> lines = lines_of(testkit::read_file(kept));
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(body(lines[2]), "run 0");
  EXPECT_EQ(body(lines[5]), "run 1");
}

TEST_F(LogTest, SingleArrowTruncatesAndOrdinaryFirstLineIsKept) {
  std::string path = testkit::scratch_dir() + "log.txt";
  testkit::write_file(path, "old contents\n");
  setenv("VOXA_LOGFILE", (">" + path).c_str(), 1);
  voxa_log("first line\n");
  std::vector<std::string> lines = lines_of(testkit::read_file(path));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(body(lines[2]), "first line");
}

TEST_F(LogTest, NoFileMeansNoLogging) {
  EXPECT_EQ(voxa_log("plain first line\n"), -1);
  EXPECT_EQ(voxa_log("VOXA_LOGFILE=/nonexistent-folder/x/lastlog.txt"), -1);
}

TEST_F(LogTest, LinesFromSeveralThreadsNeverInterleave) {
  std::string path = testkit::scratch_dir() + "lastlog.txt";
  voxa_log("VOXA_LOGFILE=%s", path.c_str());
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([t] {
      for (int i = 0; i < 200; ++i) voxa_log("thread %d line %03d %s\n", t, i, std::string(100, 'a' + t).c_str());
    });
  for (std::thread& thread : threads) thread.join();
  std::vector<std::string> lines = lines_of(testkit::read_file(path));
  ASSERT_EQ(lines.size(), 2u + 800u);
  for (size_t i = 2; i < lines.size(); ++i) {
    std::string text = body(lines[i]);
    ASSERT_EQ(text.size(), 18u + 100u) << text;
    char fill = text.back();
    EXPECT_EQ(text.substr(18), std::string(100, fill)) << text;
    EXPECT_EQ(text[7], fill - 'a' + '0') << text;
  }
}
