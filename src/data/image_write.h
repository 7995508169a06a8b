// Image encoders: PNG (8-bit grey, RGB, RGBA and 16-bit grey height
// images), binary PPM and PGM. The encoders work in memory and give the same
// bytes for the same pixels on every run, so the game-data builder writes
// reproducible data; the file writers below save through a temporary file,
// so a failed write keeps the previous copy.
#pragma once

#include <cstdint>
#include <string>

// Pixels row by row from the top, `channels` bytes each (1 grey, 3 RGB,
// 4 RGBA). False for bad arguments or an encoder failure (out untouched).
bool encode_png(const uint8_t* pixels, int width, int height, int channels, std::string* out);

// 16-bit greyscale PNG of height samples (row by row from the top).
bool encode_png_grey16(const uint16_t* samples, int width, int height, std::string* out);

// "P6\n<w> <h>\n255\n" followed by the RGB bytes.
std::string encode_ppm(const uint8_t* rgb, int width, int height);
// "P5\n<w> <h>\n255\n" followed by the grey bytes.
std::string encode_pgm(const uint8_t* grey, int width, int height);

// Writes bytes to a file: a "@name" path goes to the home folder (where
// the game writes its data files), any other path is used as it is. Missing
// folders are created; the previous copy survives a failed write.
bool write_data_file(const std::string& path, const std::string& bytes);

// A 16-bit greyscale height PNG (terrain save).
bool write_height_png(const std::string& path, const uint16_t* samples, int width, int height);

// A screenshot: RGB rows as read back from the frame buffer (bottom row
// first), saved as an upright 8-bit RGB PNG.
bool write_screenshot_png(const std::string& path, const uint8_t* rgb, int width, int height);
