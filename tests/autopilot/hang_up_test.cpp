// A robot that has stayed on one spot for long is lifted back onto its
// path where it has got to (not beyond: on the way back to a missed gate
// that would leave the gate missed), facing along it, away from other bikes.
#include <cmath>
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/hang_up.h"
#include "autopilot/robot_path.h"
#include "autopilot_kit.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "race/race_session.h"

using namespace autopilot_kit;

namespace {

constexpr int32_t NOW = 100 * TICKS_PER_SECOND;
constexpr int32_t HUNG_UP = 15 * TICKS_PER_SECOND;

class HangUp : public RobotBikeTest {
 protected:
  void SetUp() override {
    RobotBikeTest::SetUp();
    set_personality(*bike, "birch");
    // A path running toward -z from where the bike stands, a sample every
    // 10 ft; the bike stands across it.
    RiderLines& r = rider_lines(*bike);
    for (int k = 0; k < 12; ++k) r.path.push_back(sample(200, static_cast<float>(200 - 10 * k)));
    r.target = 3;
    r.along = 1.4;
    // Where the frame stands from the point a bike is put down at, facing -z.
    stand_at(200, 200, 0);
    frame_offset_z = at().z - 200;
    stand_at(200, 200, M_PI / 2);
    race_clock = NOW;
    reset_hang_up_watch(*bike, r);
    remember_pick(*bike, 0, 17);
  }
  RiderLines& lines() { return rider_lines(*bike); }

  double frame_offset_z = 0;
};

TEST_F(HangUp, OnlyAfterFifteenSecondsNearOneSpot) {
  RiderLines& r = lines();
  race_clock = NOW + HUNG_UP - 1;
  EXPECT_FALSE(rescue_when_hung_up(*bike, r));

  // Having got somewhere, the watch starts again from there.
  const double first_x = at().x;
  stand_at(216, 200, M_PI / 2);
  race_clock = NOW + HUNG_UP;
  EXPECT_FALSE(rescue_when_hung_up(*bike, r));
  EXPECT_EQ(r.still_since, NOW + HUNG_UP);
  EXPECT_NEAR(r.still_x, first_x + 16, 0.5);
  race_clock = NOW + 2 * HUNG_UP - 1;
  EXPECT_FALSE(rescue_when_hung_up(*bike, r));
  EXPECT_NEAR(at().x, first_x + 16, 0.5) << "left where it was";
  // Creeping ten feet (wedged against another bike) is still hung up.
  stand_at(226, 200, M_PI / 2);
  race_clock = NOW + 2 * HUNG_UP;
  EXPECT_TRUE(rescue_when_hung_up(*bike, r));
}

TEST_F(HangUp, LiftsTheBikeOntoThePathWhereItGotToFacingAlongIt) {
  RiderLines& r = lines();
  r.recovery = 0;
  r.turning_round = true;
  race_clock = NOW + HUNG_UP;
  ASSERT_TRUE(rescue_when_hung_up(*bike, r));
  EXPECT_NEAR(at().x, 200, 0.5);
  EXPECT_NEAR(at().z - frame_offset_z, 190, 0.5) << "the sample at its place, not the next";
  EXPECT_LT(forward().z, -0.99) << "facing along the path";
  EXPECT_EQ(remembered_pick(*bike, 0), 0) << "the spoiled ride scores no line";
  EXPECT_EQ(r.recovery, RECOVERING);
  EXPECT_FALSE(r.turning_round);
  EXPECT_EQ(r.last_advance, NOW + HUNG_UP);
  EXPECT_GE(r.target, 2);
  // The watch starts afresh: no second lift straight away.
  race_clock = NOW + HUNG_UP + 1;
  EXPECT_FALSE(rescue_when_hung_up(*bike, r));
}

TEST_F(HangUp, NotOntoAnotherBike) {
  ASSERT_NE(add_bike(1, 201, 191), nullptr);
  RiderLines& r = lines();
  race_clock = NOW + HUNG_UP;
  ASSERT_TRUE(rescue_when_hung_up(*bike, r));
  EXPECT_NEAR(at().z - frame_offset_z, 180, 0.5) << "the first sample 8 ft clear of the other bike";
}

}  // namespace
