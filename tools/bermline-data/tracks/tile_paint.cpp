#include "tracks/tile_paint.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <map>

#include "kit/noise.h"

namespace tracks {

namespace {

int priority(const std::vector<Ground>& materials, Ground g) {
  return static_cast<int>(std::find(materials.begin(), materials.end(), g) - materials.begin());
}

// Lets the last-listed material of every three-material tile give way,
// until no tile has more than two.
void settle_corners(std::vector<Ground>& corners, int tiles, const std::vector<Ground>& materials) {
  const int side = tiles + 1;
  for (bool changed = true; changed;) {
    changed = false;
    for (int tz = 0; tz < tiles; ++tz)
      for (int tx = 0; tx < tiles; ++tx) {
        int idx[4] = {tx + side * tz, tx + 1 + side * tz, tx + side * (tz + 1), tx + 1 + side * (tz + 1)};
        int best = 1 << 30, worst = -1, distinct = 0;
        for (int k = 0; k < 4; ++k) {
          bool seen = false;
          for (int m = 0; m < k; ++m) seen = seen || corners[idx[m]] == corners[idx[k]];
          if (!seen) ++distinct;
          best = std::min(best, priority(materials, corners[idx[k]]));
          worst = std::max(worst, priority(materials, corners[idx[k]]));
        }
        if (distinct < 3) continue;
        for (int k = 0; k < 4; ++k)
          if (priority(materials, corners[idx[k]]) == worst) corners[idx[k]] = materials[best];
        changed = true;
      }
  }
}

}  // namespace

std::string paint_tile_map(std::vector<Ground> corners, int tiles, const std::vector<Ground>& materials,
                           const std::vector<TileKind>& kinds) {
  settle_corners(corners, tiles, materials);
  auto key = [](const TileKind& k) {
    return std::array<int, 4>{static_cast<int>(k.base), static_cast<int>(k.overlay), k.mask, k.variant};
  };
  std::map<std::array<int, 4>, int> kind_of;
  for (size_t k = 0; k < kinds.size(); ++k) kind_of.emplace(key(kinds[k]), static_cast<int>(k));
  const int side = tiles + 1;
  std::string map(static_cast<size_t>(tiles) * tiles, '\0');
  for (int tz = 0; tz < tiles; ++tz)
    for (int tx = 0; tx < tiles; ++tx) {
      // Corner order of the mask bits: low x low z, high x low z, low x
      // high z, high x high z.
      Ground c[4] = {corners[tx + side * tz], corners[tx + 1 + side * tz], corners[tx + side * (tz + 1)],
                     corners[tx + 1 + side * (tz + 1)]};
      Ground low = *std::min_element(c, c + 4), high = *std::max_element(c, c + 4);
      TileKind want{low, high, 0, 0};
      if (low == high) {
        uint32_t pick = kit::hash32(static_cast<uint32_t>(tx), static_cast<uint32_t>(tz), 99) % 4;
        want.variant = pick < 2 ? 0 : static_cast<int>(pick) - 1;
      } else {
        for (int k = 0; k < 4; ++k)
          if (c[k] == high) want.mask |= 8 >> k;
      }
      auto found = kind_of.find(key(want));
      if (found == kind_of.end()) {
        std::fprintf(stderr, "bermline-data: no tile kind %s\n", want.texture_name().c_str());
        std::abort();  // the painter used a material the track does not list
      }
      map[static_cast<size_t>(tx) + static_cast<size_t>(tiles) * tz] = static_cast<char>(found->second);
    }
  return map;
}

}  // namespace tracks
