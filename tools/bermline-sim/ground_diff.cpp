#include "ground_diff.h"

#include <algorithm>
#include <cmath>

#include "data/image_write.h"
#include "data/safe_write.h"
#include "track/terrain.h"

namespace {

// Changes smaller than this (a float's rounding on a tall field) are none.
constexpr double NO_CHANGE = 1e-5;

}  // namespace

GroundChange ground_change(const std::vector<float>& before, const Terrain& after) {
  GroundChange change;
  const size_t n = std::min(before.size(), after.heights.size());
  const double cell = static_cast<double>(after.spacing) * after.spacing;
  for (size_t k = 0; k < n; ++k) {
    const double d = static_cast<double>(after.heights[k]) - before[k];
    if (d < -NO_CHANGE) change.moved_ft3 -= d * cell;
    change.deepest_rut_ft = std::max(change.deepest_rut_ft, -d);
    change.highest_pile_ft = std::max(change.highest_pile_ft, d);
  }
  return change;
}

bool write_ground_diff(const std::string& path, const std::vector<float>& before, const Terrain& after) {
  const int side = after.grid_size;
  if (side <= 0 || before.size() != after.heights.size()) return false;
  const GroundChange change = ground_change(before, after);
  const double scale = 127 / std::max({change.deepest_rut_ft, change.highest_pile_ft, 0.01});
  std::vector<uint8_t> grey(before.size());
  for (size_t k = 0; k < grey.size(); ++k) {
    const double d = static_cast<double>(after.heights[k]) - before[k];
    grey[k] = static_cast<uint8_t>(std::clamp(std::lround(128 + d * scale), 0L, 255L));
  }
  std::string png;
  return encode_png(grey.data(), side, side, 1, &png) && write_file_safely(path, png);
}
