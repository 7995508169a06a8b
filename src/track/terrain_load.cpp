// Loading and releasing the terrain: terrain.hf (with inline heights or
// terrain.png), shading, tile kinds, tile map, shadows and decals.
#include <cmath>
#include <memory>

#include "core/messages.h"
#include "core/ripemd160.h"
#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/image_read.h"
#include "data/scanner.h"
#include "data/texture_cache.h"
#include "platform/base/log.h"
#include "track/terrain.h"
#include "track/tile_kinds.h"

namespace {

// Up to 4097 x 4097 vertices: far beyond any track, and small enough that
// a damaged header cannot ask for absurd memory.
constexpr int GRID_SHIFT_LIMIT = 11;
constexpr float SAMPLE_FACTOR = 0.000015259021896696422f;  // 1 / 65535

TerrainRendererHooks renderer_hooks;

using FilePtr = std::unique_ptr<DataFile, DataFileCloser>;

FilePtr open_track_file(const Terrain& t, const char* name) {
  return FilePtr(df_open((t.folder + "/" + name).c_str(), "rb"));
}

bool fail_missing(const Terrain& t, const char* name) {
  post_message("Can't open '%.950s'", (t.folder + "/" + name).c_str());
  return false;
}

void size_arrays(Terrain& t) {
  size_t vertices = static_cast<size_t>(t.grid_size) * static_cast<size_t>(t.grid_size);
  t.heights.assign(vertices, t.min_height);
  t.shading.assign(vertices * 3, 128);
  t.shadow.assign(vertices, 0);
  size_t tiles = static_cast<size_t>(terrain_tiles(t));
  t.tile_map.assign(tiles * tiles, 0);
  t.low_detail_per_side = ((2 << t.grid_shift) / 64 + 6) / 7;
  t.low_detail_dirty.assign(static_cast<size_t>(t.low_detail_per_side) * t.low_detail_per_side, 0);
}

// Stores the samples as heights and feeds their bytes (low byte first)
// into the height digest.
void store_samples(Terrain& t, const uint16_t* samples, int sample_width, int sample_height, Ripemd160* digest) {
  float range = t.max_height - t.min_height;
  int p = t.grid_size;
  std::vector<uint8_t> row_bytes(static_cast<size_t>(p) * 2);
  for (int j = 0; j < p; ++j) {
    const uint16_t* row = samples + static_cast<size_t>(j < sample_height ? j : sample_height - 1) * sample_width;
    for (int i = 0; i < p; ++i) {
      uint16_t s = row[i < sample_width ? i : sample_width - 1];
      row_bytes[2 * static_cast<size_t>(i)] = static_cast<uint8_t>(s & 0xFF);
      row_bytes[2 * static_cast<size_t>(i) + 1] = static_cast<uint8_t>(s >> 8);
      t.heights[static_cast<size_t>(i) + static_cast<size_t>(p) * j] = t.min_height + s * range * SAMPLE_FACTOR;
    }
    digest->update(row_bytes.data(), row_bytes.size());
  }
}

bool read_heights(Terrain& t) {
  FilePtr file = open_track_file(t, "terrain.hf");
  if (!file) return fail_missing(t, "terrain.hf");
  int shift = -1;
  float spacing = 0, low = 0, high = 0;
  int read = df_scanf(file.get(), "%d %f %f %f ", &shift, &spacing, &low, &high);
  if (read < 4 || shift < 0 || shift > GRID_SHIFT_LIMIT || !(spacing > 0.0f) || !std::isfinite(spacing) ||
      !std::isfinite(low) || !std::isfinite(high) || !std::isfinite(spacing * float(2 << shift))) {
    post_message("Bad height field parameters");
    post_message("Error reading heights");
    return false;
  }
  t.grid_shift = shift;
  t.grid_size = (2 << shift) + 1;
  t.spacing = spacing;
  t.tile_size = 2 * spacing;
  t.extent = spacing * static_cast<float>(t.grid_size - 1);
  t.min_height = low;
  t.max_height = high;
  size_arrays(t);
  Ripemd160 digest;
  size_t count = static_cast<size_t>(t.grid_size) * t.grid_size;
  std::vector<uint16_t> samples;
  if (df_getc(file.get()) == ':') {
    std::vector<uint8_t> bytes(count * 2);
    if (df_read(file.get(), bytes.data(), static_cast<int>(bytes.size())) != static_cast<int>(bytes.size())) {
      post_message("Error reading heights");
      return false;
    }
    samples.resize(count);
    for (size_t k = 0; k < count; ++k) samples[k] = static_cast<uint16_t>(bytes[2 * k] | bytes[2 * k + 1] << 8);
    store_samples(t, samples.data(), t.grid_size, t.grid_size, &digest);
  } else {
    file.reset();
    FilePtr png = open_track_file(t, "terrain.png");
    int width = 0, height = 0;
    if (png && read_png_grey16(png.get(), &samples, &width, &height)) {
      store_samples(t, samples.data(), width, height, &digest);
    } else {
      // No height image: a flat field at the minimum height.
      samples.assign(count, 0);
      store_samples(t, samples.data(), t.grid_size, t.grid_size, &digest);
    }
  }
  if (run_settings.debug_level >= 2) voxa_log("%s\n", Ripemd160::hex(digest.finish()).c_str());
  return true;
}

bool read_shading(Terrain& t) {
  bool doubled = true;
  FilePtr file = open_track_file(t, "shadingx2.ppm");
  if (!file) {
    doubled = false;
    file = open_track_file(t, "shading.ppm");
    if (!file) return fail_missing(t, "shading.ppm");
  }
  Image image;
  if (!read_colour_image(file.get(), &image, false)) {
    post_message("Error reading shading");
    return false;
  }
  if (image.width != t.grid_size || image.height != t.grid_size) {
    post_message("Bad shading dimensions (%dx%d)", image.width, image.height);
    return false;
  }
  for (size_t k = 0; k < t.shading.size(); ++k) t.shading[k] = doubled ? image.pixels[k] : image.pixels[k] >> 1;
  return true;
}

bool read_tile_kinds(Terrain& t) {
  if (FilePtr file = open_track_file(t, "tileinfo")) {
    ReadTileinfo(t, file.get());
    return true;
  }
  FilePtr file = open_track_file(t, "texturelist");
  if (!file) return fail_missing(t, "texturelist");
  ReadTexturelist(t, file.get());
  return true;
}

bool read_tile_map(Terrain& t) {
  FilePtr file = open_track_file(t, "tilemap");
  if (!file) return fail_missing(t, "tilemap");
  int size = static_cast<int>(t.tile_map.size());
  if (df_read(file.get(), t.tile_map.data(), size) != size) {
    post_message("Error reading tilemap");
    return false;
  }
  int last = t.tile_count > 0 ? t.tile_count - 1 : 0;
  for (uint8_t& kind : t.tile_map)
    if (kind > last) kind = static_cast<uint8_t>(last);
  return true;
}

bool read_shadows(Terrain& t) {
  FilePtr file = open_track_file(t, "shadows.pgm");
  if (!file) return true;
  Image image;
  if (!read_pgm(file.get(), &image)) {
    post_message("Error reading shadows");
    return false;
  }
  if (image.width != t.grid_size || image.height != t.grid_size) {
    voxa_log("Bad shadow dimensions (%dx%d)\n", image.width, image.height);
    return false;
  }
  for (size_t k = 0; k < t.shadow.size(); ++k) t.shadow[k] = static_cast<uint8_t>(255 - image.pixels[k]);
  return true;
}

bool load_parts(Terrain& t) {
  if (!read_heights(t)) return false;
  renderer_hooks.prepare_detail(t);
  if (!read_shading(t)) return false;
  log_texture_memory("before ground tiles loaded");
  if (!read_tile_kinds(t)) return false;
  log_texture_memory("after ground tiles loaded");
  if (!read_tile_map(t)) return false;
  renderer_hooks.build_low_detail(t);
  log_texture_memory("after low detail ground textures");
  if (!read_shadows(t)) return false;
  renderer_hooks.prepare_caches(t);
  ReadDecals(t);
  return true;
}

}  // namespace

void set_terrain_renderer_hooks(const TerrainRendererHooks& hooks) { renderer_hooks = hooks; }
const TerrainRendererHooks& terrain_renderer_hooks() { return renderer_hooks; }

int LoadTerrain(Terrain& t, const std::string& folder) {
  ReleaseTerrain(t);
  t.folder = folder;
  if (load_parts(t)) return 1;
  ReleaseTerrain(t);
  return 0;
}

void ReleaseTerrain(Terrain& t) {
  renderer_hooks.release(t);
  t = Terrain{};
}
