#include "kit/image.h"

#include <algorithm>
#include <cmath>

#include "data/image_write.h"

namespace kit {

Colour hex(uint32_t rgb, float alpha) {
  return {((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

Colour mix(Colour a, Colour b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour scaled(Colour c, float factor) { return {c.r * factor, c.g * factor, c.b * factor, c.a}; }

Colour with_alpha(Colour c, float alpha) { return {c.r, c.g, c.b, alpha}; }

Image::Image(int w, int h, Colour fill) : width(w), height(h), pixels(static_cast<size_t>(w) * h, fill) {}

Colour over(Colour d, Colour c, float coverage) {
  float alpha = std::clamp(c.a * coverage, 0.0f, 1.0f);
  if (alpha <= 0) return d;
  float out_alpha = alpha + d.a * (1 - alpha);
  float keep = d.a * (1 - alpha) / out_alpha, add = alpha / out_alpha;
  return {d.r * keep + c.r * add, d.g * keep + c.g * add, d.b * keep + c.b * add, out_alpha};
}

void blend(Image& image, int x, int y, Colour c, float coverage) {
  if (image.inside(x, y)) image.at(x, y) = over(image.at(x, y), c, coverage);
}

Colour sample(const Image& image, double x, double y, bool wrap) {
  x -= 0.5;
  y -= 0.5;
  int x0 = static_cast<int>(std::floor(x)), y0 = static_cast<int>(std::floor(y));
  float fx = static_cast<float>(x - x0), fy = static_cast<float>(y - y0);
  auto pick = [&](int px, int py) {
    if (wrap) {
      px = ((px % image.width) + image.width) % image.width;
      py = ((py % image.height) + image.height) % image.height;
    } else {
      px = std::clamp(px, 0, image.width - 1);
      py = std::clamp(py, 0, image.height - 1);
    }
    return image.at(px, py);
  };
  Colour top = mix(pick(x0, y0), pick(x0 + 1, y0), fx);
  Colour bottom = mix(pick(x0, y0 + 1), pick(x0 + 1, y0 + 1), fx);
  return mix(top, bottom, fy);
}

void paste(Image& target, const Image& source, int x, int y, bool mirror_x, bool mirror_y) {
  for (int sy = 0; sy < source.height; ++sy)
    for (int sx = 0; sx < source.width; ++sx)
      blend(target, x + sx, y + sy,
            source.at(mirror_x ? source.width - 1 - sx : sx, mirror_y ? source.height - 1 - sy : sy));
}

Image resized(const Image& source, int width, int height) {
  Image out(width, height);
  double step_x = static_cast<double>(source.width) / width;
  double step_y = static_cast<double>(source.height) / height;
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      int x0 = static_cast<int>(x * step_x), x1 = std::max(x0 + 1, static_cast<int>((x + 1) * step_x));
      int y0 = static_cast<int>(y * step_y), y1 = std::max(y0 + 1, static_cast<int>((y + 1) * step_y));
      Colour sum{0, 0, 0, 0};
      for (int sy = y0; sy < y1; ++sy)
        for (int sx = x0; sx < x1; ++sx) {
          const Colour& c = source.at(std::min(sx, source.width - 1), std::min(sy, source.height - 1));
          sum = {sum.r + c.r, sum.g + c.g, sum.b + c.b, sum.a + c.a};
        }
      float n = static_cast<float>((x1 - x0) * (y1 - y0));
      out.at(x, y) = {sum.r / n, sum.g / n, sum.b / n, sum.a / n};
    }
  return out;
}

namespace {
uint8_t to_byte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }
}  // namespace

std::vector<uint8_t> to_bytes(const Image& image, int channels) {
  std::vector<uint8_t> bytes;
  bytes.reserve(image.pixels.size() * channels);
  for (const Colour& c : image.pixels) {
    bytes.push_back(to_byte(c.r));
    if (channels >= 3) {
      bytes.push_back(to_byte(c.g));
      bytes.push_back(to_byte(c.b));
    }
    if (channels == 4) bytes.push_back(to_byte(c.a));
  }
  return bytes;
}

std::string to_png(const Image& image, int channels) {
  std::vector<uint8_t> bytes = to_bytes(image, channels);
  std::string out;
  if (!encode_png(bytes.data(), image.width, image.height, channels, &out)) return {};
  return out;
}

std::string to_ppm(const Image& image) { return encode_ppm(to_bytes(image, 3).data(), image.width, image.height); }

std::string to_pgm(const Image& image) { return encode_pgm(to_bytes(image, 1).data(), image.width, image.height); }

}  // namespace kit
