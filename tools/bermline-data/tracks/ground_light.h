// The ground's light, baked once when the track is built: the sun on every
// vertex as the game computes it, softened shadows of the land and of the
// scenery, and darker hollows under the ambient light.
#pragma once

#include <cstdint>
#include <vector>

#include "tracks/ground_shape.h"
#include "tracks/lighting.h"
#include "tracks/scenery.h"

namespace tracks {

struct GroundLight {
  std::vector<uint8_t> shading;  // RGB per vertex at half intensity (128 = full light)
  std::vector<uint8_t> light;    // per vertex: 255 = in the sun, 0 = in full shadow
};

GroundLight bake_ground_light(const Heightfield& ground, const LightingSpec& light,
                              const std::vector<ShadowCaster>& casters);

}  // namespace tracks
