// Ground materials: per tile kind a grip curve (friction against contact
// speed), a rolling-resistance curve (drag without and with full sinking,
// against tangential speed) and up to four roost types (what a digging
// wheel throws up). Read from a track's tileinfo (or texturelist).
#pragma once

#include <cstdint>

constexpr int MATERIAL_POINTS = 8;
constexpr int ROOST_TYPES_PER_KIND = 4;
// The smallest speed a curve point may have (2^-20).
constexpr float MATERIAL_MIN_SPEED = 9.536743e-7f;

// One kind of particle a wheel throws. mode 0 ends a kind's list.
struct RoostType {
  int mode = 0;  // 1 = roost thrown by the tyre, 2 = splash
  int texture = 0;
  float count = 10.0f;
  float dig = 1.0f;
  float slip_threshold = 4.0f;
  float slow_angle = 1.5707964f;
  float fast_angle = 0.19634955f;
  float slow_speed = 0.0f;
  float fast_speed = 64.0f;
  float size = 0.25f;
  float grow = 4.0f;
  float drag = 0.5f;
  float vscale = 1.0f;
  float randomize = 15.0f;
  uint8_t r = 255, g = 255, b = 255, a = 255;
  // Change of each colour channel per simulation tick.
  int8_t fade_r = 0, fade_g = 0, fade_b = 0, fade_a = -2;
};

// The curves of one tile kind; points sorted by speed, a speed of 0 marks
// the first unused slot.
struct TileMaterial {
  float friction_value[MATERIAL_POINTS];
  float friction_speed[MATERIAL_POINTS];
  float roll_a[MATERIAL_POINTS];  // resistance force with no sinking
  float roll_b[MATERIAL_POINTS];  // resistance force at full sinking
  float roll_speed[MATERIAL_POINTS];
  RoostType roost[ROOST_TYPES_PER_KIND];
};

// Resistance forces at a tangential speed; blended by sinking as
// a + (b - a) * sink.
struct RollResist {
  float a;
  float b;
};

// A kind before any of its lines: friction 1.0 at speed 1.0, rolling
// resistance (5, 15) at speed 1.0, no roost types.
TileMaterial default_tile_material();

// Friction coefficient at a contact-point speed, blended linearly in
// squared speed between the curve's points.
float FrictionAt(const TileMaterial& material, float speed);
// Rolling-resistance pair at a tangential speed, blended linearly.
RollResist RollResistAt(const TileMaterial& material, float speed);

// The same for tile kind `kind` of the loaded terrain (kinds outside the
// table use the default material).
float FrictionAt(int kind, float speed);
RollResist RollResistAt(int kind, float speed);
