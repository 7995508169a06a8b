#include "track/ground_material.h"

#include <cmath>

#include "testkit.h"

namespace {

TileMaterial with_friction(std::initializer_list<std::pair<float, float>> points) {
  TileMaterial m = default_tile_material();
  int p = 0;
  for (auto [value, speed] : points) {
    m.friction_value[p] = value;
    m.friction_speed[p] = speed;
    ++p;
  }
  return m;
}

TEST(GroundMaterial, DefaultKindHasConstantFrictionAndRollResistance) {
  TileMaterial m = default_tile_material();
  for (float speed : {0.0f, 0.5f, 1.0f, 3.0f, 500.0f}) {
    EXPECT_FLOAT_EQ(FrictionAt(m, speed), 1.0f);
    RollResist r = RollResistAt(m, speed);
    EXPECT_FLOAT_EQ(r.a, 5.0f);
    EXPECT_FLOAT_EQ(r.b, 15.0f);
  }
  EXPECT_EQ(m.roost[0].mode, 0);
}

TEST(GroundMaterial, FrictionBlendsInSquaredSpeed) {
  TileMaterial m = with_friction({{0.5f, 10.0f}, {1.0f, 20.0f}});
  struct Case {
    float speed, friction;
  };
  for (Case c : {Case{0.0f, 0.5f}, Case{5.0f, 0.5f}, Case{10.0f, 0.5f}, Case{15.0f, 0.5f + 0.5f * 125.0f / 300.0f},
                 Case{20.0f, 1.0f}, Case{40.0f, 1.0f}}) {
    SCOPED_TRACE(c.speed);
    EXPECT_NEAR(FrictionAt(m, c.speed), c.friction, 1e-6);
  }
}

TEST(GroundMaterial, AllEightPointsUsedKeepsTheLastBeyondThem) {
  TileMaterial m = default_tile_material();
  for (int p = 0; p < MATERIAL_POINTS; ++p) {
    m.friction_value[p] = 0.1f * (p + 1);
    m.friction_speed[p] = 2.0f * (p + 1);
  }
  EXPECT_FLOAT_EQ(FrictionAt(m, 1000.0f), 0.8f);
  EXPECT_NEAR(FrictionAt(m, std::sqrt(0.5f * (4.0f * 4.0f + 6.0f * 6.0f))), 0.25f, 1e-6);
}

TEST(GroundMaterial, RollResistanceBlendsLinearlyInSpeed) {
  TileMaterial m = default_tile_material();
  m.roll_a[0] = 2.0f, m.roll_b[0] = 10.0f, m.roll_speed[0] = 4.0f;
  m.roll_a[1] = 6.0f, m.roll_b[1] = 30.0f, m.roll_speed[1] = 8.0f;
  RollResist below = RollResistAt(m, 1.0f), middle = RollResistAt(m, 6.0f), above = RollResistAt(m, 9.0f);
  EXPECT_FLOAT_EQ(below.a, 2.0f);
  EXPECT_FLOAT_EQ(middle.a, 4.0f);
  EXPECT_FLOAT_EQ(middle.b, 20.0f);
  EXPECT_FLOAT_EQ(above.b, 30.0f);
}

}  // namespace
