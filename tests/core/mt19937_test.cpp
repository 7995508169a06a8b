#include "core/mt19937.h"

#include <gtest/gtest.h>

TEST(Mt19937, ReferenceOutputForDefaultSeed) {
  Mt19937 generator(5489);
  EXPECT_EQ(mt_next(generator), 3499211612u);  // the first output
  for (int i = 2; i < 10000; ++i) mt_next(generator);
  EXPECT_EQ(mt_next(generator), 4123659995u);  // the 10000th output
}

TEST(Mt19937, ReseedingRestartsTheSequence) {
  Mt19937 generator(0);
  uint32_t first = mt_next(generator);
  mt_next(generator);
  mt_seed(generator, 0);
  EXPECT_EQ(mt_next(generator), first);
  mt_seed(generator, 1);
  EXPECT_NE(mt_next(generator), first);
}
