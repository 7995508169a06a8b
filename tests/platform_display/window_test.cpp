// A real window on the display (Xvfb in the test runs).
#include "platform/window.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include "display_kit.h"
#include "platform/base/clock.h"
#include "platform/base/options.h"
#include "platform/display_modes.h"
#include "platform/input.h"

namespace {

constexpr int WIDTH = 320;
constexpr int HEIGHT = 240;

struct WindowTest : ::testing::Test {
  display_kit::CapturedLog log;
  Window* window = nullptr;
  void SetUp() override {
    display_kit::use_virtual_hardware();
    window = create_gl_window("Bermline test", WIDTH, HEIGHT, 32, 8, 24, 8, 0);
    ASSERT_NE(window, nullptr) << voxa_last_error();
  }
  void TearDown() override { destroy_gl_window(window); }

  std::vector<std::pair<int, bool>> take_events() {
    std::vector<std::pair<int, bool>> taken;
    int code = 0;
    bool pressed = false;
    while (next_event(window, &code, &pressed)) taken.emplace_back(code, pressed);
    return taken;
  }
  // Pumps until the log shows a line (the display answers asynchronously).
  bool pump_until_logged(const std::string& line) {
    for (int i = 0; i < 200; ++i) {
      message_pump(window);
      if (log.has(line)) return true;
      SDL_Delay(10);
    }
    return false;
  }
  void push_key(SDL_Scancode key, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.key.keysym.scancode = key;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  void push_text(const char* text) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, text, sizeof event.text.text);
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  void push_mouse_button(Uint8 button, bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
  void push_mouse_motion(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    ASSERT_EQ(SDL_PushEvent(&event), 1);
  }
};

using Events = std::vector<std::pair<int, bool>>;

}  // namespace

TEST(WindowLog, CreationAndShutdownLines) {
  display_kit::CapturedLog log;
  voxa_set_options_text("[threaded:yes]");
  Window* window = create_gl_window("Bermline test", WIDTH, HEIGHT, 24, 0, 16, 0, 0);
  voxa_set_options_text(nullptr);
  ASSERT_NE(window, nullptr) << voxa_last_error();
  EXPECT_TRUE(window->threaded);
  destroy_gl_window(window);

  // In this order, with the device roll call between.
  const char* expected[] = {
      "Options:",
      " threaded: [yes]",
      "Threaded option accepted; events are pumped on the game thread",
      "Creating window",
      "DirectInput roll call...",
      "Mouse (Mouse)",
      "End of DirectInput roll call",
      "Creating OpenGL context",
      "Deleting OpenGL context",
      "Closing input devices",
      "Killing Mouse",
      "Killing cursor",
      "Destroying window",
      "Window shutdown complete",
  };
  int previous = -1;
  for (const char* line : expected) {
    int at = log.index_of(line);
    EXPECT_GT(at, previous) << line;
    previous = at;
  }
}

TEST_F(WindowTest, FramesGiveTheClientSizeAndAHiddenWindowRefusesThem) {
  FrameInfo* frame = begin_frame(window);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, WIDTH);
  EXPECT_EQ(frame->height, HEIGHT);
  EXPECT_EQ(frame->flags, 0);
  EXPECT_TRUE(end_frame(window));

  SDL_HideWindow(window->sdl_window);
  EXPECT_EQ(begin_frame(window), nullptr);
  EXPECT_EQ(begin_frame(window), nullptr);  // every pass, while hidden
  SDL_ShowWindow(window->sdl_window);
  frame = begin_frame(window);
  ASSERT_NE(frame, nullptr);
  EXPECT_TRUE(end_frame(window));

  window->busy = true;
  EXPECT_EQ(begin_frame(window), nullptr);
  window->busy = false;
  // An end frame without a begin frame leaves the lock alone.
  EXPECT_TRUE(end_frame(window));
  EXPECT_TRUE(window->frame_lock.try_lock());
  window->frame_lock.unlock();
}

TEST_F(WindowTest, ASwitchToAnotherWindowedSizeIsLoggedAndFramed) {
  switch_mode(window, 400, 300, 0);
  ASSERT_TRUE(pump_until_logged("WM_SIZE message 400x300"));
  EXPECT_EQ(window->width, 400);
  EXPECT_EQ(window->height, 300);
  FrameInfo* frame = begin_frame(window);
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->width, 400);
  EXPECT_EQ(frame->height, 300);
  end_frame(window);
}

TEST(WindowSize, ZeroByZeroMeansTheDesktopSize) {
  display_kit::CapturedLog log;
  Window* window = create_gl_window("Bermline test", 0, 0, 32, 0, 16, 0, 0);
  ASSERT_NE(window, nullptr) << voxa_last_error();
  DisplayMode desktop = desktop_display_mode();
  EXPECT_EQ(window->width, desktop.width);
  EXPECT_EQ(window->height, desktop.height);
  destroy_gl_window(window);
}

TEST_F(WindowTest, KeysCharactersAndMouseButtonsBecomeKeyCodes) {
  push_key(SDL_SCANCODE_RCTRL, true);
  push_key(SDL_SCANCODE_RCTRL, false);
  push_key(SDL_SCANCODE_UP, true);
  push_text("a\xC3\xA9\xE2\x82\xAC");  // a, e acute (233), euro sign (not one byte)
  push_key(SDL_SCANCODE_BACKSPACE, true);
  push_key(SDL_SCANCODE_DELETE, true);
  push_key(SDL_SCANCODE_DELETE, false);
  push_mouse_button(SDL_BUTTON_LEFT, true);
  push_mouse_button(SDL_BUTTON_RIGHT, false);
  push_mouse_button(SDL_BUTTON_MIDDLE, true);
  EXPECT_EQ(take_events(), (Events{{0x111D, true},
                                   {0x111D, false},
                                   {0x1148, true},
                                   {'a', true},
                                   {233, true},
                                   {0x100E, true},
                                   {8, true},
                                   {0x1153, true},
                                   {127, true},
                                   {0x1153, false},
                                   {0x2000, true},
                                   {0x2002, false},
                                   {0x2001, true}}));
}

TEST_F(WindowTest, EventsAreStampedOnThePlatformClock) {
  push_key(SDL_SCANCODE_A, true);
  long seconds = 0, microseconds = 0;
  platform_clock(&seconds, &microseconds);
  int code = 0;
  bool pressed = false;
  EXPECT_FALSE(next_event_due(window, seconds - 10, microseconds, &code, &pressed));
  ASSERT_TRUE(next_event_due(window, seconds + 10, microseconds, &code, &pressed));
  EXPECT_EQ(code, 0x101E);
}

TEST_F(WindowTest, CloseRequestsQueueCloseAndSetTheFlag) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_Event close{};
  close.type = SDL_WINDOWEVENT;
  close.window.event = SDL_WINDOWEVENT_CLOSE;
  close.window.windowID = SDL_GetWindowID(window->sdl_window);
  for (SDL_Event* event : {&quit, &close}) {
    window->close_requested = false;
    EXPECT_FALSE(window_close_requested(window));
    ASSERT_EQ(SDL_PushEvent(event), 1);
    EXPECT_EQ(take_events(), (Events{{0xDEAD, true}}));
    EXPECT_TRUE(window_close_requested(window));
  }
}

TEST_F(WindowTest, TheMouseIsARelativeDeviceWithButtons) {
  AxisHandle* x = open_axis(window, "mouse-x");
  AxisHandle* y = open_axis(window, "Mouse axis 1");
  ASSERT_NE(x, nullptr);
  ASSERT_NE(y, nullptr);
  int left = 0;
  ASSERT_TRUE(key_code_of_name(window, "mouse-left", &left));
  EXPECT_GE(left, 0x10000);
  EXPECT_STREQ(name_of_key_code(window, left), "Mouse button 0");

  push_mouse_motion(5, -2);
  push_mouse_motion(7, -1);
  push_mouse_button(SDL_BUTTON_LEFT, true);
  EXPECT_EQ(take_events(), (Events{{0x2000, true}, {left, true}}));
  EXPECT_EQ(read_axis(x), 12);
  EXPECT_EQ(read_axis(y), -3);
  EXPECT_EQ(read_axis(x), 0);
  close_axis(x);
  close_axis(y);
}

TEST_F(WindowTest, TheCursorDeviceReadsThePointerInClientPixels) {
  AxisHandle* x = open_axis(window, "cursor-x");
  AxisHandle* y = open_axis(window, "cursor.axis[1]");
  ASSERT_NE(x, nullptr);
  ASSERT_NE(y, nullptr);
  EXPECT_EQ(open_axis(window, "cursor.axis[2]"), nullptr);
  int code = 0;
  EXPECT_FALSE(key_code_of_name(window, "cursor.key[0]", &code));
  SDL_WarpMouseInWindow(window->sdl_window, 37, 21);
  message_pump(window);
  EXPECT_EQ(read_axis(x), 37);
  EXPECT_EQ(read_axis(y), 21);
  close_axis(x);
  close_axis(y);
}

TEST(WindowModes, FullscreenUsesTheChosenModeAndSwitchesToAWindowAndBack) {
  display_kit::CapturedLog log;
  Window* window =
      create_gl_window("Bermline test", 1000, 700, WINDOW_FULLSCREEN | 32, 0, 16, 0, 0);
  ASSERT_NE(window, nullptr) << voxa_last_error();
  // Under Xvfb the only mode at least 1000 x 700 is the desktop's.
  DisplayMode desktop = desktop_display_mode();
  EXPECT_TRUE(window->fullscreen);
  EXPECT_EQ(window->fullscreen_width, desktop.width);
  EXPECT_EQ(window->fullscreen_height, desktop.height);

  auto frame_size = [&] {
    FrameInfo* frame = begin_frame(window);
    if (!frame) return std::pair(-1, -1);
    std::pair size(frame->width, frame->height);
    end_frame(window);
    return size;
  };
  // Until the frames and the size events both show the size.
  auto pump_until_size = [&](int width, int height) {
    for (int i = 0; i < 200 && (frame_size() != std::pair(width, height) ||
                                window->width != width || window->height != height);
         ++i) {
      message_pump(window);
      SDL_Delay(10);
    }
    return frame_size();
  };
  EXPECT_EQ(pump_until_size(desktop.width, desktop.height),
            std::pair(desktop.width, desktop.height));

  switch_mode(window, 320, 240, 0);
  EXPECT_EQ(pump_until_size(320, 240), std::pair(320, 240));
  EXPECT_FALSE(window->fullscreen);
  EXPECT_TRUE(log.has("WM_SIZE message 320x240"));

  switch_mode(window, 0, 0, WINDOW_FULLSCREEN);
  EXPECT_EQ(pump_until_size(desktop.width, desktop.height),
            std::pair(desktop.width, desktop.height));
  EXPECT_TRUE(window->fullscreen);
  destroy_gl_window(window);
}
