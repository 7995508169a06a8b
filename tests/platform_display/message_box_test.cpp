#include "platform/message_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "platform/base/log.h"

namespace {

// Removes a variable for the test's duration.
struct UnsetVariable {
  std::string name;
  std::optional<std::string> saved;
  explicit UnsetVariable(const char* variable) : name(variable) {
    if (const char* value = std::getenv(variable)) saved = value;
    unsetenv(variable);
  }
  ~UnsetVariable() {
    if (saved) setenv(name.c_str(), saved->c_str(), 1);
  }
};

}  // namespace

TEST(MessageBox, WithoutADisplayTheTextGoesToStandardError) {
  UnsetVariable x11("DISPLAY");
  UnsetVariable wayland("WAYLAND_DISPLAY");
  EXPECT_FALSE(show_sdl_message_box("Error", "Out of virtual memory"));
  install_message_box_handler();
  testing::internal::CaptureStderr();
  voxa_message_box("Problem starting Bermline", "Can't find game data\n");
  EXPECT_EQ(testing::internal::GetCapturedStderr(),
            "Problem starting Bermline: Can't find game data\n");
  set_message_box_handler(nullptr);
}
