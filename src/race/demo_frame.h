// DemoFrame: one rider's state in one tick, packed little-endian into 39
// bytes (version 5). Demo files hold one per recorded rider per tick, and
// network state packets carry the same frame. Version 4 frames (26 bytes,
// the rider placed by one byte along the rider mount) are read, never
// written.
#pragma once

#include <cstdint>

struct Bike;

constexpr int DEMO_FRAME_BYTES = 39;
constexpr int DEMO_FRAME_V4_BYTES = 26;
constexpr int DEMO_VERSION = 5;

struct DemoFrame {
  uint8_t bytes[DEMO_FRAME_BYTES] = {};
};

// 26 for version 4, 39 for version 5, 0 for any other.
int demo_frame_size(int version);

// Packs a bike on the loaded terrain (positions clamped to the terrain).
DemoFrame encode_frame(const Bike& b);

// Sets the bike's bodies and state from a frame of the given version.
// `advance` is the number of ticks the frame moves the bike on: with the
// race clock running, the bodies get the velocities of that move.
void apply_frame(Bike& b, const uint8_t* frame, int version, int advance);

// The frame a fraction t (0 .. 1) of the way from p to q.
DemoFrame interpolate_frames(const DemoFrame& p, const DemoFrame& q, double t);

// n-bit quantisation of v over [lo, hi] (clamped), and back.
uint32_t quantise(double v, double lo, double hi, int bits);
double dequantise(uint32_t v, double lo, double hi, int bits);
