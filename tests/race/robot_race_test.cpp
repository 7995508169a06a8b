// Robots end to end on the small "flats" loop: the coach rides three laps
// and its rides become the track's racing lines; then robots race on those
// lines, complete laps, and allocate nothing while they race.
#include <gtest/gtest.h>

#include "allocation_counter.h"
#include "autopilot/autopilot.h"
#include "autopilot/coach.h"
#include "autopilot/racing_lines.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "physics/bike_tick.h"
#include "race/lap_timing.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "race_kit.h"

namespace {

class RobotRace : public race_kit::FlatsRace {
 protected:
  void SetUp() override {
    FlatsRace::SetUp();
    install_autopilot();
  }
  void TearDown() override {
    end_race_session();
    set_autopilot_hooks({});
    FlatsRace::TearDown();
  }

  // Runs the race to its result or for at most `seconds` of race time.
  static void ride(double seconds) {
    const int32_t last = race_clock + static_cast<int32_t>(seconds / dt);
    while (!race.results.results_final && race_clock < last) {
      drive_coaches();
      race_tick();
    }
  }
};

TEST_F(RobotRace, RobotsCompleteLapsOnLinesTheCoachRode) {
  ASSERT_EQ(start_race(flats_race({SLOT_HUMAN})), 1);
  ride(300);
  ASSERT_TRUE(race.slot_bike[0]->finished);

  // Starting the next race saves the coach's lines and loads them again.
  ASSERT_EQ(start_race(flats_race({SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT}, 2)), 1);
  int lines = 0;
  for (const LineTable& table : line_set.tables) lines += line_count(table);
  EXPECT_GE(lines, 4) << "every section has a line";
  ride(20);  // away from the gate, lines picked and riding
  allocation_counter::start();
  ride(10);
  EXPECT_EQ(allocation_counter::stop(), 0) << "racing robots allocate nothing";
  ride(270);
  for (int slot = 0; slot < 3; ++slot) {
    ASSERT_NE(race.slot_bike[slot], nullptr);
    EXPECT_GE(completed_laps(*race.slot_bike[slot]), 1) << "robot in slot " << slot;
  }
}

TEST_F(RobotRace, BikesThatCollideForgetTheLinesTheyPicked) {
  ASSERT_EQ(start_race(flats_race({SLOT_HUMAN, SLOT_ROBOT, SLOT_EMPTY, SLOT_ROBOT})), 1);
  Bike& player = *race.slot_bike[0];
  Bike& robot = *race.slot_bike[1];
  Bike& apart = *race.slot_bike[3];
  // Side by side, bars overlapping.
  const Vec3 at = body_position(player.frame);
  place_bike(robot, at.x + 1.2, at.z, 0);
  for (Bike* b : {&player, &robot, &apart}) std::fill(std::begin(b->line_state), std::end(b->line_state), 7);
  race_tick();
  EXPECT_EQ(player.line_state[2], 0);  // a line ridden through a collision is spoiled
  EXPECT_EQ(robot.line_state[2], 0);
  EXPECT_EQ(apart.line_state[2], 7);
}

}  // namespace
