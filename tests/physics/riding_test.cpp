// Riding scenarios on hand-made ground: standing, accelerating through the
// gears, braking, steering, jumping and wheelies.
#include <cmath>
#include <cstdio>

#include "core/settings.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/rider.h"
#include "scenario_kit.h"
#include "track/track.h"

using namespace physics_kit;

namespace {

class Riding : public PhysicsTest {
 protected:
  void SetUp() override {
    PhysicsTest::SetUp();
    reset_settings();
    track().terrain = flat_terrain(9, 2);  // 2048 ft of level, grippy ground
  }
  // The player's setup with the default settings: arcade physics, automatic
  // shifting, front antilock, dab when stopped.
  Bike* player_bike(const char* model, double x = 1024, double z = 1900) {
    Bike* b = add_bike(model, x, z);
    apply_stability_preset(settings.stability.value);
    apply_settings(*b, settings);
    return b;
  }
};

bool both_wheels_down(const Bike* b) { return wheel_down(*b, WHEEL_FRONT) && wheel_down(*b, WHEEL_REAR); }

TEST_F(Riding, DroppedBikeSettlesUprightAndStandsOnItsFoot) {
  // Without arcade's lean motor: only the foot can hold a standing bike up.
  Bike* held = add_bike("crf250(2009)", 900, 1000);
  set_dab_when_stopped(*held, 1);
  Bike* free = add_bike("crf250(2009)", 1100, 1000);
  run(3 * 128);
  for (Bike* b : {held, free}) {
    EXPECT_TRUE(both_wheels_down(b));
    EXPECT_TRUE(upright(b));
    EXPECT_LT(speed(b), 0.2);
    EXPECT_LT(dJointGetSliderPosition(b->fork_slide), -0.05);  // the suspension carries the weight
    EXPECT_LT(dJointGetHingeAngle(b->swingarm_pivot), -0.05);
  }
  EXPECT_GT(held->controls.dab_timer, 0.5);  // the foot is down
  // Both start to tip over the same way.
  for (Bike* b : {held, free}) dBodyAddRelTorque(b->frame, 0, 0, 250);
  run(6 * 128);
  EXPECT_TRUE(upright(held));
  EXPECT_TRUE(both_wheels_down(held));
  EXPECT_LT(std::fabs(roll_angle(held->frame)), 0.3);
  EXPECT_GT(std::fabs(roll_angle(free->frame)), 1.0);  // nothing held it
}

// Full throttle with automatic shifting on level ground, per model class.
TEST_F(Riding, AcceleratesThroughTheGearsToTopSpeed) {
  struct Case {
    const char* model;
    int top_gear;
    double top_low_mph, top_high_mph;
  } cases[] = {{"crf250(2009)", 5, 70, 95}, {"cr125", 5, 65, 95}, {"kx125", 6, 65, 95}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.model);
    Bike* b = player_bike(c.model, 1024 + 20 * static_cast<int>(bikes.size()), 2000);
    double top = 0, sixty_time = 0;
    int highest_gear = 0;
    for (int t = 0; t < 14 * 128; ++t) {
      run(1, [&](int) {
        set_clutch(*b, 0);
        set_throttle(*b, 1);
      });
      top = std::max(top, speed(b));
      highest_gear = std::max(highest_gear, b->controls.gear + 1);
      if (sixty_time == 0 && speed(b) >= 60 * MPH) sixty_time = t / 128.0;
    }
    std::printf("%s: top speed %.1f mph in gear %d, 0-60 mph in %.2f s\n", c.model, top / MPH, highest_gear, sixty_time);
    EXPECT_EQ(highest_gear, c.top_gear);
    EXPECT_GT(top, c.top_low_mph * MPH);
    EXPECT_LT(top, c.top_high_mph * MPH);
    EXPECT_GT(sixty_time, 2.5);
    EXPECT_LT(sixty_time, 8);
    EXPECT_TRUE(upright(b));
    EXPECT_TRUE(rider_on(b));
    // The engine limits itself a little beyond its maximum rpm.
    EXPECT_LT(engine_rpm(*b), b->info.max_rpm + 1500);
    free_bike(b);
    bikes.clear();
  }
}

TEST_F(Riding, BrakesFrom40MphToAStop) {
  Bike* b = player_bike("crf250(2009)");
  run(8 * 128, [&](int) { hold_speed(b, 40 * MPH); });
  ASSERT_NEAR(speed(b), 40 * MPH, 3);
  Vec3 start = position(b);
  int ticks = 0;
  while (speed(b) > 0.5 && ticks < 10 * 128) {
    run(1, [&](int) {
      set_throttle(*b, 0);
      set_clutch(*b, 1);  // lever pulled
      set_front_brake(*b, 1);
      set_rear_brake(*b, 1);
    });
    ++ticks;
  }
  double distance = length(position(b) - start);
  std::printf("40 mph to a stop: %.1f ft in %.2f s\n", distance, ticks / 128.0);
  EXPECT_GT(distance, 50);  // a grip of 1 allows no less than 54 ft
  EXPECT_LT(distance, 110);
  EXPECT_TRUE(upright(b));
  EXPECT_TRUE(rider_on(b));
}

TEST_F(Riding, FrontAntilockLetsTheWheelTurnOnSlipperyGround) {
  // Wet clay beyond z = 1720 ft: the bikes reach speed on grippy ground first.
  track().terrain.tile_count = 2;
  track().terrain.materials[1] = default_tile_material();
  track().terrain.materials[1].friction_value[0] = 0.25f;
  int tiles = terrain_tiles(track().terrain);
  for (int tz = 0; tz < 1720 / 4; ++tz)
    for (int tx = 0; tx < tiles; ++tx) track().terrain.tile_map[static_cast<size_t>(tx + tiles * tz)] = 1;
  double lowest_spin[2] = {};
  for (int antilock = 0; antilock < 2; ++antilock) {
    Bike* b = add_bike("crf250(2009)", 900 + 200 * antilock, 1900);
    set_automatic_shifting(*b, 1);
    set_front_antilock(*b, antilock);
    for (int t = 0; t < 20 * 128 && position(b).z > 1680; ++t) run(1, [&](int) { hold_speed(b, 25 * MPH); });
    ASSERT_GT(speed(b), 20 * MPH);
    lowest_spin[antilock] = INFINITY;
    for (int t = 0; t < 64; ++t) {
      run(1, [&](int) {
        set_throttle(*b, 0);
        set_clutch(*b, 1);
        set_front_brake(*b, 1);
      });
      double rolling = speed(b) / (b->info.front_rim_radius + b->info.front_tyre_radius);
      lowest_spin[antilock] = std::min(lowest_spin[antilock], dJointGetHingeAngleRate(b->front_axle) / rolling);
    }
  }
  EXPECT_LT(lowest_spin[0], 0.1);  // locked
  EXPECT_GT(lowest_spin[1], 0.5);  // let go each time it slid
}

TEST_F(Riding, SteeringTurnsTheWayItIsAsked) {
  struct Case {
    const char* setup;
    double mph, steer, least_turn;  // radians within 3 s
  } cases[] = {
      {"player", 10, 1, 2}, {"player", 50, 1, 0.5}, {"player", 50, -1, 0.5},
      {"lean to steer", 50, 0.08, 0.3}, {"lean to steer", 50, -0.08, 0.3}, {"direct", 50, 0.08, 0.15},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.setup << " at " << c.mph << " mph, steer " << c.steer);
    Bike* b = player_bike("yz250f(2009)", 1024, 1024);
    if (std::string(c.setup) != "player") set_arcade(*b, 0);
    if (std::string(c.setup) == "direct") apply_default_setup(*b);
    set_automatic_shifting(*b, 1);
    run(6 * 128, [&](int) { hold_speed(b, c.mph * MPH); });
    double heading = heading_change(b), turned = 0, leaned_most = 0;
    for (int t = 0; t < 3 * 128; ++t) {
      run(1, [&](int) {
        hold_speed(b, c.mph * MPH);
        set_steer(*b, c.steer);
      });
      turned += std::remainder(heading_change(b) - heading, 2 * M_PI);
      heading = heading_change(b);
      leaned_most = std::max(leaned_most, std::fabs(roll_angle(b->frame)));
    }
    EXPECT_GT(c.steer > 0 ? turned : -turned, c.least_turn);  // right is positive
    EXPECT_LT(roll_angle(b->frame) * c.steer, 0);  // leaning into the turn
    EXPECT_LT(leaned_most, 0.9);
    EXPECT_TRUE(both_wheels_down(b));
    EXPECT_TRUE(rider_on(b));
    EXPECT_GT(speed(b), c.mph * MPH * 0.7);
    free_bike(b);
    bikes.clear();
  }
}

}  // namespace

namespace {

// A tabletop across the course: take-off face (curving up to 6 ft), a 48 ft
// top, a landing slope back down. Bikes ride toward -z.
float tabletop(float, float z) {
  if (z >= 1700 || z < 1622) return 0;
  if (z >= 1684) return 6 * std::pow((1700 - z) / 16, 1.5f);
  if (z >= 1636) return 6;
  return 6 * (z - 1622) / 14;
}

TEST_F(Riding, ClearsATabletopAndLandsOnBothWheels) {
  track().terrain = shaped_terrain(9, 2, tabletop);
  for (const char* setup : {"player", "robot"}) {
    SCOPED_TRACE(setup);
    Bike* b = std::string(setup) == "player" ? player_bike("kx250f(2009)", 1024, 2000) : add_bike("kx250f(2009)", 1024, 2000);
    set_automatic_shifting(*b, 1);
    int airborne = 0, longest_air = 0, landing_tick = -1, both_down_after_landing = -1, t = 0;
    double highest = 0;
    for (; t < 12 * 128 && position(b).z > 1500; ++t) {
      run(1, [&](int) { hold_speed(b, 32 * MPH); });
      bool down = wheel_down(*b, WHEEL_FRONT) || wheel_down(*b, WHEEL_REAR);
      if (position(b).z < 1700) {
        airborne = down ? 0 : airborne + 1;
        longest_air = std::max(longest_air, airborne);
        highest = std::max(highest, position(b).y - TerrainHeightAt(track().terrain, position(b).x, position(b).z));
        if (down && longest_air > 32 && landing_tick < 0) landing_tick = t;
        if (landing_tick >= 0 && both_down_after_landing < 0 && both_wheels_down(b)) both_down_after_landing = t;
      }
      ASSERT_TRUE(rider_on(b)) << t;
    }
    EXPECT_GT(longest_air, 100);  // close to a second in the air
    ASSERT_GE(landing_tick, 0);
    EXPECT_LE(both_down_after_landing - landing_tick, 32);  // the other wheel follows within a quarter second
    EXPECT_TRUE(upright(b));
    EXPECT_TRUE(both_wheels_down(b));
    EXPECT_LT(position(b).z, 1600);  // cleared the table and rode on
    EXPECT_GT(speed(b), 25 * MPH);
    free_bike(b);
    bikes.clear();
  }
}

TEST_F(Riding, LeaningBackUnderPowerLiftsTheFront) {
  track().terrain.materials[0].friction_value[0] = 1.2f;  // hard-packed: the tyre grips rather than spins
  int wheelie_ticks[2] = {};
  double highest_pitch[2] = {};
  for (int lean = 0; lean < 2; ++lean) {
    Bike* b = add_bike("crf250(2009)", 900 + 200 * lean, 1900);
    run(128, [&](int) { hold_speed(b, 5 * MPH); });
    run(128, [&](int) {
      set_clutch(*b, 0);
      set_throttle(*b, 1);
      set_lean(*b, lean);
      if (!wheel_down(*b, WHEEL_FRONT) && wheel_down(*b, WHEEL_REAR)) ++wheelie_ticks[lean];
      highest_pitch[lean] = std::max(highest_pitch[lean], std::asin(-body_axis(b->frame, 2).y));
    });
    EXPECT_EQ(b->controls.gear, 0);
    EXPECT_TRUE(rider_on(b));
  }
  EXPECT_GT(wheelie_ticks[1], 64);
  EXPECT_GT(highest_pitch[1], 0.3);  // nose up by more than 17 degrees
  EXPECT_LT(highest_pitch[0], 0.2);  // sitting upright it only squats
}

}  // namespace
