// Height, normal and tile queries on the terrain's triangles. The grid is
// cut with alternating diagonals: a cell whose i + j is even joins (i, j)
// and (i+1, j+1), an odd cell joins (i+1, j) and (i, j+1).
#include <cmath>

#include "track/terrain.h"

namespace {

// Cell coordinates of a world point, kept within a cell of the border so
// that any input (even far away or not a number) indexes safely; beyond
// the border the surface is flat in that direction, so the result is the same.
void cell_of(const Terrain& t, float x, float z, int* i, int* j, float* fu, float* fv) {
  float limit = static_cast<float>(t.grid_size) + 1.0f;
  float u = x / t.spacing, v = z / t.spacing;
  if (!(u >= -2.0f)) u = -2.0f;
  if (!(u <= limit)) u = limit;
  if (!(v >= -2.0f)) v = -2.0f;
  if (!(v <= limit)) v = limit;
  float fi = std::floor(u), fj = std::floor(v);
  *i = static_cast<int>(fi);
  *j = static_cast<int>(fj);
  *fu = u - fi;
  *fv = v - fj;
}

// The triangle under a point: its right-angle corner and the far ends of
// its two legs (one along x, one along z), as grid vertices.
struct Triangle {
  int ci, cj;  // corner
  int xi, xj;  // end of the leg along x
  int zi, zj;  // end of the leg along z
  float a, b;  // distance along each leg, in cells
};

Triangle triangle_at(int i, int j, float fu, float fv) {
  if ((i + j) & 1) {
    if (fu + fv <= 1.0f) return {i, j, i + 1, j, i, j + 1, fu, fv};
    return {i + 1, j + 1, i, j + 1, i + 1, j, 1.0f - fu, 1.0f - fv};
  }
  if ((1.0f - fu) + fv <= 1.0f) return {i + 1, j, i, j, i + 1, j + 1, 1.0f - fu, fv};
  return {i, j + 1, i + 1, j + 1, i, j, fu, 1.0f - fv};
}

}  // namespace

float TerrainVertexHeight(const Terrain& t, int i, int j) {
  if (t.heights.empty()) return 0.0f;
  int last = t.grid_size - 1;
  i = i < 0 ? 0 : (i > last ? last : i);
  j = j < 0 ? 0 : (j > last ? last : j);
  return t.heights[static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * static_cast<size_t>(j)];
}

float TerrainHeightAt(const Terrain& t, float x, float z) {
  if (t.heights.empty()) return 0.0f;
  int i, j;
  float fu, fv;
  cell_of(t, x, z, &i, &j, &fu, &fv);
  Triangle tri = triangle_at(i, j, fu, fv);
  float corner = TerrainVertexHeight(t, tri.ci, tri.cj);
  return corner + tri.a * (TerrainVertexHeight(t, tri.xi, tri.xj) - corner) +
         tri.b * (TerrainVertexHeight(t, tri.zi, tri.zj) - corner);
}

void TerrainNormalAt(const Terrain& t, float x, float z, float normal[3]) {
  normal[0] = 0.0f;
  normal[1] = 1.0f;
  normal[2] = 0.0f;
  if (t.heights.empty()) return;
  int i, j;
  float fu, fv;
  cell_of(t, x, z, &i, &j, &fu, &fv);
  Triangle tri = triangle_at(i, j, fu, fv);
  float corner = TerrainVertexHeight(t, tri.ci, tri.cj);
  // Legs from the corner: along x by +-spacing, along z by +-spacing.
  float ax = static_cast<float>(tri.xi - tri.ci) * t.spacing, ay = TerrainVertexHeight(t, tri.xi, tri.xj) - corner;
  float bz = static_cast<float>(tri.zj - tri.cj) * t.spacing, by = TerrainVertexHeight(t, tri.zi, tri.zj) - corner;
  // (ax, ay, 0) x (0, by, bz), turned to point up.
  float nx = ay * bz, ny = -ax * bz, nz = ax * by;
  if (ny < 0.0f) {
    nx = -nx;
    ny = -ny;
    nz = -nz;
  }
  normal[0] = nx;
  normal[1] = ny;
  normal[2] = nz;
}

int TerrainTileKindAt(const Terrain& t, float x, float z) {
  if (t.tile_map.empty()) return 0;
  int tiles = terrain_tiles(t);
  auto tile_index = [&](float c) {
    float f = c / (2.0f * t.spacing);
    if (!(f >= 0.0f)) return 0;
    if (f >= static_cast<float>(tiles)) return tiles - 1;
    return static_cast<int>(f);
  };
  return t.tile_map[static_cast<size_t>(tile_index(x)) + static_cast<size_t>(tiles) * tile_index(z)];
}
