#include "platform/base/options.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/base/log.h"
#include "testkit.h"

namespace {

struct OptionsTest : ::testing::Test {
  std::string log_path;
  void SetUp() override {
    unsetenv("VOXA_LOGFILE");
    voxa_log_reset();
    log_path = testkit::scratch_dir() + "lastlog.txt";
    voxa_log("VOXA_LOGFILE=%s", log_path.c_str());
  }
  void TearDown() override {
    voxa_set_options_text(nullptr);
    voxa_log_reset();
  }
  bool logged(const std::string& text) { return testkit::read_file(log_path).find(text) != std::string::npos; }
};

}  // namespace

TEST_F(OptionsTest, BooleanWords) {
  struct Case {
    const char* text;
    int expected;
  } cases[] = {{"[threaded:yes]", 1}, {"[threaded:on]", 1}, {"[threaded:no]", 0},
               {"[threaded:off]", 0}, {"", 7},              {"[threadedx:yes]", 7}};
  for (const Case& c : cases) {
    voxa_set_options_text(c.text);
    EXPECT_EQ(voxa_option_bool("threaded", 7), c.expected) << c.text;
  }
}

TEST_F(OptionsTest, UnrecognisedBooleanIsLoggedAndGivesTheDefault) {
  voxa_set_options_text("[dsnd:maybe][threaded:YES]");
  EXPECT_EQ(voxa_option_bool("threaded", 0), 0);
  EXPECT_TRUE(logged("unrecognized setting for threaded\n"));
  EXPECT_EQ(voxa_option_bool("dsnd", 1), 1);
  EXPECT_TRUE(logged("unrecognized setting for dsnd\n"));
}

TEST_F(OptionsTest, IntegersUseTheFirstOccurrence) {
  voxa_set_options_text("[sound-rate:44100][sound-channels:-3][sound-rate:11025][sound-mixahead:x]");
  EXPECT_EQ(voxa_option_int("sound-rate", 22050), 44100);
  EXPECT_EQ(voxa_option_int("sound-channels", 16), -3);
  EXPECT_EQ(voxa_option_int("sound-mixahead", 125), 125);
  EXPECT_TRUE(logged("unrecognized setting for sound-mixahead\n"));
  EXPECT_EQ(voxa_option_int("missing", 5), 5);
}

TEST_F(OptionsTest, ReadFromTheEnvironment) {
  setenv("VOXA_OPTIONS", "[threaded:yes][sound-rate:48000]", 1);
  voxa_set_options_text(nullptr);
  EXPECT_EQ(voxa_option_bool("threaded", 0), 1);
  EXPECT_EQ(voxa_option_int("sound-rate", 22050), 48000);
  unsetenv("VOXA_OPTIONS");
}
