// Helpers of the display tests: a log file to read back, and SDL set up so
// that no real hardware is needed.
#pragma once

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "platform/base/log.h"
#include "testkit.h"

namespace display_kit {

// Points the log at a scratch file; lines() gives what was logged since,
// without the time prefixes.
struct CapturedLog {
  std::string path;
  CapturedLog() {
    unsetenv("VOXA_LOGFILE");
    voxa_log_reset();
    path = testkit::scratch_dir("log") + "lastlog.txt";
    voxa_log("VOXA_LOGFILE=%s", path.c_str());
  }
  ~CapturedLog() { voxa_log_reset(); }
  std::vector<std::string> lines() const {
    std::vector<std::string> lines;
    std::istringstream in(testkit::read_file(path));
    for (std::string line; std::getline(in, line);) {
      size_t end = line.find("] ");
      lines.push_back(end == std::string::npos ? line : line.substr(end + 2));
    }
    return lines;
  }
  bool has(const std::string& line) const {
    for (const std::string& logged : lines())
      if (logged == line) return true;
    return false;
  }
  // Where a line first appears, or -1.
  int index_of(const std::string& line) const {
    std::vector<std::string> all = lines();
    for (size_t i = 0; i < all.size(); ++i)
      if (all[i] == line) return static_cast<int>(i);
    return -1;
  }
};

// Joystick events reach an unfocused window; no real controllers are asked.
inline void use_virtual_hardware() {
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  SDL_SetHint(SDL_HINT_JOYSTICK_HIDAPI, "0");
}

}  // namespace display_kit
