#include "track_fixture.h"

#include <cstdio>

#include "data/image_write.h"
#include "platform/base/log.h"
#include "testkit.h"

namespace fixture {

std::string inline_heights(int shift, float spacing, float min, float max, const std::vector<uint16_t>& samples) {
  char header[128];
  std::snprintf(header, sizeof header, "%d %f %f %f\n:", shift, spacing, min, max);
  std::string bytes = header;
  for (uint16_t s : samples) {
    bytes += static_cast<char>(s & 0xFF);
    bytes += static_cast<char>(s >> 8);
  }
  return bytes;
}

std::string flat_ppm(int size, uint8_t r, uint8_t g, uint8_t b) {
  std::vector<uint8_t> rgb;
  for (int k = 0; k < size * size; ++k) rgb.insert(rgb.end(), {r, g, b});
  return encode_ppm(rgb.data(), size, size);
}

std::string tiny_png() {
  const uint8_t rgb[2 * 2 * 3] = {90, 60, 30, 90, 60, 30, 90, 60, 30, 90, 60, 30};
  std::string png;
  encode_png(rgb, 2, 2, 3, &png);
  return png;
}

std::vector<uint16_t> ramp_samples(int shift) {
  int p = (2 << shift) + 1;
  std::vector<uint16_t> samples;
  for (int j = 0; j < p; ++j)
    for (int i = 0; i < p; ++i) samples.push_back(static_cast<uint16_t>((i * 1000 + j * 377) % 65536));
  return samples;
}

void write_minimal_track(const std::string& data, const std::string& dir, int shift) {
  int p = (2 << shift) + 1, tiles = 1 << shift;
  std::string folder = data + dir + "/";
  testkit::write_file(folder + "terrain.hf", inline_heights(shift, 2.0f, 0.0f, 10.0f, ramp_samples(shift)));
  testkit::write_file(folder + "shading.ppm", flat_ppm(p, 200, 100, 50));
  testkit::write_file(folder + "texturelist", "1.0 5.0 15.0 textures/loam.png\n0.7 6 20 textures/grass.png\n");
  std::string tilemap;
  for (int k = 0; k < tiles * tiles; ++k) tilemap += static_cast<char>(k % 2);
  testkit::write_file(folder + "tilemap", tilemap);
  testkit::write_file(data + "textures/loam.png", tiny_png());
  testkit::write_file(data + "textures/grass.png", tiny_png());
}

std::string start_log() {
  std::string path = testkit::scratch_dir("log") + "lastlog.txt";
  voxa_log_reset();
  voxa_log("VOXA_LOGFILE=%s", path.c_str());
  return path;
}

}  // namespace fixture
