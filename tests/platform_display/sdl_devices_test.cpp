// Joysticks as SDL's virtual joysticks, seen through a real window.
#include "platform/sdl_devices.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "display_kit.h"
#include "platform/input.h"
#include "platform/window.h"

namespace {

using Events = std::vector<std::pair<int, bool>>;

struct Joysticks : ::testing::Test {
  display_kit::CapturedLog log;
  Window* window = nullptr;
  std::vector<SDL_Joystick*> opened;

  void SetUp() override {
    display_kit::use_virtual_hardware();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
  }
  void TearDown() override {
    for (SDL_Joystick* joystick : opened) SDL_JoystickClose(joystick);
    while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0)) SDL_JoystickDetachVirtual(0);
    destroy_gl_window(window);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  void create_window() {
    window = create_gl_window("Bermline test", 160, 120, 32, 0, 16, 0, 0);
    ASSERT_NE(window, nullptr) << voxa_last_error();
  }
  // Plugs in a virtual joystick; gives the test's own handle to move it.
  SDL_Joystick* plug_in(const char* name, int axes, int buttons, int hats) {
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = static_cast<Uint16>(axes);
    description.nbuttons = static_cast<Uint16>(buttons);
    description.nhats = static_cast<Uint16>(hats);
    description.name = name;
    int index = SDL_JoystickAttachVirtualEx(&description);
    EXPECT_GE(index, 0) << SDL_GetError();
    SDL_Joystick* joystick = SDL_JoystickOpen(index);
    EXPECT_NE(joystick, nullptr) << SDL_GetError();
    opened.push_back(joystick);
    return joystick;
  }
  void pull_out(SDL_Joystick* joystick) {
    SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
      if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
    SDL_JoystickClose(joystick);
    opened.erase(std::find(opened.begin(), opened.end(), joystick));
  }
  Events take_events() {
    Events taken;
    int code = 0;
    bool pressed = false;
    while (next_event(window, &code, &pressed)) taken.emplace_back(code, pressed);
    return taken;
  }
  int code_of(const char* name) {
    int code = -1;
    EXPECT_TRUE(key_code_of_name(window, name, &code)) << name;
    return code;
  }
};

}  // namespace

TEST_F(Joysticks, TheRollCallNamesEveryAttachedJoystick) {
  plug_in("Joystick 1", 4, 2, 1);
  plug_in("Joystick.1", 2, 1, 0);
  create_window();

  EXPECT_TRUE(log.has("4 axes, 6 keys"));  // 2 buttons and a hat's 4 directions
  EXPECT_TRUE(log.has("axis 3 is absolute"));
  EXPECT_TRUE(log.has("Adding axis \"Joystick1 axis 3\""));
  EXPECT_TRUE(log.has("Adding axis \"Joystick1#2 axis 1\""));
  std::vector<std::string> names = axis_names(window);
  EXPECT_EQ(names, (std::vector<std::string>{"Joystick1 axis 0", "Joystick1 axis 1",
                                             "Joystick1 axis 2", "Joystick1 axis 3",
                                             "Joystick1#2 axis 0", "Joystick1#2 axis 1"}));

  // The standard aliases name the first joystick.
  int first = code_of("joystick-a-2");
  EXPECT_STREQ(name_of_key_code(window, first), "Joystick1 button 1");
  int second = code_of("Joystick1#2.key[0]");
  EXPECT_STREQ(name_of_key_code(window, second), "Joystick1#2 button 0");
  int code = 0;
  EXPECT_FALSE(key_code_of_name(window, "Joystick1#2.key[1]", &code));
  EXPECT_NE(first & 0x7FFF0000, second & 0x7FFF0000);

  EXPECT_EQ(open_axis(window, "Joystick1.axis[4]"), nullptr);
  EXPECT_EQ(open_axis(window, "Joystick1.axis[5]"), nullptr);
  EXPECT_EQ(open_axis(window, "Joystick1#2 axis 2"), nullptr);
}

TEST_F(Joysticks, AxesReadTheStickAndButtonsAndHatsBecomeEvents) {
  SDL_Joystick* pad = plug_in("Test Pad", 3, 2, 1);
  create_window();
  AxisHandle* axis = open_axis(window, "TestPad.axis[2]");
  ASSERT_NE(axis, nullptr);
  int button = code_of("TestPad.key[1]");
  int hat_left = code_of("TestPad button 5");  // after 2 buttons: up, right, down, left

  SDL_JoystickSetVirtualAxis(pad, 2, 16000);
  SDL_JoystickSetVirtualButton(pad, 1, SDL_PRESSED);
  SDL_JoystickSetVirtualHat(pad, 0, SDL_HAT_LEFT);
  EXPECT_EQ(take_events(), (Events{{button, true}, {hat_left, true}}));
  EXPECT_EQ(read_axis(axis), 16000);

  SDL_JoystickSetVirtualAxis(pad, 2, -32768);
  SDL_JoystickSetVirtualButton(pad, 1, SDL_RELEASED);
  SDL_JoystickSetVirtualHat(pad, 0, SDL_HAT_CENTERED);
  // Once one button is bound, every button of the device reports.
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  int first_button = code_of("TestPad.key[0]");
  EXPECT_EQ(take_events(), (Events{{first_button, true}, {button, false}, {hat_left, false}}));
  EXPECT_EQ(read_axis(axis), -32767);
  close_axis(axis);
}

TEST_F(Joysticks, PluggedInLaterAndPulledOut) {
  create_window();
  SDL_Joystick* pad = plug_in("Late Pad", 2, 2, 0);
  take_events();
  EXPECT_TRUE(log.has("Adding axis \"LatePad axis 1\""));
  AxisHandle* axis = open_axis(window, "LatePad.axis[1]");
  ASSERT_NE(axis, nullptr);
  int button = code_of("LatePad.key[0]");

  SDL_JoystickSetVirtualAxis(pad, 1, 20000);
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  EXPECT_EQ(take_events(), (Events{{button, true}}));
  EXPECT_EQ(read_axis(axis), 20000);

  // Pulled out: centred, the held button let go, the handle still good.
  pull_out(pad);
  EXPECT_EQ(take_events(), (Events{{button, false}}));
  EXPECT_EQ(read_axis(axis), 0);
  EXPECT_TRUE(log.has("Disconnected LatePad"));

  // Plugged back in: the same device, name and bindings.
  pad = plug_in("Late Pad", 2, 2, 0);
  take_events();
  EXPECT_TRUE(log.has("Reconnected LatePad"));
  SDL_JoystickSetVirtualAxis(pad, 1, -5000);
  SDL_JoystickSetVirtualButton(pad, 0, SDL_PRESSED);
  EXPECT_EQ(take_events(), (Events{{button, true}}));
  EXPECT_EQ(read_axis(axis), -5000);
  EXPECT_EQ(axis_names(window).size(), 2u);
  close_axis(axis);
}
