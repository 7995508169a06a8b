#include "tracks/track_preview.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <set>

#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/image_read.h"
#include "data/safe_write.h"
#include "kit/paint.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_load.h"

namespace tracks {

using namespace kit;

namespace {

// The average colour of each tile kind's picture.
std::vector<Colour> kind_colours() {
  std::vector<Colour> colours(track().terrain.tile_count, hex(0x808080));
  for (int k = 0; k < track().terrain.tile_count; ++k) {
    std::unique_ptr<DataFile, DataFileCloser> file(df_open(track().terrain.tile_texture_name[k].c_str(), "rb"));
    ::Image picture;
    if (!file || !read_png(file.get(), &picture)) continue;
    double sum[3] = {0, 0, 0};
    size_t count = static_cast<size_t>(picture.width) * picture.height;
    for (size_t p = 0; p < count; ++p)
      for (int c = 0; c < 3; ++c) sum[c] += picture.pixels[p * picture.channels + c];
    colours[k] = {static_cast<float>(sum[0] / count / 255), static_cast<float>(sum[1] / count / 255),
                  static_cast<float>(sum[2] / count / 255), 1};
  }
  return colours;
}

}  // namespace

kit::Image loaded_track_preview(int size) {
  kit::Image image(size, size, {0, 0, 0, 1});
  if (track().terrain.grid_size == 0) return image;
  const std::vector<Colour> colours = kind_colours();
  const double scale = track().terrain.extent / size;  // feet per pixel
  const int tiles = terrain_tiles(track().terrain);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double wx = (x + 0.5) * scale, wz = (y + 0.5) * scale;
      int tx = std::clamp(static_cast<int>(wx / track().terrain.tile_size), 0, tiles - 1);
      int tz = std::clamp(static_cast<int>(wz / track().terrain.tile_size), 0, tiles - 1);
      Colour ground = colours[track().terrain.tile_map[tx + static_cast<size_t>(tiles) * tz]];
      int i = std::clamp(static_cast<int>(std::lround(wx / track().terrain.spacing)), 0, track().terrain.grid_size - 1);
      int j = std::clamp(static_cast<int>(std::lround(wz / track().terrain.spacing)), 0, track().terrain.grid_size - 1);
      const uint8_t* light = &track().terrain.shading[(static_cast<size_t>(j) * track().terrain.grid_size + i) * 3];
      image.at(x, y) = {std::min(1.0f, ground.r * light[0] / 128.0f), std::min(1.0f, ground.g * light[1] / 128.0f),
                        std::min(1.0f, ground.b * light[2] / 128.0f), 1};
    }

  auto pixel = [&](double wx, double wz) { return Vec2{wx / scale, wz / scale}; };
  for (size_t k = track().scenery.first_track_billboard; k < track().scenery.billboards.size(); ++k)
    fill_circle(image, track().scenery.billboards[k].x / scale, track().scenery.billboards[k].z / scale, std::max(1.0, track().scenery.billboards[k].height * 0.12 / scale),
                hex(0x1c3a14, 0.55f));
  for (const Statue& statue : track().scenery.statues)
    fill_rect(image, statue.x / scale - 1, statue.z / scale - 1, statue.x / scale + 1, statue.z / scale + 1,
              hex(0x202020));
  // Gates: green where a racing-line section starts, yellow elsewhere.
  std::set<int> boundaries;
  for (int32_t entry : track().timing.lap_sequence)
    if (entry < GATE_NO_SEGMENT) boundaries.insert(entry);
  for (size_t g = 0; g < track().timing.gates.size(); ++g) {
    const TimingGate& gate = track().timing.gates[g];
    double length = std::hypot(gate.direction[0], gate.direction[2]);
    if (length <= 0) continue;
    double ax = gate.direction[2] / length * gate.radius, az = -gate.direction[0] / length * gate.radius;
    draw_line(image, pixel(gate.centre[0] + ax, gate.centre[2] + az), pixel(gate.centre[0] - ax, gate.centre[2] - az),
              std::max(1.5, size / 600.0), boundaries.count(static_cast<int>(g)) ? hex(0x10e060) : hex(0xffe020));
  }
  for (const StartPosition& place : track().timing.start_positions)
    fill_circle(image, place.x / scale, place.z / scale, std::max(1.5, size / 700.0), hex(0xff2020));
  return image;
}

bool write_track_preview(const std::string& dir, const std::string& out_png) {
  if (LoadTrack(dir) != 1) {
    std::fprintf(stderr, "bermline-data: dir '%s' does not load\n", dir.c_str());
    return false;
  }
  std::string bytes = to_png(loaded_track_preview(1024), 3);
  UnloadTrack();
  if (bytes.empty() || !write_file_safely(out_png, bytes)) {
    std::fprintf(stderr, "bermline-data: can't write '%s'\n", out_png.c_str());
    return false;
  }
  return true;
}

}  // namespace tracks
