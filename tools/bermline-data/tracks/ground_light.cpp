#include "tracks/ground_light.h"

#include <algorithm>
#include <cmath>

#include "kit/noise.h"

namespace tracks {

namespace {

double smoothstep(double a, double b, double x) {
  double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// How much of the sun the land itself hides from each vertex: march towards
// the sun and see how far the ground rises above the ray (soft edges come
// from the closest miss).
std::vector<float> land_shadow(const Heightfield& ground, Vec3 sun) {
  const int p = ground.size;
  std::vector<float> shadow(static_cast<size_t>(p) * p, 0.0f);
  double flat = std::hypot(sun.x, sun.z);
  if (flat < 1e-6 || sun.y <= 0) return shadow;
  const double dx = sun.x / flat, dz = sun.z / flat, rise = sun.y / flat;
  const double top = ground.max_height();
  for (int j = 0; j < p; ++j)
    for (int i = 0; i < p; ++i) {
      double x = i * ground.spacing, z = j * ground.spacing, h = ground.at(i, j) + 0.25;
      double worst = -1;
      for (double dist = ground.spacing; h + dist * rise <= top + 1;
           dist += ground.spacing * (1 + dist / 60)) {
        double qx = x + dx * dist, qz = z + dz * dist;
        if (qx < 0 || qz < 0 || qx > ground.extent() || qz > ground.extent()) break;
        double over = (ground.height_at(qx, qz) - (h + dist * rise)) / dist;
        worst = std::max(worst, over);
        if (worst > 0.05) break;
      }
      shadow[static_cast<size_t>(j) * p + i] = static_cast<float>(smoothstep(-0.015, 0.04, worst));
    }
  return shadow;
}

// Soft blobs where trees, fans and statues keep the sun off the ground.
void scenery_shadow(const Heightfield& ground, Vec3 sun, const std::vector<ShadowCaster>& casters,
                    std::vector<float>& shadow) {
  double flat = std::hypot(sun.x, sun.z);
  if (flat < 1e-6 || sun.y <= 0) return;
  const double dx = sun.x / flat, dz = sun.z / flat, rise = sun.y / flat;
  const double stretch = 1 / std::max(0.2, normalized(sun).y);
  for (const ShadowCaster& c : casters) {
    // The blob falls away from the sun, stretched along the sun's direction.
    double cx = c.x - dx * c.height / rise, cz = c.z - dz * c.height / rise;
    double along = c.radius * stretch, across = c.radius;
    double reach = along + ground.spacing;
    int i0 = std::max(0, static_cast<int>((cx - reach) / ground.spacing));
    int i1 = std::min(ground.size - 1, static_cast<int>((cx + reach) / ground.spacing) + 1);
    int j0 = std::max(0, static_cast<int>((cz - reach) / ground.spacing));
    int j1 = std::min(ground.size - 1, static_cast<int>((cz + reach) / ground.spacing) + 1);
    for (int j = j0; j <= j1; ++j)
      for (int i = i0; i <= i1; ++i) {
        double ox = i * ground.spacing - cx, oz = j * ground.spacing - cz;
        double a = (ox * dx + oz * dz) / along, b = (ox * -dz + oz * dx) / across;
        double r = std::sqrt(a * a + b * b);
        double dark = c.density * smoothstep(1.0, 0.45, r);
        float& s = shadow[static_cast<size_t>(j) * ground.size + i];
        s = static_cast<float>(1 - (1 - s) * (1 - dark));
      }
  }
}

std::vector<float> blurred(const std::vector<float>& values, int p, int radius) {
  std::vector<float> across(values.size()), out(values.size());
  for (int pass = 0; pass < 2; ++pass) {
    const std::vector<float>& in = pass == 0 ? values : across;
    std::vector<float>& to = pass == 0 ? across : out;
    for (int j = 0; j < p; ++j)
      for (int i = 0; i < p; ++i) {
        double sum = 0;
        int count = 0;
        for (int k = -radius; k <= radius; ++k) {
          int a = pass == 0 ? std::clamp(i + k, 0, p - 1) : i, b = pass == 0 ? j : std::clamp(j + k, 0, p - 1);
          sum += in[static_cast<size_t>(b) * p + a];
          ++count;
        }
        to[static_cast<size_t>(j) * p + i] = static_cast<float>(sum / count);
      }
  }
  return out;
}

// The vertex normal the game's lighting uses: the sum of the unit normals
// of the eight triangles around the vertex.
Vec3 ring_normal(const Heightfield& ground, int i, int j) {
  static const int ring[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
  const double s = ground.spacing;
  Vec3 c{i * s, ground.at(i, j), j * s};
  Vec3 sum;
  for (int k = 0; k < 8; ++k) {
    const int* a = ring[k];
    const int* b = ring[(k + 1) % 8];
    int ai = std::clamp(i + a[0], 0, ground.size - 1), aj = std::clamp(j + a[1], 0, ground.size - 1);
    int bi = std::clamp(i + b[0], 0, ground.size - 1), bj = std::clamp(j + b[1], 0, ground.size - 1);
    Vec3 pa{ai * s, ground.at(ai, aj), aj * s}, pb{bi * s, ground.at(bi, bj), bj * s};
    sum += normalized(cross(pb - c, pa - c));
  }
  return normalized(sum);
}

}  // namespace

GroundLight bake_ground_light(const Heightfield& ground, const LightingSpec& light,
                              const std::vector<ShadowCaster>& casters) {
  const int p = ground.size;
  const Vec3 sun = normalized(light.sun_vector);
  std::vector<float> shadow = land_shadow(ground, sun);
  scenery_shadow(ground, sun, casters, shadow);
  shadow = blurred(shadow, p, 1);

  // Hollows get less of the sky's light than crests.
  std::vector<float> heights(ground.heights.begin(), ground.heights.end());
  std::vector<float> around = blurred(heights, p, std::max(2, static_cast<int>(8 / ground.spacing)));

  GroundLight out;
  out.shading.resize(static_cast<size_t>(p) * p * 3);
  out.light.resize(static_cast<size_t>(p) * p);
  for (int j = 0; j < p; ++j)
    for (int i = 0; i < p; ++i) {
      size_t v = static_cast<size_t>(j) * p + i;
      uint8_t light_byte = static_cast<uint8_t>(std::lround((1 - shadow[v]) * 255));
      out.light[v] = light_byte;
      Vec3 n = ring_normal(ground, i, j);
      double lit = std::clamp(dot(n, sun), 0.0, 1.0) * (light_byte / 255.0);
      double hollow = std::clamp(1 + (ground.heights[v] - around[v]) * 0.12, 0.72, 1.06);
      // Broad, gentle changes of colour, so the repeating ground tiles read
      // as one large ground from afar.
      double x = i * ground.spacing, z = j * ground.spacing;
      double tint[3] = {1 + 0.05 * kit::fbm(x / 70, z / 70, 91, 3), 1 + 0.06 * kit::fbm(x / 90, z / 90, 92, 3),
                        1 + 0.04 * kit::fbm(x / 80, z / 80, 93, 3)};
      const double sun_rgb[3] = {light.sun_colour.x, light.sun_colour.y, light.sun_colour.z};
      const double ambient[3] = {light.ambient.x, light.ambient.y, light.ambient.z};
      for (int k = 0; k < 3; ++k) {
        double value = (sun_rgb[k] * lit + ambient[k] * hollow) * 0.5 * tint[k];
        out.shading[v * 3 + k] = static_cast<uint8_t>(std::clamp(static_cast<int>(value * 255), 0, 255));
      }
    }
  return out;
}

}  // namespace tracks
