// Throwing the rider off and putting him back: the crash triggers, the
// time down, the feet while he lies there, and remounting.
#include <cmath>

#include "core/race_clock.h"
#include "core/settings.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/bike_tick.h"
#include "physics/ground_contact.h"
#include "physics/physics_world.h"
#include "physics/rider.h"
#include "physics/rider_limbs.h"
#include "physics/shape_contact.h"
#include "scenario_kit.h"
#include "track/track.h"

using namespace physics_kit;

namespace {

void set_velocity(Bike* b, const Vec3& v) {
  for (int k = 0; k < BODY_COUNT; ++k) dBodySetLinearVel(bike_body(*b, k), v.x, v.y, v.z);
}

bool rider_mounted(const Bike* b) {
  return dJointGetBody(b->rider_mount, 0) == b->rider && dJointGetBody(b->rider_mount, 1) == b->frame;
}

// Upside down, a little above the ground: the rider's shape underneath.
void turn_over(Bike* b, double x, double z, double lift) {
  reset_bike_pose(*b);
  rotate_bike(*b, 0, 0, 1, M_PI);
  move_bike(*b, x, lift, z);
}

class Crash : public PhysicsTest {};

TEST_F(Crash, LandingUpsideDownThrowsTheRiderWhoComesBack) {
  Bike* b = add_bike("crf250(2009)", 100, 100);
  turn_over(b, 100, 100, 6.2);
  set_velocity(b, {8, -2, 0});
  const RiderGeometry& g = b->info.rider;
  int thrown_at = -1, back_at = -1;
  for (int t = 0; t < 15 * 128 && back_at < 0; ++t) {
    run(1);
    if (thrown_at < 0 && bike_crashed(*b)) thrown_at = t;
    if (bike_crashed(*b)) {
      ASSERT_FALSE(rider_mounted(b));
      for (int side = 0; side < 2; ++side) {
        // The feet stay out of the ground and within reach of the hips.
        const Vec3& foot = b->crash_points[side].position;
        EXPECT_GE(foot.y, TerrainHeightAt(track().terrain, foot.x, foot.z));
        Vec3 hip = body_point(b->rider, side_point(g.hip, side));
        EXPECT_LE(length(foot - hip), g.thigh + g.shin + 1e-9);
      }
    }
    if (thrown_at >= 0 && !bike_crashed(*b)) back_at = t;
  }
  ASSERT_GE(thrown_at, 0);
  EXPECT_LT(thrown_at, 64);
  ASSERT_GE(back_at, 0) << "still down after 15 s";
  EXPECT_GE(back_at - thrown_at, CRASH_TICKS);  // the timer runs its full length, only while he is still
  EXPECT_TRUE(rider_mounted(b));
  Vec3 seat = body_point(b->frame, Vec3(b->info.rider_position) - Vec3(b->info.frame_position));
  EXPECT_LT(length(body_position(b->rider) - seat), 0.25);
  // Once back on, a few more seconds change nothing: he stays on.
  run(3 * 128);
  EXPECT_TRUE(rider_on(b));
}

TEST_F(Crash, UpsideDownOnTheGroundThrowsOnlyAboveWalkingPace) {
  struct Case {
    double speed;
    bool thrown;
  } cases[] = {{4, false}, {6, true}};
  for (const Case& c : cases) {
    Bike* b = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
    bikes.push_back(b);
    turn_over(b, 300, 300, 5.0);  // the rider's shape dips into the ground
    set_velocity(b, {c.speed, 0, 0});
    collide_bike_ground(*b);
    dJointGroupEmpty(physics.contacts);
    EXPECT_EQ(bike_crashed(*b), c.thrown) << c.speed;
    EXPECT_TRUE(b->body_touched_ground);
  }
}

TEST_F(Crash, ObjectsKnockTheRiderOffAbove20FeetPerSecond) {
  Shape post;  // a solid post standing in the rider's way
  post.spheres.push_back({{0, 0, 0}, 1.0f, 0.5f, 5000, 500});
  post.bound = 1;
  struct Case {
    double speed;
    bool thrown;
  } cases[] = {{19, false}, {21, true}};
  for (const Case& c : cases) {
    Bike* b = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
    bikes.push_back(b);
    move_bike(*b, 500, 0, 500);
    dBodySetLinearVel(b->rider, 0, 0, -c.speed);
    Vec3 at = body_position(b->rider) + Vec3{0, 0, -1.2};
    dMatrix3 identity;
    dRSetIdentity(identity);
    const dReal position[3] = {at.x, at.y, at.z};
    EXPECT_TRUE(collide_shape_with_bike(*b, post, nullptr, position, identity, false));
    dJointGroupEmpty(physics.contacts);
    EXPECT_EQ(bike_crashed(*b), c.thrown) << c.speed;
  }
}

TEST_F(Crash, RidingIntoAWallThrowsTheRider) {
  // A wall 6 ft high across the course.
  track().terrain = shaped_terrain(8, 2, [](float, float z) { return z < 800 ? 6.0f : 0.0f; });
  Bike* b = add_bike("crf250(2009)", 500, 900);
  apply_settings(*b, settings);
  for (int t = 0; t < 8 * 128 && !bike_crashed(*b); ++t) run(1, [&](int) { hold_speed(b, 40 * MPH); });
  EXPECT_TRUE(bike_crashed(*b));
  EXPECT_GT(position(b).z, 795);  // stopped at the wall, not through it
}

TEST_F(Crash, ResetEndsACrashAtOnce) {
  Bike* b = add_bike("kx125", 100, 100);
  throw_rider(*b);
  ASSERT_TRUE(bike_crashed(*b));
  ASSERT_FALSE(rider_mounted(b));
  run(64);
  place_bike(*b, 100, 100, 0);
  EXPECT_FALSE(bike_crashed(*b));
  EXPECT_TRUE(rider_mounted(b));
  run(2 * 128);
  EXPECT_TRUE(rider_on(b));
  EXPECT_TRUE(upright(b));
}

TEST_F(Crash, BackingUpWalksTheBikeBackwards) {
  struct Case {
    double speed;
    bool walks;
  } cases[] = {{0, true}, {4, true}, {6, false}};
  for (const Case& c : cases) {
    Bike* b = add_bike("yz250f(2009)", 200 + 100 * static_cast<int>(bikes.size()), 600);
    set_velocity(b, {0, 0, -c.speed});  // rolling forward
    for (int k : {BODY_FRONT_WHEEL, BODY_REAR_WHEEL}) dBodySetAngularVel(bike_body(*b, k), -c.speed / 1.1, 0, 0);
    Vec3 start = position(b);
    run(128, [&](int) { set_back_up(*b, 1); });
    double moved_back = position(b).z - start.z;  // +z is rearwards
    if (c.walks)
      EXPECT_GT(moved_back, 0.5) << c.speed;
    else
      EXPECT_LT(moved_back, -3) << c.speed;
    EXPECT_TRUE(upright(b));
  }
}

}  // namespace
