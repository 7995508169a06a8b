// A track's light: the sun, the ambient light, fog, the lens flare of the
// sun, and the sky pictures around it.
//
// Sky faces: "n" looks towards -z, "e" towards +x, "s" towards +z and "w"
// towards -x, each picture upright (its top row up) with the viewer's right
// on the right; "u" looks straight up with -z at the top of the picture and
// +x on the right. The sun's disc is painted where the sun vector points,
// so the flare finds it bright; designs keep the sun in the middle of a side
// face, below 45 degrees, where every reading of the faces agrees.
#pragma once

#include <string>

#include "kit/image.h"
#include "tracks/ground_types.h"

namespace tracks {

struct SkyStyle {
  uint32_t zenith = 0x3f74c4, horizon = 0xbcd4ea;  // sky colours
  uint32_t land = 0x6c7f6a;                        // the distant land below the horizon
  double cloud_cover = 0.45;                        // 0 clear .. 1 overcast
  double haze = 0.3;                                // whitening towards the horizon
  double hills = 1;                                 // height of the distant hills
  uint32_t seed = 1;
};

struct LightingSpec {
  Vec3 sun_vector{0, 0.62, -0.78};  // towards the sun
  Vec3 sun_colour{1.0, 0.96, 0.88};
  Vec3 ambient{0.42, 0.45, 0.52};
  Vec3 global_ambient{0.2, 0.2, 0.22};
  Vec3 fog_colour{0.74, 0.8, 0.86};
  double fog_density = 0.0004;
  SkyStyle sky;
  // Texture names of the sky faces: prefix + "n", "e", "s", "w", "u",
  // "env" + suffix, e.g. "@sky-" and ".ppm".
  std::string sky_prefix = "@sky-", sky_suffix = ".ppm";
};

std::string lighting_file(const LightingSpec& light);

// One sky face ("n", "e", "s", "w" or "u") of `size` pixels, and the
// environment picture (a sphere map of the whole sky) for reflections.
kit::Image sky_face(const LightingSpec& light, const std::string& face, int size);
kit::Image sky_environment(const LightingSpec& light, int size);

}  // namespace tracks
