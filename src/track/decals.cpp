// The decals file and the decal buckets: 8 x 8 cells over the whole field,
// each listing (in increasing index order) the decals whose bounding box
// overlaps it.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "core/grow_array.h"
#include "data/data_file.h"
#include "data/scanner.h"
#include "data/texture_cache.h"
#include "track/terrain.h"

namespace {

int bucket_cell(float value) {
  if (!(value >= 0.0f)) return 0;
  if (value >= DECAL_BUCKETS_PER_SIDE - 1) return DECAL_BUCKETS_PER_SIDE - 1;
  return static_cast<int>(std::floor(value));
}

struct CellRange {
  int x0, x1, z0, z1;
};

// The decal's bounding box, as world coordinates and as bucket cells.
CellRange decal_cells(const Terrain& t, const Decal& d, float box[4]) {
  float half_x = std::fabs(d.size * d.aspect * d.cos_angle * 0.5f) + std::fabs(d.size * d.sin_angle * 0.5f);
  float half_z = std::fabs(d.size * d.cos_angle * 0.5f) + std::fabs(d.size * d.aspect * d.sin_angle * 0.5f);
  box[0] = d.x - half_x, box[1] = d.z - half_z, box[2] = d.x + half_x, box[3] = d.z + half_z;
  float scale = t.extent > 0.0f ? DECAL_BUCKETS_PER_SIDE / t.extent : 0.0f;
  return {bucket_cell(box[0] * scale), bucket_cell(box[2] * scale), bucket_cell(box[1] * scale),
          bucket_cell(box[3] * scale)};
}

}  // namespace

void insert_decal_bucket(Terrain& t, int index) {
  if (index < 0 || static_cast<size_t>(index) >= t.decals.size()) return;
  float box[4];
  CellRange cells = decal_cells(t, t.decals[static_cast<size_t>(index)], box);
  for (int cz = cells.z0; cz <= cells.z1; ++cz) {
    for (int cx = cells.x0; cx <= cells.x1; ++cx) {
      std::vector<int>& bucket = t.decal_buckets[static_cast<size_t>(cx + DECAL_BUCKETS_PER_SIDE * cz)];
      auto at = std::lower_bound(bucket.begin(), bucket.end(), index);
      if (at == bucket.end() || *at != index) bucket.insert(at, index);
    }
  }
}

void remove_decal_bucket(Terrain& t, int index) {
  for (std::vector<int>& bucket : t.decal_buckets) bucket.erase(std::remove(bucket.begin(), bucket.end(), index), bucket.end());
}

void ReadDecals(Terrain& t) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open((t.folder + "/decals").c_str(), "rb"));
  if (file) read_decals(t, file.get());
}

void read_decals(Terrain& t, DataFile* file) {
  t.has_decals = true;
  Decal decal;
  char name[1024];
  while (df_scanf(file, "[ %f %f ] %f %f %f %1023s ", &decal.x, &decal.z, &decal.angle, &decal.size,
                  &decal.aspect, name) == 6) {
    decal.sin_angle = std::sin(decal.angle);
    decal.cos_angle = std::cos(decal.angle);
    decal.texture_name = name;
    decal.texture = LoadTexture(name);
    if (!grow_push(t.decals, decal)) break;
  }
  for (size_t k = 0; k < t.decals.size(); ++k) {
    insert_decal_bucket(t, static_cast<int>(k));
    float box[4];
    decal_cells(t, t.decals[k], box);
    terrain_renderer_hooks().mark_ground(t, box[0], box[1], box[2], box[3]);
  }
}

std::string decals_file_text(const Terrain& t) {
  std::string text;
  for (const Decal& d : t.decals) {
    const char* name = TextureName(d.texture);
    if (!name) name = d.texture_name.c_str();
    char line[1200];
    std::snprintf(line, sizeof line, "[%f %f] %f %f %f %s\n", d.x, d.z, d.angle, d.size, d.aspect, name);
    text += line;
  }
  return text;
}
