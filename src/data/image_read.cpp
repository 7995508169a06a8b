// The netpbm readers (PPM, PGM, binary and ASCII), the predictive-coded J6
// and J7 readers, and the readers that pick a format by its magic word.
#include "data/image_read.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <memory>

#include "data/data_file.h"
#include "data/scanner.h"

namespace {

char last_error[1024];

// Skips any comment lines, then reads one decimal header number.
bool read_header_number(DataFile* file, int* value) {
  char hash[2];
  while (df_scanf(file, " %1[#]%*[^\n]", hash) == 1) {
  }
  return df_scanf(file, "%d", value) == 1;
}

bool read_exactly(DataFile* file, uint8_t* out, size_t count) {
  while (count > 0) {
    int chunk = count > (1u << 30) ? (1 << 30) : static_cast<int>(count);
    int got = df_read(file, out, chunk);
    if (got != chunk) return false;
    out += chunk;
    count -= static_cast<size_t>(chunk);
  }
  return true;
}

uint8_t scaled_sample(int64_t value, int64_t maximum) {
  if (maximum == 255) return static_cast<uint8_t>(value);
  int64_t scaled = value * 255 / maximum;
  return static_cast<uint8_t>(scaled > 255 ? 255 : scaled);
}

}  // namespace

const char* image_error() { return last_error; }

void set_image_error(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::vsnprintf(last_error, sizeof last_error, format, args);
  va_end(args);
}

bool read_netpbm_body(DataFile* file, const std::string& magic, Image* image) {
  bool colour = magic == "P3" || magic == "P6";
  bool ascii = magic == "P3" || magic == "P2";
  const char* kind = colour ? "PPM" : "PGM";
  if (!colour && magic != "P2" && magic != "P5") {
    set_image_error("Can't parse %s header", kind);
    return false;
  }
  int width = -1, height = -1, maximum = -1;
  read_header_number(file, &width) && read_header_number(file, &height) && read_header_number(file, &maximum);
  if (width < 0 || height < 0 || maximum < 0) {
    set_image_error("Can't get %s dimensions", kind);
    return false;
  }
  if (!image_size_allowed(width, height) || maximum == 0 || maximum > 65535) {
    set_image_error("Unsupported %s size %dx%d (maximum value %d)", kind, width, height, maximum);
    return false;
  }
  int channels = colour ? 3 : 1;
  prepare_image(image, width, height, channels);
  size_t count = image_level_bytes(width, height, channels);
  uint8_t* out = image->pixels.data();
  if (ascii) {
    for (size_t k = 0; k < count; ++k) {
      int value = -1;
      df_scanf(file, "%d", &value);
      out[k] = scaled_sample(value, maximum);
    }
    return true;
  }
  df_getc(file);  // the single separator after the header
  if (maximum <= 255) {
    if (!read_exactly(file, out, count)) {
      set_image_error("Unexpected end of %s data", kind);
      return false;
    }
    if (maximum != 255)
      for (size_t k = 0; k < count; ++k) out[k] = scaled_sample(out[k], maximum);
    return true;
  }
  // Samples above 255 take two bytes each, high byte first.
  std::unique_ptr<uint8_t[]> wide(new uint8_t[count * 2]);
  if (!read_exactly(file, wide.get(), count * 2)) {
    set_image_error("Unexpected end of %s data", kind);
    return false;
  }
  for (size_t k = 0; k < count; ++k) out[k] = scaled_sample(wide[2 * k] << 8 | wide[2 * k + 1], maximum);
  return true;
}

bool read_predictive_body(DataFile* file, const std::string& magic, int channels, Image* image) {
  int stored = magic == "J7" ? 4 : magic == "J6" ? 3 : 0;
  if (stored == 0 || (channels != 3 && channels != 4)) {
    set_image_error("Can't parse %s header", magic.c_str());
    return false;
  }
  int width = -1, height = -1;
  read_header_number(file, &width) && read_header_number(file, &height);
  if (width < 0 || height < 0) {
    set_image_error("Can't get %s dimensions", magic.c_str());
    return false;
  }
  if (!image_size_allowed(width, height)) {
    set_image_error("Unsupported %s size %dx%d", magic.c_str(), width, height);
    return false;
  }
  df_getc(file);  // separator
  size_t pixels = static_cast<size_t>(width) * static_cast<size_t>(height);
  std::unique_ptr<uint8_t[]> differences(new uint8_t[pixels * static_cast<size_t>(stored)]);
  if (!read_exactly(file, differences.get(), pixels * static_cast<size_t>(stored))) {
    set_image_error("Unexpected end of %s data", magic.c_str());
    return false;
  }
  prepare_image(image, width, height, channels);
  uint8_t* out = image->pixels.data();
  size_t row = static_cast<size_t>(width) * static_cast<size_t>(channels);
  int decoded = stored < channels ? stored : channels;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      uint8_t* pixel = out + static_cast<size_t>(y) * row + static_cast<size_t>(x) * channels;
      const uint8_t* delta = differences.get() + (static_cast<size_t>(y) * width + x) * stored;
      for (int c = 0; c < channels; ++c) {
        int prediction;
        if (x == 0 && y == 0) prediction = 0;
        else if (y == 0) prediction = pixel[c - channels];
        else if (x == 0) prediction = pixel[c - static_cast<ptrdiff_t>(row)];
        else {
          prediction = pixel[c - channels] + pixel[c - static_cast<ptrdiff_t>(row)] -
                       pixel[c - static_cast<ptrdiff_t>(row) - channels];
          prediction = prediction < 0 ? 0 : (prediction > 255 ? 255 : prediction);
        }
        // A channel the file does not store keeps its prediction.
        int difference = c < decoded ? delta[c] : 0;
        pixel[c] = static_cast<uint8_t>(prediction + difference);
      }
    }
  }
  return true;
}

bool read_colour_image(DataFile* file, Image* image, bool with_mips) {
  char magic[16] = "";
  if (df_scanf(file, "%15s", magic) != 1) {
    set_image_error("Can't parse PPM header");
    return false;
  }
  std::string word = magic;
  bool ok;
  if (word == "P3" || word == "P6") ok = read_netpbm_body(file, word, image);
  else if (word == "J6" || word == "J7") ok = read_predictive_body(file, word, 3, image);
  else {
    set_image_error("Can't parse PPM header");
    return false;
  }
  if (ok && with_mips) add_mip_chain(image);
  return ok;
}

bool read_pgm(DataFile* file, Image* image) {
  char magic[16] = "";
  if (df_scanf(file, "%15s", magic) != 1 || (std::strcmp(magic, "P5") != 0 && std::strcmp(magic, "P2") != 0)) {
    set_image_error("Can't parse PGM header");
    return false;
  }
  return read_netpbm_body(file, magic, image);
}

bool read_rgba_image(const char* path, Image* image) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path, "rb"));
  if (!file) {
    set_image_error("Can't open %.900s", path);
    return false;
  }
  if (read_png(file.get(), image)) {
    if (image->channels == 3) {
      // Opaque: spread RGB to RGBA in place, from the end backwards.
      size_t count = static_cast<size_t>(image->width) * image->height;
      image->pixels.resize(count * 4);
      for (size_t k = count; k-- > 0;) {
        uint8_t* to = &image->pixels[k * 4];
        const uint8_t* from = &image->pixels[k * 3];
        uint8_t r = from[0], g = from[1], b = from[2];
        to[0] = r, to[1] = g, to[2] = b, to[3] = 255;
      }
      image->channels = 4;
    }
    return true;
  }
  file.reset(df_open(path, "rb"));
  char magic[16] = "";
  if (!file || df_scanf(file.get(), "%15s", magic) != 1) return false;
  return read_predictive_body(file.get(), magic, 4, image);
}
