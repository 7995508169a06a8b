// Bindings resolved against the window's devices, analog controls and pot
// watching, with SDL's virtual joysticks.
#include <gtest/gtest.h>

#include "app/config_file.h"
#include "app/control_map.h"
#include "core/settings.h"
#include "display_kit.h"
#include "platform/input.h"
#include "platform/window.h"
#include "testkit.h"

namespace {

struct Bindings : ::testing::Test {
  display_kit::CapturedLog log;
  Window* window = nullptr;
  SDL_Joystick* pad = nullptr;
  ControlMap map;
  PotWatch pots;

  void SetUp() override {
    reset_settings();
    display_kit::use_virtual_hardware();
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_JOYSTICK), 0) << SDL_GetError();
    SDL_VirtualJoystickDesc description{};
    description.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    description.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    description.naxes = 3;
    description.nbuttons = 4;
    description.name = "Test Pad";
    int index = SDL_JoystickAttachVirtualEx(&description);
    ASSERT_GE(index, 0) << SDL_GetError();
    pad = SDL_JoystickOpen(index);
    window = create_gl_window("Bermline test", 160, 120, 32, 0, 16, 0, 0);
    ASSERT_NE(window, nullptr) << voxa_last_error();
    build_control_map(&map);
  }
  void TearDown() override {
    stop_pot_watching(&pots);
    for (ControlBinding& binding : settings.bindings) release_binding(&binding);
    destroy_gl_window(window);
    SDL_JoystickClose(pad);
    while (SDL_NumJoysticks() > 0 && SDL_JoystickIsVirtual(0)) SDL_JoystickDetachVirtual(0);
    SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  }
  void resolve_all() {
    for (ControlBinding& binding : settings.bindings) resolve_binding(window, &binding);
  }
  void move_axis(int axis, double position) {
    SDL_JoystickSetVirtualAxis(pad, axis, static_cast<Sint16>(position * 32767));
    message_pump(window);
  }
  float channel_after_tick(int channel) {
    clear_channels(&map);
    add_rows_to_channels(&map);
    return map.control_channels[static_cast<size_t>(channel)];
  }
};

}  // namespace

TEST_F(Bindings, KeyNamesAndAxesResolveAndMissingOnesStayUnbound) {
  parse_binding(&settings.bindings[BIND_THROTTLE], "(0.0,1.0)TestPad.axis[1]");
  parse_binding(&settings.bindings[BIND_FRONT_BRAKE], "(k)0x1c");
  parse_binding(&settings.bindings[BIND_REAR_BRAKE], "(0.0,1.0)GonePad.axis[0]");
  parse_binding(&settings.bindings[BIND_CLUTCH], "(k)no such key");
  parse_binding(&settings.bindings[BIND_BACK_UP], "(k)TestPad button 2");
  resolve_all();

  EXPECT_EQ(settings.bindings[BIND_DAB].key_code, 0x111D);  // the default "right ctrl"
  EXPECT_EQ(settings.bindings[BIND_FRONT_BRAKE].key_code, 0x101C);
  EXPECT_NE(binding_axis(settings.bindings[BIND_THROTTLE]), nullptr);
  EXPECT_EQ(binding_axis(settings.bindings[BIND_REAR_BRAKE]), nullptr);
  EXPECT_EQ(settings.bindings[BIND_CLUTCH].key_code, NO_KEY_CODE);
  EXPECT_TRUE(log.has("No axis \"GonePad.axis[0]\" for Rear Brake: the control stays unbound"));
  EXPECT_TRUE(log.has("No key \"no such key\" for Clutch: the control stays unbound"));
  // The joystick's button reaches the control as an event.
  const int button = settings.bindings[BIND_BACK_UP].key_code;
  EXPECT_STREQ(name_of_key_code(window, button), "TestPad button 2");
  // What names nothing today is kept for a day it does.
  std::string config = config_text();
  EXPECT_NE(config.find("rear_brake_key=(0.000000,1.000000)GonePad.axis[0]\n"), std::string::npos);
  EXPECT_NE(config.find("clutch_key=(k)no such key\n"), std::string::npos);
}

TEST_F(Bindings, AnAxisMapsFromItsLowToItsHighPoint) {
  parse_binding(&settings.bindings[BIND_THROTTLE], "(0.0,1.0)TestPad.axis[1]");
  parse_binding(&settings.bindings[BIND_FRONT_BRAKE], "(0.9,0.1)TestPad.axis[2]");  // inverted
  resolve_all();
  struct Case {
    double position;
    float throttle, front_brake;
  } cases[] = {
      {-1.0, 0.0f, 1.0f}, {0.0, 0.0f, 1.0f}, {0.5, 0.5f, 0.5f}, {0.9, 0.9f, 0.0f}, {1.0, 1.0f, 0.0f},
  };
  for (const Case& c : cases) {
    move_axis(1, c.position);
    move_axis(2, c.position);
    EXPECT_NEAR(channel_after_tick(1), c.throttle, 0.001) << c.position;
    EXPECT_NEAR(channel_after_tick(2), c.front_brake, 0.001) << c.position;
  }
}

TEST_F(Bindings, PotWatchingBindsTheAxisPushedFurthest) {
  ControlBinding& brake = settings.bindings[BIND_REAR_BRAKE];
  start_pot_watching(window, &pots, &brake);
  ASSERT_TRUE(watching_pots(pots));
  move_axis(0, 0.3);
  EXPECT_FALSE(watch_pots(&pots));  // not yet half way
  move_axis(2, -0.7);
  EXPECT_TRUE(watch_pots(&pots));
  EXPECT_FALSE(watching_pots(pots));
  EXPECT_EQ(brake.axis_name, "TestPad axis 2");
  EXPECT_TRUE(brake.key_name.empty());
  EXPECT_FLOAT_EQ(brake.low, -0.0625f);
  EXPECT_FLOAT_EQ(brake.high, -0.9375f);
  EXPECT_TRUE(pots.handles.empty());

  // Pushing it further the negative way raises the control towards 1.
  move_axis(2, -0.5);
  const float half = channel_after_tick(3);
  move_axis(2, -1.0);
  EXPECT_GT(channel_after_tick(3), half);
  EXPECT_FLOAT_EQ(channel_after_tick(3), 1.0f);
  EXPECT_NE(config_text().find("rear_brake_key=(-0.062500,-0.937500)TestPad axis 2\n"), std::string::npos);
}

TEST_F(Bindings, AKeyPressedWhileWatchingBindsTheKey) {
  ControlBinding& throttle = settings.bindings[BIND_THROTTLE];
  parse_binding(&throttle, "(0.0,1.0)TestPad.axis[1]");
  resolve_binding(window, &throttle);
  start_pot_watching(window, &pots, &throttle);
  bind_key_while_watching(window, &pots, 'q');  // a typed character has no name
  EXPECT_TRUE(watching_pots(pots));
  bind_key_while_watching(window, &pots, 0x1010);
  EXPECT_FALSE(watching_pots(pots));
  EXPECT_EQ(throttle.key_name, "Q");
  EXPECT_EQ(throttle.key_code, 0x1010);
  EXPECT_TRUE(throttle.axis_name.empty());
  EXPECT_EQ(binding_axis(throttle), nullptr);
}
