// The riding step's use of the bars and the rider's weight off the ground
// (on arcade physics the bars lean the bike in the air, so a robot keeps
// steering for its path there; with the front wheel up it leans forward),
// and going round a slower bike ahead.
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/robot_riding.h"
#include "autopilot_kit.h"
#include "core/race_clock.h"
#include "physics/bike.h"

using namespace autopilot_kit;

namespace {

class RobotRiding : public RobotBikeTest {
 protected:
  void SetUp() override {
    RobotBikeTest::SetUp();
    set_personality(*bike, "birch");
    bike->flags |= OPTION_ARCADE;
    // Riding at 40 ft/s toward -z, its path bending away to the right (+x).
    RiderLines& r = rider_lines(*bike);
    for (int k = 0; k < 12; ++k) {
      const float ahead = 10.0f * k;
      r.path.push_back(sample(200 + (k > 2 ? (k - 2) * (k - 2) * 2.0f : 0), 200 - ahead, 40));
    }
    r.target = 6;
    r.along = 0;
    dBodySetLinearVel(bike->frame, 0, 0, -40);
  }

  void touch_ground(int wheel, bool down) { bike->wheel[wheel].depth = down ? 0.1 : 0; }
};

TEST_F(RobotRiding, KeepsSteeringForThePathInTheAir) {
  struct Case {
    const char* what;
    bool front, rear;
  };
  const Case cases[] = {{"on the ground", true, true}, {"in the air", false, false}, {"front wheel up", false, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    touch_ground(WHEEL_FRONT, c.front);
    touch_ground(WHEEL_REAR, c.rear);
    ride_path(*bike, rider_lines(*bike));
    EXPECT_GT(bike->controls.steer, 0.05) << "leaning into the bend to the right";
  }
}

TEST_F(RobotRiding, LeansForwardOnlyWhileTheFrontWheelIsUp) {
  touch_ground(WHEEL_REAR, true);
  touch_ground(WHEEL_FRONT, false);
  ride_path(*bike, rider_lines(*bike));
  EXPECT_LT(bike->controls.lean, -0.5);
  touch_ground(WHEEL_FRONT, true);
  ride_path(*bike, rider_lines(*bike));
  EXPECT_EQ(bike->controls.lean, 0);
}

TEST_F(RobotRiding, GoesRoundASlowerBikeAheadOnTheOtherSide) {
  RiderLines& r = rider_lines(*bike);
  // A straight path ahead (-z).
  r.path.clear();
  for (int k = 0; k < 12; ++k) r.path.push_back(sample(200, 200 - 10.0f * k, 40));
  touch_ground(WHEEL_FRONT, true);
  touch_ground(WHEEL_REAR, true);
  ride_path(*bike, r);
  const double alone = bike->controls.steer;
  EXPECT_EQ(r.passing, 0);

  struct Case {
    const char* what;
    double across;  // ft to the right of the robot
    double steer_sign;
  };
  const Case cases[] = {{"a bike a foot to the right", 1, -1}, {"a bike a foot to the left", -1, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    r.passing = 0;
    Bike* slow = add_bike(static_cast<int>(others.size()) + 1, 200 + c.across, 180);
    ASSERT_NE(slow, nullptr);
    ride_path(*bike, r);
    EXPECT_GT(r.passing, 0);
    EXPECT_GT((bike->controls.steer - alone) * c.steer_sign, 0.02) << "aims to the other side";
    race.slot_bike[slow->slot] = nullptr;
  }
  // Once past, the aim stays to the side a while, then comes back.
  const int left = r.passing;
  ride_path(*bike, r);
  EXPECT_EQ(r.passing, left - 1);
}

}  // namespace
