// The target a robot steers for: it runs ahead of the bike one sample at a
// time within the look-ahead, waits on a stretch that doubles back until
// the bike is close, and looks less far ahead after the robot got stuck.
#include <cmath>
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/robot_path.h"
#include "autopilot/robot_riding.h"
#include "autopilot_kit.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "race/race_session.h"

using namespace autopilot_kit;

namespace {

class RobotTarget : public RobotBikeTest {
 protected:
  void SetUp() override {
    RobotBikeTest::SetUp();
    origin = at();
    ahead_dir = forward();
    set_personality(*bike, "birch");
  }

  // The point `distance` ft ahead of where the bike first stood.
  LineSample ahead(double distance) const {
    return sample(static_cast<float>(origin.x + ahead_dir.x * distance), static_cast<float>(origin.z + ahead_dir.z * distance));
  }
  std::vector<LineSample> path_ahead(const std::vector<double>& distances) const {
    std::vector<LineSample> path;
    for (double d : distances) path.push_back(ahead(d));
    return path;
  }
  // Stands the bike `distance` ft further along its heading.
  void move_ahead(double distance, double heading = 0) {
    stand_at(200 + ahead_dir.x * distance, 200 + ahead_dir.z * distance, heading);
  }
  double distance_to(const LineSample& s) const { return std::hypot(s.x - at().x, s.z - at().z); }

  RiderLines& lines() { return rider_lines(*bike); }

  Vec3 origin, ahead_dir;
};

TEST_F(RobotTarget, MovesOneSamplePerCallWhileWithinTheLookAhead) {
  ASSERT_NEAR(ahead_dir.z, -1, 1e-3) << "placed facing -z";
  RiderLines& r = lines();
  r.path = path_ahead({0, 11, 22, 33, 44, 55, 66, 77});
  r.target = 0;
  std::vector<int> targets;
  for (int call = 0; call < 8; ++call) {
    race_clock = 1000 + call;
    advance_target(*bike, r);
    targets.push_back(r.target);
  }
  // The sample 66 ft away is out of reach.
  EXPECT_EQ(targets, (std::vector<int>{1, 2, 3, 4, 5, 6, 6, 6}));
  EXPECT_EQ(r.last_advance, 1005) << "the tick of the last move";
  EXPECT_EQ(r.path.size(), 8u);
}

TEST_F(RobotTarget, WaitsOnAStretchDoublingBackUntilTheBikeIsClose) {
  struct Case {
    const char* what;
    double bike_at;  // ft along the path's heading
    double heading;
    bool advances;
  };
  const Case cases[] = {
      {"12 ft away", 0, 0, false},
      {"4.5 ft away", 7.5, 0, false},
      {"3.5 ft away", 8.5, 0, true},
      {"12 ft away, facing back the way the stretch runs", 0, M_PI, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RiderLines& r = lines();
    // Out to 20 ft, then back to 12 ft: the target sits at the end of a
    // stretch pointing back at the rider.
    r.path = path_ahead({10, 20, 12, 5});
    r.target = 2;
    move_ahead(c.bike_at, c.heading);
    ASSERT_GT(distance_to(r.path[2]), 2.5);
    advance_target(*bike, r);
    EXPECT_EQ(r.target, c.advances ? 3 : 2);
  }
}

TEST_F(RobotTarget, ThePathEmptiesPastItsEnd) {
  RiderLines& r = lines();
  r.path = path_ahead({5, 10, 15});
  r.target = 2;
  r.along = 1.5;
  advance_target(*bike, r);
  EXPECT_TRUE(r.path.empty());
  EXPECT_EQ(r.target, 0);
  EXPECT_EQ(r.along, 0);
  advance_target(*bike, r);  // nothing to follow: nothing happens
  EXPECT_TRUE(r.path.empty());
  EXPECT_EQ(r.target, 0);
}

TEST_F(RobotTarget, AStuckRobotLooksOnly30FtAhead) {
  struct Case {
    int recovery;
    double distance;  // of the target
    bool advances;
  };
  const Case cases[] = {
      {3, 25, true}, {3, 35, false}, {3, 45, false}, {0, 35, true}, {0, 59, true}, {0, 61, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "recovery " << c.recovery << ", target " << c.distance << " ft away");
    RiderLines& r = lines();
    r.path = path_ahead({c.distance - 10, c.distance, c.distance + 10});
    r.target = 1;
    r.recovery = c.recovery;
    advance_target(*bike, r);
    EXPECT_EQ(r.target, c.advances ? 2 : 1);
    // Each move counts toward the recovery.
    EXPECT_EQ(r.recovery, c.advances && c.recovery > 0 ? c.recovery - 1 : c.recovery);
  }
}

TEST_F(RobotTarget, ThreeMovesGiveBackTheFullLookAhead) {
  RiderLines& r = lines();
  r.path = path_ahead({5, 10, 15, 45, 50});
  r.target = 0;
  r.recovery = RECOVERING;
  for (int call = 1; call <= 3; ++call) {
    advance_target(*bike, r);
    EXPECT_EQ(r.target, call);
  }
  EXPECT_EQ(r.recovery, 0);
  advance_target(*bike, r);  // 45 ft away
  EXPECT_EQ(r.target, 4);

  // Still recovering, that sample stays out of reach.
  r.path = path_ahead({5, 10, 15, 45, 50});
  r.target = 3;
  r.recovery = RECOVERING;
  advance_target(*bike, r);
  EXPECT_EQ(r.target, 3);
}

TEST_F(RobotTarget, RidingAlongCountsThreeSecondsWithoutAMoveAsStuck) {
  race.start_signal_tick = START_SIGNAL_TICKS;
  race.gate_drop_tick = 13 * TICKS_PER_SECOND;
  struct Case {
    const char* what;
    int32_t now, idle;
    int recovery_before;
    int recovery_after;
    bool clock_reset;  // the last move counts from now
  };
  const int32_t riding = 20 * TICKS_PER_SECOND;  // the start procedure is over
  const Case cases[] = {
      {"three seconds", riding, 3 * TICKS_PER_SECOND, 0, 0, false},
      {"longer", riding, 3 * TICKS_PER_SECOND + 1, 0, RECOVERING, false},
      {"longer, part recovered", riding, 3 * TICKS_PER_SECOND + 1, 1, RECOVERING, false},
      {"lost while recovering", riding, 40 * TICKS_PER_SECOND + 1, 1, RECOVERING, true},
      {"at the gate", 10 * TICKS_PER_SECOND, 10 * TICKS_PER_SECOND, 0, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    set_personality(*bike, "birch");
    RiderLines& r = lines();
    r.path = path_ahead({0, 10, 20, 45, 55, 65});
    r.target = 3;
    r.recovery = c.recovery_before;
    race_clock = c.now;
    r.last_advance = c.now - c.idle;
    ride_along(*bike, r);
    EXPECT_EQ(r.recovery, c.recovery_after);
    EXPECT_EQ(r.last_advance, c.clock_reset ? c.now : c.now - c.idle);
    EXPECT_EQ(r.path.size(), 6u);
    // A recovering robot does not reach for the sample 45 ft away.
    if (!c.clock_reset) {
      advance_target(*bike, r);
      EXPECT_EQ(r.target, c.recovery_after == RECOVERING ? 3 : 4);
    }
  }
}

TEST_F(RobotTarget, HeadsForAPathStartingBehindItBeforeRidingOn) {
  race.start_signal_tick = START_SIGNAL_TICKS;
  race.gate_drop_tick = 13 * TICKS_PER_SECOND;
  race_clock = 30 * TICKS_PER_SECOND;
  RiderLines& r = lines();
  // The way back to a missed gate: its first sample lies 40 ft behind the
  // bike, out of a recovering robot's reach; the rest runs on ahead.
  r.path = path_ahead({-40, 10, 20, 30, 40});
  r.target = 0;
  r.recovery = RECOVERING;
  r.last_advance = race_clock;
  ride_along(*bike, r);
  EXPECT_EQ(r.target, 0);
  EXPECT_TRUE(r.turning_round) << "standing still, it turns round toward the path's start";
}

}  // namespace
