#include "tracks/lighting.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kit/noise.h"

namespace tracks {

using namespace kit;

namespace {

std::string vector_line(const char* keyword, Vec3 v) {
  char line[160];
  std::snprintf(line, sizeof line, "%s [ %.4f %.4f %.4f ]\n", keyword, v.x, v.y, v.z);
  return line;
}

double smoothstep(double a, double b, double x) {
  double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

Colour to_colour(Vec3 v) { return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z), 1}; }

// The look of the sky in direction d (unit).
Colour sky_colour(const LightingSpec& light, Vec3 d) {
  const SkyStyle& style = light.sky;
  const Vec3 sun = normalized(light.sun_vector);
  double elevation = std::asin(std::clamp(d.y, -1.0, 1.0));
  double azimuth = std::atan2(d.x, -d.z);  // 0 towards -z, growing towards +x
  double sun_angle = std::acos(std::clamp(dot(d, sun), -1.0, 1.0));

  // Distant hills along the horizon, repeating once around.
  double around = (azimuth / (2 * PI) + 0.5) * 24;
  double hills = fbm(around, 0.5, style.seed + 5, 4, 0.5, 24) * 0.5 + 0.5;
  double trees = value_noise(around * 16, 0.5, style.seed + 6, 24 * 16) * 0.5 + 0.5;  // a ragged tree line
  double ridge = 0.01 + style.hills * (0.015 + 0.07 * hills * hills + 0.006 * trees);
  Colour horizon = hex(style.horizon), zenith = hex(style.zenith);
  if (elevation < ridge) {
    // Far ridges fade into the haze; the land darkens below them.
    double depth = std::clamp((ridge - elevation) / 0.2, 0.0, 1.0);
    double far = std::clamp(1 - hills, 0.0, 1.0);
    Colour land = mix(hex(style.land), horizon, static_cast<float>(style.haze * (0.5 + 0.4 * far)));
    land = mix(land, hex(style.land), static_cast<float>(depth));
    return scaled(land, static_cast<float>(1 - 0.3 * depth));
  }

  double up = std::max(0.0, d.y);
  Colour sky = mix(horizon, zenith, static_cast<float>(std::pow(up, 0.55)));
  sky = mix(sky, hex(0xf4f1ea), static_cast<float>(style.haze * std::pow(1 - up, 8)));
  // Glow around the sun.
  double glow = 0.55 * std::exp(-sun_angle / 0.09) + 0.22 * std::exp(-sun_angle / 0.45);
  sky = mix(sky, hex(0xfff4dc), static_cast<float>(std::min(1.0, glow)));

  // Clouds on a plane above, thinning towards the horizon and kept off the
  // sun's disc.
  if (d.y > 0.01) {
    double px = d.x / d.y * 0.9, pz = d.z / d.y * 0.9;
    double n = fbm(px + 10, pz + 10, style.seed, 5, 0.5) * 0.5 + 0.5;
    double cover = smoothstep(1 - style.cloud_cover * 0.9, 1.05 - style.cloud_cover * 0.6, n);
    cover *= smoothstep(0.02, 0.25, d.y) * smoothstep(0.04, 0.15, sun_angle);
    double lit = 0.5 + 0.5 * dot(d, sun);
    double thick = fbm(px * 2 + 3, pz * 2 + 3, style.seed + 9, 3) * 0.5 + 0.5;
    Colour cloud = mix(hex(0x9ea4b0), hex(0xfbfaf6), static_cast<float>(0.45 + 0.4 * lit - 0.25 * thick));
    sky = mix(sky, cloud, static_cast<float>(cover * 0.92));
  }

  // The sun itself: a white disc the flare can find.
  double disc = smoothstep(0.016, 0.011, sun_angle);
  return mix(sky, Colour{1, 1, 1, 1}, static_cast<float>(disc));
}

struct FaceAxes {
  Vec3 forward, right, up;
};

bool face_axes(const std::string& face, FaceAxes* axes) {
  if (face == "n") *axes = {{0, 0, -1}, {1, 0, 0}, {0, 1, 0}};
  else if (face == "e") *axes = {{1, 0, 0}, {0, 0, 1}, {0, 1, 0}};
  else if (face == "s") *axes = {{0, 0, 1}, {-1, 0, 0}, {0, 1, 0}};
  else if (face == "w") *axes = {{-1, 0, 0}, {0, 0, -1}, {0, 1, 0}};
  else if (face == "u") *axes = {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}};
  else return false;
  return true;
}

}  // namespace

std::string lighting_file(const LightingSpec& light) {
  std::string out;
  out += vector_line("sun_vector", light.sun_vector);
  out += vector_line("sun_color", light.sun_colour);
  out += vector_line("ambient", light.ambient);
  out += vector_line("global_ambient", light.global_ambient);
  for (const char* face : {"n", "e", "s", "w", "u", "env"})
    out += std::string("sky_") + face + " " + light.sky_prefix + face + light.sky_suffix + "\n";
  // The sun's flare: a glow and a star on the sun, then ghosts along the
  // line through the middle of the screen.
  const char* elements[] = {
      "[ 1 0 ] [ 1 0.95 0.85 ] 0.32 @flare-glow.png",   "[ 1 0 ] [ 0.9 0.9 0.85 ] 0.12 @flare-star.png",
      "[ 0.62 0 ] [ 0.28 0.22 0.12 ] 0.05 @flare-disc.png", "[ 0.32 0 ] [ 0.16 0.26 0.18 ] 0.03 @flare-disc.png",
      "[ -0.18 0 ] [ 0.22 0.14 0.3 ] 0.1 @flare-ring.png",  "[ -0.46 0 ] [ 0.12 0.22 0.32 ] 0.045 @flare-disc.png",
      "[ -0.85 0 ] [ 0.26 0.18 0.1 ] 0.16 @flare-ring.png",
  };
  for (const char* e : elements) out += std::string("flare_element ") + e + "\n";
  out += vector_line("flare_vector", light.sun_vector);
  char fog[160];
  std::snprintf(fog, sizeof fog, "fog [ %.3f %.3f %.3f ] %.6f\n", light.fog_colour.x, light.fog_colour.y,
                light.fog_colour.z, light.fog_density);
  out += fog;
  return out;
}

Image sky_face(const LightingSpec& light, const std::string& face, int size) {
  FaceAxes axes;
  Image image(size, size);
  if (!face_axes(face, &axes)) return image;
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double a = (x + 0.5) / size * 2 - 1, b = 1 - (y + 0.5) / size * 2;
      Vec3 d = normalized(axes.forward + axes.right * a + axes.up * b);
      image.at(x, y) = sky_colour(light, d);
    }
  return image;
}

Image sky_environment(const LightingSpec& light, int size) {
  // A sphere map: the picture is the sky as a mirror ball shows it.
  Image image(size, size, to_colour({0.5, 0.5, 0.5}));
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double a = (x + 0.5) / size * 2 - 1, b = 1 - (y + 0.5) / size * 2;
      double r2 = a * a + b * b;
      if (r2 > 1) r2 = 1;
      Vec3 n{a, b, std::sqrt(1 - r2)};
      Vec3 d = normalized(Vec3{0, 0, 1} * -1 + n * (2 * n.z));  // reflect the view ray (0, 0, -1)
      Vec3 world{d.x, d.y, -d.z};
      image.at(x, y) = sky_colour(light, normalized(world));
    }
  return image;
}

}  // namespace tracks
