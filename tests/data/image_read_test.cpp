#include "data/image_read.h"

#include <cstdio>
#include <memory>

#include "data/data_file.h"
#include "data/image_write.h"
#include "testkit.h"

namespace {

// An in-memory data file over a copy of `bytes`.
struct MemoryFile {
  std::string bytes;
  DataFile* file;
  explicit MemoryFile(std::string data) : bytes(std::move(data)) {
    if (bytes.empty()) bytes.push_back('\0');  // fmemopen refuses empty buffers
    file = df_open_stream(fmemopen(bytes.data(), bytes.size(), "rb"));
  }
  ~MemoryFile() { df_close(file); }
};

std::vector<uint8_t> level0(const Image& image) {
  return {image.pixels.begin(), image.pixels.begin() + static_cast<long>(image_level_bytes(image.width, image.height, image.channels))};
}

TEST(ImageRead, PpmSamplesAreScaledByTheirMaximum) {
  MemoryFile f(std::string("P6 2 1 15\n", 10) + std::string("\x0f\x07\x00\x01\x0e\x0f", 6));
  Image image;
  ASSERT_TRUE(read_colour_image(f.file, &image)) << image_error();
  EXPECT_EQ(image.channels, 3);
  EXPECT_EQ(level0(image), (std::vector<uint8_t>{255, 119, 0, 17, 238, 255}));
  // The mip chain follows: one 1 x 1 level, then the spare pixel.
  EXPECT_EQ(image.pixels.size(), 6u + 3u + 3u);
  EXPECT_EQ(image.pixels[6], (255 + 17) / 2);
}

TEST(ImageRead, HeaderCommentsAreSkippedBeforeEveryNumber) {
  MemoryFile f("P5\n# made by hand\n2 # width above\n# two lines\n# of comment\n1\n#max\n255\n\x05\x06");
  Image image;
  ASSERT_TRUE(read_pgm(f.file, &image)) << image_error();
  EXPECT_EQ(image.width, 2);
  EXPECT_EQ(image.height, 1);
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{5, 6}));
}

TEST(ImageRead, AsciiFormatsAndMissingSamples) {
  MemoryFile colour("P3 1 2 255\n1 2 3\n4 5");
  Image image;
  ASSERT_TRUE(read_colour_image(colour.file, &image)) << image_error();
  // The missing sample counts as -1, which is stored as 255.
  EXPECT_EQ(level0(image), (std::vector<uint8_t>{1, 2, 3, 4, 5, 255}));
  MemoryFile grey("P2 3 1 100 0 50 100");
  ASSERT_TRUE(read_pgm(grey.file, &image));
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{0, 127, 255}));
}

TEST(ImageRead, BadHeadersGiveTheirMessages) {
  struct Case {
    const char* bytes;
    bool pgm;
    const char* message;
  };
  const Case cases[] = {
      {"P7 1 1 255\n...", false, "Can't parse PPM header"},
      {"", false, "Can't parse PPM header"},
      {"P6 -3 4 255\n", false, "Can't get PPM dimensions"},
      {"P6 3 4 -1\n", false, "Can't get PPM dimensions"},
      {"P6 3", false, "Can't get PPM dimensions"},
      {"P6 2 2 255\nabc", false, "Unexpected end of PPM data"},
      {"P6 100000 100000 255\n", false, "Unsupported PPM size 100000x100000 (maximum value 255)"},
      {"P6 4 4 0\n", false, "Unsupported PPM size 4x4 (maximum value 0)"},
      {"P6 2 2 255\n", true, "Can't parse PGM header"},
      {"P5 2 -2 255\n", true, "Can't get PGM dimensions"},
      {"J6 -1 1\n", false, "Can't get J6 dimensions"},
      {"J7 2 2\n.abc", false, "Unexpected end of J7 data"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    MemoryFile f(c.bytes);
    Image image;
    EXPECT_FALSE(c.pgm ? read_pgm(f.file, &image) : read_colour_image(f.file, &image));
    EXPECT_STREQ(image_error(), c.message);
  }
}

TEST(ImageRead, SixteenBitSamplesUseTwoBytes) {
  MemoryFile f(std::string("P5 2 1 65535\n", 13) + std::string("\xff\xff\x80\x00", 4));
  Image image;
  ASSERT_TRUE(read_pgm(f.file, &image));
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{255, 127}));
}

// A 2 x 2 J6 picture worked out by hand: predictions from the left, from
// above, and left + above - above-left clamped to 0..255 (both clamps hit).
const std::string J6_2X2 = std::string("J6 2 2\n", 7) +
                           std::string("\x0a\xc8\xfa" "\x14\x32\x06" "\x0a\x32\x06" "\xfb\x01\x07", 12);
const std::vector<uint8_t> J6_2X2_RGB = {10, 200, 250, 30, 250, 0, 20, 250, 0, 35, 0, 7};

TEST(ImageRead, PredictiveJ6DecodesWithClampedPrediction) {
  MemoryFile f(J6_2X2);
  Image image;
  ASSERT_TRUE(read_colour_image(f.file, &image)) << image_error();
  EXPECT_EQ(level0(image), J6_2X2_RGB);

  // Into four channels the alpha keeps its prediction: 0 everywhere.
  MemoryFile again(J6_2X2);
  Image rgba;
  ASSERT_EQ(df_getc(again.file), 'J');
  ASSERT_EQ(df_getc(again.file), '6');
  ASSERT_TRUE(read_predictive_body(again.file, "J6", 4, &rgba));
  EXPECT_EQ(rgba.pixels, (std::vector<uint8_t>{10, 200, 250, 0, 30, 250, 0, 0, 20, 250, 0, 0, 35, 0, 7, 0}));
}

TEST(ImageRead, PredictiveJ7KeepsAlphaOrDropsItForColourImages) {
  // 2 x 1: alpha 100 then 90 (difference 246).
  std::string j7 = std::string("J7 2 1 ", 7) + std::string("\x01\x02\x03\x64" "\x01\x01\x01\xf6", 8);
  MemoryFile rgba_file(j7.substr(2));
  Image rgba;
  ASSERT_TRUE(read_predictive_body(rgba_file.file, "J7", 4, &rgba)) << image_error();
  EXPECT_EQ(rgba.pixels, (std::vector<uint8_t>{1, 2, 3, 100, 2, 3, 4, 90}));
  MemoryFile colour_file(j7);
  Image colour;
  ASSERT_TRUE(read_colour_image(colour_file.file, &colour));
  EXPECT_EQ(level0(colour), (std::vector<uint8_t>{1, 2, 3, 2, 3, 4}));
}

TEST(ImageMip, ChainLevelsAndAlphaWeighting) {
  Image image;
  prepare_image(&image, 2, 2, 4);
  // One opaque red pixel among three transparent blue ones.
  image.pixels = {255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255, 0};
  add_mip_chain(&image);
  ASSERT_EQ(image.pixels.size(), 16u + 4u + 4u);
  EXPECT_EQ((std::vector<uint8_t>(image.pixels.begin() + 16, image.pixels.begin() + 20)),
            (std::vector<uint8_t>{255, 0, 0, 63}));

  struct Case {
    std::vector<uint8_t> level0;
    std::vector<uint8_t> level1;
  };
  const Case cases[] = {
      // All opaque and all transparent: plain averages.
      {{200, 0, 0, 255, 0, 0, 0, 255, 0, 100, 0, 255, 0, 0, 0, 255}, {50, 25, 0, 255}},
      {{200, 0, 0, 0, 0, 0, 0, 0, 0, 100, 0, 0, 0, 0, 0, 0}, {50, 25, 0, 0}},
      // Half-transparent mix: colour weighted by alpha.
      {{200, 0, 0, 128, 0, 0, 0, 0, 0, 100, 0, 64, 0, 0, 0, 0}, {(200 * 128) / 192, (100 * 64) / 192, 0, 48}},
  };
  for (const Case& c : cases) {
    Image one;
    prepare_image(&one, 2, 2, 4);
    one.pixels = c.level0;
    add_mip_chain(&one);
    EXPECT_EQ((std::vector<uint8_t>(one.pixels.begin() + 16, one.pixels.begin() + 20)), c.level1);
  }
}

TEST(ImageMip, ThinImagesAverageTwoPixels) {
  Image row;
  prepare_image(&row, 4, 1, 1);
  row.pixels = {10, 20, 30, 41};
  add_mip_chain(&row);
  EXPECT_EQ(row.pixels, (std::vector<uint8_t>{10, 20, 30, 41, 15, 35, 25, 0}));
  Image column;
  prepare_image(&column, 1, 2, 3);
  column.pixels = {0, 10, 255, 2, 20, 255};
  add_mip_chain(&column);
  EXPECT_EQ((std::vector<uint8_t>(column.pixels.begin() + 6, column.pixels.begin() + 9)),
            (std::vector<uint8_t>{1, 15, 255}));
  EXPECT_EQ(mip_chain_bytes(8, 2, 3), (16u + 4u + 2u + 1u + 1u) * 3u);
}

TEST(ImageMip, ResamplingToPowersOfTwoTakesNearestPixels) {
  Image image;
  prepare_image(&image, 300, 200, 1);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 300; ++x) image.pixels[static_cast<size_t>(y * 300 + x)] = static_cast<uint8_t>((x * 7 + y * 13) & 0xFF);
  Image big = resample_to_power_of_two(image);
  EXPECT_EQ(big.width, 512);
  EXPECT_EQ(big.height, 256);
  EXPECT_EQ(big.pixels.size(), mip_chain_bytes(512, 256, 1));
  for (auto [x, y] : {std::pair{0, 0}, std::pair{511, 255}, std::pair{100, 37}, std::pair{333, 200}}) {
    int sx = x * 300 / 512, sy = y * 200 / 256;
    EXPECT_EQ(big.pixels[static_cast<size_t>(y * 512 + x)], image.pixels[static_cast<size_t>(sy * 300 + sx)]);
  }
}

std::string png_of(const std::vector<uint8_t>& pixels, int w, int h, int channels) {
  std::string png;
  EXPECT_TRUE(encode_png(pixels.data(), w, h, channels, &png));
  return png;
}

TEST(ImageRead, PngGreyBecomesRgbAndAlphaIsKept) {
  MemoryFile grey(png_of({0, 128, 255, 7}, 2, 2, 1));
  Image image;
  ASSERT_TRUE(read_png(grey.file, &image)) << image_error();
  EXPECT_EQ(image.channels, 3);
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{0, 0, 0, 128, 128, 128, 255, 255, 255, 7, 7, 7}));
  std::vector<uint8_t> rgba = {1, 2, 3, 4, 5, 6, 7, 8};
  MemoryFile with_alpha(png_of(rgba, 1, 2, 4));
  ASSERT_TRUE(read_png(with_alpha.file, &image));
  EXPECT_EQ(image.channels, 4);
  EXPECT_EQ(image.pixels, rgba);
}

TEST(ImageRead, HeightPngReadsSixteenBitSamples) {
  const uint16_t samples[] = {0, 65535, 0x1234, 0xABCD, 1, 2};
  std::string png;
  ASSERT_TRUE(encode_png_grey16(samples, 3, 2, &png));
  MemoryFile f(png);
  std::vector<uint16_t> back;
  int w = 0, h = 0;
  ASSERT_TRUE(read_png_grey16(f.file, &back, &w, &h)) << image_error();
  EXPECT_EQ(w, 3);
  EXPECT_EQ(h, 2);
  EXPECT_EQ(back, std::vector<uint16_t>(samples, samples + 6));
  // An 8-bit grey image widens to the full 16-bit range.
  MemoryFile narrow(png_of({0, 255, 1}, 3, 1, 1));
  ASSERT_TRUE(read_png_grey16(narrow.file, &back, &w, &h));
  EXPECT_EQ(back, (std::vector<uint16_t>{0, 65535, 257}));
  // The same height image read as a colour texture keeps the high bytes.
  MemoryFile as_colour(png);
  Image image;
  ASSERT_TRUE(read_png(as_colour.file, &image));
  EXPECT_EQ(image.pixels[3 * 2], 0x12);
}

TEST(ImageRead, DamagedPngFailsCleanly) {
  std::string png = png_of(std::vector<uint8_t>(64 * 64 * 3, 90), 64, 64, 3);
  std::string damaged = png;
  damaged[png.size() / 2] ^= 0x55;
  for (const std::string& bytes : {png.substr(0, png.size() / 2), damaged, std::string("\x89PNG\r\n\x1a\n", 8), std::string("not a png")}) {
    MemoryFile f(bytes);
    Image image;
    std::vector<uint16_t> samples;
    int w, h;
    EXPECT_FALSE(read_png(f.file, &image));
    EXPECT_NE(std::string(image_error()).find("Can't read PNG"), std::string::npos);
    MemoryFile again(bytes);
    EXPECT_FALSE(read_png_grey16(again.file, &samples, &w, &h));
  }
}

TEST(ImageRead, RgbaImageForFontsFromPngOrJ6) {
  testkit::DataFolders folders;
  testkit::write_file(folders.data + "font.png", png_of({9, 8, 7}, 1, 1, 3));
  testkit::write_file(folders.data + "font2.j6", J6_2X2);
  Image image;
  ASSERT_TRUE(read_rgba_image("@font.png", &image));
  EXPECT_EQ(image.pixels, (std::vector<uint8_t>{9, 8, 7, 255}));
  ASSERT_TRUE(read_rgba_image("@font2.j6", &image));
  EXPECT_EQ(image.channels, 4);
  EXPECT_EQ(image.pixels[4], 30);
  EXPECT_FALSE(read_rgba_image("@missing.png", &image));
}

}  // namespace
