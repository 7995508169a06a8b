#include "platform/input_events.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

struct Taken {
  int code;
  bool pressed;
  bool operator==(const Taken&) const = default;
};

std::vector<Taken> take_all(EventQueue* queue) {
  std::vector<Taken> taken;
  int code = 0;
  bool pressed = false;
  while (pop_input_event(queue, &code, &pressed)) taken.push_back({code, pressed});
  return taken;
}

}  // namespace

TEST(EventQueue, AFullQueueDropsTheNewEvent) {
  EventQueue queue;
  for (int i = 0; i < EVENT_QUEUE_SIZE; ++i)
    ASSERT_TRUE(push_input_event(&queue, 0x1000 + i, true, 10, i));
  EXPECT_FALSE(push_input_event(&queue, 0x2000, true, 10, 999));
  std::vector<Taken> taken = take_all(&queue);
  ASSERT_EQ(taken.size(), 256u);
  EXPECT_EQ(taken.front().code, 0x1000);
  EXPECT_EQ(taken.back().code, 0x1000 + 255);
  // Room again once read, across the ring's end.
  EXPECT_TRUE(push_input_event(&queue, 0x2000, true, 11, 0));
  EXPECT_EQ(take_all(&queue), (std::vector<Taken>{{0x2000, true}}));
}

TEST(EventQueue, EventsComeOutInTimeOrder) {
  EventQueue queue;
  // Fill part of the ring first so that the ordering crosses its end.
  for (int i = 0; i < 250; ++i) push_input_event(&queue, 1, true, 0, 0);
  take_all(&queue);
  push_input_event(&queue, 0x1010, true, 5, 200);
  push_input_event(&queue, 0x1011, false, 5, 900);
  push_input_event(&queue, 0x1012, true, 6, 0);
  push_input_event(&queue, 0x1013, true, 5, 100);   // earliest of all
  push_input_event(&queue, 0x1014, false, 5, 900);  // same time: after the one queued first
  push_input_event(&queue, 0x1015, true, 5, 500);
  std::vector<Taken> expected = {{0x1013, true},  {0x1010, true},  {0x1015, true},
                                 {0x1011, false}, {0x1014, false}, {0x1012, true}};
  EXPECT_EQ(take_all(&queue), expected);
}

TEST(EventQueue, DueEventsOnlyAndReleasesCarryTheirState) {
  EventQueue queue;
  push_input_event(&queue, 0xDEAD, true, 100, 0);
  push_input_event(&queue, 0x7FFF0005, false, 100, 500000);
  int code = 0;
  bool pressed = false;
  EXPECT_FALSE(pop_input_event_due(&queue, 99, 999999, &code, &pressed));
  ASSERT_TRUE(pop_input_event_due(&queue, 100, 0, &code, &pressed));
  EXPECT_EQ(code, 0xDEAD);
  EXPECT_TRUE(pressed);
  EXPECT_FALSE(pop_input_event_due(&queue, 100, 499999, &code, &pressed));
  ASSERT_TRUE(pop_input_event_due(&queue, 101, 0, &code, &pressed));
  EXPECT_EQ(code, 0x7FFF0005);
  EXPECT_FALSE(pressed);
  EXPECT_FALSE(pop_input_event_due(&queue, 200, 0, &code, &pressed));
}

TEST(EventQueue, TimesCompareAcrossAWrapOfTheSeconds) {
  EXPECT_LT(compare_event_times(0x7FFFFFFF, 0, 0x80000000L, 0), 0);
  EXPECT_GT(compare_event_times(2, 0, -1, 999999), 0);
  EXPECT_LT(compare_event_times(7, 10, 7, 11), 0);
  EXPECT_EQ(compare_event_times(7, 10, 7, 10), 0);
  EXPECT_GT(compare_event_times(8, 0, 7, 999999), 0);
}

TEST(EventQueue, SdlStampsMapOntoThePlatformClock) {
  // 30 ms old on SDL's clock is 30 ms old on ours.
  EXPECT_EQ(platform_millis_of_sdl_stamp(1000, 1030, 50000), 49970u);
  // Across a wrap of SDL's 32-bit milliseconds.
  EXPECT_EQ(platform_millis_of_sdl_stamp(0xFFFFFFF0u, 0x10u, 50000), 49968u);
  // A stamp ahead of now counts as now.
  EXPECT_EQ(platform_millis_of_sdl_stamp(1040, 1030, 50000), 50000u);
}
