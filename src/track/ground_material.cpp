#include "track/ground_material.h"

#include <algorithm>

#include "track/terrain.h"
#include "track/track.h"

TileMaterial default_tile_material() {
  TileMaterial m;
  for (int p = 0; p < MATERIAL_POINTS; ++p) {
    m.friction_value[p] = 1.0f;
    m.friction_speed[p] = 0.0f;
    m.roll_a[p] = 5.0f;
    m.roll_b[p] = 15.0f;
    m.roll_speed[p] = 0.0f;
  }
  m.friction_speed[0] = 1.0f;
  m.roll_speed[0] = 1.0f;
  for (RoostType& type : m.roost) type = RoostType{};
  return m;
}

float FrictionAt(const TileMaterial& m, float speed) {
  const float* s = m.friction_speed;
  const float* v = m.friction_value;
  float squared = speed * speed;
  int p = 0;
  while (p < MATERIAL_POINTS && s[p] != 0.0f && squared >= s[p] * s[p]) ++p;
  if (p == 0) return v[0];
  if (p < MATERIAL_POINTS && s[p] != 0.0f) {
    float low = s[p - 1] * s[p - 1];
    float t = std::clamp((squared - low) / (s[p] * s[p] - low), 0.0f, 1.0f);
    return v[p - 1] + t * (v[p] - v[p - 1]);
  }
  return v[p - 1];
}

RollResist RollResistAt(const TileMaterial& m, float speed) {
  const float* s = m.roll_speed;
  int p = 0;
  while (p < MATERIAL_POINTS && s[p] != 0.0f && speed >= s[p]) ++p;
  if (p == 0) return {m.roll_a[0], m.roll_b[0]};
  if (p < MATERIAL_POINTS && s[p] != 0.0f) {
    float t = std::clamp((speed - s[p - 1]) / (s[p] - s[p - 1]), 0.0f, 1.0f);
    return {m.roll_a[p - 1] + t * (m.roll_a[p] - m.roll_a[p - 1]),
            m.roll_b[p - 1] + t * (m.roll_b[p] - m.roll_b[p - 1])};
  }
  return {m.roll_a[p - 1], m.roll_b[p - 1]};
}

namespace {

const TileMaterial& material_of_kind(int kind) {
  static const TileMaterial fallback = default_tile_material();
  if (kind < 0 || kind >= track().terrain.tile_count) return fallback;
  return track().terrain.materials[static_cast<size_t>(kind)];
}

}  // namespace

float FrictionAt(int kind, float speed) { return FrictionAt(material_of_kind(kind), speed); }

RollResist RollResistAt(int kind, float speed) { return RollResistAt(material_of_kind(kind), speed); }
