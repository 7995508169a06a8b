// Bikes against bikes, and the same ride twice giving the same bits.
#include <cmath>
#include <random>

#include "core/race_clock.h"
#include "core/settings.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/physics_world.h"
#include "physics/shape_contact.h"
#include "scenario_kit.h"

using namespace physics_kit;

namespace {

bool is_wheel(int body) { return body == BODY_FRONT_WHEEL || body == BODY_REAR_WHEEL; }

// Deepest overlap between the body shapes (not the wheels) of two bikes,
// placed where their bodies are.
double deepest_overlap(Bike* a, Bike* b) {
  double deepest = 0;
  for (int i = 0; i < BODY_COUNT; ++i)
    for (int j = 0; j < BODY_COUNT; ++j) {
      if (is_wheel(i) || is_wheel(j)) continue;
      if (!place_shape(a->shapes[i], bike_body(*a, i)) || !place_shape(b->shapes[j], bike_body(*b, j))) continue;
      for (const ShapeSphere& s : a->shapes[i].spheres)
        for (const ShapeSphere& t : b->shapes[j].spheres) {
          Vec3 d{s.centre[0] - t.centre[0], s.centre[1] - t.centre[1], s.centre[2] - t.centre[2]};
          deepest = std::max(deepest, s.radius + t.radius - length(d));
        }
    }
  return deepest;
}

class BikeContact : public PhysicsTest {
 protected:
  void SetUp() override {
    PhysicsTest::SetUp();
    reset_settings();
    apply_stability_preset(settings.stability.value);
  }
};

TEST_F(BikeContact, HeadOnBikesCollideAndSeparate) {
  Bike* a = add_bike("crf250(2009)", 100, 130, 0);     // riding toward -z
  Bike* b = add_bike("kx125", 100.5, 90, M_PI);         // riding toward +z
  for (Bike* bike : {a, b}) apply_settings(*bike, settings);
  double deepest = 0, closest = INFINITY;
  bool touched = false;
  for (int t = 0; t < 4 * 128; ++t) {
    run(1, [&](int) {
      for (Bike* bike : {a, b}) hold_speed(bike, t < 2 * 128 ? 15 * MPH : 0);
    });
    deepest = std::max(deepest, deepest_overlap(a, b));
    closest = std::min(closest, length(position(a) - position(b)));
    touched = touched || a->last_bike_collision_tick >= 0;
    for (Bike* bike : {a, b}) {
      ASSERT_TRUE(std::isfinite(position(bike).x) && std::isfinite(position(bike).y)) << t;
      ASSERT_LT(speed(bike), 40) << t;  // no explosion
    }
  }
  EXPECT_TRUE(touched);
  EXPECT_EQ(a->last_bike_collision_tick, b->last_bike_collision_tick);
  EXPECT_LT(closest, 6);
  EXPECT_GT(closest, 1.5);    // the frames never met
  EXPECT_LT(deepest, 0.6);    // spheres overlap a little, as soft contacts do
  EXPECT_GT(length(position(a) - position(b)), 3);
  for (Bike* bike : {a, b}) EXPECT_LT(speed(bike), 5);
}

TEST_F(BikeContact, ASecondCollisionInOneTickPushesWithForces) {
  Bike* a = add_bike("crf250(2009)", 100, 100);
  Bike* b = add_bike("crf250(2009)", 101.2, 100);  // side by side, bars overlapping
  auto joints_on = [](Bike* bike) {
    int count = 0;
    for (int k = 0; k < BODY_COUNT; ++k) count += dBodyGetNumJoints(bike_body(*bike, k));
    return count;
  };
  race_clock = 50;
  int joints_before = joints_on(a);
  ASSERT_TRUE(collide_bikes(*a, *b));
  EXPECT_GT(joints_on(a), joints_before);  // contact joints
  EXPECT_EQ(a->last_bike_collision_tick, 50);
  EXPECT_EQ(b->last_bike_collision_tick, 50);
  dJointGroupEmpty(physics.contacts);

  // Both already hit a bike this tick: explicit forces instead of joints.
  for (Bike* bike : {a, b})
    for (int k = 0; k < BODY_COUNT; ++k) dBodySetForce(bike_body(*bike, k), 0, 0, 0);
  joints_before = joints_on(a);
  ASSERT_TRUE(collide_bikes(*b, *a));
  EXPECT_EQ(joints_on(a), joints_before);
  Vec3 on_a, on_b;
  for (int k = 0; k < BODY_COUNT; ++k) {
    on_a += Vec3(dBodyGetForce(bike_body(*a, k)));
    on_b += Vec3(dBodyGetForce(bike_body(*b, k)));
  }
  EXPECT_LT(on_a.x, -1);  // pushed apart along x, equally and oppositely
  EXPECT_NEAR(on_a.x, -on_b.x, 1e-6);

  Bike* far = add_bike("crf250(2009)", 130, 100);
  EXPECT_FALSE(collide_bikes(*a, *far));
}

TEST_F(BikeContact, ExplicitContactForcesAreLimited) {
  Bike* b = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
  bikes.push_back(b);
  Shape pebble;
  pebble.spheres.push_back({{0, 0, 0}, 0.1f, 1, 10000, 1000});
  pebble.bound = 0.1f;
  dMatrix3 identity;
  dRSetIdentity(identity);
  struct Case {
    Vec3 at;  // in the frame's coordinates
    double force;
  } cases[] = {
      {{0, -0.3, -0.2}, 1000},   // deep in the engine sphere: 6500 lbf, limited
      {{0, -0.3, -0.84}, 100},   // 0.01 ft in
  };
  for (const Case& c : cases) {
    dBodySetForce(b->frame, 0, 0, 0);
    Vec3 w = body_point(b->frame, c.at);
    const dReal position[3] = {w.x, w.y, w.z};
    ASSERT_TRUE(collide_shape_with_bike(*b, pebble, nullptr, position, identity, true));
    EXPECT_NEAR(length(Vec3(dBodyGetForce(b->frame))), c.force, 1e-3);
  }
}

// Every overlapping sphere pair becomes a contact joint, whatever the
// quick rejection tests skip: checked against counting all pairs.
TEST_F(BikeContact, EveryOverlapBecomesAContact) {
  Bike* a = load_bike("crf250(2009)", 0, "", nullptr, nullptr, nullptr, nullptr);
  Bike* b = load_bike("rm125", 1, "", nullptr, nullptr, nullptr, nullptr);
  bikes = {a, b};
  auto joints_on = [](Bike* bike) {
    int count = 0;
    for (int k = 0; k < BODY_COUNT; ++k) count += dBodyGetNumJoints(bike_body(*bike, k));
    return count;
  };
  std::mt19937 random(3);
  std::uniform_real_distribution<double> unit(0, 1);
  int touching = 0;
  for (int n = 0; n < 300; ++n) {
    reset_bike_pose(*b);
    rotate_bike(*b, normalized(Vec3{unit(random) - 0.5, 1, unit(random) - 0.5}).x, 1, 0.3, 6.3 * unit(random));
    move_bike(*b, (unit(random) - 0.5) * 9, (unit(random) - 0.5) * 4, (unit(random) - 0.5) * 12);
    // Reference: A's spheres against B's tyres (rim point spheres) and B's body shapes.
    int expected = 0;
    for (int i = 0; i < BODY_COUNT; ++i) {
      if (!place_shape(a->shapes[i], bike_body(*a, i))) continue;
      for (const ShapeSphere& s : a->shapes[i].spheres) {
        Vec3 c{s.centre[0], s.centre[1], s.centre[2]};
        for (const WheelContact& w : b->wheel) {
          Vec3 centre = body_position(w.body), axle = body_to_world(w.body, w.axle);
          Vec3 d = c - centre;
          d -= axle * dot(d, axle);
          Vec3 rim = centre + normalized(d) * w.rim_radius;
          expected += length(c - rim) < s.radius + w.tyre_radius;
        }
        for (int j : {BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM, BODY_RIDER}) {
          if (!place_shape(b->shapes[j], bike_body(*b, j))) continue;
          for (const ShapeSphere& t : b->shapes[j].spheres) {
            Vec3 e{t.centre[0], t.centre[1], t.centre[2]};
            expected += length(c - e) < s.radius + t.radius;
          }
        }
      }
    }
    int before = joints_on(b);
    collide_bikes(*a, *b);
    EXPECT_EQ(joints_on(b) - before, expected) << n;
    touching += expected > 0;
    dJointGroupEmpty(physics.contacts);
    a->last_bike_collision_tick = b->last_bike_collision_tick = -1;
  }
  EXPECT_GT(touching, 50);
}

// The same inputs from the same start: the same bits, run after run.
class Determinism : public PhysicsTest {
 protected:
  std::vector<double> ride() {
    race_clock = 0;
    Bike* a = add_bike("yz250f(2008)", 100, 140);
    Bike* b = add_bike("rm125", 103, 140);
    Bike* c = add_bike("cr125", 101, 100, M_PI);
    apply_settings(*b, settings);
    for (int t = 0; t < 3 * 128; ++t)
      run(1, [&](int) {
        hold_speed(a, 20 * MPH);
        hold_speed(b, 25 * MPH);
        hold_speed(c, 15 * MPH);
        set_steer(*a, t > 128 ? 0.05 : 0);
        set_steer(*b, t > 200 ? -0.6 : 0.2);
        shift_gear(*c, t / 100 % 2);
      });
    std::vector<double> state;
    for (Bike* bike : bikes) {
      std::vector<double> s = body_states(bike);
      state.insert(state.end(), s.begin(), s.end());
    }
    for (Bike* bike : bikes) free_bike(bike);
    bikes.clear();
    return state;
  }
};

TEST_F(Determinism, SameInputsGiveBitIdenticalStates) {
  std::vector<double> first = ride();
  stop_physics();
  start_physics();
  std::vector<double> second = ride();
  ASSERT_EQ(first.size(), second.size());
  for (size_t i = 0; i < first.size(); ++i) ASSERT_EQ(first[i], second[i]) << i;  // exact, not near
}

TEST_F(Determinism, TheWorldStepGivesTheSameBitsOnSeveralThreads) {
  std::vector<double> alone = ride();
  stop_physics();
  set_physics_threads(3);
  start_physics();
  const bool threaded = physics.threading != nullptr;
  std::vector<double> shared = ride();
  stop_physics();
  set_physics_threads(0);
  start_physics();
  ASSERT_TRUE(threaded);
  ASSERT_EQ(alone.size(), shared.size());
  for (size_t i = 0; i < alone.size(); ++i) ASSERT_EQ(alone[i], shared[i]) << i;
}

}  // namespace
