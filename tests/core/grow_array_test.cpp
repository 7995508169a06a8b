#include "core/grow_array.h"

#include <gtest/gtest.h>

TEST(GrowArray, StartsWithRoomForSixteenAndDoubles) {
  std::vector<int> array;
  ASSERT_TRUE(grow_push(array, 1));
  EXPECT_EQ(array.capacity(), 16u);
  for (int i = 2; i <= 17; ++i) ASSERT_TRUE(grow_push(array, i));
  EXPECT_EQ(array.capacity(), 32u);
  EXPECT_EQ(array.size(), 17u);
  EXPECT_EQ(array.back(), 17);
}
