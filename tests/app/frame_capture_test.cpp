#include "app/frame_capture.h"

#include <gtest/gtest.h>

TEST(Screenshots, NumberedAfterTheLargestThere) {
  EXPECT_EQ(largest_screenshot_number({}), 0);
  EXPECT_EQ(largest_screenshot_number({"bikes/crf.jm", "screenshot003.png", "screenshot12.ppm", "screenshot007.ppm",
                                       "screenshots/one.png", "myscreenshot900.png"}),
            12);
}

TEST(VideoFrames, AHeaderThenTheRowsFromTheTop) {
  // Two rows of two pixels, read bottom row first.
  const uint8_t bottom_up[] = {1, 1, 1, 2, 2, 2, /* top row: */ 9, 9, 9, 8, 8, 8};
  std::vector<uint8_t> frame;
  build_video_frame(bottom_up, 2, 2, &frame);
  const std::string header = "P6\n2 2\n255\n";
  ASSERT_EQ(frame.size(), header.size() + 12);
  EXPECT_EQ(std::string(frame.begin(), frame.begin() + static_cast<long>(header.size())), header);
  EXPECT_EQ(std::vector<uint8_t>(frame.begin() + static_cast<long>(header.size()), frame.end()),
            (std::vector<uint8_t>{9, 9, 9, 8, 8, 8, 1, 1, 1, 2, 2, 2}));
}
