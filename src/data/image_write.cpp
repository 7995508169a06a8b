#include "data/image_write.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <vector>

#include "data/data_dirs.h"
#include "data/safe_write.h"
#include "platform/base/paths.h"

namespace {

// PNG's own limit on each side, and a bound that keeps every byte count
// of an image inside 32 bits.
constexpr int64_t PNG_SIDE_LIMIT = 0x7FFFFFFF;
constexpr int64_t IMAGE_BYTES_LIMIT = int64_t{1} << 31;

bool valid_size(int width, int height, int bytes_per_pixel) {
  return width > 0 && height > 0 && width <= PNG_SIDE_LIMIT && height <= PNG_SIDE_LIMIT &&
         int64_t{width} * height * bytes_per_pixel < IMAGE_BYTES_LIMIT;
}

void append_png_bytes(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<std::string*>(png_get_io_ptr(png));
  out->append(reinterpret_cast<const char*>(data), length);
}

void flush_nothing(png_structp) {}

[[noreturn]] void jump_on_error(png_structp png, png_const_charp) { png_longjmp(png, 1); }

void ignore_warning(png_structp, png_const_charp) {}

// Runs libpng over prepared rows. A libpng error jumps back to the setjmp
// below, so nothing with a destructor lives in this frame.
bool run_png_writer(std::string* out, int width, int height, int bit_depth, int colour_type,
                    png_bytep* rows) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, jump_on_error, ignore_warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_set_write_fn(png, out, append_png_bytes, flush_nothing);
  png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bit_depth,
               colour_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  // Fixed settings: the same pixels always give the same bytes.
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool encode_rows(const uint8_t* bytes, int width, int height, int bit_depth, int colour_type, int row_bytes,
                 bool bottom_up, std::string* out) {
  std::vector<png_bytep> rows(static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    int source_row = bottom_up ? height - 1 - y : y;
    rows[static_cast<size_t>(y)] = const_cast<png_bytep>(bytes + static_cast<size_t>(source_row) * row_bytes);
  }
  std::string encoded;
  if (!run_png_writer(&encoded, width, height, bit_depth, colour_type, rows.data())) return false;
  out->swap(encoded);
  return true;
}

std::string netpbm(const char* magic, const uint8_t* pixels, int width, int height, int channels) {
  if (width < 0 || height < 0) return std::string();
  char header[64];
  int length = std::snprintf(header, sizeof header, "%s\n%d %d\n255\n", magic, width, height);
  std::string bytes(header, static_cast<size_t>(length));
  bytes.append(reinterpret_cast<const char*>(pixels), static_cast<size_t>(width) * height * channels);
  return bytes;
}

}  // namespace

bool encode_png(const uint8_t* pixels, int width, int height, int channels, std::string* out) {
  int colour_type;
  switch (channels) {
    case 1: colour_type = PNG_COLOR_TYPE_GRAY; break;
    case 3: colour_type = PNG_COLOR_TYPE_RGB; break;
    case 4: colour_type = PNG_COLOR_TYPE_RGB_ALPHA; break;
    default: return false;
  }
  if (!pixels || !out || !valid_size(width, height, channels)) return false;
  return encode_rows(pixels, width, height, 8, colour_type, width * channels, false, out);
}

bool encode_png_grey16(const uint16_t* samples, int width, int height, std::string* out) {
  if (!samples || !out || !valid_size(width, height, 2)) return false;
  // PNG stores 16-bit samples high byte first.
  size_t count = static_cast<size_t>(width) * height;
  std::vector<uint8_t> big_endian(count * 2);
  for (size_t k = 0; k < count; ++k) {
    big_endian[2 * k] = static_cast<uint8_t>(samples[k] >> 8);
    big_endian[2 * k + 1] = static_cast<uint8_t>(samples[k] & 0xFF);
  }
  return encode_rows(big_endian.data(), width, height, 16, PNG_COLOR_TYPE_GRAY, width * 2, false, out);
}

std::string encode_ppm(const uint8_t* rgb, int width, int height) { return netpbm("P6", rgb, width, height, 3); }

std::string encode_pgm(const uint8_t* grey, int width, int height) { return netpbm("P5", grey, width, height, 1); }

bool write_data_file(const std::string& path, const std::string& bytes) {
  std::string target = path;
  if (!path.empty() && path[0] == '@') {
    std::string home = home_folder();
    if (home.empty()) return false;
    target = normalise_path(home + path.substr(1));
  }
  size_t slash = target.rfind('/');
  if (slash != std::string::npos && slash > 0 && !make_folders(target.substr(0, slash))) return false;
  return write_file_safely(target, bytes);
}

bool write_height_png(const std::string& path, const uint16_t* samples, int width, int height) {
  std::string bytes;
  return encode_png_grey16(samples, width, height, &bytes) && write_data_file(path, bytes);
}

bool write_screenshot_png(const std::string& path, const uint8_t* rgb, int width, int height) {
  if (!rgb || !valid_size(width, height, 3)) return false;
  std::string bytes;
  return encode_rows(rgb, width, height, 8, PNG_COLOR_TYPE_RGB, width * 3, true, &bytes) &&
         write_data_file(path, bytes);
}
