// Small hand-made tracks for the track tests, written into the scratch
// data folder of a testkit::DataFolders.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fixture {

// A terrain.hf with inline heights ("N spacing min max\n:" + samples).
std::string inline_heights(int shift, float spacing, float min, float max, const std::vector<uint16_t>& samples);
// A P x P PPM of one colour.
std::string flat_ppm(int size, uint8_t r, uint8_t g, uint8_t b);
// A tiny opaque PNG texture.
std::string tiny_png();

// Samples of a gentle ramp over a P x P grid (P = 2^(shift+1) + 1).
std::vector<uint16_t> ramp_samples(int shift);

// Writes a complete minimal track "<data>/<dir>/" (grid shift `shift`,
// spacing 2, heights 0..10 from ramp_samples, shading, a texturelist of
// two kinds, a tile map of kind 0 and 1 stripes) and the textures it names.
void write_minimal_track(const std::string& data, const std::string& dir, int shift = 1);

// Starts the log in a scratch file and returns its path.
std::string start_log();

}  // namespace fixture
