// Light and dirt: lens flare elements, the dust and water puffs the ground
// materials throw, and the decals painted on the ground at the start and
// the lap line.
#include <algorithm>
#include <cmath>

#include "kit/noise.h"
#include "kit/paint.h"
#include "tracks/track_art.h"

namespace tracks {

using namespace kit;

namespace {

double smoothstep(double a, double b, double x) {
  double t = std::clamp((x - a) / (b - a), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// A round picture from a brightness by distance from the middle (0 at the
// centre, 1 at the edge); colour and alpha both carry it, so it works added
// or blended.
Image radial(int size, Colour tint, double (*brightness)(double r, double angle)) {
  Image image(size, size);
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double dx = (x + 0.5) / size * 2 - 1, dy = (y + 0.5) / size * 2 - 1;
      double b = std::clamp(brightness(std::hypot(dx, dy), std::atan2(dy, dx)), 0.0, 1.0);
      image.at(x, y) = {tint.r * static_cast<float>(b), tint.g * static_cast<float>(b), tint.b * static_cast<float>(b),
                        static_cast<float>(b)};
    }
  return image;
}

double glow(double r, double) { return std::exp(-r * 4.5) * smoothstep(1, 0.8, r); }
double star(double r, double a) {
  double rays = std::pow(std::fabs(std::cos(a * 3)), 40) + 0.6 * std::pow(std::fabs(std::cos(a * 3 + 0.52)), 60);
  return (rays * std::exp(-r * 3) + std::exp(-r * 12)) * smoothstep(1, 0.7, r);
}
double disc(double r, double) { return 0.8 * smoothstep(1, 0.85, r) * (0.7 + 0.3 * r); }
double ring(double r, double) { return std::exp(-std::pow((r - 0.8) / 0.07, 2)) + 0.08 * smoothstep(1, 0.7, r); }

Image dust_puff() {
  Image image(128, 128);
  for (int y = 0; y < 128; ++y)
    for (int x = 0; x < 128; ++x) {
      double dx = (x + 0.5) / 64 - 1, dy = (y + 0.5) / 64 - 1;
      double r = std::hypot(dx, dy) + 0.25 * fbm(x / 18.0, y / 18.0, 51, 3);
      double a = smoothstep(0.95, 0.35, r);
      image.at(x, y) = {1, 1, 1, static_cast<float>(a)};
    }
  return image;
}

Image water_splash() {
  Image image(128, 128);
  Dice dice(61);
  for (int k = 0; k < 26; ++k) {
    double a = dice.uniform(0, 2 * PI), d = 44 * std::sqrt(dice.uniform());
    double x = 64 + std::cos(a) * d, y = 64 + std::sin(a) * d, r = dice.uniform(3, 9);
    fill_circle(image, x, y, r, hex(0xdfe8ee, 0.85f));
    fill_circle(image, x - r * 0.3, y - r * 0.3, r * 0.35, hex(0xffffff));
  }
  return image;
}

// The concrete pad the riders wait on behind the gate: slabs with joints,
// rubber marks where rear wheels spin, a ragged edge into the dirt.
Image start_pad() {
  Image image(1024, 256);
  shade_rect(image, 0, 0, 1024, 256, [](double x, double y, Colour& c) {
    double tone = 0.9 + 0.1 * fbm(x / 40.0, y / 40.0, 71, 4);
    Colour concrete = scaled(hex(0xa9a69e), static_cast<float>(tone));
    bool joint = std::fmod(x, 128.0) < 3;
    double scuff = std::exp(-std::pow((y - 150) / 60.0, 2)) * (0.5 + 0.5 * value_noise(x / 6.0, y / 50.0, 73));
    concrete = mix(concrete, hex(0x2e2c2a), static_cast<float>(scuff * 0.45));
    if (joint) concrete = scaled(concrete, 0.55f);
    double edge = std::min({x, 1024 - x, y * 4, (256 - y) * 4}) / 16 + 0.4 * value_noise(x / 10.0, y / 10.0, 75);
    c = with_alpha(concrete, static_cast<float>(smoothstep(0.2, 1.0, edge)));
  });
  add_grain(image, 0, 0, 1024, 256, 0.06, 2, 77);
  return image;
}

// A chalk line across the track, broken up where wheels have run over it.
Image finish_line() {
  Image image(512, 64);
  shade_rect(image, 0, 0, 512, 64, [](double x, double y, Colour& c) {
    double across = std::fabs(y - 32) / 32;
    double worn = 0.6 + 0.4 * fbm(x / 14.0, y / 6.0, 81, 3);
    double a = smoothstep(0.85, 0.55, across + 0.2 * value_noise(x / 5.0, y / 5.0, 83)) * worn;
    c = {0.96f, 0.95f, 0.9f, static_cast<float>(std::clamp(a, 0.0, 1.0))};
  });
  return image;
}

}  // namespace

void add_effect_art(KitFiles& files) {
  files["flare-glow.png"] = to_png(radial(256, hex(0xfff2d8), glow), 4);
  files["flare-star.png"] = to_png(radial(256, hex(0xffffff), star), 4);
  files["flare-disc.png"] = to_png(radial(128, hex(0xffffff), disc), 4);
  files["flare-ring.png"] = to_png(radial(256, hex(0xffffff), ring), 4);
  files["roost-dust.png"] = to_png(dust_puff(), 4);
  files["roost-splash.png"] = to_png(water_splash(), 4);
  files["decal-startpad.png"] = to_png(start_pad(), 4);
  files["decal-finishline.png"] = to_png(finish_line(), 4);
}

}  // namespace tracks
