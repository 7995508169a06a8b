#include "core/mt19937.h"

Mt19937::Mt19937(uint32_t seed) { mt_seed(*this, seed); }

Mt19937 game_random;

void mt_seed(Mt19937& generator, uint32_t seed) {
  generator.state[0] = seed;
  for (int i = 1; i < 624; ++i) {
    uint32_t previous = generator.state[i - 1];
    generator.state[i] = 1812433253u * (previous ^ (previous >> 30)) + static_cast<uint32_t>(i);
  }
  generator.index = 624;
}

uint32_t mt_next(Mt19937& generator) {
  uint32_t* mt = generator.state;
  if (generator.index >= 624) {
    for (int i = 0; i < 624; ++i) {
      uint32_t y = (mt[i] & 0x80000000u) | (mt[(i + 1) % 624] & 0x7FFFFFFFu);
      mt[i] = mt[(i + 397) % 624] ^ (y >> 1) ^ ((y & 1u) ? 0x9908B0DFu : 0u);
    }
    generator.index = 0;
  }
  uint32_t y = mt[generator.index++];
  y ^= y >> 11;
  y ^= (y << 7) & 0x9D2C5680u;
  y ^= (y << 15) & 0xEFC60000u;
  y ^= y >> 18;
  return y;
}
