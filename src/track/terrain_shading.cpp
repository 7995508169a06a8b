// Vertex lighting of the terrain from the track's sun and ambient light.
#include <algorithm>
#include <cmath>

#include "track/lighting.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

struct Vec {
  float x, y, z;
};

Vec vertex_position(const Terrain& t, int i, int j) {
  int last = t.grid_size - 1;
  i = std::clamp(i, 0, last);
  j = std::clamp(j, 0, last);
  return {static_cast<float>(i) * t.spacing, t.heights[static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * j],
          static_cast<float>(j) * t.spacing};
}

// Low-detail textures (index range along one axis) whose area reaches
// the vertices first..last.
void low_detail_range(const Terrain& t, int first, int last, int* from, int* to) {
  *from = t.low_detail_per_side;
  *to = -1;
  for (int k = 0; k < t.low_detail_per_side; ++k) {
    int low = LOW_DETAIL_CELLS * k - LOW_DETAIL_MARGIN, high = LOW_DETAIL_CELLS * k + LOW_DETAIL_CELLS + LOW_DETAIL_MARGIN;
    if (high < first || low > last) continue;
    *from = std::min(*from, k);
    *to = std::max(*to, k);
  }
}

}  // namespace

void ShadeVertex(const Terrain& t, int i, int j, uint8_t rgb[3]) {
  static const int ring[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {0, 1}, {-1, 1}, {-1, 0}};
  int last = t.grid_size - 1;
  i = std::clamp(i, 0, last);
  j = std::clamp(j, 0, last);
  Vec c = vertex_position(t, i, j);
  Vec around[8];
  for (int k = 0; k < 8; ++k) {
    Vec p = vertex_position(t, i + ring[k][0], j + ring[k][1]);
    around[k] = {p.x - c.x, p.y - c.y, p.z - c.z};
  }
  Vec sum = {0, 0, 0};
  for (int k = 0; k < 8; ++k) {
    const Vec& a = around[k];
    const Vec& b = around[(k + 1) % 8];
    // (b - c) x (a - c); neighbours clamped onto the centre add nothing.
    Vec n = {b.y * a.z - b.z * a.y, b.z * a.x - b.x * a.z, b.x * a.y - b.y * a.x};
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (!(length > 0.0f)) continue;
    sum.x += n.x / length, sum.y += n.y / length, sum.z += n.z / length;
  }
  float length = std::sqrt(sum.x * sum.x + sum.y * sum.y + sum.z * sum.z);
  Vec n = length > 0.0f ? Vec{sum.x / length, sum.y / length, sum.z / length} : Vec{0, 1, 0};
  const float* sun = track().lighting.sun_vector;
  float lit = std::clamp(n.x * sun[0] + n.y * sun[1] + n.z * sun[2], 0.0f, 1.0f);
  lit *= 1.0f - t.shadow[static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * j] / 255.0f;
  for (int k = 0; k < 3; ++k) {
    float value = (track().lighting.sun_colour[k] * lit + track().lighting.ambient[k]) * 0.5f;
    float scaled = value * 255.0f;
    rgb[k] = static_cast<uint8_t>(scaled >= 255.0f ? 255 : (scaled > 0.0f ? static_cast<int>(scaled) : 0));
  }
}

void ReshadeRegion(Terrain& t, int i0, int j0, int i1, int j1) {
  if (t.heights.empty()) return;
  int last = t.grid_size - 1;
  i0 = std::clamp(i0, 0, last), i1 = std::clamp(i1, 0, last);
  j0 = std::clamp(j0, 0, last), j1 = std::clamp(j1, 0, last);
  for (int j = j0; j <= j1; ++j)
    for (int i = i0; i <= i1; ++i) ShadeVertex(t, i, j, &t.shading[(static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * j) * 3]);
  int x_from, x_to, z_from, z_to;
  low_detail_range(t, i0, i1, &x_from, &x_to);
  low_detail_range(t, j0, j1, &z_from, &z_to);
  for (int z = z_from; z <= z_to; ++z)
    for (int x = x_from; x <= x_to; ++x) t.low_detail_dirty[static_cast<size_t>(x + t.low_detail_per_side * z)] = 1;
}
