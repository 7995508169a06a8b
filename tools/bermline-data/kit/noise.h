// Deterministic noise for procedural textures and shapes: the same seed
// gives the same values on every run and every machine (integer hashing,
// no library random numbers).
#pragma once

#include <cstdint>

namespace kit {

// A well-mixed 32-bit hash of a few integers.
uint32_t hash32(uint32_t a, uint32_t b = 0, uint32_t c = 0);
// Uniform 0..1 from a hash.
double hash01(uint32_t a, uint32_t b = 0, uint32_t c = 0);

// Smooth value noise in -1..1 with unit lattice spacing. With period > 0 the
// noise repeats every `period` units in x and y, so tiles wrap seamlessly.
double value_noise(double x, double y, uint32_t seed, int period = 0);

// Sum of `octaves` value-noise layers, each at twice the frequency and
// `gain` times the amplitude of the one before, normalised to about -1..1.
// A period > 0 (in units of the first octave) makes it tile.
double fbm(double x, double y, uint32_t seed, int octaves, double gain = 0.5, int period = 0);

// Small deterministic pseudo-random sequence for placing things.
struct Dice {
  uint32_t state;
  explicit Dice(uint32_t seed) : state(seed * 2654435761u + 1) {
    if (state == 0) state = 1;  // xorshift never leaves 0
  }
  uint32_t next();
  double uniform(double low = 0, double high = 1);
  int below(int n);  // 0..n-1
};

}  // namespace kit
