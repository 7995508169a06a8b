// "rabbithill": an outdoor hillside track. This first version is a small
// hillside with a loam loop through grass; the course itself is shaped in
// later versions of the kit.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "data_kit.h"

namespace {

constexpr int GRID_SHIFT = 5;                      // 32 x 32 tiles
constexpr int GRID_SIZE = (2 << GRID_SHIFT) + 1;   // 65 vertices per side
constexpr double SPACING = 8.0;                    // feet
constexpr double MIN_HEIGHT = 0.0, MAX_HEIGHT = 40.0;
constexpr double EXTENT = SPACING * (GRID_SIZE - 1);

double hillside(double x, double z) {
  double slope = 30.0 * (z / EXTENT);
  double rolls = 4.0 * std::sin(x / 60.0) * std::cos(z / 75.0);
  return std::clamp(slope + rolls + 5.0, MIN_HEIGHT, MAX_HEIGHT);
}

// Distance from the centre line of the oval loop.
double loop_distance(double x, double z) {
  double cx = EXTENT / 2, cz = EXTENT / 2, rx = EXTENT * 0.32, rz = EXTENT * 0.22;
  double dx = (x - cx) / rx, dz = (z - cz) / rz;
  double r = std::sqrt(dx * dx + dz * dz);
  return std::fabs(r - 1.0) * std::min(rx, rz);
}

std::string terrain_hf() {
  char header[128];
  std::snprintf(header, sizeof header, "%d %f %f %f\n:", GRID_SHIFT, SPACING, MIN_HEIGHT, MAX_HEIGHT);
  std::string bytes = header;
  for (int j = 0; j < GRID_SIZE; ++j) {
    for (int i = 0; i < GRID_SIZE; ++i) {
      double h = hillside(i * SPACING, j * SPACING);
      int sample = static_cast<int>((h - MIN_HEIGHT) / (MAX_HEIGHT - MIN_HEIGHT) * 65535 + 0.5);
      bytes += static_cast<char>(sample & 0xFF);
      bytes += static_cast<char>(sample >> 8);
    }
  }
  return bytes;
}

// Sun from the south-west, high; the stored bytes are at half intensity.
std::string shading_ppm() {
  char header[64];
  std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", GRID_SIZE, GRID_SIZE);
  std::string bytes = header;
  const double sun[3] = {-0.4, 0.8, -0.45};
  for (int j = 0; j < GRID_SIZE; ++j) {
    for (int i = 0; i < GRID_SIZE; ++i) {
      double x = i * SPACING, z = j * SPACING;
      double dhdx = (hillside(x + 1, z) - hillside(x - 1, z)) / 2;
      double dhdz = (hillside(x, z + 1) - hillside(x, z - 1)) / 2;
      double n[3] = {-dhdx, 1.0, -dhdz};
      double length = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
      double lit = std::max(0.0, (n[0] * sun[0] + n[1] * sun[1] + n[2] * sun[2]) / length);
      for (double ambient : {0.35, 0.35, 0.4}) {
        int value = static_cast<int>((0.75 * lit + ambient) * 0.5 * 255);
        bytes += static_cast<char>(std::clamp(value, 0, 255));
      }
    }
  }
  return bytes;
}

std::string tilemap() {
  constexpr int TILES = 1 << GRID_SHIFT;
  std::string bytes;
  for (int tz = 0; tz < TILES; ++tz)
    for (int tx = 0; tx < TILES; ++tx) {
      double x = (tx + 0.5) * 2 * SPACING, z = (tz + 0.5) * 2 * SPACING;
      bytes += static_cast<char>(loop_distance(x, z) < 14.0 ? 0 : 1);
    }
  return bytes;
}

}  // namespace

bool write_rabbithill(const std::string& root) {
  const std::string dir = "rabbithill/";
  return write_kit_file(root, dir + "desc", "Rabbit Hill\n") &&
         write_kit_file(root, dir + "terrain.hf", terrain_hf()) &&
         write_kit_file(root, dir + "shading.ppm", shading_ppm()) &&
         write_kit_file(root, dir + "texturelist",
                        "1.0 5.0 15.0 textures/loam.png\n"
                        "0.8 6.0 20.0 textures/grass.png\n") &&
         write_kit_file(root, dir + "tilemap", tilemap());
}
