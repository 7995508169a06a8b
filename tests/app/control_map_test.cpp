#include "app/control_map.h"

#include <gtest/gtest.h>

#include "core/settings.h"

namespace {

constexpr int LEFT = 0x114B, RIGHT = 0x114D, THROTTLE = 0x102D, DOWNSHIFT = 0x1150, LEAN_FORWARD = 0x1031;

struct Channels : ::testing::Test {
  ControlMap map;
  void SetUp() override {
    reset_settings();
    for (ControlBinding& binding : settings.bindings) binding.key_code = NO_KEY_CODE;
    settings.bindings[BIND_LEFT].key_code = LEFT;
    settings.bindings[BIND_RIGHT].key_code = RIGHT;
    settings.bindings[BIND_THROTTLE].key_code = THROTTLE;
    settings.bindings[BIND_DOWNSHIFT].key_code = DOWNSHIFT;
    settings.bindings[BIND_LEAN_FORWARD].key_code = LEAN_FORWARD;
    build_control_map(&map);
  }
  // One tick: the channels cleared, the events, then the rows summed.
  std::array<float, CHANNEL_COUNT> tick(std::vector<std::pair<int, bool>> events) {
    clear_channels(&map);
    for (auto [code, pressed] : events) apply_key_to_rows(&map, code, pressed);
    add_rows_to_channels(&map);
    return map.control_channels;
  }
};

}  // namespace

TEST_F(Channels, KeysFeedTheirChannelsWithTheirScales) {
  auto ch = tick({{LEFT, true}, {THROTTLE, true}, {DOWNSHIFT, true}, {LEAN_FORWARD, true}});
  EXPECT_EQ(ch[CHANNEL_STEER], 1);
  EXPECT_EQ(ch[CHANNEL_THROTTLE], 1);
  EXPECT_EQ(ch[CHANNEL_SHIFT], -1);
  EXPECT_EQ(ch[CHANNEL_LEAN], -1);
  EXPECT_EQ(ch[CHANNEL_FRONT_BRAKE], 0);
  // A held key keeps its channel up in the ticks after; both ways of
  // steering held cancel out.
  ch = tick({{RIGHT, true}});
  EXPECT_EQ(ch[CHANNEL_STEER], 0);
  EXPECT_EQ(ch[CHANNEL_THROTTLE], 1);
  ch = tick({{LEFT, false}, {THROTTLE, false}});
  EXPECT_EQ(ch[CHANNEL_STEER], -1);
  EXPECT_EQ(ch[CHANNEL_THROTTLE], 0);
}

TEST_F(Channels, APressAndReleaseInsideOneTickLeaveTheChannelAtZero) {
  auto ch = tick({{THROTTLE, true}, {THROTTLE, false}});
  EXPECT_EQ(ch[CHANNEL_THROTTLE], 0);
  ch = tick({{THROTTLE, false}, {THROTTLE, true}});
  EXPECT_EQ(ch[CHANNEL_THROTTLE], 1);
}

TEST_F(Channels, AnUnresolvedBindingTakesNoEvent) {
  auto ch = tick({{NO_KEY_CODE, true}, {0, true}});
  for (float value : ch) EXPECT_EQ(value, 0);
}
