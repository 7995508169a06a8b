// Who starts where: the starting places, the lineup rules, the robot
// roster and its shuffle, and what start_race keeps from race to race.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>

#include "core/mt19937.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "physics/bike.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/robot_roster.h"
#include "race/standings.h"
#include "race/starting_gate.h"
#include "race_kit.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_list.h"

namespace {


class Lineup : public race_kit::FlatsRace {
 protected:
  int start(std::vector<int32_t> codes, const char* track = "flats") {
    RaceSetup setup = flats_race(std::move(codes));
    setup.track = track;
    return start_race(setup);
  }
  int riders() {
    Bike* bikes[RACE_SLOTS];
    return race_bikes(bikes);
  }
};

TEST(StartPose, RowsBehindTheGateAndALineWithoutOne) {
  clear_timing_gates();
  track().timing.start_positions = {{100, 0, 50, 0}, {110, 0, 50, 0}, {120, 0, 50, static_cast<float>(M_PI / 2)}};
  struct Case {
    int v;
    double x, z, heading;
  } cases[] = {
      {0, 100, 50.625, 0},
      {1, 110, 50.625, 0},
      {2, 120.625, 50, M_PI / 2},
      {3, 100, 60.625, 0},   // second row, 10 ft further back
      {7, 110, 70.625, 0},   // third row
      {8, 140.625, 50, M_PI / 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.v);
    StartPose p = start_pose(c.v);
    EXPECT_NEAR(p.x, c.x, 1e-4);
    EXPECT_NEAR(p.z, c.z, 1e-4);
    EXPECT_NEAR(p.heading, c.heading, 1e-6);
  }
  track().timing.start_positions.clear();
  track().terrain.extent = 512;
  for (int v : {0, 3, 39}) {
    StartPose p = start_pose(v);
    EXPECT_DOUBLE_EQ(p.x, 256 + 5 * v);
    EXPECT_DOUBLE_EQ(p.z, 256);
    EXPECT_DOUBLE_EQ(p.heading, 0);
  }
  track().terrain.extent = 0;
}

TEST_F(Lineup, MoreRidersThanPlacesStartInRowsOnTheGround) {
  // Ten robots on eight places: the ninth and tenth start a row behind.
  ASSERT_EQ(start(std::vector<int32_t>(10, SLOT_ROBOT)), 1);
  ASSERT_EQ(riders(), 10);
  for (int slot = 0; slot < 10; ++slot) {
    SCOPED_TRACE(slot);
    const Bike& b = *race.slot_bike[slot];
    const Vec3 frame = body_position(b.frame);
    EXPECT_NEAR(frame.x, 226 + 6 * (slot % 8) + b.info.frame_position[0], 1e-6);
    EXPECT_NEAR(frame.z, 300 + (slot / 8 + 0.0625) * 10 + b.info.frame_position[2], 1e-6);
    // Resting on the ground, not sunk into it nor dropped from high up.
    double lowest = std::min(body_position(b.front_wheel).y - b.info.front_rim_radius - b.info.front_tyre_radius,
                             body_position(b.rear_wheel).y - b.info.rear_rim_radius - b.info.rear_tyre_radius);
    EXPECT_GE(lowest, -0.01);
    EXPECT_LT(lowest, 0.3);
    EXPECT_EQ(race.slot_control[slot], CONTROL_AUTOPILOT);
    EXPECT_TRUE(dBodyIsEnabled(b.frame));
  }
}

TEST_F(Lineup, WithoutStartingPlacesRidersLineUpAcrossTheMiddle) {
  std::string gates = race_kit::FLATS_TIMING_GATES;
  write_track(gates.substr(gates.find("checkpoints:")));
  select_flats();
  ASSERT_EQ(start({SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT}), 1);
  for (int slot = 0; slot < 3; ++slot) {
    const Bike& b = *race.slot_bike[slot];
    EXPECT_NEAR(body_position(b.frame).x, 256 + 5 * slot + b.info.frame_position[0], 1e-6);
    EXPECT_NEAR(body_position(b.frame).z, 256 + b.info.frame_position[2], 1e-6);
  }
}

TEST_F(Lineup, RulesForHumansAndEmptyLineups) {
  struct Case {
    const char* what;
    std::vector<int32_t> codes;
    std::vector<int> controls;  // by slot; -1 = no bike
    int viewed;
  } cases[] = {
      {"no rider at all: one robot", {}, {CONTROL_AUTOPILOT, -1}, 0},
      {"two humans: the first rides", {SLOT_EMPTY, SLOT_HUMAN, SLOT_ROBOT, SLOT_HUMAN}, {-1, CONTROL_LOCAL, CONTROL_AUTOPILOT, -1}, 1},
      {"the human is viewed", {SLOT_ROBOT, SLOT_EMPTY, SLOT_HUMAN}, {CONTROL_AUTOPILOT, -1, CONTROL_LOCAL}, 2},
      {"unknown codes stay empty", {7, 999, SLOT_ROBOT, -4}, {-1, -1, CONTROL_AUTOPILOT, -1}, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(start(c.codes), 1);
    for (size_t slot = 0; slot < c.controls.size(); ++slot) {
      EXPECT_EQ(race.slot_bike[slot] != nullptr, c.controls[slot] >= 0) << "slot " << slot;
      if (c.controls[slot] >= 0) {
        EXPECT_EQ(race.slot_control[slot], c.controls[slot]) << "slot " << slot;
      }
    }
    EXPECT_EQ(riders(), static_cast<int>(std::count_if(c.controls.begin(), c.controls.end(), [](int k) { return k >= 0; })));
    EXPECT_EQ(race.first_viewed_slot, c.viewed);
  }
}

TEST_F(Lineup, HumanRidesTheConfiguredBikeAndNumber) {
  settings.number.text = "7";
  settings.bike.current = 13;  // "cr125"
  ASSERT_EQ(start({SLOT_HUMAN}), 1);
  EXPECT_STREQ(race.slot_bike[0]->number, "7");
  EXPECT_EQ(race.slot_bike[0]->info.name, "cr125");
}

TEST_F(Lineup, RobotsByStrokeAndByNumber) {
  // Twenty 125s in the roster: a 21st two-stroke request takes whatever is next.
  ASSERT_EQ(start(std::vector<int32_t>(21, SLOT_ROBOT_2_STROKE)), 1);
  std::set<std::string> numbers;
  for (int slot = 0; slot < 20; ++slot) {
    EXPECT_NE(race.slot_bike[slot]->info.name.find("125"), std::string::npos) << slot;
    numbers.insert(race.slot_bike[slot]->number);
  }
  EXPECT_EQ(numbers.size(), 20u);
  EXPECT_EQ(race.slot_bike[20]->info.name.find("125"), std::string::npos);

  ASSERT_EQ(start({SLOT_ROBOT_NUMBER_BASE + 42, SLOT_ROBOT_NUMBER_BASE + 99, SLOT_ROBOT_NUMBER_BASE + 42, SLOT_ROBOT_4_STROKE}), 1);
  EXPECT_STREQ(race.slot_bike[0]->number, "42");
  EXPECT_EQ(race.slot_bike[0]->info.name, "crf250(2008)");  // the roster's "crf250", aliased
  EXPECT_STREQ(race.slot_bike[1]->number, "99");
  EXPECT_STRNE(race.slot_bike[2]->number, "42");  // number 42 already rides
  EXPECT_NE(race.slot_bike[3]->info.name.find("250"), std::string::npos);
}

TEST(Roster, RowsAndShuffle) {
  const auto& roster = robot_roster();
  EXPECT_EQ(roster[0].number, "20");
  EXPECT_EQ(roster[79].number, "99");
  EXPECT_EQ(roster[39].bike, "yz250f_se(2006)");
  EXPECT_EQ(roster[30].personality, "birch");
  EXPECT_EQ(roster[60].personality, "alder");
  EXPECT_EQ(roster[61].body_texture, "@rider_body-alt2.png");
  EXPECT_EQ(roster[61].bike_texture, "@crf250-alt2.png");
  EXPECT_EQ(roster[62].wheel_texture, "@wheels-alt1.png");
  // The shuffle is a permutation, the same for the same seed.
  Mt19937 a(0), b(0), c(1);
  int first[ROSTER_SIZE], again[ROSTER_SIZE], other[ROSTER_SIZE];
  shuffle_roster(a, first);
  shuffle_roster(b, again);
  shuffle_roster(c, other);
  EXPECT_TRUE(std::equal(first, first + ROSTER_SIZE, again));
  EXPECT_FALSE(std::equal(first, first + ROSTER_SIZE, other));
  EXPECT_EQ(std::set<int>(first, first + ROSTER_SIZE).size(), static_cast<size_t>(ROSTER_SIZE));
}

TEST_F(Lineup, FirstRaceAfterLaunchDrawsTheSameShuffleAndGateDrop) {
  // The generator is seeded with race_clock, 0 after launch: the roster
  // shuffle takes 79 outputs, the gate drop the next one.
  Mt19937 expected(0);
  int order[ROSTER_SIZE];
  shuffle_roster(expected, order);
  double u = (mt_next(expected) & 0x7FFFFFFF) / 2147483648.0;
  const int32_t drop = static_cast<int32_t>((13 + 2 * u) * 128);

  auto first_race = [&] {
    race_clock = 0;
    EXPECT_EQ(start({SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT}), 1);
    return std::vector<std::string>{race.slot_bike[0]->number, race.slot_bike[1]->number, race.slot_bike[2]->number};
  };
  std::vector<std::string> numbers = first_race();
  EXPECT_EQ(race.gate_drop_tick, drop);
  EXPECT_GE(race.gate_drop_tick, 13 * 128);
  EXPECT_LT(race.gate_drop_tick, 15 * 128);
  for (int k = 0; k < 3; ++k) EXPECT_EQ(numbers[k], robot_roster()[order[k]].number);
  EXPECT_EQ(first_race(), numbers);

  // A later start reseeds with the clock it finds.
  race_clock = 5000;
  ASSERT_EQ(start({SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT}), 1);
  Mt19937 later(5000);
  shuffle_roster(later, order);
  EXPECT_EQ(race.slot_bike[0]->number, robot_roster()[order[0]].number);
}

TEST_F(Lineup, SameTrackIsKeptAndALostTrackFailsTheStart) {
  ASSERT_EQ(start({SLOT_ROBOT}), 1);
  track().terrain.heights[0] = 123;  // a mark that a reload would wipe
  ASSERT_EQ(start({SLOT_ROBOT}), 1);
  EXPECT_EQ(track().terrain.heights[0], 123);

  // Another track whose ground cannot be read: the session is gone.
  testkit::write_file(folders->data + "broken/terrain.hf", "not a height field");
  select_flats();
  EXPECT_EQ(start({SLOT_ROBOT}, "broken"), 0);
  EXPECT_EQ(riders(), 0);
  // A track that is not there at all fails the same way.
  ASSERT_EQ(start({SLOT_ROBOT}), 1);
  EXPECT_EQ(start({SLOT_ROBOT}, "nowhere"), 0);
  EXPECT_EQ(riders(), 0);
}

TEST_F(Lineup, RaceLengthSetsTheFinishAndHalfwayLaps) {
  ASSERT_EQ(start_race(flats_race({SLOT_ROBOT})), 1);
  EXPECT_EQ(race.finish_lap, 3);
  EXPECT_EQ(race.halfway_lap, 2);
  RaceSetup timed = flats_race({SLOT_ROBOT}, 2);
  timed.race_length_ticks = 60 * 128;
  ASSERT_EQ(start_race(timed), 1);
  EXPECT_EQ(race.finish_lap, LAP_NOT_YET_KNOWN);
  EXPECT_EQ(race.halfway_lap, LAP_NOT_YET_KNOWN);
}

TEST_F(Lineup, StartingGateBarsDropAfterTheGateDropTick) {
  testkit::write_file(folders->data + "startgate.shp", "1 0 1 -1 0.5 0.5 5000 500\n");
  select_flats();
  ASSERT_EQ(start({SLOT_ROBOT}), 1);
  ASSERT_EQ(track().timing.start_gate_statues.size(), 8u);
  const Statue& bar = track().scenery.statues[static_cast<size_t>(track().timing.start_gate_statues[0])];
  auto lift = [&] { return std::atan2(bar.frame[2][1], bar.frame[1][1]); };  // the bar's turn about its first axis
  while (race_clock <= race.gate_drop_tick) {
    race_tick();
    ASSERT_FLOAT_EQ(race.gate_bar_state[0], 1.0f) << race_clock;
  }
  EXPECT_NEAR(lift(), 0.5890486225480862, 1e-5);
  for (int k = 0; k < 15; ++k) race_tick();
  EXPECT_GT(race.gate_bar_state[0], 0);
  race_tick();
  EXPECT_EQ(race.gate_bar_state[7], 0);  // fallen in 1/8 s
  EXPECT_NEAR(lift(), 0, 1e-5);
}

}  // namespace
