// A picture being painted for the game data: linear RGBA in 0..1 per
// channel, rows from the top, turned into PNG, PPM or PGM bytes at the end.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kit {

struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
};

// 0xRRGGBB with alpha 1.
Colour hex(uint32_t rgb, float alpha = 1);
Colour mix(Colour a, Colour b, float t);
Colour scaled(Colour c, float factor);  // RGB times factor, alpha kept
Colour with_alpha(Colour c, float alpha);

struct Image {
  int width = 0, height = 0;
  std::vector<Colour> pixels;

  Image() = default;
  Image(int w, int h, Colour fill = {0, 0, 0, 0});
  Colour& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
  const Colour& at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  bool inside(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// `c` laid over `below` with `coverage` (0..1) of its alpha ("over").
Colour over(Colour below, Colour c, float coverage = 1);
// Lays `c` over the pixel with `coverage` (0..1) of its alpha.
void blend(Image& image, int x, int y, Colour c, float coverage = 1);

// Bilinear sample at pixel coordinates (centres at +0.5), edges clamped or
// wrapped.
Colour sample(const Image& image, double x, double y, bool wrap = false);

// Copies `source` onto `target` at (x, y), blending by its alpha;
// optionally mirrored left to right and/or top to bottom (both: turned
// half round).
void paste(Image& target, const Image& source, int x, int y, bool mirror_x = false, bool mirror_y = false);
// Box-filtered reduction to the given size (for previews and sheets).
Image resized(const Image& source, int width, int height);

// Byte encodings of the picture; channels 1 (grey from the red channel),
// 3 or 4. Empty on failure.
std::string to_png(const Image& image, int channels);
std::string to_ppm(const Image& image);
std::string to_pgm(const Image& image);

// The picture as bytes, `channels` per pixel, rows from the top.
std::vector<uint8_t> to_bytes(const Image& image, int channels);

}  // namespace kit
