// Mip chains (2 x 2 box filter, alpha-weighted for RGBA) and the
// nearest-neighbour resampling of images whose sides are not powers of two.
#include <cstring>

#include "data/image_read.h"

namespace {

int next_level_side(int side) { return side / 2 > 1 ? side / 2 : 1; }

// One destination pixel from `count` source pixels (4 or 2).
void average_pixels(const uint8_t* const* samples, int count, int channels, uint8_t* out) {
  int alpha_sum = 0;
  if (channels == 4)
    for (int k = 0; k < count; ++k) alpha_sum += samples[k][3];
  bool weighted = channels == 4 && alpha_sum != 0 && alpha_sum != 255 * count;
  for (int c = 0; c < channels; ++c) {
    int sum = 0;
    if (weighted && c < 3) {
      for (int k = 0; k < count; ++k) sum += samples[k][c] * samples[k][3];
      out[c] = static_cast<uint8_t>(sum / alpha_sum);
    } else {
      for (int k = 0; k < count; ++k) sum += samples[k][c];
      out[c] = static_cast<uint8_t>(sum / count);
    }
  }
}

// Builds the level below `source` (width w, height h) into `destination`.
void build_level(const uint8_t* source, int w, int h, int channels, uint8_t* destination) {
  int dw = next_level_side(w), dh = next_level_side(h);
  size_t row = static_cast<size_t>(w) * channels;
  for (int y = 0; y < dh; ++y) {
    for (int x = 0; x < dw; ++x) {
      const uint8_t* corner = source + static_cast<size_t>(2 * y) * (h > 1 ? row : 0) +
                              static_cast<size_t>(w > 1 ? 2 * x : x) * channels;
      const uint8_t* samples[4];
      int count;
      if (w > 1 && h > 1) {
        samples[0] = corner, samples[1] = corner + channels;
        samples[2] = corner + row, samples[3] = corner + row + channels;
        count = 4;
      } else if (w > 1) {
        samples[0] = corner, samples[1] = corner + channels;
        count = 2;
      } else {
        samples[0] = corner, samples[1] = corner + row;
        count = 2;
      }
      average_pixels(samples, count, channels, destination + (static_cast<size_t>(y) * dw + x) * channels);
    }
  }
}

}  // namespace

bool image_size_allowed(int64_t width, int64_t height) {
  return width > 0 && height > 0 && width <= IMAGE_SIDE_LIMIT && height <= IMAGE_SIDE_LIMIT &&
         width * height <= IMAGE_PIXEL_LIMIT;
}

bool is_power_of_two(int value) { return value > 0 && (value & (value - 1)) == 0; }

size_t image_level_bytes(int width, int height, int channels) {
  return static_cast<size_t>(width) * static_cast<size_t>(height) * static_cast<size_t>(channels);
}

size_t mip_chain_bytes(int width, int height, int channels) {
  size_t total = image_level_bytes(width, height, channels);
  while (width > 1 || height > 1) {
    width = next_level_side(width);
    height = next_level_side(height);
    total += image_level_bytes(width, height, channels);
  }
  return total + static_cast<size_t>(channels);
}

void prepare_image(Image* image, int width, int height, int channels) {
  image->width = width;
  image->height = height;
  image->channels = channels;
  image->pixels.clear();
  image->pixels.reserve(mip_chain_bytes(width, height, channels));
  image->pixels.resize(image_level_bytes(width, height, channels));
}

void add_mip_chain(Image* image) {
  int w = image->width, h = image->height, channels = image->channels;
  image->pixels.resize(mip_chain_bytes(w, h, channels));
  uint8_t* level = image->pixels.data();
  while (w > 1 || h > 1) {
    uint8_t* next = level + image_level_bytes(w, h, channels);
    build_level(level, w, h, channels, next);
    level = next;
    w = next_level_side(w);
    h = next_level_side(h);
  }
}

Image resample_to_power_of_two(const Image& image) {
  int big_w = 1, big_h = 1;
  while (big_w < image.width) big_w *= 2;
  while (big_h < image.height) big_h *= 2;
  Image out;
  prepare_image(&out, big_w, big_h, image.channels);
  size_t pixel = static_cast<size_t>(image.channels);
  for (int y = 0; y < big_h; ++y) {
    int sy = static_cast<int>(static_cast<int64_t>(y) * image.height / big_h);
    for (int x = 0; x < big_w; ++x) {
      int sx = static_cast<int>(static_cast<int64_t>(x) * image.width / big_w);
      std::memcpy(&out.pixels[(static_cast<size_t>(y) * big_w + x) * pixel],
                  &image.pixels[(static_cast<size_t>(sy) * image.width + sx) * pixel], pixel);
    }
  }
  add_mip_chain(&out);
  return out;
}
