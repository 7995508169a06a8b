#include "platform/display_modes.h"

#include <gtest/gtest.h>

#include "display_kit.h"

TEST(FullscreenMode, SmallestModeThatHoldsTheRequestedSize) {
  const DisplayMode desktop{1600, 1200, 32};
  const std::vector<DisplayMode> modes = {
      {1280, 1024, 32}, {1024, 768, 32}, {800, 600, 32}, {1152, 640, 32}, {1100, 710, 32}};
  const struct {
    int width, height;
    DisplayMode chosen;
  } cases[] = {
      {1000, 700, {1024, 768, 32}},  // 1024+768 beats 1100+710 and 1280+1024
      {1024, 768, {1024, 768, 32}},  // an exact fit
      {1100, 640, {1152, 640, 32}},  // 1152+640 ties 1024+768's sum but 1024 is too narrow
      {640, 480, {800, 600, 32}},
      {1281, 100, desktop},  // nothing wide enough
      {0, 768, desktop},     // 0 means the desktop
      {1024, 0, desktop},
  };
  for (const auto& c : cases)
    EXPECT_EQ(choose_fullscreen_mode(modes, c.width, c.height, desktop), c.chosen)
        << c.width << "x" << c.height;

  // On ties the first listed wins.
  const std::vector<DisplayMode> tied = {{1100, 700, 16}, {1000, 800, 32}, {1050, 750, 24}};
  EXPECT_EQ(choose_fullscreen_mode(tied, 1000, 700, desktop), (DisplayMode{1100, 700, 16}));
  EXPECT_EQ(choose_fullscreen_mode({}, 640, 480, desktop), desktop);
}

TEST(DisplayModeList, DesktopFirstDuplicatesSkippedOtherDepthsIgnored) {
  display_kit::CapturedLog log;
  const SystemMode desktop{1280, 1024, 24, 60};
  const std::vector<SystemMode> system = {
      {1280, 1024, 24, 75}, {1024, 768, 24, 60}, {1024, 768, 12, 60},
      {800, 600, 16, 60},   {1024, 768, 24, 85}, {640, 480, 32, 60},
  };
  std::vector<DisplayMode> list = build_display_mode_list(&desktop, system);
  EXPECT_EQ(list, (std::vector<DisplayMode>{
                      {1280, 1024, 24}, {1024, 768, 24}, {800, 600, 16}, {640, 480, 32}}));
  std::vector<std::string> lines = log.lines();
  lines.erase(lines.begin(), lines.begin() + 2);  // log file banner
  EXPECT_EQ(lines, (std::vector<std::string>{
                       "Registry mode is 1280x1024x24@60hz", "Found mode 1024x768x24@60hz",
                       "Found mode 1024x768x12@60hz (ignored)", "Found mode 800x600x16@60hz",
                       "Found mode 640x480x32@60hz"}));
}

TEST(DisplayModeList, ADesktopOfAnotherDepthIsNotListed) {
  display_kit::CapturedLog log;
  const SystemMode desktop{1920, 1080, 30, 144};
  std::vector<DisplayMode> list = build_display_mode_list(&desktop, {{1920, 1080, 32, 60}});
  EXPECT_EQ(list, (std::vector<DisplayMode>{{1920, 1080, 32}}));
  EXPECT_TRUE(log.has("Registry mode is 1920x1080x30@144hz (ignored)"));
  EXPECT_EQ(build_display_mode_list(nullptr, {}), std::vector<DisplayMode>{});
}

TEST(VideoModeMenu, ModesAsDeepAsTheFirstOne) {
  const std::vector<DisplayMode> modes = {{1280, 1024, 24}, {800, 600, 16}, {1024, 768, 24}};
  EXPECT_EQ(video_mode_labels(modes),
            (std::vector<std::string>{"Default Fullscreen", "Windowed", "1280x1024", "1024x768"}));
  EXPECT_EQ(video_mode_labels({}), (std::vector<std::string>{"Default Fullscreen", "Windowed"}));
}

// Under Xvfb the one screen is the desktop mode, listed first.
TEST(DisplayModeList, SdlListsTheDesktopModeFirst) {
  const std::vector<DisplayMode>& modes = display_modes();
  ASSERT_FALSE(modes.empty());
  DisplayMode desktop = desktop_display_mode();
  EXPECT_EQ(modes.front(), desktop);
  EXPECT_GT(desktop.width, 0);
  EXPECT_EQ(&display_modes(), &modes);
}
