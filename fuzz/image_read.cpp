// The image readers over arbitrary bytes: the first byte picks the reader
// (PPM/PGM by magic word, J6/J7 bodies, PNG colour and 16-bit height, the
// ".seq" animation), the rest is the file.
#include <cstdint>

#include "data/image_read.h"
#include "data/texture_cache.h"
#include "track_fuzz_setup.h"

namespace {

void check_image(const Image& image) {
  if (!image_size_allowed(image.width, image.height)) __builtin_trap();
  if (image.pixels.size() < image_level_bytes(image.width, image.height, image.channels)) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  use_empty_data_folders();
  if (size == 0) return 0;
  int reader = data[0] % 7;
  DataFile* file = open_input(data + 1, size - 1);
  if (!file) return 0;
  Image image;
  bool ok = false;
  switch (reader) {
    case 0: ok = read_colour_image(file, &image); break;
    case 1: ok = read_pgm(file, &image); break;
    case 2: ok = read_png(file, &image); break;
    case 3: {
      std::vector<uint16_t> samples;
      int width = 0, height = 0;
      if (read_png_grey16(file, &samples, &width, &height) &&
          samples.size() != static_cast<size_t>(width) * static_cast<size_t>(height))
        __builtin_trap();
      break;
    }
    case 4: ok = read_predictive_body(file, "J7", 4, &image); break;
    case 5: ok = read_predictive_body(file, "J6", 4, &image); break;
    case 6: {
      TextureAnimation animation;
      if (read_texture_animation(file, &animation)) {
        for (int step : animation.steps)
          if (step < 0 || static_cast<size_t>(step) >= animation.frames.size()) __builtin_trap();
        for (const Image& frame : animation.frames) check_image(frame);
      }
      break;
    }
  }
  df_close(file);
  if (ok) {
    check_image(image);
    // Small pictures also go through the texture path's resampling.
    if (int64_t{image.width} * image.height <= 4096) {
      Image big = resample_to_power_of_two(image);
      if (!is_power_of_two(big.width) || !is_power_of_two(big.height)) __builtin_trap();
    }
  }
  return 0;
}
