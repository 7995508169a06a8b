// Saving the terrain into its track folder (the track editor's save):
// terrain.hf with terrain.png, shading.ppm, shadingx2.ppm, tilemap and
// decals. Every file is written through a temporary copy, so a failed save
// keeps the previous file.
#include <algorithm>
#include <cstdio>

#include "core/messages.h"
#include "data/image_write.h"
#include "track/terrain.h"

namespace {

bool save_file(const Terrain& t, const char* name, const std::string& bytes) {
  if (write_data_file(t.folder + "/" + name, bytes)) return true;
  post_message("Can't open '%s'", name);
  return false;
}

}  // namespace

int SaveTerrain(Terrain& t) {
  if (t.heights.empty() || t.folder.empty()) return 0;
  auto [low, high] = std::minmax_element(t.heights.begin(), t.heights.end());
  t.min_height = *low;
  t.max_height = *high;
  char header[128];
  std::snprintf(header, sizeof header, "%d %f %f %f\n", t.grid_shift, t.spacing, t.min_height, t.max_height);
  if (!save_file(t, "terrain.hf", header)) return 0;

  float range = t.max_height - t.min_height;
  std::vector<uint16_t> samples(t.heights.size());
  for (size_t k = 0; k < samples.size(); ++k)
    samples[k] = range > 0.0f ? static_cast<uint16_t>(static_cast<int>((t.heights[k] - t.min_height) / range * 65535 + 0.5f)) : 0;
  std::string png;
  if (!encode_png_grey16(samples.data(), t.grid_size, t.grid_size, &png) || !save_file(t, "terrain.png", png)) return 0;

  std::vector<uint8_t> doubled(t.shading.size());
  for (size_t k = 0; k < doubled.size(); ++k) doubled[k] = static_cast<uint8_t>(std::min(t.shading[k] * 2, 255));
  if (!save_file(t, "shading.ppm", encode_ppm(doubled.data(), t.grid_size, t.grid_size))) return 0;
  if (!save_file(t, "shadingx2.ppm", encode_ppm(t.shading.data(), t.grid_size, t.grid_size))) return 0;
  if (!save_file(t, "tilemap", std::string(t.tile_map.begin(), t.tile_map.end()))) return 0;
  if (t.has_decals && !save_file(t, "decals", decals_file_text(t))) return 0;
  return 1;
}
