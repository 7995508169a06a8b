// The main loop driven with SDL events, as a player drives it.
#include <gtest/gtest.h>

#include <cstdio>

#include "allocation_counter.h"
#include "app/game_hooks.h"
#include "core/messages.h"
#include "core/race_clock.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "loop_kit.h"
#include "physics/bike.h"
#include "race/race_session.h"
#include "platform/window.h"
#include "race/rider_snapshot.h"
#include "race/standings.h"

namespace {

using loop_kit::LoopTest;

const RiderSnapshot& player() { return rider_snapshot(0); }

// Width and height from a PNG's header.
std::pair<int, int> png_size(const std::string& bytes) {
  auto word = [&](size_t at) {
    return (static_cast<unsigned char>(bytes[at]) << 24) | (static_cast<unsigned char>(bytes[at + 1]) << 16) |
           (static_cast<unsigned char>(bytes[at + 2]) << 8) | static_cast<unsigned char>(bytes[at + 3]);
  };
  if (bytes.size() < 24) return {0, 0};
  return {word(16), word(20)};
}

}  // namespace

TEST_F(LoopTest, HoldingTheThrottleRaisesTheEngineSpeedAndLettingGoLetsItFall) {
  start({SLOT_HUMAN});
  pass(2);
  const double idle = player().engine_rpm;
  EXPECT_EQ(player().controls.throttle, 0);

  key(SDL_SCANCODE_X, true);
  double rpm = idle;
  for (int i = 0; i < 4; ++i) {
    pass();
    EXPECT_EQ(player().controls.throttle, 1);
    EXPECT_GT(player().engine_rpm, rpm) << "pass " << i << " with the throttle held";
    rpm = player().engine_rpm;
  }
  key(SDL_SCANCODE_X, false);
  pass();
  EXPECT_EQ(player().controls.throttle, 0);
  EXPECT_LT(player().engine_rpm, rpm);
  rpm = player().engine_rpm;
  pass(4);
  EXPECT_LT(player().engine_rpm, rpm);
}

TEST_F(LoopTest, APressAndReleaseInsideOneTickLeaveTheThrottleShut) {
  // The engine as it runs with no key at all...
  start({SLOT_HUMAN});
  pass(3);
  const double untouched = player().engine_rpm;
  // ...and the same race with the throttle pressed and released in one tick.
  start({SLOT_HUMAN});
  pass(2);
  tap(SDL_SCANCODE_X);
  pass();
  EXPECT_EQ(player().controls.throttle, 0);
  EXPECT_NEAR(player().engine_rpm, untouched, 1e-6);
}

TEST_F(LoopTest, TheLocalBikesControls) {
  start({SLOT_HUMAN});
  // Reversed steering (the default) turns left for the Left key.
  key(SDL_SCANCODE_LEFT, true);
  pass();
  EXPECT_EQ(player().controls.steer, -1);
  settings.reverse_steering.current = 0;
  pass();
  EXPECT_EQ(player().controls.steer, 1);
  key(SDL_SCANCODE_LEFT, false);

  // The clutch lever pulled disengages at once and engages again at 4 per second.
  key(SDL_SCANCODE_Z, true);
  pass();
  EXPECT_EQ(player().controls.clutch, 0);
  key(SDL_SCANCODE_Z, false);
  pass();
  EXPECT_DOUBLE_EQ(player().controls.clutch, 0.5);

  // Sticky sit/dab: each push flips it.
  settings.sticky_dab.current = 1;
  key(SDL_SCANCODE_RCTRL, true);
  pass();
  key(SDL_SCANCODE_RCTRL, false);
  pass();
  EXPECT_EQ(player().controls.dab, 1);
  key(SDL_SCANCODE_RCTRL, true);
  pass();
  EXPECT_EQ(player().controls.dab, 0);
  key(SDL_SCANCODE_RCTRL, false);

  // Upshift held shifts once (the automatic gearbox left out).
  race.slot_bike[0]->flags &= static_cast<uint8_t>(~OPTION_AUTO_SHIFT);
  const int gear = player().gear;
  key(SDL_SCANCODE_UP, true);
  pass(2);
  key(SDL_SCANCODE_UP, false);
  pass();
  EXPECT_EQ(player().gear, gear + 1);
}

TEST_F(LoopTest, StepRunsOneTickOnlyWhilePaused) {
  start({SLOT_HUMAN});
  int32_t clock = race_clock;
  tap(SDL_SCANCODE_PERIOD);  // not paused: nothing more
  pass();
  EXPECT_EQ(race_clock, clock + 16);

  tap(SDL_SCANCODE_PAUSE);
  clock = race_clock;
  pass(2);
  EXPECT_TRUE(loop.paused);
  EXPECT_EQ(race_clock, clock);
  tap(SDL_SCANCODE_PERIOD);
  pass();
  EXPECT_EQ(race_clock, clock + 1);
  tap(SDL_SCANCODE_PERIOD);
  tap(SDL_SCANCODE_PERIOD);
  pass();
  EXPECT_EQ(race_clock, clock + 3);

  tap(SDL_SCANCODE_PAUSE);
  pass();
  EXPECT_FALSE(loop.paused);
  EXPECT_EQ(race_clock, clock + 3 + 16);
}

TEST_F(LoopTest, NoPauseWhileConnected) {
  NetworkHooks network;
  network.connected = [] { return true; };
  network.server_tick = [] { return race_clock + 1; };  // in step with the server
  set_network_hooks(network);
  start({SLOT_HUMAN});
  int32_t clock = race_clock;
  tap(SDL_SCANCODE_PAUSE);
  pass();
  EXPECT_FALSE(loop.paused);
  EXPECT_EQ(race_clock, clock + 16);
  loop.paused = true;  // however it got there
  pass();
  EXPECT_FALSE(loop.paused);
  EXPECT_EQ(race_clock, clock + 32);
}

TEST_F(LoopTest, TheRaceStandsStillBehindTheMenuOnlyForTheRidingPlayer) {
  start({SLOT_HUMAN});
  tap(SDL_SCANCODE_ESCAPE);
  int32_t clock = race_clock;
  pass();
  EXPECT_TRUE(loop.menu.open);
  EXPECT_EQ(race_clock, clock);
  tap(SDL_SCANCODE_ESCAPE);
  pass();
  EXPECT_FALSE(loop.menu.open);
  EXPECT_EQ(race_clock, clock + 16);

  start({SLOT_ROBOT});  // watching a robot: the race goes on
  loop.menu.open = true;
  clock = race_clock;
  pass();
  EXPECT_EQ(race_clock, clock + 16);
}

TEST_F(LoopTest, TabChangesTheViewAndSpectatorsPickRiders) {
  start({SLOT_HUMAN});
  tap(SDL_SCANCODE_TAB);
  pass();
  EXPECT_EQ(loop.view.view_mode, VIEW_CHASE);
  tap(SDL_SCANCODE_TAB);  // the free camera is not for the riding player
  pass(2);
  EXPECT_EQ(loop.view.view_mode, VIEW_RIDER);

  start({SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT});
  EXPECT_EQ(loop.view.viewed_slot, 0);
  tap(SDL_SCANCODE_RIGHTBRACKET);
  pass();
  EXPECT_EQ(loop.view.viewed_slot, race.results.standings[1].slot);
  tap(SDL_SCANCODE_TAB);
  tap(SDL_SCANCODE_TAB);
  pass();
  EXPECT_EQ(loop.view.view_mode, VIEW_FREE);
}

TEST_F(LoopTest, ScreenshotsAreNumberedAfterTheLargestThere) {
  start({SLOT_HUMAN});
  testkit::write_file(folders->home + "screenshot007.png", "an older one");
  reset_data_layer();
  tap(SDL_SCANCODE_S);
  pass(2);
  ASSERT_TRUE(testkit::file_exists(folders->home + "screenshot008.png"));
  EXPECT_EQ(png_size(testkit::read_file(folders->home + "screenshot008.png")), std::make_pair(160, 120));
  EXPECT_STREQ(message_line(0), "Saved \"screenshot008.png\"");
  EXPECT_TRUE(log.has("Saved \"screenshot008.png\""));
  tap(SDL_SCANCODE_S);
  pass(2);
  EXPECT_STREQ(message_line(0), "Saved \"screenshot009.png\"");
}

TEST_F(LoopTest, VideoFramesAreTheWindowsPixelsOnePerDrawnFrame) {
  line.record_video = true;
  start({SLOT_HUMAN});
  std::FILE* out = std::tmpfile();
  ASSERT_NE(out, nullptr);
  loop.video.out = out;
  pass(3);
  tap(SDL_SCANCODE_PAUSE);
  pass();  // drawn before the pause key arrives
  pass(2);  // paused frames are not recorded
  EXPECT_EQ(loop.video.frames_written, 4);
  const std::string header = "P6\n160 120\n255\n";
  const size_t frame = header.size() + 160 * 120 * 3;
  std::string bytes(4 * frame + 1, '\0');
  std::rewind(out);
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), out));
  std::fclose(out);
  ASSERT_EQ(bytes.size(), 4 * frame);
  EXPECT_EQ(bytes.substr(3 * frame, header.size()), header);
  // The start-up clear colour, (0.196078, 0.6, 0.8).
  EXPECT_EQ(bytes.substr(header.size(), 3), std::string("\x32\x99\xcc", 3));
}

TEST_F(LoopTest, TheChatKeyOpensTheChatPageAndCommandsRun) {
  start({SLOT_HUMAN});
  key(SDL_SCANCODE_T, true);
  text("t");  // the typed character of the same key is not the page's
  pass();
  EXPECT_TRUE(loop.menu.open);
  EXPECT_EQ(loop.menu.page, MENU_PAGE_CHAT);
  EXPECT_EQ(loop.chat.input, "");
  key(SDL_SCANCODE_T, false);
  text("/togglespy");
  tap(SDL_SCANCODE_RETURN);
  pass();
  EXPECT_EQ(settings.spy.integer, 1);
  EXPECT_STREQ(message_line(0), "Spy mode ON");
  tap(SDL_SCANCODE_ESCAPE);
  pass();
  EXPECT_FALSE(loop.menu.open);
}

TEST_F(LoopTest, WarpRunsAHundredTicksAFrameAndRestartsWithTheLineupTurned) {
  line.warp = true;
  start({SLOT_ROBOT}, 0);  // a race of no laps is over at once
  pass();
  EXPECT_EQ(race.lineup[0], SLOT_EMPTY);
  EXPECT_EQ(race.lineup[1], SLOT_ROBOT);
  EXPECT_EQ(race.race_laps, static_cast<int32_t>(settings.laps.value));
  EXPECT_EQ(race_clock, 0);
  EXPECT_EQ(loop.view.viewed_slot, 1);
  pass();
  EXPECT_EQ(race_clock, 100);
  EXPECT_EQ(race.lineup[1], SLOT_ROBOT);
}

TEST_F(LoopTest, BackingUpAbortsATimeTrialAttempt) {
  start({SLOT_HUMAN}, 3, true);
  const Vec3 start_place = player().position[BODY_FRAME];
  key(SDL_SCANCODE_X, true);
  pass(24);
  key(SDL_SCANCODE_X, false);
  pass();
  const Vec3 ridden = player().position[BODY_FRAME];
  ASSERT_GT(length(ridden - start_place), 5);

  settings.time_trial_abort.current = 0;  // "No"
  key(SDL_SCANCODE_B, true);
  pass();
  EXPECT_GT(length(player().position[BODY_FRAME] - start_place), 5);
  settings.time_trial_abort.current = 1;
  pass();
  key(SDL_SCANCODE_B, false);
  EXPECT_LT(length(player().position[BODY_FRAME] - start_place), 2);
}

TEST_F(LoopTest, ARunningRaceAllocatesNothingPerFrame) {
  start({SLOT_HUMAN, SLOT_ROBOT, SLOT_ROBOT});
  pass(2);
  allocation_counter::start();
  pass(8);
  EXPECT_EQ(allocation_counter::stop(), 0);
}

TEST_F(LoopTest, TheWindowsCloseRequestEndsTheLoop) {
  start({SLOT_HUMAN});
  SDL_Event event{};
  event.type = SDL_WINDOWEVENT;
  event.window.event = SDL_WINDOWEVENT_CLOSE;
  event.window.windowID = SDL_GetWindowID(window->sdl_window);
  ASSERT_EQ(SDL_PushEvent(&event), 1);
  pass();  // the request arrives with the tick's events
  EXPECT_FALSE(main_loop_pass(loop));
}
