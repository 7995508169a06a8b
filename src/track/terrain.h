// The track's ground: one square height field with per-vertex shading and
// shadow, and a coarser tile map whose bytes name ground materials. Loaded
// from the track folder, queried by physics, scenery placement and the
// robot riders, and changed during play by ruts, piles and repainting.
//
// Axes: x and z span the ground, y is up. Grid vertex (i, j) lies at
// (i * spacing, height, j * spacing); the field covers [0, extent] in x and
// z. Tile (tx, tz) covers vertices 2tx..2tx+2 by 2tz..2tz+2.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "track/ground_material.h"

struct DataFile;

constexpr int MAX_TILE_KINDS = 256;
constexpr int DECAL_BUCKETS_PER_SIDE = 8;
// The renderer's low-detail ground textures lie this many grid cells apart,
// each reaching a margin further on both sides.
constexpr int LOW_DETAIL_CELLS = 448;
constexpr int LOW_DETAIL_MARGIN = 32;

// A picture painted onto the ground: a rectangle of width `size` and
// length size * aspect, centred on (x, z) and turned by `angle`.
struct Decal {
  int texture = 0;
  float x = 0, z = 0;
  float angle = 0;
  float size = 0;
  float aspect = 0;
  float sin_angle = 0, cos_angle = 1;
  std::string texture_name;  // as read from the decals file
};

struct Terrain {
  std::string folder;  // "@" + track folder, where the files came from

  int grid_shift = 0;  // the tile map has 2^grid_shift tiles per side
  int grid_size = 0;   // 2^(grid_shift + 1) + 1 vertices per side
  float spacing = 0;   // distance between neighbouring vertices
  float tile_size = 0;
  float extent = 0;    // (grid_size - 1) * spacing

  std::vector<float> heights;   // vertex (i, j) at i + grid_size * j
  float min_height = 0, max_height = 0;
  std::vector<uint8_t> shading;  // RGB per vertex at half intensity (128 = full)
  std::vector<uint8_t> shadow;   // 0 = fully lit, 255 = fully in shadow

  std::vector<uint8_t> tile_map;  // tile (tx, tz) at tx + tiles * tz
  int tile_count = 0;
  std::array<int, MAX_TILE_KINDS> tile_texture{};
  // Corner materials: base kind in bits 16..23, overlay kind in bits
  // 8..15, corner mask in bits 0..3 (8 = low x low z, 4 = high x low z,
  // 2 = low x high z, 1 = high x high z; a set bit shows the overlay).
  std::array<int, MAX_TILE_KINDS> tile_code{};
  std::array<TileMaterial, MAX_TILE_KINDS> materials{};
  // Texture path of each kind, as the tileinfo or texturelist names it.
  std::array<std::string, MAX_TILE_KINDS> tile_texture_name;

  // The decals file's pictures; `has_decals` says whether the list exists
  // (a save then writes it back).
  bool has_decals = false;
  std::vector<Decal> decals;
  std::array<std::vector<int>, DECAL_BUCKETS_PER_SIDE * DECAL_BUCKETS_PER_SIDE> decal_buckets;

  // Low-detail ground textures whose shading changed, row by row; the
  // renderer rebuilds them and clears the marks.
  int low_detail_per_side = 0;
  std::vector<uint8_t> low_detail_dirty;

  int heights_modified = 0;    // a ground-changing operation wrote a height
  int deformation_locked = 0;  // ground-changing operations write no heights
};


// Tiles per side of the tile map.
inline int terrain_tiles(const Terrain& t) { return 1 << t.grid_shift; }

// Loads the terrain of the track folder `folder` ("@" + track directory).
// 1 on success; 0 on failure, after which the record is released.
int LoadTerrain(Terrain& t, const std::string& folder);
// Saves heights, shading, tile map and decals into the folder it was
// loaded from. 1 on success, 0 on failure (the save stops at that file).
int SaveTerrain(Terrain& t);
// Frees every array and texture and clears the record.
void ReleaseTerrain(Terrain& t);

// Height of the ground at (x, z); outside the field the border heights
// continue outwards.
float TerrainHeightAt(const Terrain& t, float x, float z);
// Upward normal of the ground triangle under (x, z), not normalised.
void TerrainNormalAt(const Terrain& t, float x, float z, float normal[3]);
// Height of vertex (i, j), with i and j clamped to the grid.
float TerrainVertexHeight(const Terrain& t, int i, int j);
// Tile kind under (x, z), with the tile indices clamped to the map.
int TerrainTileKindAt(const Terrain& t, float x, float z);

// Lighting of vertex (i, j) from the track's sun and ambient light, as
// stored shading bytes (at half intensity).
void ShadeVertex(const Terrain& t, int i, int j, uint8_t rgb[3]);
// Recomputes the shading of the vertices in the rectangle (clamped to the
// grid) and marks the low-detail textures covering them.
void ReshadeRegion(Terrain& t, int i0, int j0, int i1, int j1);

// Smooth height change of total weight dh around (x, z), with dithered
// re-shading that darkens the disturbed ground (a wheel's rut: dh < 0).
void DeformTerrain(Terrain& t, float x, float z, float dh);
// Piles `amount` of material at vertex (i, j); what would make the pile
// steeper than 0.5 towards the direction of travel runs downhill.
void DepositAt(Terrain& t, int i, int j, float direction_x, float direction_z, float amount, int first);
// Sets tile (tx, tz) to `kind` and refits the transition tiles around it.
void PaintTile(Terrain& t, int tx, int tz, int kind);

// Derives every kind's tile code from its texture path (tile_texture_name).
void DeriveTileCodes(Terrain& t);

// Decals: read from "<folder>/decals" (the list exists once the file was
// read), written back by the terrain save, and kept in an 8 x 8 bucket
// grid over the field for drawing.
void ReadDecals(Terrain& t);
void read_decals(Terrain& t, DataFile* file);
std::string decals_file_text(const Terrain& t);
void insert_decal_bucket(Terrain& t, int index);
void remove_decal_bucket(Terrain& t, int index);

// The renderer's share of the terrain (level-of-detail trees, ground
// texture caches, low-detail textures). Each entry starts as a call that
// does nothing: headless programs install no table.
struct TerrainRendererHooks {
  void (*prepare_detail)(Terrain& t) = [](Terrain&) {};    // after the heights are read
  void (*build_low_detail)(Terrain& t) = [](Terrain&) {};  // after the tile map is read
  void (*prepare_caches)(Terrain& t) = [](Terrain&) {};    // after the shadows are read
  // Ground textures under this world rectangle must be rebuilt (decals).
  void (*mark_ground)(Terrain& t, float x0, float z0, float x1, float z1) = [](Terrain&, float, float, float, float) {};
  void (*release)(Terrain& t) = [](Terrain&) {};
};
void set_terrain_renderer_hooks(const TerrainRendererHooks& hooks);
const TerrainRendererHooks& terrain_renderer_hooks();
