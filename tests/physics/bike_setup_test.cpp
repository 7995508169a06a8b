// Menu values into the bike's setup, the stability table and the physical
// figures of the "Suspension and Gearing" page.
#include <cmath>

#include "core/settings.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics_kit.h"

using namespace physics_kit;

namespace {

class BikeSetupTest : public PhysicsTest {
 protected:
  void SetUp() override {
    PhysicsTest::SetUp();
    reset_settings();
  }
  Bike* make(const char* model) {
    Bike* b = load_bike(model, 0, "", nullptr, nullptr, nullptr, nullptr);
    bikes.push_back(b);
    return b;
  }
};

TEST_F(BikeSetupTest, StabilityPresetBlendsTheTable) {
  struct Case {
    double stability;
    double roll_damping, roll_limit_angle, roll_limit_factor, direct_steering, slow_damping_factor, falloff, landing;
  } cases[] = {
      {100, 80, 35, 32, 0, 2, 0.25, 2},     {50, 65, 42.5, 21, 1, 1.75, 0.25, 2}, {0, 40, 90, 0, 1, 1, 0, 1},
      {10, 45, 67.5, 2.5, 1, 1, 0.0625, 1.25}, {90, 77.5, 35, 32, 0.5, 2, 0.25, 2}, {150, 80, 35, 32, 0, 2, 0.25, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.stability);
    apply_stability_preset(c.stability);
    const Settings& s = settings;
    EXPECT_DOUBLE_EQ(s.roll_damping.value, c.roll_damping);
    EXPECT_DOUBLE_EQ(s.roll_limit_angle.value, c.roll_limit_angle);
    EXPECT_DOUBLE_EQ(s.roll_limit_factor.value, c.roll_limit_factor);
    EXPECT_DOUBLE_EQ(s.direct_steering.value, c.direct_steering);
    EXPECT_DOUBLE_EQ(s.slow_damping_factor.value, c.slow_damping_factor);
    EXPECT_DOUBLE_EQ(s.land_damping_falloff.value, c.falloff);
    EXPECT_DOUBLE_EQ(s.land_damping_factor.value, c.landing);
    EXPECT_EQ(s.leveling.value, 20);
    EXPECT_EQ(s.max_steering_force.value, 400);
  }
}

TEST_F(BikeSetupTest, SettersStorePhysicalUnits) {
  Bike* b = make("rm125");
  struct DabCase {
    double mph, feet_per_second;
  } dab[] = {{10, 16}, {20, 29.333333333333332}, {25, 30}, {15, 22}};
  for (const DabCase& c : dab) {
    set_max_dab_speed(*b, c.mph);
    EXPECT_NEAR(b->setup.max_dab_speed, c.feet_per_second, 1e-12) << c.mph;
  }
  set_roll_limit_angle(*b, 45);
  EXPECT_DOUBLE_EQ(b->setup.roll_limit_angle, M_PI / 4);
  set_roll_limit_angle(*b, 400);
  EXPECT_DOUBLE_EQ(b->setup.roll_limit_angle, M_PI);
  set_leveling(*b, 500);
  EXPECT_EQ(b->setup.leveling, 200);
  set_slow_damping_factor(*b, 0);
  EXPECT_EQ(b->setup.slow_damping_factor, 1);

  set_sprockets(*b, -2, -2);  // 12 - 2 and 50 - 2 teeth
  EXPECT_DOUBLE_EQ(b->final_drive_ratio, 4.8);
  b->info.front_sprocket = 4;
  set_sprockets(*b, -2, 0);  // 2 teeth count as 3
  EXPECT_DOUBLE_EQ(b->final_drive_ratio, 50.0 / 3);
}

TEST_F(BikeSetupTest, SuspensionPercentagesSpanTheModelRanges) {
  Bike* b = make("crf250(2009)");
  set_fork(*b, 0, 100, 50, 0, 100);
  EXPECT_DOUBLE_EQ(b->setup.fork_compression_damping, 30);  // half the base
  EXPECT_DOUBLE_EQ(b->setup.fork_rebound_damping, 45);      // one and a half times
  EXPECT_NEAR(b->setup.fork_spring_rate, 604.772, 1e-9);
  EXPECT_EQ(b->setup.fork_preload, 0);
  EXPECT_NEAR(b->setup.fork_air_gap, 0.25, 1e-12);  // most oil: the shortest air column
  set_shock(*b, 50, 50, 100, 200);
  EXPECT_DOUBLE_EQ(b->setup.shock_compression_damping, 800);
  EXPECT_NEAR(b->setup.shock_spring_rate, 4031.81, 1e-9);
  EXPECT_NEAR(b->setup.shock_preload, 0.0275, 1e-12);  // clamped at the top of the range
  set_rider_springs(*b, 0, 25, 100, 150);
  EXPECT_EQ(b->setup.rider_vertical_spring, 0);
  EXPECT_EQ(b->setup.rider_vertical_damping, 0.25);
  EXPECT_EQ(b->setup.rider_forward_damping, 1);
}

TEST_F(BikeSetupTest, ApplySettingsPushesEveryChoiceIntoTheFlags) {
  Bike* b = make("yz125");
  apply_settings(*b, settings);
  // Defaults: arcade, front antilock, automatic shifting, dab when stopped.
  EXPECT_EQ(b->flags, 0x01 | 0x08 | 0x20 | 0x40 | 0x80);
  EXPECT_NEAR(b->setup.max_dab_speed, 29.333333333333332, 1e-12);
  EXPECT_DOUBLE_EQ(b->setup.direct_steering, 1);  // the menu value before any stability preset
  settings.stop_wheelies.current = 1;
  settings.arcade.current = 0;
  settings.rear_brake.current = 1;
  apply_settings(*b, settings);
  EXPECT_EQ(b->flags, 0x01 | 0x02 | 0x04 | 0x08 | 0x10 | 0x20 | 0x40);
  settings.stop_wheelies.current = 2;
  apply_settings(*b, settings);
  EXPECT_EQ(b->flags & 0x06, 0x04);
}

TEST_F(BikeSetupTest, StabilityItemsApplyOneAtATime) {
  Bike* b = make("kx125");
  settings.roll_damping.value = 33;
  settings.leveling.value = 44;
  EXPECT_TRUE(apply_stability_item(*b, settings.roll_damping));
  EXPECT_EQ(b->setup.roll_damping, 33);
  EXPECT_EQ(b->setup.leveling, 20);  // untouched
  settings.roll_limit_angle.value = 90;
  EXPECT_TRUE(apply_stability_item(*b, settings.roll_limit_angle));
  EXPECT_DOUBLE_EQ(b->setup.roll_limit_angle, M_PI / 2);
  EXPECT_FALSE(apply_stability_item(*b, settings.brake_torque));
}

TEST_F(BikeSetupTest, SuspensionPageShowsPhysicalFigures) {
  SetupTexts t = setup_display("crf250(2009)", settings);
  EXPECT_EQ(t.fork_spring_rate, "0.450 kg/mm");
  EXPECT_EQ(t.fork_preload, "12.70 mm");
  EXPECT_EQ(t.fork_oil_level, "101.60 mm");
  EXPECT_EQ(t.shock_spring_rate, "4.65 kg/mm");
  EXPECT_EQ(t.shock_preload, "4.19 mm");
  EXPECT_EQ(t.countershaft_sprocket, "13.00 teeth");
  EXPECT_EQ(t.rear_sprocket, "51.00 teeth");
  settings.front_sprocket_adjustment.value = -1;
  settings.fork_oil_level_adjustment.value = 100;
  t = setup_display("rm125", settings);
  EXPECT_EQ(t.countershaft_sprocket, "11.00 teeth");
  EXPECT_EQ(t.fork_oil_level, "76.20 mm");
  t = setup_display("crf250", settings);  // not a model name: nothing shown
  EXPECT_EQ(t.fork_spring_rate, "");
  EXPECT_EQ(t.rear_sprocket, "");
}

}  // namespace
