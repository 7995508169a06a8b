// The time trial on the flats, ridden by the coach: the out lap, the best
// lap, the ghost of the fastest lap, and "fastlap.bldemo" replaced only by
// a lap that beat it.
#include <gtest/gtest.h>

#include "autopilot/coach.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "physics/bike_controls.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "race_kit.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {


class TimeTrial : public race_kit::FlatsRace {
 protected:
  void SetUp() override {
    FlatsRace::SetUp();
    RaceSetup trial = flats_race({}, 1000);
    trial.time_trial = true;
    ASSERT_EQ(start_race(trial), 1);
  }
  Bike& rider() { return *race.slot_bike[0]; }
  std::string fastlap() { return home_folder() + "flats/fastlap.bldemo"; }
  // Rides until `laps` more timed laps are done; on a slow lap the rider
  // stops for three seconds after the lap's second gate.
  void ride_laps(int laps, bool slow) {
    int done = 0, braking = 0;
    for (int t = 0; t < 120 * TICKS_PER_SECOND && done < laps; ++t) {
      const int before = rider().gates_passed;
      coach_tick(rider());
      if (slow && rider().gates_passed == track().timing.first_lap_count + 2 && braking < 3 * TICKS_PER_SECOND) {
        ++braking;
        set_throttle(rider(), 0);
        set_front_brake(rider(), 1);
        set_rear_brake(rider(), 1);
      }
      race_tick();
      if (rider().gates_passed < before) ++done;  // back to the lap line
    }
    ASSERT_EQ(done, laps) << "the coach should have ridden " << laps << " laps";
  }
};

TEST_F(TimeTrial, StartsBeforeTheLapLineWithTheClockLongPastTheDrop) {
  EXPECT_TRUE(race.time_trial);
  EXPECT_EQ(race_clock, 300 * TICKS_PER_SECOND);
  EXPECT_EQ(rider().gates_passed, track().timing.first_lap_count - 2);
  // On gate 2's centre, facing through it (+z): turned half round.
  const Vec3 frame = body_position(rider().frame);
  EXPECT_NEAR(frame.x, 400 - rider().info.frame_position[0], 1e-6);
  EXPECT_NEAR(frame.z, 300 - rider().info.frame_position[2], 1e-6);
  EXPECT_GT(-body_axis(rider().frame, 2).z, 0.99);
  Bike* bikes[RACE_SLOTS];
  EXPECT_EQ(race_bikes(bikes), 1);
  // The gate bars are not animated: the drop is long past.
  race_tick();
  EXPECT_FLOAT_EQ(race.gate_bar_state[0], 1.0f);
}

TEST_F(TimeTrial, FastestLapBecomesTheGhostAndOnlyABetterOneReplacesIt) {
  ride_laps(1, true);  // the first timed lap, slow: there is no ghost yet
  ASSERT_TRUE(testkit::file_exists(fastlap()));
  const std::string slow_ghost = testkit::read_file(fastlap());
  const int32_t slow_lap = race.results.time_trial_last_lap;
  EXPECT_GT(slow_lap, 0);
  EXPECT_EQ(race.results.time_trial_best_lap, slow_lap);
  ASSERT_NE(race.slot_bike[1], nullptr) << "the ghost rides";
  EXPECT_EQ(race.slot_control[1], CONTROL_EXTERNAL);
  EXPECT_FALSE(dBodyIsEnabled(race.slot_bike[1]->frame));
  EXPECT_TRUE(demo_recording_active());

  ride_laps(1, false);  // faster than the ghost: replaces it
  const int32_t fast_lap = race.results.time_trial_last_lap;
  EXPECT_LT(fast_lap, slow_lap - 2 * TICKS_PER_SECOND);
  EXPECT_EQ(race.results.time_trial_best_lap, fast_lap);
  const std::string fast_ghost = testkit::read_file(fastlap());
  EXPECT_NE(fast_ghost, slow_ghost);

  ride_laps(1, true);  // slower again: the ghost stays
  EXPECT_GT(race.results.time_trial_last_lap, fast_lap);
  EXPECT_EQ(race.results.time_trial_best_lap, fast_lap);
  EXPECT_EQ(testkit::read_file(fastlap()), fast_ghost);

  // Backing up aborts the attempt: the rider goes back before the line,
  // the ghost and the lap's recording are gone, the best lap stays.
  restart_time_trial_attempt();
  EXPECT_EQ(rider().gates_passed, track().timing.first_lap_count - 2);
  EXPECT_EQ(race.slot_bike[1], nullptr);
  EXPECT_FALSE(demo_recording_active());
  EXPECT_EQ(race.playback.input, nullptr);
  EXPECT_EQ(race.results.time_trial_last_lap, 0);
  EXPECT_EQ(race.results.time_trial_best_lap, fast_lap);
}

}  // namespace
