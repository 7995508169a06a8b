#include "loop_kit.h"

#include "app/game_display.h"
#include "app/game_hooks.h"
#include "core/settings.h"
#include "platform/base/clock.h"
#include "platform/input.h"
#include "platform/window.h"
#include "race/race_session.h"

namespace loop_kit {

namespace {

// Well ahead of the platform clock, so every event pushed is due at once.
double fake_now = 0;
LoopClock test_clock() {
  return {[] { return fake_now; }, [](double seconds) { fake_now += seconds; }};
}

}  // namespace

void LoopTest::SetUp() {
  FlatsRace::SetUp();
  display_kit::use_virtual_hardware();
  window = create_gl_window("Bermline test", 160, 120, 32, 0, 16, 0, 0);
  ASSERT_NE(window, nullptr) << voxa_last_error();
  fake_now = platform_seconds() + 1000;
  ASSERT_TRUE(prepare_game_window(window, test_clock()));
  loop.window = window;
  bind_controls(loop);
}

void LoopTest::TearDown() {
  release_controls(loop);
  destroy_gl_window(window);
  set_network_hooks({});
  set_draw_hooks({});
  set_menu_hooks({});
  FlatsRace::TearDown();
}

void LoopTest::start(std::vector<int32_t> codes, int32_t laps, bool time_trial) {
  RaceSetup setup = flats_race(std::move(codes), laps);
  setup.time_trial = time_trial;
  ASSERT_TRUE(start_race(setup));
  begin_main_loop(loop, window, &line, test_clock());
  loop.menu.open = false;
  // Events left from setting up belong to nobody.
  message_pump(window);
  int code = 0;
  bool pressed = false;
  while (next_event(window, &code, &pressed)) {
  }
}

void LoopTest::pass(int count) {
  for (int i = 0; i < count; ++i) {
    fake_now += 0.125;
    ASSERT_TRUE(main_loop_pass(loop));
  }
}

void LoopTest::key(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

void LoopTest::tap(SDL_Scancode scancode) {
  key(scancode, true);
  key(scancode, false);
}

void LoopTest::text(const char* typed) {
  SDL_Event event{};
  event.type = SDL_TEXTINPUT;
  SDL_strlcpy(event.text.text, typed, sizeof event.text.text);
  ASSERT_EQ(SDL_PushEvent(&event), 1);
}

}  // namespace loop_kit
