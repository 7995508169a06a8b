#include "platform/display_modes.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/base/log.h"
#include "platform/message_box.h"

namespace {

SystemMode system_mode_of(const SDL_DisplayMode& mode) {
  return {mode.w, mode.h, static_cast<int>(SDL_BITSPERPIXEL(mode.format)), mode.refresh_rate};
}

// Runs `ask` with the video subsystem up, starting it for the call if needed.
template <typename Ask>
void with_video(Ask ask) {
  bool started = false;
  if (!SDL_WasInit(SDL_INIT_VIDEO)) {
    // Without a display there are no modes to ask for (and the system's
    // probing would only fill standard error).
    if (!display_present() && !SDL_getenv("SDL_VIDEODRIVER")) return;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return;
    started = true;
  }
  ask();
  if (started) SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

}  // namespace

bool accepted_mode_depth(int bits) {
  return bits == 8 || bits == 15 || bits == 16 || bits == 24 || bits == 32;
}

std::vector<DisplayMode> build_display_mode_list(const SystemMode* desktop,
                                                 const std::vector<SystemMode>& modes) {
  std::vector<DisplayMode> list;
  if (desktop) {
    if (accepted_mode_depth(desktop->bits)) {
      voxa_log("Registry mode is %dx%dx%d@%dhz\n", desktop->width, desktop->height, desktop->bits,
               desktop->refresh);
      list.push_back({desktop->width, desktop->height, desktop->bits});
    } else {
      voxa_log("Registry mode is %dx%dx%d@%dhz (ignored)\n", desktop->width, desktop->height,
               desktop->bits, desktop->refresh);
    }
  }
  for (const SystemMode& mode : modes) {
    if (!accepted_mode_depth(mode.bits)) {
      voxa_log("Found mode %dx%dx%d@%dhz (ignored)\n", mode.width, mode.height, mode.bits,
               mode.refresh);
      continue;
    }
    DisplayMode entry{mode.width, mode.height, mode.bits};
    if (std::find(list.begin(), list.end(), entry) != list.end()) continue;
    list.push_back(entry);
    voxa_log("Found mode %dx%dx%d@%dhz\n", mode.width, mode.height, mode.bits, mode.refresh);
  }
  return list;
}

DisplayMode choose_fullscreen_mode(const std::vector<DisplayMode>& modes, int width, int height,
                                   DisplayMode desktop) {
  if (width == 0 || height == 0) return desktop;
  const DisplayMode* best = nullptr;
  for (const DisplayMode& mode : modes) {
    if (mode.width < width || mode.height < height) continue;
    if (!best || mode.width + mode.height < best->width + best->height) best = &mode;
  }
  return best ? *best : desktop;
}

std::vector<std::string> video_mode_labels(const std::vector<DisplayMode>& modes) {
  std::vector<std::string> labels = {"Default Fullscreen", "Windowed"};
  for (const DisplayMode& mode : modes) {
    if (mode.bits != modes.front().bits) continue;
    char label[32];
    std::snprintf(label, sizeof label, "%dx%d", mode.width, mode.height);
    labels.push_back(label);
  }
  return labels;
}

const std::vector<DisplayMode>& display_modes() {
  static const std::vector<DisplayMode> list = [] {
    std::vector<DisplayMode> built;
    with_video([&] {
      SDL_DisplayMode mode;
      SystemMode desktop{};
      bool have_desktop = SDL_GetDesktopDisplayMode(0, &mode) == 0;
      if (have_desktop) desktop = system_mode_of(mode);
      std::vector<SystemMode> modes;
      int count = SDL_GetNumDisplayModes(0);
      for (int i = 0; i < count; ++i)
        if (SDL_GetDisplayMode(0, i, &mode) == 0) modes.push_back(system_mode_of(mode));
      built = build_display_mode_list(have_desktop ? &desktop : nullptr, modes);
    });
    return built;
  }();
  return list;
}

DisplayMode desktop_display_mode() {
  DisplayMode desktop{640, 480, 32};
  with_video([&] {
    SDL_DisplayMode mode;
    if (SDL_GetDesktopDisplayMode(0, &mode) == 0)
      desktop = {mode.w, mode.h, static_cast<int32_t>(SDL_BITSPERPIXEL(mode.format))};
  });
  return desktop;
}
