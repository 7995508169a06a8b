#include "app/frame_pacing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/units.h"

namespace {

// A clock the test moves by hand; sleeping moves it on by the time slept.
double fake_now = 0;
double slept = 0;
LoopClock fake_clock() {
  return {[] { return fake_now; },
          [](double seconds) {
            slept += seconds;
            fake_now += seconds;
          }};
}

// The ticks a frame of `frame_seconds` runs, and its game time.
struct Frame {
  int ticks;
  double game_time;
};
Frame run_frame(FramePacing* pacing, double frame_seconds, double lock_fps = 0, bool warp = false) {
  fake_now += frame_seconds;
  double game_time = frame_game_time(pacing, fake_clock(), lock_fps, warp);
  advance_frame(pacing, game_time);
  int ticks = 0;
  while (tick_due(*pacing)) {
    pacing->simulated += dt;
    ++ticks;
  }
  return {ticks, game_time};
}

struct Pacing : ::testing::Test {
  FramePacing pacing;
  void SetUp() override {
    fake_now = 5000;
    slept = 0;
    pacing.last_frame = fake_now;
  }
};

}  // namespace

TEST_F(Pacing, AStalledFrameAdvancesAtMostAnEighthOfASecond) {
  Frame stalled = run_frame(&pacing, 0.5);
  EXPECT_EQ(stalled.ticks, 16);
  EXPECT_DOUBLE_EQ(stalled.game_time, 0.125);
  EXPECT_DOUBLE_EQ(pacing.longest_frame, 0.5);
  // A normal frame then runs what its own time asks for.
  EXPECT_EQ(run_frame(&pacing, 3 * dt).ticks, 3);
  EXPECT_DOUBLE_EQ(pacing.game_clock, 0.125 + 3 * dt);
  EXPECT_EQ(slept, 0);
}

TEST_F(Pacing, AFrameShorterThanATickWaitsForIt) {
  Frame quick = run_frame(&pacing, dt / 4);
  EXPECT_NEAR(slept, 0.75 * dt, 1e-9);
  EXPECT_EQ(quick.ticks, 1);
  EXPECT_NEAR(quick.game_time, dt, 1e-9);
}

TEST_F(Pacing, LockedFramesStandForExactlyTheirShareOfASecond) {
  // Whatever the real frame time, each frame is 1/30 s of game time; a
  // short frame is slept out to 1/30 s.
  int ticks = 0;
  for (double real : {0.001, 0.5, 0.02, 1.0 / 30, 0.2, 0.0}) {
    double target_before = pacing.target;
    slept = 0;
    Frame frame = run_frame(&pacing, real, 30);
    EXPECT_EQ(frame.game_time, 1.0 / 30) << real;
    EXPECT_DOUBLE_EQ(pacing.target - target_before, 1.0 / 30) << real;
    EXPECT_NEAR(slept, std::max(0.0, 1.0 / 30 - real), 1e-9) << real;
    ticks += frame.ticks;
  }
  // 30 frames are one second: 128 ticks, whatever the frames took.
  for (int i = 6; i < 30; ++i) ticks += run_frame(&pacing, 0.3, 30).ticks;
  EXPECT_EQ(ticks, 128);
}

TEST_F(Pacing, WarpRunsAHundredTicksAFrameWithoutSleeping) {
  EXPECT_EQ(run_frame(&pacing, 0.0001, 0, true).ticks, 100);
  EXPECT_EQ(run_frame(&pacing, 0.9, 0, true).ticks, 100);
  EXPECT_EQ(slept, 0);
}

TEST_F(Pacing, TicksOfAFrameAreDueAtEvenlySpreadWallTimes) {
  fake_now += 4 * dt;
  advance_frame(&pacing, frame_game_time(&pacing, fake_clock(), 0, false));
  long seconds = 0, microseconds = 0;
  std::vector<double> walls;
  while (tick_due(pacing)) {
    pacing.simulated += dt;
    tick_wall_time(pacing, &seconds, &microseconds);
    walls.push_back(seconds + microseconds * 1e-6);
  }
  ASSERT_EQ(walls.size(), 4u);
  for (size_t i = 0; i < walls.size(); ++i) EXPECT_NEAR(walls[i], 5000 + (i + 1) * dt, 2e-6) << i;
}

TEST(ServerPace, TheRaceCatchesUpOrWaitsForTheServer) {
  struct Case {
    int32_t server_tick, race_clock, gate_drop;
    double factor;
  } cases[] = {
      {101, 100, 0, 1.0},                // in step
      {101 - 64, 100, 0, 0.75},          // half a second ahead: slower
      {101 - 256, 100, 0, 0.5},          // far ahead: half speed
      {101 + 64, 100, 1000, 2.5},        // behind before the gate drop: up to 4x
      {101 + 512, 100, 1000, 4.0},
      {101 + 8, 100, 0, 1.0625},         // behind after the drop: at most 1/8 faster
      {101 + 128, 100, 0, 1.125},
  };
  for (const Case& c : cases)
    EXPECT_DOUBLE_EQ(paced_to_server(0.1, c.server_tick, c.race_clock, c.gate_drop), 0.1 * c.factor)
        << c.server_tick << " " << c.race_clock;
}
