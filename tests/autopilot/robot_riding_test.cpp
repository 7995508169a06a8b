// The riding step's use of the bars and the rider's weight off the ground:
// on arcade physics the bars lean the bike in the air, so a robot keeps
// steering for its path there; with the front wheel up it leans forward.
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

}  // namespace
