// Lap timing by hand: front wheels put through gates of a straight course
// of six gates, one lap of all six, the last the lap line.
#include <gtest/gtest.h>

#include "core/race_clock.h"
#include "core/units.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "race_kit.h"
#include "track/timing_gates.h"

namespace {

using Log = std::vector<int32_t>;

class LapTiming : public race_kit::HandTimedRace {
 protected:
  // Crosses gates in order, one every ten ticks from `tick`.
  static void ride(Bike& b, std::initializer_list<int> gates, int32_t tick) {
    for (int g : gates) {
      cross(b, g, tick);
      tick += 10;
    }
  }
};

TEST_F(LapTiming, SkippedGatesStayMissedAndMissedGatesBehindCanBeFetched) {
  Bike& b = *bike_in_slot(0);
  cross(b, 0, 10);
  cross(b, 3, 40);  // through gate 3 without touching 1 and 2
  EXPECT_EQ(b.crossing_ticks, (Log{10, -1, -1, 40}));
  EXPECT_EQ(b.gates_passed, 4);

  cross(b, 0, 50);  // beyond the lap line: it is never skipped
  EXPECT_EQ(b.gates_passed, 4);
  cross(b, 3, 55);  // the gate just behind is never tested
  EXPECT_EQ(b.crossing_ticks, (Log{10, -1, -1, 40}));

  // Turning back for gate 1, three behind: progress goes back to it.
  cross(b, 1, 60);
  EXPECT_EQ(b.crossing_ticks, (Log{10, 60, -1, 40}));
  EXPECT_EQ(b.gates_passed, 2);
  cross(b, 2, 70);
  cross(b, 4, 80);  // gate 3 holds its crossing: on to 4
  EXPECT_EQ(b.crossing_ticks, (Log{10, 60, 70, 40, 80}));
  EXPECT_EQ(b.gates_passed, 5);

  // Nothing missed behind: a gate crossed again back there is ignored.
  cross(b, 2, 90);
  EXPECT_EQ(b.gates_passed, 5);
  cross(b, 5, 100);
  EXPECT_EQ(completed_laps(b), 1);
}

TEST_F(LapTiming, LapLineCanBeNeitherSkippedNorPassedUncredited) {
  Bike& b = *bike_in_slot(0);
  ride(b, {0, 1, 2, 3}, 10);
  cross(b, 0, 60);  // around again past the line: nothing counts
  cross(b, 1, 70);
  EXPECT_EQ(b.gates_passed, 4);
  EXPECT_EQ(completed_laps(b), 0);
  cross(b, 5, 80);  // skipping gate 4 to the line itself is fine
  EXPECT_EQ(b.crossing_ticks, (Log{10, 20, 30, 40, -1, 80}));
  EXPECT_EQ(completed_laps(b), 1);
}

TEST_F(LapTiming, LapTimesAndTheBestLap) {
  race.gate_drop_tick = 5;
  Bike& b = *bike_in_slot(0);
  ride(b, {0, 1, 2, 3, 4, 5}, 10);         // lap 1 ends at 60
  ride(b, {0, 1, 2, 3, 4, 5}, 100);        // lap 2 ends at 150: 90 ticks
  ride(b, {0, 1, 2, 3, 4, 5}, 160);        // lap 3 ends at 210: 60 ticks
  ride(b, {0, 1, 2, 3, 4, 5}, 300);        // lap 4 ends at 350: 140 ticks
  ASSERT_EQ(completed_laps(b), 4);
  EXPECT_EQ(lap_ticks(b, 1), 55);          // from the gate drop
  EXPECT_EQ(lap_ticks(b, 3), 60);
  EXPECT_FLOAT_EQ(lap_time(b, -1), 140 * dt);
  EXPECT_EQ(lap_ticks(b, 5), 0);
  EXPECT_EQ(best_lap(b), 3);

  Bike& c = *bike_in_slot(1);
  ride(c, {0, 1, 2, 3, 4, 5}, 10);
  EXPECT_EQ(best_lap(c), 0);               // lap 1 never counts
}

TEST_F(LapTiming, LeaderFinishesOnTheLastLapAndEveryoneOnTheLapInProgress) {
  race.race_laps = race.finish_lap = 3;
  race.halfway_lap = 2;
  Bike& leader = *bike_in_slot(0);
  Bike& lapped = *bike_in_slot(1);
  ride(leader, {0, 1, 2, 3, 4, 5}, 10);
  ride(leader, {0, 1, 2, 3, 4, 5}, 100);
  ride(lapped, {0, 1, 2, 3, 4, 5}, 20);
  ride(lapped, {0, 1, 2, 3}, 200);
  ride(leader, {0, 1, 2, 3, 4}, 300);
  EXPECT_FALSE(leader.finished);
  cross(leader, 5, 360);
  EXPECT_TRUE(leader.finished);
  EXPECT_FALSE(lapped.finished);
  EXPECT_FALSE(race.results.results_final);

  cross(lapped, 4, 400);
  cross(lapped, 5, 410);
  EXPECT_TRUE(lapped.finished);
  EXPECT_EQ(completed_laps(lapped), 2);
  ASSERT_TRUE(race.results.results_final);
  EXPECT_EQ(race.results.final_standings[0].slot, 0);
  EXPECT_EQ(race.results.final_standings[1].slot, 1);
  // A finished rider's crossings are no longer processed.
  cross(leader, 0, 500);
  EXPECT_EQ(leader.gates_passed, 18);
}

TEST_F(LapTiming, TimedRaceFixesItsLapsAtHalfTimeAndWhenTimeRunsOut) {
  race.race_length_ticks = 1000;
  race.race_laps = 2;
  race.finish_lap = race.halfway_lap = LAP_NOT_YET_KNOWN;
  Bike& a = *bike_in_slot(0);
  Bike& b = *bike_in_slot(1);
  ride(a, {0, 1, 2, 3, 4, 5}, 100);  // lap 1 at 150
  ride(b, {0, 1, 2}, 110);
  EXPECT_EQ(race.halfway_lap, LAP_NOT_YET_KNOWN);
  ride(a, {0, 1, 2}, 500);           // half time: the leader is on lap 2
  EXPECT_EQ(race.halfway_lap, 2);
  EXPECT_EQ(race.finish_lap, LAP_NOT_YET_KNOWN);
  ride(a, {3}, 1005);                // time is up during lap 2: it and two more
  EXPECT_EQ(race.finish_lap, 4);

  // A crossing of lap 2's line from before the time limit turns up late
  // (a remote rider's): the race runs one lap further, once.
  b.crossing_ticks.resize(12, -1);
  b.crossing_ticks[11] = 990;
  update_standings();
  EXPECT_EQ(race.finish_lap, 5);
  update_standings();
  EXPECT_EQ(race.finish_lap, 5);
}

TEST_F(LapTiming, NoTimingGatesNoTiming) {
  clear_timing_gates();
  Bike& b = *bike_in_slot(0);
  dBodySetPosition(b.front_wheel, 0, 0, 0);
  process_gates(b, 10);
  EXPECT_EQ(b.gates_passed, 0);
  EXPECT_TRUE(b.crossing_ticks.empty());
  EXPECT_EQ(completed_laps(b), 0);
}

}  // namespace
