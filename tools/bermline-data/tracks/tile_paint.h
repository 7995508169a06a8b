// The tile map: the ground material at every tile corner decides each
// tile's kind, a plain tile (one of its variants, chosen by place) where
// all four corners agree, else the transition tile with those corners.
#pragma once

#include <string>
#include <vector>

#include "tracks/materials.h"

namespace tracks {

// `corners` holds (tiles + 1)^2 materials, corner (cx, cz) at index
// cx + (tiles + 1) * cz, at grid vertex (2cx, 2cz). Where three or more
// materials meet in one tile, the corners of the one listed last in
// `materials` give way to the one listed first, so every tile has a kind.
// Returns the tile map bytes, tile (tx, tz) at tx + tiles * tz.
std::string paint_tile_map(std::vector<Ground> corners, int tiles, const std::vector<Ground>& materials,
                           const std::vector<TileKind>& kinds);

}  // namespace tracks
