// Image readers: binary and ASCII PPM and PGM, the predictive-coded "J6"
// (RGB) and "J7" (RGBA) formats, PNG through libpng (colour images and
// 16-bit greyscale height images), and the mip chains textures are
// uploaded from. Readers report failure by returning false and keep a
// message as the last image error.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

struct DataFile;

// Limits that keep a damaged header from asking for absurd memory.
constexpr int IMAGE_SIDE_LIMIT = 16384;
constexpr int64_t IMAGE_PIXEL_LIMIT = int64_t{1} << 25;

// Pixels row by row from the top, `channels` bytes each. With a mip chain
// every smaller level (max(1, w/2) x max(1, h/2), down to 1 x 1) follows
// level 0 directly in the same buffer.
struct Image {
  int width = 0;
  int height = 0;
  int channels = 0;
  std::vector<uint8_t> pixels;
};

// The last image error ("Can't parse PPM header", ...).
const char* image_error();
void set_image_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// True when width and height are within the limits above.
bool image_size_allowed(int64_t width, int64_t height);

// Bytes of level 0 and of the whole chain (all levels plus one pixel).
size_t image_level_bytes(int width, int height, int channels);
size_t mip_chain_bytes(int width, int height, int channels);

// Sizes `image` for level 0 with room reserved for its whole chain, so
// add_mip_chain later needs no further allocation.
void prepare_image(Image* image, int width, int height, int channels);
// Appends every smaller level, built with the 2 x 2 box filter (colour
// weighted by alpha for 4-channel images).
void add_mip_chain(Image* image);
// Level 0 resampled by nearest neighbour to the next powers of two, with a
// fresh mip chain. Images already that size are copied as they are.
Image resample_to_power_of_two(const Image& image);
bool is_power_of_two(int value);

// Body readers: the file is positioned just after the magic word.
// P3/P6 give 3 channels, P2/P5 1 channel; J6/J7 decode into `channels`
// (3 or 4). Level 0 only.
bool read_netpbm_body(DataFile* file, const std::string& magic, Image* image);
bool read_predictive_body(DataFile* file, const std::string& magic, int channels, Image* image);

// Reads the magic word ("%15s") and a colour image in "P3", "P6", "J6" or
// "J7" as 3 channels with its mip chain (level 0 alone when `with_mips` is
// false, as the terrain's shading needs).
bool read_colour_image(DataFile* file, Image* image, bool with_mips = true);
// A "P5" or "P2" greyscale image, without mip chain.
bool read_pgm(DataFile* file, Image* image);
// A PNG (from the start of the file) as 3 channels, or 4 when it has
// alpha; level 0 only.
bool read_png(DataFile* file, Image* image);
// A PNG as 16-bit grey height samples, row by row from the top.
bool read_png_grey16(DataFile* file, std::vector<uint16_t>* samples, int* width, int* height);
// An RGBA image for the text fonts: a PNG (RGB images get alpha 255), or
// else a J6 or J7 file decoded to 4 channels. Level 0 only.
bool read_rgba_image(const char* path, Image* image);
