// The display modes the fullscreen window can use, and the choice of one.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DisplayMode {
  int32_t width;
  int32_t height;
  int32_t bits;  // bits per pixel
  bool operator==(const DisplayMode&) const = default;
};

// A mode as the system reports it.
struct SystemMode {
  int width;
  int height;
  int bits;
  int refresh;  // Hz
};

// Depths the game can draw in: 8, 15, 16, 24 and 32 bits.
bool accepted_mode_depth(int bits);

// The mode list: the desktop mode first when its depth is accepted, then
// every system mode of an accepted depth that is not yet listed. Logs
// "Registry mode is ..." and "Found mode ..." for each. `desktop` may be null.
std::vector<DisplayMode> build_display_mode_list(const SystemMode* desktop,
                                                 const std::vector<SystemMode>& modes);

// The mode for a fullscreen window of width x height: among the modes at
// least that large, the one with the smallest width + height excess (the
// first on ties); with none, or with a width or height of 0, the desktop.
DisplayMode choose_fullscreen_mode(const std::vector<DisplayMode>& modes, int width, int height,
                                   DisplayMode desktop);

// The "Video Mode" choices: "Default Fullscreen", "Windowed", then "%dx%d"
// of every mode as deep as the first one.
std::vector<std::string> video_mode_labels(const std::vector<DisplayMode>& modes);

// The modes of the main display, asked from SDL on first use.
const std::vector<DisplayMode>& display_modes();

// The main display's desktop mode (640 x 480 when SDL cannot tell).
DisplayMode desktop_display_mode();
