// The game's one random generator: MT19937 with the standard seeding and
// output, re-seeded with race_clock at every race start so that races are
// reproducible. (Engine sound alone uses the runtime's rand().)
#pragma once

#include <cstdint>

struct Mt19937 {
  uint32_t state[624];
  int index;

  explicit Mt19937(uint32_t seed = 5489);
};

void mt_seed(Mt19937& generator, uint32_t seed);
uint32_t mt_next(Mt19937& generator);

// The shared generator of the race session.
extern Mt19937 game_random;
