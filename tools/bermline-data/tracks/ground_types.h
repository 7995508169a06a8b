// The track kit's code lives in namespace tracks and builds on the shared
// kit's vectors. On the ground a kit::Vec2 (x, y) holds world (x, z).
#pragma once

#include "kit/vec.h"

namespace tracks {
using kit::PI;
using kit::Vec2;
using kit::Vec3;
}  // namespace tracks
