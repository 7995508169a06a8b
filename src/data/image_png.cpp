// PNG reading through libpng, from any data file (plain, compressed or an
// archive member): colour textures and 16-bit greyscale height images.
#include <png.h>

#include <csetjmp>
#include <cstdio>

#include "data/data_file.h"
#include "data/image_read.h"

namespace {

enum class PngWanted { COLOUR, GREY16 };

// Everything the reader fills lives outside the function that calls
// setjmp, so a libpng error jumping back leaks nothing.
struct PngRead {
  DataFile* file = nullptr;
  PngWanted wanted = PngWanted::COLOUR;
  Image* image = nullptr;                   // COLOUR
  std::vector<uint8_t> grey16;             // GREY16: big-endian samples
  std::vector<png_bytep> rows;
  int width = 0, height = 0, channels = 0;
  char message[256] = "";
};

void read_from_data_file(png_structp png, png_bytep out, png_size_t length) {
  auto* state = static_cast<PngRead*>(png_get_io_ptr(png));
  if (length > 0x7FFFFFFF || df_read(state->file, out, static_cast<int>(length)) != static_cast<int>(length))
    png_error(png, "unexpected end of file");
}

[[noreturn]] void keep_message_and_jump(png_structp png, png_const_charp message) {
  auto* state = static_cast<PngRead*>(png_get_error_ptr(png));
  std::snprintf(state->message, sizeof state->message, "%s", message ? message : "error");
  png_longjmp(png, 1);
}

void ignore_warning(png_structp, png_const_charp) {}

void set_colour_transforms(png_structp png, png_infop info) {
  int colour = png_get_color_type(png, info);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (png_get_valid(png, info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(png);
  png_set_strip_16(png);
  if (colour == PNG_COLOR_TYPE_GRAY || colour == PNG_COLOR_TYPE_GRAY_ALPHA) png_set_gray_to_rgb(png);
}

void set_grey16_transforms(png_structp png, png_infop info) {
  int colour = png_get_color_type(png, info);
  if (colour == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (colour == PNG_COLOR_TYPE_GRAY && png_get_bit_depth(png, info) < 8) png_set_expand_gray_1_2_4_to_8(png);
  if (colour & PNG_COLOR_MASK_ALPHA) png_set_strip_alpha(png);
  if (colour & PNG_COLOR_MASK_COLOR) png_set_rgb_to_gray_fixed(png, 1, -1, -1);
  png_set_expand_16(png);
}

// Runs libpng; no object with a destructor lives in this frame.
bool run_png_reader(PngRead* state) {
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, state, keep_message_and_jump, ignore_warning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_read_struct(&png, nullptr, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_read_struct(&png, &info, nullptr);
    return false;
  }
  png_set_user_limits(png, IMAGE_SIDE_LIMIT, IMAGE_SIDE_LIMIT);
  png_set_read_fn(png, state, read_from_data_file);
  png_read_info(png, info);
  if (state->wanted == PngWanted::COLOUR) set_colour_transforms(png, info);
  else set_grey16_transforms(png, info);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  state->width = static_cast<int>(png_get_image_width(png, info));
  state->height = static_cast<int>(png_get_image_height(png, info));
  state->channels = png_get_channels(png, info);
  if (!image_size_allowed(state->width, state->height)) png_error(png, "image too large");
  size_t row_bytes = png_get_rowbytes(png, info);
  uint8_t* pixels;
  if (state->wanted == PngWanted::COLOUR) {
    if (state->channels != 3 && state->channels != 4) png_error(png, "unexpected channel count");
    prepare_image(state->image, state->width, state->height, state->channels);
    pixels = state->image->pixels.data();
  } else {
    if (state->channels != 1 || row_bytes != static_cast<size_t>(state->width) * 2) png_error(png, "unexpected sample layout");
    state->grey16.resize(row_bytes * static_cast<size_t>(state->height));
    pixels = state->grey16.data();
  }
  state->rows.resize(static_cast<size_t>(state->height));
  for (int y = 0; y < state->height; ++y) state->rows[static_cast<size_t>(y)] = pixels + row_bytes * static_cast<size_t>(y);
  png_read_image(png, state->rows.data());
  png_destroy_read_struct(&png, &info, nullptr);
  return true;
}

bool read_png_as(DataFile* file, PngRead* state) {
  state->file = file;
  if (run_png_reader(state)) return true;
  set_image_error("Can't read PNG: %s", state->message[0] ? state->message : "libpng failure");
  return false;
}

}  // namespace

bool read_png(DataFile* file, Image* image) {
  PngRead state;
  state.image = image;
  return read_png_as(file, &state);
}

bool read_png_grey16(DataFile* file, std::vector<uint16_t>* samples, int* width, int* height) {
  PngRead state;
  state.wanted = PngWanted::GREY16;
  if (!read_png_as(file, &state)) return false;
  size_t count = static_cast<size_t>(state.width) * static_cast<size_t>(state.height);
  samples->resize(count);
  for (size_t k = 0; k < count; ++k)
    (*samples)[k] = static_cast<uint16_t>(state.grey16[2 * k] << 8 | state.grey16[2 * k + 1]);
  *width = state.width;
  *height = state.height;
  return true;
}
