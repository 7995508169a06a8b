// Building a bike: bodies, masses, joints, poses, shapes and the names of
// its models and textures.
#include <cmath>

#include "physics/bike_load.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "physics_kit.h"
#include "platform/base/log.h"

using namespace physics_kit;

namespace {

double body_mass(dBodyID body) {
  dMass m;
  dBodyGetMass(body, &m);
  return m.mass;
}

class BikeLoad : public PhysicsTest {};

TEST_F(BikeLoad, MassesAddUpForA250F) {
  Bike* b = load_bike("crf250(2009)", 3, "42", nullptr, nullptr, nullptr, nullptr);
  bikes.push_back(b);
  EXPECT_NEAR(b->total_mass, 12.68625, 1e-9);
  EXPECT_NEAR(body_mass(b->frame), 4.24 + 4.6875 * 2 / 3, 1e-12);
  EXPECT_NEAR(body_mass(b->rider), 4.6875 / 3, 1e-12);
  EXPECT_NEAR(body_mass(b->fork_upper), 0.703125, 1e-12);
  EXPECT_NEAR(body_mass(b->swingarm), 2 * 0.504375, 1e-12);
  EXPECT_NEAR(body_mass(b->front_wheel), 0.40625 + 0.15625, 1e-12);
  EXPECT_NEAR(body_mass(b->rear_wheel), 0.46875 + 0.3125, 1e-12);
  EXPECT_EQ(b->slot, 3);
  EXPECT_STREQ(b->number, "42");
  EXPECT_EQ(b->flags, DEFAULT_OPTIONS);
  EXPECT_NEAR(b->final_drive_ratio, 51.0 / 13, 1e-12);

  // Most of a wheel's mass sits in the rim: it is a ring about its axle.
  dMass wheel;
  dBodyGetMass(b->rear_wheel, &wheel);
  EXPECT_NEAR(wheel.I[0], 0.3157, 1e-3);
  EXPECT_NEAR(wheel.I[5], wheel.I[10], 1e-9);
  EXPECT_NEAR(wheel.I[0] - wheel.I[5], 0.46875 * 0.75 * 0.75 / 2, 1e-9);
}

TEST_F(BikeLoad, RiderMassMovesBetweenRiderAndFrame) {
  Bike* b = load_bike("cr125", 0, "", nullptr, nullptr, nullptr, nullptr);
  bikes.push_back(b);
  set_rider_mass_distribution(*b, 0.5);
  EXPECT_NEAR(body_mass(b->rider), 4.6875 / 2, 1e-12);
  EXPECT_NEAR(body_mass(b->frame), 3.65375 + 4.6875 / 2, 1e-12);
  // ODE needs mass on both bodies: a share of 0 still leaves the rider some.
  for (double bad : {0.0, -1.0, double(NAN)}) {
    set_rider_mass_distribution(*b, bad);
    EXPECT_GT(body_mass(b->rider), 0) << bad;
    EXPECT_NEAR(body_mass(b->rider) + body_mass(b->frame), 3.65375 + 4.6875, 1e-12) << bad;
  }
}

TEST_F(BikeLoad, JointsHoldTheDesignPose) {
  Bike* b = load_bike("kx250f(2009)", 0, "7", nullptr, nullptr, nullptr, nullptr);
  bikes.push_back(b);
  EXPECT_NEAR(dJointGetSliderPosition(b->fork_slide), 0, 1e-12);
  EXPECT_NEAR(dJointGetHingeAngle(b->swingarm_pivot), 0, 1e-12);
  EXPECT_NEAR(dJointGetHingeAngle(b->steering_head), 0, 1e-12);
  dVector3 anchor;
  dJointGetHingeAnchor(b->rear_axle, anchor);
  EXPECT_NEAR(anchor[2], 6, 1e-12);
  dJointGetHinge2Anchor(b->rider_mount, anchor);
  EXPECT_NEAR(anchor[1], 4.5, 1e-12);
  EXPECT_NEAR(anchor[2], -50, 1e-12);
  EXPECT_NEAR(dJointGetHingeParam(b->steering_head, dParamHiStop), M_PI / 4, 1e-12);
  EXPECT_NEAR(dJointGetSliderParam(b->fork_slide, dParamLoStop), -1, 1e-12);
  for (int k = 0; k < JOINT_COUNT; ++k) EXPECT_EQ(dJointGetFeedback(bike_joint(*b, k)), &b->feedback[k]);
}

TEST_F(BikeLoad, ResetMoveAndRotate) {
  Bike* b = add_bike("crf250(2009)", 60, 60);
  ride(b, 1, 1);
  b->controls.gear = 3;
  b->crash_timer = 100;
  dJointAttach(b->rider_mount, nullptr, nullptr);
  reset_bike_pose(*b);
  EXPECT_EQ(b->controls.gear, 0);
  EXPECT_EQ(b->crash_timer, 0);
  EXPECT_EQ(b->engine_speed, 0);
  EXPECT_EQ(dJointGetBody(b->rider_mount, 0), b->rider);
  for (int k = 0; k < BODY_COUNT; ++k) {
    EXPECT_EQ(length(body_velocity(bike_body(*b, k))), 0);
    EXPECT_EQ(length(Vec3(dBodyGetForce(bike_body(*b, k)))), 0);  // the ride's last forces are gone
    EXPECT_EQ(length(Vec3(dBodyGetTorque(bike_body(*b, k)))), 0);
  }
  EXPECT_NEAR(body_position(b->rider).y, 4.5, 1e-12);

  rotate_bike(*b, 0, 1, 0, M_PI / 2);
  Vec3 frame = body_position(b->frame);
  EXPECT_NEAR(frame.x, 3.6, 1e-12);
  EXPECT_NEAR(frame.z, 0, 1e-12);
  EXPECT_NEAR(body_axis(b->rider, 2).x, 1, 1e-12);  // every body turned alike
  move_bike(*b, 10, 1, -5);
  EXPECT_NEAR(body_position(b->front_wheel).x, 1.11 + 10, 1e-12);
  EXPECT_NEAR(body_position(b->front_wheel).y, 1.09 + 1, 1e-12);
  EXPECT_NEAR(body_position(b->front_wheel).z, -5, 1e-12);
}

TEST_F(BikeLoad, ShapesAreOwnCopiesAndMayBeMissing) {
  std::remove((folders->data + "generic_swingarm.shp").c_str());
  Bike* b = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
  bikes.push_back(b);
  EXPECT_EQ(b->shapes[BODY_SWINGARM].source, nullptr);
  ASSERT_NE(b->shapes[BODY_FRAME].source, nullptr);
  EXPECT_EQ(b->shapes[BODY_FRAME].spheres.size(), 4u);
  EXPECT_NE(&b->shapes[BODY_FRAME].spheres, &b->shapes[BODY_FRAME].source->spheres);
  EXPECT_NEAR(b->shapes[BODY_RIDER].bound, std::sqrt(0.85 * 0.85 + 0.9 * 0.9) + 0.45, 1e-5);
  // A bike without its swingarm shape still rides.
  place_bike(*b, 50, 50, 0);
  ride(b, 1, 1);
  EXPECT_GT(speed(b), 10);
}

class BikeArtNames : public PhysicsTest {
 protected:
  void add(const std::string& name) { testkit::write_file(folders->data + name, "x"); }
};

TEST_F(BikeArtNames, VariantTexturesSelectVariantModels) {
  for (const char* m : {"kx125_frame.jm", "kx125_side_plates.jm", "kx125_fork_upper.jm", "kx125_front_plate.jm",
                        "kx125_fork_lower.jm", "kx125_swingarm.jm", "kx125.png", "kx125-alt1.png", "kx125-red-x.png",
                        "kx125_frame-red.jm", "paint/kx125-blue-x.png", "paint/kx125_frame-blue.jm", "kx125_norm.png",
                        "kx125-red_spec.seq"})
    add(m);
  struct Case {
    const char* texture;
    const char* bike_texture;
    const char* frame;
    const char* side_plates;
  } cases[] = {
      {"@kx125-alt1.png", "@kx125-alt1.png", "@kx125_frame.jm", "@kx125_side_plates.jm"},  // one "-": no variant
      {"@kx125-red-x.png", "@kx125-red-x.png", "@kx125_frame-red.jm", ""},                   // tagged plates missing
      {"@paint/kx125-blue-x.png", "@paint/kx125-blue-x.png", "@paint/kx125_frame-blue.jm", ""},
      {"@kx125-green-x.png", "@kx125.png", "@kx125_frame.jm", "@kx125_side_plates.jm"},  // missing: the default
      {nullptr, "@kx125.png", "@kx125_frame.jm", "@kx125_side_plates.jm"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.texture ? c.texture : "null");
    Bike* b = load_bike("kx125", 0, "", nullptr, nullptr, c.texture, nullptr);
    bikes.push_back(b);
    EXPECT_EQ(b->art.bike.name, c.bike_texture);
    EXPECT_EQ(b->art.frame, c.frame);
    EXPECT_EQ(b->art.side_plates, c.side_plates);
  }
  EXPECT_EQ(bikes[0]->art.bike.normal_map, "@kx125_norm.png");  // found from the default texture
  EXPECT_EQ(bikes[1]->art.bike.specular_map, "@kx125-red_spec.seq");
  EXPECT_EQ(bikes[4]->art.bike.specular_map, "");
}

TEST_F(BikeArtNames, MissingModelsAreLogged) {
  std::string log = testkit::scratch_dir() + "log.txt";
  setenv("VOXA_LOGFILE", (">" + log).c_str(), 1);
  voxa_log_reset();
  add("rm125.png");
  add("rm125-red-x.png");
  Bike* b = load_bike("rm125", 0, "", nullptr, nullptr, "@rm125-red-x.png", nullptr);
  bikes.push_back(b);
  voxa_log_reset();
  unsetenv("VOXA_LOGFILE");
  std::string text = testkit::read_file(log);
  EXPECT_NE(text.find("Warning: Can't load @rm125_frame-red.jm or @rm125_frame-red.jm"), std::string::npos);
  EXPECT_NE(text.find("Warning: Can't load @rm125_frame.jm"), std::string::npos);
  EXPECT_EQ(text.find("rider_plate"), std::string::npos);  // optional models are quiet
  EXPECT_EQ(b->art.bike.name, "@rm125.png");
}

}  // namespace
