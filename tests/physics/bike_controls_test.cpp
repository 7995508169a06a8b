// Controls, gearbox, clutch, engine torque, brakes, fork and the joint
// force balance, one piece at a time on a bike standing in its design pose.
#include <cmath>

#include "core/race_clock.h"
#include "physics/bike_controls.h"
#include "physics/bike_dynamics.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics_kit.h"

using namespace physics_kit;

namespace {

class BikeParts : public PhysicsTest {
 protected:
  Bike* make(const char* model = "crf250(2009)") {
    Bike* b = load_bike(model, 0, "", nullptr, nullptr, nullptr, nullptr);
    bikes.push_back(b);
    return b;
  }
};

TEST_F(BikeParts, SettersClampAndAThrownRiderLetsGo) {
  Bike* b = make();
  set_throttle(*b, 1.5);
  set_steer(*b, -3);
  set_lean(*b, 0.25);
  set_front_brake(*b, -1);
  set_dab(*b, NAN);
  EXPECT_EQ(b->controls.throttle, 1);
  EXPECT_EQ(b->controls.steer, -1);
  EXPECT_EQ(b->controls.lean, 0.25);
  EXPECT_EQ(b->controls.front_brake, 0);
  EXPECT_EQ(b->controls.dab, 0);
  b->crash_timer = 300;
  set_throttle(*b, 1);
  set_dab(*b, 1);
  set_back_up(*b, 1);
  set_lean(*b, -1);
  set_rear_brake(*b, 1);
  EXPECT_EQ(b->controls.throttle, 0);
  EXPECT_EQ(b->controls.dab, 0);
  EXPECT_EQ(b->controls.back_up, 0);
  EXPECT_EQ(b->controls.lean, 0);
  EXPECT_EQ(b->controls.rear_brake, 1);
}

TEST_F(BikeParts, ClutchLeverDropsAtOnceAndEngagesGradually) {
  Bike* b = make();
  set_clutch(*b, 0);
  EXPECT_DOUBLE_EQ(b->controls.clutch, 1.0 / 32);
  for (int i = 0; i < 40; ++i) set_clutch(*b, 0);
  EXPECT_EQ(b->controls.clutch, 1);
  set_clutch(*b, 7.0 / 8);  // fully out at 7/8 of the lever's travel
  EXPECT_EQ(b->controls.clutch, 0);
  set_clutch(*b, 0.4375);  // wants one half: rises toward it, never past
  for (int i = 0; i < 20; ++i) set_clutch(*b, 0.4375);
  EXPECT_DOUBLE_EQ(b->controls.clutch, 0.5);
}

TEST_F(BikeParts, ShiftingOncePerInputAndNeverIntoAbsentGears) {
  Bike* five = make("crf250(2009)");
  for (int press = 0; press < 8; ++press) {
    shift_gear(*five, 1);
    shift_gear(*five, 1);  // held: no second shift
    shift_gear(*five, 0);
  }
  EXPECT_EQ(five->controls.gear, 4);  // fifth: a five-speed has no sixth
  Bike* six = make("kx125");
  for (int press = 0; press < 8; ++press) {
    shift_gear(*six, 1);
    shift_gear(*six, 0);
  }
  EXPECT_EQ(six->controls.gear, 5);
  shift_gear(*six, -1);
  for (int held = 0; held < 100; ++held) shift_gear(*six, -1);
  EXPECT_EQ(six->controls.gear, 4);
  six->crash_timer = 10;
  shift_gear(*six, 0);
  shift_gear(*six, 1);
  EXPECT_EQ(six->controls.gear, 4);
  shift_gear(*six, 7);  // not a shift input
  EXPECT_EQ(six->controls.gear, 4);
}

TEST_F(BikeParts, AutomaticClutchBitesFromItsRpm) {
  Bike* b = make();
  b->controls.clutch = 1;
  struct Case {
    double rpm, engagement;
  } cases[] = {{4000, 0}, {5000, 0}, {6000, 0.5}, {7000, 1}, {7001, 1}, {12000, 1}};
  for (const Case& c : cases) EXPECT_DOUBLE_EQ(clutch_engagement(*b, c.rpm), c.engagement) << c.rpm;
  b->controls.clutch = 0.25;  // never more than the lever allows
  EXPECT_DOUBLE_EQ(clutch_engagement(*b, 6000), 0.25);
  EXPECT_DOUBLE_EQ(clutch_engagement(*b, 9000), 0.25);
  set_auto_clutch_rpm(*b, 0);
  b->controls.clutch = 1;
  EXPECT_DOUBLE_EQ(clutch_engagement(*b, 1000), 0.5);
}

TEST_F(BikeParts, TorqueTableIndexIsTheNearestEntryWithinTheTable) {
  struct Case {
    double rpm;
    int index;
  } cases[] = {{-300, 0}, {0, 0}, {249, 0}, {250, 1}, {8499, 17}, {24749, 49}, {24999, 49}, {80000, 49}, {NAN, 0}};
  for (const Case& c : cases) EXPECT_EQ(torque_index(c.rpm), c.index) << c.rpm;

  Bike* b = make();
  b->engine_speed = 8500 * M_PI / 30;
  b->controls.throttle = 0.5;
  EXPECT_NEAR(engine_torque(*b), (-7 + 20.39) / 2, 1e-9);  // halfway between the closed and full tables
}

TEST_F(BikeParts, StopWheeliesCutsDriveOnlyWhileTheFrontIsUp) {
  Bike* b = make();
  b->engine_speed = 8500 * M_PI / 30;
  b->controls.throttle = 1;
  b->wheel[WHEEL_REAR].depth = 0.1;  // rear down, front up, pitching up
  dBodySetAngularVel(b->frame, 0.5, 0, 0);
  struct Case {
    int stop_wheelies;
    double torque;
  } cases[] = {{0, 20.39}, {1, 0}, {2, 20.39}};  // No, Yes, Front Only
  for (const Case& c : cases) {
    set_stop_wheelies(*b, c.stop_wheelies);
    EXPECT_NEAR(engine_torque(*b), c.torque, 1e-9) << c.stop_wheelies;
  }
  set_stop_wheelies(*b, 1);
  dBodySetAngularVel(b->frame, -0.5, 0, 0);  // already falling back: drive again
  EXPECT_NEAR(engine_torque(*b), 20.39, 1e-9);
  b->wheel[WHEEL_FRONT].depth = 0.1;
  dBodySetAngularVel(b->frame, 0.5, 0, 0);
  EXPECT_NEAR(engine_torque(*b), 20.39, 1e-9);
}

TEST_F(BikeParts, BrakesLetGoAsTheAssistsSay) {
  Bike* b = make();
  b->controls.front_brake = 1;
  b->controls.rear_brake = 0.5;
  struct Case {
    uint8_t flags;
    bool front_down, front_slides, rear_down, rear_slides;
    double front, rear;
  } cases[] = {
      {0, true, true, true, true, 250, 125},                                     // no assists
      {OPTION_FRONT_ANTILOCK, true, true, true, false, 0, 125},                  // front slides: released
      {OPTION_FRONT_ANTILOCK, true, false, true, false, 250, 125},               // rolling: brakes
      {OPTION_FRONT_ANTILOCK, false, true, true, false, 250, 125},               // in the air: brakes
      {OPTION_FRONT_BRAKE_RELEASE, true, false, false, false, 0, 125},           // rear in the air
      {OPTION_FRONT_BRAKE_RELEASE, true, false, true, false, 250, 125},
      {OPTION_REAR_ANTILOCK, true, true, true, true, 250, 0},
      {OPTION_REAR_ANTILOCK, true, true, false, true, 250, 125},
  };
  for (const Case& c : cases) {
    b->flags = c.flags;
    b->wheel[WHEEL_FRONT].depth = c.front_down ? 0.1 : 0;
    b->wheel[WHEEL_FRONT].velocity = {0, 0, c.front_slides ? 3.0 : 1.0};
    b->wheel[WHEEL_REAR].depth = c.rear_down ? 0.1 : 0;
    b->wheel[WHEEL_REAR].velocity = {0, 0, c.rear_slides ? 3.0 : 1.0};
    drivetrain_and_brakes(*b);
    EXPECT_EQ(dJointGetHingeParam(b->front_axle, dParamFMax), c.front) << int(c.flags);
    EXPECT_EQ(dJointGetHingeParam(b->rear_axle, dParamFMax), c.rear) << int(c.flags);
    EXPECT_EQ(dJointGetHingeParam(b->front_axle, dParamVel), 0);
  }
}

TEST_F(BikeParts, EngineBrakingKeepsTheClutchInBelowItsBite) {
  Bike* b = make();
  b->controls.clutch = 1;
  b->engine_speed = 1000 * M_PI / 30;  // far below the automatic clutch's bite
  dBodySetAngularVel(b->rear_wheel, -30, 0, 0);  // rolling forward fast
  dBodySetForce(b->rear_wheel, 0, 0, 0);
  drivetrain_and_brakes(*b);
  EXPECT_GT(dBodyGetTorque(b->rear_wheel)[0], 10);  // the engine holds the wheel back
  EXPECT_GT(b->engine_speed, 1000 * M_PI / 30);     // and is dragged up

  Bike* idle = make();
  idle->controls.clutch = 1;
  idle->engine_speed = 1000 * M_PI / 30;
  drivetrain_and_brakes(*idle);  // engine ahead of a standing wheel: the clutch stays out
  EXPECT_EQ(dBodyGetTorque(idle->rear_wheel)[0], 0);
}

TEST_F(BikeParts, AutomaticShiftingEvery32TicksWithTheRearLoaded) {
  Bike* b = make();
  b->flags |= OPTION_AUTO_SHIFT;
  b->controls.clutch = 1;
  // Rear suspension loaded, wheel spinning at 13000 rpm worth in first.
  dBodySetPosition(b->swingarm, 0, 1.34, 4.99);
  dMatrix3 r;
  dRFromAxisAndAngle(r, 1, 0, 0, -0.1);
  dBodySetRotation(b->swingarm, r);
  double first = b->info.primary_ratio * b->info.gear_ratios[0] * b->final_drive_ratio;
  auto spin = [&](double rpm) { dBodySetAngularVel(b->rear_wheel, -rpm / first * M_PI / 30, 0, 0); };
  ASSERT_LT(dJointGetHingeAngle(b->swingarm_pivot), -0.01);
  spin(13000);
  race_clock = 33;
  drivetrain_and_brakes(*b);
  EXPECT_EQ(b->controls.gear, 0);  // not a check tick
  race_clock = 64;
  drivetrain_and_brakes(*b);
  EXPECT_EQ(b->controls.gear, 1);
  // A sliding rear wheel on the ground keeps the gear.
  b->controls.gear = 0;
  b->wheel[WHEEL_REAR].depth = 0.1;
  b->wheel[WHEEL_REAR].velocity = {0, 0, 5};
  drivetrain_and_brakes(*b);
  EXPECT_EQ(b->controls.gear, 0);
}

TEST_F(BikeParts, ForkForceRampsOutAtFullExtension) {
  Bike* b = make();
  Vec3 axis = normalized(Vec3(b->info.fork_upper_position) - Vec3(b->info.fork_lower_position));
  auto compress = [&](double by) {
    Vec3 lower = Vec3(b->info.fork_lower_position) + axis * by;
    dBodySetPosition(b->fork_lower, lower.x, lower.y, lower.z);
    fork_force(*b);
    double f = dJointGetSliderParam(b->fork_slide, dParamFMax);
    return dJointGetSliderParam(b->fork_slide, dParamVel) > 0 ? f : -f;
  };
  const BikeSetup& s = b->setup;
  double column = 1 + s.fork_air_gap;
  auto unramped = [&](double x) { return (s.fork_preload + x) * s.fork_spring_rate + 82.46169 * (column / (column - x) - 1); };
  EXPECT_EQ(compress(0), 0);
  ASSERT_NEAR(dJointGetSliderPosition(b->fork_slide), 0, 1e-12);
  EXPECT_NEAR(compress(1.0 / 64), unramped(1.0 / 64) / 2, 1e-6);
  EXPECT_NEAR(compress(0.5), unramped(0.5), 1e-6);
}

TEST_F(BikeParts, ForceBalanceWaitsTwoTicksAfterAReset) {
  Bike* b = make();
  for (int k = 0; k < JOINT_COUNT; ++k) {
    b->feedback[k] = dJointFeedback{};
    b->feedback[k].f1[1] = 10;  // every joint reports a net upward push
  }
  for (int step = 0; step < 3; ++step) {
    b->steps_since_reset = step;
    dBodySetForce(b->frame, 0, 0, 0);
    joint_force_balance(*b);
    EXPECT_EQ(dBodyGetForce(b->frame)[1], step < 2 ? 0 : -60) << step;
  }
  b->crash_timer = 5;
  dBodySetForce(b->frame, 0, 0, 0);
  joint_force_balance(*b);
  EXPECT_EQ(dBodyGetForce(b->frame)[1], 0);
}

}  // namespace
