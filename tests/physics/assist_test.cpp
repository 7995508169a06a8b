// The rider's assists one at a time, on a bike posed by hand: arcade grip,
// the steering torque, landing damping, and dab when stopped.
#include <cmath>

#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/ground_contact.h"
#include "physics/rider.h"
#include "physics_kit.h"

using namespace physics_kit;

namespace {

class Assists : public PhysicsTest {
 protected:
  Bike* make() {
    Bike* b = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
    bikes.push_back(b);
    return b;
  }
  // Leaning by `roll` (positive toward its left), rolling on its front wheel.
  void pose(Bike* b, double roll, bool front_down = true) {
    reset_bike_pose(*b);
    rotate_bike(*b, 0, 0, 1, roll);
    b->wheel[WHEEL_FRONT].depth = front_down ? 0.1 : 0;
    b->wheel[WHEEL_REAR].depth = 0.1;
    Vec3 spin = body_to_world(b->front_wheel, {-6, 0, 0});
    dBodySetAngularVel(b->front_wheel, spin.x, spin.y, spin.z);
  }
  // The steering torque of one steer_bike call, about the steering axis.
  double steering_torque(Bike* b) {
    dBodySetTorque(b->frame, 0, 0, 0);
    steer_bike(*b);
    Vec3 axis = body_to_world(b->frame, normalized(Vec3(b->info.fork_upper_position) - Vec3(b->info.fork_lower_position)));
    return -dot(Vec3(dBodyGetTorque(b->frame)), axis);
  }
};

TEST_F(Assists, RollAngleIsZeroUprightAndNegativeLeaningRight) {
  Bike* b = make();
  for (double roll : {-1.2, -0.3, 0.0, 0.5, 1.4}) {
    pose(b, roll);
    EXPECT_NEAR(roll_angle(b->frame), roll, 1e-9);
  }
  rotate_bike(*b, 0, 1, 0, 2.0);  // heading does not matter
  EXPECT_NEAR(roll_angle(b->frame), 0, 1e-9);
}

TEST_F(Assists, ArcadeGripFallsWithLean) {
  Bike* b = make();
  struct Case {
    double roll, grip;
  } cases[] = {{0, 1}, {M_PI / 8, 0.8125}, {-M_PI / 8, 0.8125}, {M_PI / 4, 0.625}, {1.2, 0.625}};
  for (const Case& c : cases) {
    pose(b, c.roll);
    b->flags |= OPTION_ARCADE;
    EXPECT_NEAR(arcade_grip(*b), c.grip, 1e-9) << c.roll;
    b->flags &= ~OPTION_ARCADE;
    EXPECT_EQ(arcade_grip(*b), 1);
  }
}

TEST_F(Assists, DirectSteeringTorqueFromLeanAndInput) {
  Bike* b = make();
  struct Case {
    double roll, steer, max_force, torque;
  } cases[] = {
      {0, 1, 400, 1.5 * 75},              // strength times input
      {-0.3, 0, 400, 1.5 * -0.3 * 20},    // leveling steers into the lean
      {0.2, -1, 400, 1.5 * (4 - 75)},
      {0, 1, 50, 50},                     // clamped to the max steering force
  };
  for (const Case& c : cases) {
    pose(b, c.roll);
    set_max_steering_force(*b, c.max_force);
    b->controls.steer = c.steer;
    EXPECT_NEAR(steering_torque(b), c.torque, 1e-6) << c.roll << " " << c.steer;
  }
  // In the air the bars centre themselves and the input still turns them.
  set_max_steering_force(*b, 400);
  pose(b, 0.3, false);
  b->controls.steer = 0.5;
  EXPECT_NEAR(steering_torque(b), 1.5 * 75 * 0.5, 1e-6);
  b->flags &= ~OPTION_STEER_IN_AIR;
  EXPECT_NEAR(steering_torque(b), 0, 1e-6);
  pose(b, 0.3);
  b->crash_timer = 100;  // a thrown rider steers nothing
  b->controls.steer = 1;
  EXPECT_EQ(steering_torque(b), 0);
}

TEST_F(Assists, LeanToSteerWithoutInputStandsTheBikeUp) {
  Bike* b = make();
  set_direct_steering(*b, 0);
  for (double roll : {-0.4, -0.1, 0.1, 0.4}) {
    pose(b, roll);
    dBodySetLinearVel(b->frame, 0, 0, -40);
    EXPECT_GT(steering_torque(b) * roll, 0) << roll;  // bars toward the lean
  }
}

TEST_F(Assists, LandingOnTheFrontWheelDampsRollHarderForAMoment) {
  Bike* b = make();
  pose(b, 0, false);
  steer_bike(*b);
  EXPECT_EQ(b->landing_multiplier, 2);
  pose(b, 0, true);
  b->landing_multiplier = 2;
  for (int t = 0; t < 16; ++t) steer_bike(*b);
  EXPECT_NEAR(b->landing_multiplier, 1.5, 1e-9);  // back to 1 over a quarter second
  for (int t = 0; t < 40; ++t) steer_bike(*b);
  EXPECT_EQ(b->landing_multiplier, 1);
  set_landing_damping_falloff(*b, 0);
  b->landing_multiplier = 2;
  steer_bike(*b);
  EXPECT_EQ(b->landing_multiplier, 1);
}

TEST_F(Assists, DabWhenStoppedPutsTheFootDownAndHoldsTheBike) {
  Bike* b = make();
  set_dab_when_stopped(*b, 1);
  struct Case {
    double speed, throttle;
    double least_dab;
    bool brakes_held;
  } cases[] = {
      {b->setup.max_dab_speed / 2, 0, 0.5, false},
      {3, 0, 0.85, true},
      {10, 1, 0, false},  // riding off: left alone
  };
  for (const Case& c : cases) {
    pose(b, 0);
    b->controls.throttle = c.throttle;
    b->controls.clutch = 1;
    b->controls.front_brake = 0.25;
    b->controls.rear_brake = 0;
    b->controls.dab = 0;
    dBodySetLinearVel(b->frame, 0, 0, -c.speed);
    SavedControls saved = crash_recovery_and_stops(*b);
    EXPECT_GE(b->controls.dab, c.least_dab) << c.speed;
    if (c.least_dab == 0) {
      EXPECT_EQ(b->controls.dab, 0);
    }
    EXPECT_EQ(b->controls.front_brake, c.brakes_held ? 1 : 0.25) << c.speed;
    EXPECT_EQ(b->controls.rear_brake, c.brakes_held ? 1 : 0) << c.speed;
    restore_controls(*b, saved);
    EXPECT_EQ(b->controls.front_brake, 0.25);
    EXPECT_EQ(b->controls.dab, 0);
  }
}

}  // namespace
