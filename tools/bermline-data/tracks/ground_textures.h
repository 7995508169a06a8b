// Pictures of the ground tiles. The game draws only the middle 7/8 of a
// tile picture, so every picture repeats with a period of those 224 of its
// 256 pixels: neighbouring tiles meet without a seam. The variants of a
// material differ only inside a frame that matches the plain tile, and a
// transition blends two plain tiles along a ragged edge decided only by the
// corners of each side, so any tiles can lie next to each other.
#pragma once

#include "kit/image.h"
#include "tracks/materials.h"

namespace tracks {

constexpr int TILE_PIXELS = 256;

kit::Image tile_picture(const TileKind& kind);

}  // namespace tracks
