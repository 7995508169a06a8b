// Roost on the flats: how many particles a wheel throws, where they come
// from, where they land, and the dirt they take from the ground and put
// back.
#include <gtest/gtest.h>

#include <numeric>
#include <set>

#include "allocation_counter.h"
#include "autopilot/coach.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "effects/roost.h"
#include "physics/bike.h"
#include "race/race_session.h"
#include "race_kit.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

class Roost : public race_kit::FlatsRace {
 protected:
  void SetUp() override {
    FlatsRace::SetUp();
    ASSERT_EQ(start_race(flats_race({SLOT_HUMAN})), 1);
    run_settings.erosion = 0;
    run_settings.roost_frequency = 100;
    b = race.slot_bike[0];
  }
  void TearDown() override {
    run_settings = RunSettings();
    FlatsRace::TearDown();
  }

  // The ground's first material throws these types.
  static void throws(std::initializer_list<RoostType> types) {
    RoostType* slot = track().terrain.materials[0].roost;
    for (int k = 0; k < ROOST_TYPES_PER_KIND; ++k) slot[k] = RoostType{};
    int k = 0;
    for (const RoostType& type : types) slot[k++] = type;
  }
  static RoostType digging(double count = 10) {
    RoostType t;
    t.mode = 1;
    t.count = static_cast<float>(count);
    t.dig = 2;
    t.randomize = 2;
    t.texture = 7;
    return t;
  }
  // The rear tyre on the ground, rolling forward at 5 ft/s and spinning
  // faster: its surface slides backwards over the ground at `slide` ft/s.
  void spin_rear_wheel(double slide) {
    WheelContact& rear = b->wheel[WHEEL_REAR];
    const Vec3 centre = body_position(rear.body);
    rear.point = centre - Vec3{0, rear.rim_radius + rear.tyre_radius, 0};
    rear.normal = {0, 1, 0};
    rear.depth = 0.05;
    dBodySetLinearVel(rear.body, 0, 0, -5);
    const double radius = rear.rim_radius + rear.tyre_radius;
    // Forward travel is -z: a forward spin turns about the axle's -x.
    const Vec3 spin = body_to_world(rear.body, rear.axle) * (-(slide + 5) / radius);
    dBodySetAngularVel(rear.body, spin.x, spin.y, spin.z);
    rear.velocity = body_point_velocity(rear.body, rear.point);
    b->wheel[WHEEL_FRONT].depth = 0;
  }
  static double height_sum() {
    const std::vector<float>& h = track().terrain.heights;
    return std::accumulate(h.begin(), h.end(), 0.0);
  }
  Bike* b = nullptr;
};

TEST_F(Roost, TheBudgetComesFromTheFrequency) {
  throws({digging()});
  spin_rear_wheel(30);
  struct Case {
    int frequency;
    std::set<int> counts;
  } cases[] = {{100, {1}}, {150, {1, 2}}, {250, {2, 3}}, {0, {0}}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.frequency);
    run_settings.roost_frequency = c.frequency;
    std::set<int> seen;
    for (int k = 0; k < 200; ++k) {
      reset_roost(race.roost);
      emit_roost(race.roost, *b, true);
      seen.insert(race.roost.active_count);
    }
    EXPECT_EQ(seen, c.counts);
  }
}

TEST_F(Roost, WhatATyreThrowsDependsOnItsGroundAndItsSlip) {
  struct Case {
    const char* what;
    std::vector<RoostType> types;
    double slide;
    int thrown;
  } cases[] = {
      {"a slipping tyre digs", {digging()}, 30, 1},
      {"rolling without slip throws no roost", {digging()}, 2, 0},
      {"a first type of kind 0 ends the list", {RoostType{}, digging()}, 30, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RoostType* slot = track().terrain.materials[0].roost;
    for (int k = 0; k < ROOST_TYPES_PER_KIND; ++k) slot[k] = k < static_cast<int>(c.types.size()) ? c.types[k] : RoostType{};
    spin_rear_wheel(c.slide);
    reset_roost(race.roost);
    emit_roost(race.roost, *b, true);
    EXPECT_EQ(race.roost.active_count, c.thrown);
  }
}

TEST_F(Roost, RoostFliesUpAndBackOffASpinningTyreAndLandsBehindIt) {
  throws({digging()});
  spin_rear_wheel(40);
  reset_roost(race.roost);
  for (int k = 0; k < 20; ++k) emit_roost(race.roost, *b, true);
  ASSERT_GT(race.roost.active_count, 10);
  for (int entry = race.roost.active_head; entry != ROOST_NONE; entry = race.roost.particles[entry].next) {
    const RoostParticle& p = race.roost.particles[entry];
    EXPECT_GT(p.velocity[1], 0) << "up";
    EXPECT_GT(p.velocity[2], 0) << "backwards (+z)";
    const Billboard& board = track().scenery.billboards[static_cast<size_t>(entry)];
    EXPECT_FLOAT_EQ(board.x, p.position[0]);
    EXPECT_FLOAT_EQ(board.height, 0.25f);
    EXPECT_EQ(board.texture, 7);
  }
  for (int t = 0; t < 5 * 128 && race.roost.active_count > 0; ++t) update_roost(race.roost);
  EXPECT_EQ(race.roost.active_count, 0) << "everything comes down";
  for (int k = 0; k < ROOST_POOL_SIZE; ++k) EXPECT_EQ(track().scenery.billboards[static_cast<size_t>(k)].texture, 0);
}

TEST_F(Roost, ErosionMovesDirtAndKeepsTheBooks) {
  throws({digging()});
  for (double erosion : {0.0, 1.0}) {
    SCOPED_TRACE(erosion);
    run_settings.erosion = erosion;
    const std::vector<float> before = track().terrain.heights;
    const double sum_before = height_sum();
    reset_roost(race.roost);
    for (int t = 0; t < 64; ++t) {
      spin_rear_wheel(40);
      emit_roost(race.roost, *b, true);
      update_roost(race.roost);
    }
    const RoostPool& pool = race.roost;
    ASSERT_GT(pool.dirt_taken, 0);
    EXPECT_EQ(pool.dirt_taken, pool.dirt_returned + roost_dirt_in_air(pool));
    if (erosion == 0) {
      EXPECT_EQ(track().terrain.heights, before) << "erosion 0 changes nothing";
    } else {
      EXPECT_NE(track().terrain.heights, before);
      // What left the ground and did not come back is in the air.
      EXPECT_NEAR(sum_before - height_sum(), roost_dirt_in_air(pool) / 1020.0, 1e-3);
    }
  }
}

TEST_F(Roost, AParticleBornUnderTheGroundGivesItsDirtBackAtOnce) {
  throws({digging()});
  run_settings.erosion = 1;
  spin_rear_wheel(40);
  reset_roost(race.roost);
  emit_roost(race.roost, *b, true);
  ASSERT_EQ(race.roost.active_count, 1);
  RoostParticle& p = race.roost.particles[race.roost.active_head];
  p.position[1] = -1;
  p.velocity[1] = -5;
  const double sum = height_sum();
  update_roost(race.roost);
  EXPECT_EQ(race.roost.active_count, 0);
  EXPECT_EQ(race.roost.dirt_taken, race.roost.dirt_returned);
  EXPECT_NEAR(height_sum() - sum, race.roost.dirt_returned / 1020.0, 1e-4);
}

TEST_F(Roost, LockedGroundOnlyDarkens) {
  throws({digging()});
  run_settings.erosion = 1;
  track().terrain.deformation_locked = 1;
  const std::vector<float> heights = track().terrain.heights;
  const std::vector<uint8_t> shading = track().terrain.shading;
  reset_roost(race.roost);
  for (int t = 0; t < 32; ++t) {
    spin_rear_wheel(40);
    emit_roost(race.roost, *b, true);
    update_roost(race.roost);
  }
  EXPECT_EQ(track().terrain.heights, heights);
  EXPECT_NE(track().terrain.shading, shading);
}

TEST_F(Roost, ARaceRoostsAndErodesWithoutAllocating) {
  throws({digging(1.5)});
  run_settings.erosion = 1;
  run_settings.roost_frequency = 250;
  const std::vector<float> pristine = track().terrain.heights;
  for (int t = 0; t < 18 * 128; ++t) {  // through the gate drop and away
    drive_coaches();
    race_tick();
  }
  allocation_counter::start();
  for (int t = 0; t < 5 * 128; ++t) {
    drive_coaches();
    race_tick();
  }
  EXPECT_EQ(allocation_counter::stop(), 0);
  EXPECT_GT(race.roost.dirt_taken, 0);
  EXPECT_NE(track().terrain.heights, pristine) << "the coach's tyres rut the ground";

  // The next race on the same track rides the same ruts; online, the
  // changed ground is loaded afresh and locked.
  const std::vector<float> rutted = track().terrain.heights;
  ASSERT_EQ(start_race(flats_race({SLOT_HUMAN})), 1);
  EXPECT_EQ(track().terrain.heights, rutted);
  EXPECT_EQ(track().terrain.deformation_locked, 0);
  RaceSetup online = flats_race({SLOT_HUMAN});
  online.online = true;
  ASSERT_EQ(start_race(online), 1);
  EXPECT_EQ(track().terrain.heights, pristine);
  EXPECT_EQ(track().terrain.deformation_locked, 1);
}

}  // namespace
