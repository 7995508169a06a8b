#include "app/view_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/units.h"
#include "race/rider_snapshot.h"

namespace {

// A bike at (100, 20, 50), upright, facing -z (its own forward), moving
// with `velocity`.
RiderSnapshot bike_at(Vec3 velocity) {
  RiderSnapshot bike;
  bike.present = true;
  bike.position[BODY_FRAME] = Vec3(100, 20, 50);
  bike.orientation[BODY_FRAME][0] = 1;
  bike.velocity = velocity;
  return bike;
}

const float NO_OFFSET[3] = {0, 0, 0};
float flat_ground(double, double) { return 0; }
float high_ground(double, double) { return 40; }

}  // namespace

TEST(ViewMode, FixingRules) {
  struct Case {
    int mode;
    bool track, local, bike;
    int fixed;
  } cases[] = {
      {VIEW_NO_TRACK, true, false, true, VIEW_RIDER},  // a track was loaded
      {VIEW_FREE, true, true, true, VIEW_RIDER},       // the local rider is not flown around
      {VIEW_CHASE, true, true, true, VIEW_CHASE},
      {VIEW_EDITOR, true, true, true, VIEW_EDITOR},
      {VIEW_FREE, true, false, true, VIEW_FREE},       // spectators may
      {VIEW_RIDER, true, false, false, VIEW_FREE},     // nobody to look at
      {VIEW_CHASE, false, false, false, VIEW_NO_TRACK},
      {VIEW_RIDER, false, true, true, VIEW_NO_TRACK},
  };
  for (const Case& c : cases) {
    ViewState view;
    view.view_mode = c.mode;
    fix_view_mode(&view, {c.track, c.local, c.bike});
    EXPECT_EQ(view.view_mode, c.fixed) << c.mode << " track " << c.track << " local " << c.local << " bike " << c.bike;
  }
}

TEST(ViewMode, TabCyclesThroughTheViews) {
  ViewState view;
  int seen[5];
  for (int& mode : seen) {
    cycle_view(&view, false);
    mode = view.view_mode;
  }
  EXPECT_EQ(std::vector<int>(seen, seen + 5), (std::vector<int>{VIEW_CHASE, VIEW_FREE, VIEW_RIDER, VIEW_CHASE, VIEW_FREE}));
  view.view_mode = VIEW_RIDER;
  cycle_view(&view, true);
  EXPECT_EQ(view.view_mode, VIEW_EDITOR);
  cycle_view(&view, true);
  EXPECT_EQ(view.view_mode, VIEW_CHASE);
  view.view_mode = VIEW_NO_TRACK;
  cycle_view(&view, true);
  EXPECT_EQ(view.view_mode, VIEW_NO_TRACK);
}

TEST(ViewMode, TheFreeCameraStartsWhereTheChaseCameraWas) {
  ViewState view;
  view.view_mode = VIEW_CHASE;
  view.last_pose = {Vec3(0, 10, 0), Vec3(10, 10, 0)};  // looking along +x
  view.has_last_pose = true;
  cycle_view(&view, false);
  EXPECT_EQ(view.view_mode, VIEW_FREE);
  Vec3 look = free_camera_direction(view.free);
  EXPECT_NEAR(look.x, 1, 1e-9);
  EXPECT_NEAR(look.y, 0, 1e-9);
  EXPECT_NEAR(view.free.position.y, 10, 1e-9);
}

TEST(ChaseCamera, TheLocalRidersCameraTrailsTheBike) {
  ViewState view;
  const float centre[3] = {0, 2.52f, 0.52f};
  // Standing still: behind the long axis; the centre offset is in bike space.
  CameraPose still = chase_camera(view, bike_at({}), false, false, centre, flat_ground);
  EXPECT_NEAR(still.target.y, 22.52, 1e-6);
  EXPECT_NEAR(still.target.z, 50.52, 1e-6);
  EXPECT_NEAR(still.eye.z, 60.52, 1e-6);
  EXPECT_NEAR(still.eye.y, 27.52, 1e-6);
  // Fast sideways travel: the camera trails the travel, not the axis.
  CameraPose fast = chase_camera(view, bike_at({40, 0, 0}), false, false, NO_OFFSET, flat_ground);
  EXPECT_NEAR(fast.eye.x, 90, 1e-9);
  EXPECT_NEAR(fast.eye.z, 50, 1e-9);
  // Half way between (20 ft/s): a blend of the two, still 10 ft away.
  CameraPose blend = chase_camera(view, bike_at({20, 0, 0}), false, false, NO_OFFSET, flat_ground);
  EXPECT_LT(blend.eye.x, 100);
  EXPECT_GT(blend.eye.z, 50);
  EXPECT_NEAR(std::hypot(blend.eye.x - 100, blend.eye.z - 50), 10, 1e-9);
  // A rigid camera keeps to the axis whatever the travel.
  CameraPose rigid = chase_camera(view, bike_at({40, 0, 0}), false, true, NO_OFFSET, flat_ground);
  EXPECT_NEAR(rigid.eye.z, 60, 1e-9);
  // Never below 5 ft over the ground.
  CameraPose hill = chase_camera(view, bike_at({}), false, false, NO_OFFSET, high_ground);
  EXPECT_NEAR(hill.eye.y, 45, 1e-9);
}

TEST(ChaseCamera, ASpectatorSteersItsCamera) {
  ViewState view;
  view.view_mode = VIEW_CHASE;
  float channels[9] = {};
  channels[0] = 1;    // steer: yaw
  channels[1] = 1;    // throttle: closer
  channels[4] = -1;   // downshift: lower
  for (int tick = 0; tick < 1024; ++tick) steer_spectator_camera(&view, channels, nullptr);
  EXPECT_NEAR(view.chase.yaw, 0, 1e-9);  // a full turn, wrapped
  EXPECT_DOUBLE_EQ(view.chase.distance, 0.25);
  EXPECT_NEAR(view.chase.height, 5 - 1024 * dt, 1e-9);
  CameraPose pose = chase_camera(view, bike_at({40, 0, 0}), true, false, NO_OFFSET, flat_ground);
  EXPECT_NEAR(pose.eye.z, 50 - 0.25, 1e-9);  // (sin 0, 0, cos 0) from the bike's far side
  EXPECT_NEAR(pose.eye.y, 17, 1e-9);         // its own height over the bike
}

TEST(FreeCamera, TurnsNoFasterThanItsRatesAllow) {
  ViewState view;
  view.view_mode = VIEW_FREE;
  float channels[9] = {};
  channels[0] = 1;
  steer_spectator_camera(&view, channels, nullptr);
  EXPECT_NEAR(view.free.yaw_rate, M_PI * dt, 1e-12);  // the rate rises by pi/s per second
  for (int tick = 0; tick < 128; ++tick) steer_spectator_camera(&view, channels, nullptr);
  EXPECT_NEAR(view.free.yaw_rate, 3 * M_PI / 8, 1e-12);
  EXPECT_LE(std::fabs(view.free.yaw), M_PI);

  // Channel 6 held: the camera keeps the bike 10 ft ahead along its look.
  RiderSnapshot bike = bike_at({});
  channels[0] = 0;
  channels[6] = 1;
  steer_spectator_camera(&view, channels, &bike);
  Vec3 to_bike = bike.position[BODY_FRAME] - view.free.position;
  Vec3 look = free_camera_direction(view.free);
  EXPECT_NEAR(to_bike.x, 10 * look.x, 1e-9);
  EXPECT_NEAR(to_bike.z, 10 * look.z, 1e-9);
}

TEST(ViewedRider, PreviousAndNextFollowTheRunningOrder) {
  const int order[] = {7, 3, 12, 0};
  struct Case {
    int viewed, direction, expected;
  } cases[] = {
      {3, 1, 12}, {3, -1, 7}, {7, -1, 7}, {0, 1, 0},
      {25, -1, 0},  // not in the order: past the end
      {25, 1, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(neighbour_in_standings(c.viewed, c.direction, order, 4), c.expected) << c.viewed << " " << c.direction;
  EXPECT_EQ(neighbour_in_standings(5, 1, order, 0), 5);
}
