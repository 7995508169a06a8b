// The operations that change the ground during play: ruts (DeformTerrain)
// with their re-shading, piles of thrown material (DepositAt) and
// repainted tiles (PaintTile).
#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "track/terrain.h"

namespace {

bool inside_grid(const Terrain& t, int i, int j) { return i >= 0 && j >= 0 && i < t.grid_size && j < t.grid_size; }

size_t vertex_index(const Terrain& t, int i, int j) {
  return static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * static_cast<size_t>(j);
}

// Writes a height unless the vertex is off the grid or the ground locked.
void write_height(Terrain& t, int i, int j, float height) {
  if (!inside_grid(t, i, j) || t.deformation_locked) return;
  t.heights[vertex_index(t, i, j)] = height;
  t.heights_modified = 1;
  t.max_height = std::max(t.max_height, height);
  t.min_height = std::min(t.min_height, height);
}

// Spreads rounding over ticks and vertices so that repeated small changes
// of the shading do not vanish.
float dither_threshold(int i, int j) {
  uint32_t g = static_cast<uint32_t>(race_clock), k = 29773421u;
  uint32_t mixed = g * k + static_cast<uint32_t>(j) * k + static_cast<uint32_t>(i) * k + 12345u;
  return static_cast<float>((mixed >> 16) & 0xFFF) / 4095.0f;
}

// Moves the stored shading of (i, j) by (D - (stored - computed)) * factor
// per channel.
void reshade_vertex(Terrain& t, int i, int j, const float difference[3], float factor) {
  if (!inside_grid(t, i, j)) return;
  uint8_t computed[3];
  ShadeVertex(t, i, j, computed);
  uint8_t* stored = &t.shading[vertex_index(t, i, j) * 3];
  float threshold = dither_threshold(i, j);
  for (int c = 0; c < 3; ++c) {
    float change = (difference[c] - (static_cast<float>(stored[c]) - computed[c])) * factor;
    float whole = std::floor(change);
    int step = static_cast<int>(whole) + (change - whole > threshold ? 1 : 0);
    stored[c] = static_cast<uint8_t>(std::clamp(stored[c] + step, 0, 255));
  }
}

}  // namespace

void DeformTerrain(Terrain& t, float x, float z, float dh) {
  if (dh == 0.0f || t.heights.empty() || !std::isfinite(x) || !std::isfinite(z) || !std::isfinite(dh)) return;
  // Far off the field every vertex touched lies outside the grid.
  float limit = static_cast<float>(t.grid_size) + 4.0f;
  float u = std::clamp(x / t.spacing, -4.0f, limit), v = std::clamp(z / t.spacing, -4.0f, limit);
  int i0 = static_cast<int>(std::floor(u)), j0 = static_cast<int>(std::floor(v));
  float weight[4][4];
  float total = 0.0f;
  for (int b = 0; b < 4; ++b) {
    for (int a = 0; a < 4; ++a) {
      int i = i0 - 1 + a, j = j0 - 1 + b;
      float d = std::sqrt((v - j) * (v - j) + (u - i) * (u - i));
      float s = d / 2.0f;
      weight[b][a] = d > 2.0f ? 0.0f : 1.0f - 3.0f * s * s + 2.0f * s * s * s;
      total += weight[b][a];
    }
  }
  static const float DARKEN[3] = {-32.0f, -64.0f, -64.0f};
  for (int b = 0; b < 4; ++b) {
    for (int a = 0; a < 4; ++a) {
      int i = i0 - 1 + a, j = j0 - 1 + b;
      float share = weight[b][a] / total;
      // How far the stored shading of the 3 x 3 vertices around this one
      // is from the computed light, before the height changes.
      float before[3][3][3];
      for (int dj = -1; dj <= 1; ++dj) {
        for (int di = -1; di <= 1; ++di) {
          float* d = before[dj + 1][di + 1];
          d[0] = d[1] = d[2] = 0.0f;
          if (!inside_grid(t, i + di, j + dj)) continue;
          uint8_t computed[3];
          ShadeVertex(t, i + di, j + dj, computed);
          const uint8_t* stored = &t.shading[vertex_index(t, i + di, j + dj) * 3];
          for (int c = 0; c < 3; ++c) d[c] = static_cast<float>(stored[c]) - computed[c];
        }
      }
      if (inside_grid(t, i, j)) write_height(t, i, j, t.heights[vertex_index(t, i, j)] + dh * share);
      for (int dj = -1; dj <= 1; ++dj)
        for (int di = -1; di <= 1; ++di) reshade_vertex(t, i + di, j + dj, before[dj + 1][di + 1], 1.0f);
      reshade_vertex(t, i, j, DARKEN, share * 0.0625f);
    }
  }
}

void DepositAt(Terrain& t, int i, int j, float direction_x, float direction_z, float amount, int first) {
  if (t.heights.empty() || !std::isfinite(amount) || !inside_grid(t, i, j)) return;
  float half_step = 0.5f * t.spacing;
  float pile = TerrainVertexHeight(t, i, j) + amount;
  // The walk moves one way in i and one way in j, so it leaves the grid
  // (where the material falls off the field) within 2 x grid_size steps.
  for (bool first_round = true; inside_grid(t, i, j); first_round = false) {
    int m = direction_x < 0.0f ? i - 1 : i + 1;
    int o = direction_z < 0.0f ? j - 1 : j + 1;
    float a = TerrainVertexHeight(t, m, j), b = TerrainVertexHeight(t, i, o);
    if (!(first_round && first)) {
      float here = TerrainVertexHeight(t, i, j);
      pile = here + amount;
      float low = std::min(a, b);
      if ((pile - low) / t.spacing <= 0.5f) break;
      float cap = std::max(low + half_step, here);
      amount -= cap - here;
      write_height(t, i, j, cap);
    }
    if (a < b) i = m;
    else j = o;
  }
  write_height(t, i, j, pile);
}

void PaintTile(Terrain& t, int tx, int tz, int kind) {
  int tiles = terrain_tiles(t);
  if (t.tile_map.empty() || kind < 0 || kind >= t.tile_count) return;
  bool inside = tx >= 0 && tz >= 0 && tx < tiles && tz < tiles;
  size_t at = static_cast<size_t>(tx) + static_cast<size_t>(tiles) * static_cast<size_t>(tz);
  if (inside && t.tile_map[at] == kind) return;
  if (inside) t.tile_map[at] = static_cast<uint8_t>(kind);
  // Neighbour offsets and the corners (mask bits) they share with the tile.
  static const int touching[8][3] = {{-1, -1, 1}, {0, -1, 1 | 2}, {1, -1, 2}, {-1, 0, 1 | 4},
                                     {1, 0, 2 | 8}, {-1, 1, 4},    {0, 1, 4 | 8}, {1, 1, 8}};
  auto corners_of = [&](int code, int out[4]) {
    int base = (code >> 16) & 0xFF, overlay = (code >> 8) & 0xFF;
    for (int bit = 0; bit < 4; ++bit) out[bit] = (code & (8 >> bit)) ? overlay : base;
  };
  for (const auto& n : touching) {
    int nx = tx + n[0], nz = tz + n[1];
    if (nx < 0 || nz < 0 || nx >= tiles || nz >= tiles) continue;
    uint8_t& neighbour = t.tile_map[static_cast<size_t>(nx) + static_cast<size_t>(tiles) * static_cast<size_t>(nz)];
    int wanted[4];
    corners_of(t.tile_code[neighbour], wanted);
    for (int bit = 0; bit < 4; ++bit)
      if (n[2] & (8 >> bit)) wanted[bit] = kind;
    for (int k = 0; k < t.tile_count; ++k) {
      int have[4];
      corners_of(t.tile_code[static_cast<size_t>(k)], have);
      if (std::equal(have, have + 4, wanted)) {
        neighbour = static_cast<uint8_t>(k);
        break;
      }
    }
  }
}
