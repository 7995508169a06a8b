#include "data/image_write.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "data/data_dirs.h"
#include "testkit.h"

namespace {

// Decodes with libpng's own reader, independent of the game's image code.
struct Decoded {
  bool ok = false;
  png_uint_32 format = 0;
  int width = 0, height = 0;
  std::vector<uint8_t> pixels;
};

Decoded decode(const std::string& png, png_uint_32 format) {
  Decoded result;
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) return result;
  result.format = image.format;
  image.format = format;
  result.width = static_cast<int>(image.width);
  result.height = static_cast<int>(image.height);
  result.pixels.resize(PNG_IMAGE_SIZE(image));
  result.ok = png_image_finish_read(&image, nullptr, result.pixels.data(), 0, nullptr) != 0;
  return result;
}

std::vector<uint8_t> pattern(size_t count) {
  std::vector<uint8_t> bytes(count);
  for (size_t k = 0; k < count; ++k) bytes[k] = static_cast<uint8_t>(k * 37 + k / 7);
  return bytes;
}

TEST(ImageWrite, PngRoundTripsEveryChannelCount) {
  struct Case {
    int channels;
    png_uint_32 format;
  };
  for (Case c : {Case{1, PNG_FORMAT_GRAY}, Case{3, PNG_FORMAT_RGB}, Case{4, PNG_FORMAT_RGBA}}) {
    SCOPED_TRACE(c.channels);
    const int width = 13, height = 5;
    std::vector<uint8_t> pixels = pattern(static_cast<size_t>(width) * height * c.channels);
    std::string png;
    ASSERT_TRUE(encode_png(pixels.data(), width, height, c.channels, &png));
    Decoded decoded = decode(png, c.format);
    ASSERT_TRUE(decoded.ok);
    EXPECT_EQ(decoded.format, c.format);
    EXPECT_EQ(decoded.width, width);
    EXPECT_EQ(decoded.height, height);
    EXPECT_EQ(decoded.pixels, pixels);
  }
}

TEST(ImageWrite, PngBytesAreDeterministic) {
  std::vector<uint8_t> pixels = pattern(64 * 64 * 3);
  std::string first, second;
  ASSERT_TRUE(encode_png(pixels.data(), 64, 64, 3, &first));
  ASSERT_TRUE(encode_png(pixels.data(), 64, 64, 3, &second));
  EXPECT_EQ(first, second);
  // Nothing time-dependent is stored.
  EXPECT_EQ(first.find("tIME"), std::string::npos);
}

TEST(ImageWrite, Grey16KeepsFullSampleRange) {
  const uint16_t samples[] = {0, 1, 255, 256, 0x1234, 0xFFFE, 0xFFFF, 0x8000};
  std::string png;
  ASSERT_TRUE(encode_png_grey16(samples, 4, 2, &png));
  png_image image;
  std::memset(&image, 0, sizeof image);
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_memory(&image, png.data(), png.size()));
  // The header says 16-bit greyscale; read the raw samples back.
  EXPECT_EQ(png[24], 16);  // bit depth in IHDR
  EXPECT_EQ(png[25], 0);   // colour type grey
  image.format = PNG_FORMAT_LINEAR_Y;
  std::vector<uint16_t> back(8);
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, back.data(), 0, nullptr));
  EXPECT_EQ(std::vector<uint16_t>(samples, samples + 8), back);
}

TEST(ImageWrite, BadArgumentsFailAndLeaveOutputAlone) {
  uint8_t pixel[4] = {1, 2, 3, 4};
  std::string out = "previous";
  EXPECT_FALSE(encode_png(pixel, 1, 1, 2, &out));
  EXPECT_FALSE(encode_png(pixel, 0, 1, 3, &out));
  EXPECT_FALSE(encode_png(pixel, 1, -4, 3, &out));
  EXPECT_FALSE(encode_png(nullptr, 1, 1, 3, &out));
  EXPECT_FALSE(encode_png(pixel, 70000, 70000, 4, &out));
  EXPECT_FALSE(encode_png_grey16(nullptr, 1, 1, &out));
  EXPECT_EQ(out, "previous");
}

TEST(ImageWrite, NetpbmHeaders) {
  const uint8_t rgb[6] = {1, 2, 3, 4, 5, 6};
  EXPECT_EQ(encode_ppm(rgb, 2, 1), std::string("P6\n2 1\n255\n\x01\x02\x03\x04\x05\x06", 17));
  EXPECT_EQ(encode_pgm(rgb, 3, 2), std::string("P5\n3 2\n255\n\x01\x02\x03\x04\x05\x06", 17));
}

TEST(ImageWrite, ScreenshotIsWrittenUpright) {
  testkit::DataFolders folders;
  // Two rows as the frame buffer gives them: bottom (red) first, then top (blue).
  const uint8_t rows[] = {255, 0, 0, 0, 0, 255};
  ASSERT_TRUE(write_screenshot_png("@screenshot000.png", rows, 1, 2));
  Decoded decoded = decode(testkit::read_file(folders.home + "screenshot000.png"), PNG_FORMAT_RGB);
  ASSERT_TRUE(decoded.ok);
  EXPECT_EQ(decoded.pixels, (std::vector<uint8_t>{0, 0, 255, 255, 0, 0}));
}

TEST(ImageWrite, DataFileGoesToHomeFolderAndFailsCleanly) {
  testkit::DataFolders folders;
  ASSERT_TRUE(write_data_file("@tracks/mine/tilemap", "abc"));
  EXPECT_EQ(testkit::read_file(folders.home + "tracks/mine/tilemap"), "abc");
  // A folder that cannot be made (a file is in the way) fails, and the
  // file in the way is left as it was.
  testkit::write_file(folders.home + "blocker", "keep");
  EXPECT_FALSE(write_data_file("@blocker/inner/file", "x"));
  EXPECT_EQ(testkit::read_file(folders.home + "blocker"), "keep");
  const uint16_t samples[4] = {1, 2, 3, 4};
  EXPECT_FALSE(write_height_png("@blocker/terrain.png", samples, 2, 2));
}

}  // namespace
