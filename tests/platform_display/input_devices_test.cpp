#include "platform/input_devices.h"

#include <gtest/gtest.h>

#include "display_kit.h"
#include "platform/input_events.h"

namespace {

// Counts what the device list asks of a device.
struct OpsCalls {
  int updates = 0;
  int opens = 0;
  int closes = 0;
  int destroys = 0;
};
OpsCalls calls;

constexpr DeviceOps COUNTING_OPS = {
    [](Device*) { ++calls.updates; },
    [](Device*) { ++calls.opens; },
    [](Device*) { ++calls.closes; },
    [](Device*) { ++calls.destroys; },
};

struct Devices : ::testing::Test {
  EventQueue events;
  DeviceList list;
  void SetUp() override {
    calls = {};
    list.events = &events;
  }
  Device* add(const char* instance, int axes, int buttons, bool relative = false) {
    return add_device(&list, {instance, "Test Product", axes, buttons, relative, true,
                              &COUNTING_OPS, nullptr, -1, false});
  }
  std::vector<std::pair<int, bool>> take_events() {
    std::vector<std::pair<int, bool>> taken;
    int code = 0;
    bool pressed = false;
    while (pop_input_event(&events, &code, &pressed)) taken.emplace_back(code, pressed);
    return taken;
  }
};

}  // namespace

TEST(DeviceNames, SpacesAndDotsGoAndTakenNamesAreNumbered) {
  EXPECT_EQ(device_base_name("Joystick 1"), "Joystick1");
  EXPECT_EQ(device_base_name("Pad v.2 (USB)"), "Padv2(USB)");
  EXPECT_EQ(device_base_name(" . "), "Device");

  DeviceList list;
  const char* instances[] = {"Joystick 1", "Joystick.1", "Joystick1", "Wheel"};
  const char* expected[] = {"Joystick1", "Joystick1#2", "Joystick1#3", "Wheel"};
  for (size_t i = 0; i < std::size(instances); ++i) {
    Device* device =
        add_device(&list, {instances[i], "p", 2, 2, false, true, nullptr, nullptr, -1, true});
    EXPECT_EQ(device->name, expected[i]);
  }
}

TEST(DeviceNames, IdsHashTheNameAndMoveOnWhenTaken) {
  // "ab": even positions 'a' (97), odd positions 'b' (98): 97 + 256 * 98.
  EXPECT_EQ(device_name_hash("ab"), (97 + 256 * 98) << 16);
  // The 16-bit and 8-bit sums wrap before the 15 bits are taken.
  std::string long_name(600, '\xff');
  uint16_t even = static_cast<uint16_t>(300 * 255);
  uint8_t odd = static_cast<uint8_t>(300 * 255);
  EXPECT_EQ(device_name_hash(long_name), ((even + 256 * odd) & 0x7FFF) << 16);

  DeviceList list;
  // "abcd" and "cbad" have the same sums, so the same hash.
  Device* first = add_device(&list, {"abcd", "p", 1, 1, false, true, nullptr, nullptr, -1, true});
  Device* second = add_device(&list, {"cbad", "p", 1, 1, false, true, nullptr, nullptr, -1, true});
  EXPECT_EQ(first->id, device_name_hash("abcd"));
  EXPECT_EQ(second->id, first->id + 0x10000);
  // The top id wraps within bits 16-30, and id 0 (typed characters) is never given.
  EXPECT_EQ(unique_device_id(&list, 0x7FFF0000), 0x7FFF0000);
  EXPECT_EQ(unique_device_id(&list, 0), 0x10000);
}

TEST_F(Devices, RollCallLinesAndAxisNames) {
  display_kit::CapturedLog log;
  add(" Pedals ", 3, 2);
  add("Mouse", 2, 3, true);
  EXPECT_EQ(log.lines(),
            (std::vector<std::string>{
                "Logfile \"" + log.path + "\" opened", "VOXA 0.31", " Pedals  (Test Product)",
                "3 axes, 2 keys", "axis 0 is absolute", "axis 1 is absolute", "axis 2 is absolute",
                "Adding axis \"Pedals axis 0\"", "Adding axis \"Pedals axis 1\"",
                "Adding axis \"Pedals axis 2\"", "Mouse (Test Product)", "2 axes, 3 keys",
                "axis 0 is relative", "axis 1 is relative"}));
  EXPECT_EQ(list.axis_names,
            (std::vector<std::string>{"Pedals axis 0", "Pedals axis 1", "Pedals axis 2"}));
}

TEST_F(Devices, AxesOpenByNameBelowTheAxisCount) {
  add("Pad", 4, 2);
  for (const char* bad : {"Pad.axis[4]", "Pad.axis[5]", "Pad axis 5", "Pad.axis[-1]", "Pad.axis[1",
                          "Pad.axis[1]x", "Pads.axis[0]", "Pad.key[0]", "Pad"})
    EXPECT_EQ(open_device_axis(&list, bad), nullptr) << bad;
  AxisHandle* dotted = open_device_axis(&list, "Pad.axis[3]");
  AxisHandle* spaced = open_device_axis(&list, "Pad axis 0");
  ASSERT_NE(dotted, nullptr);
  ASSERT_NE(spaced, nullptr);
  EXPECT_EQ(dotted->axis, 3);
  EXPECT_EQ(spaced->axis, 0);
  // The first handle opens the device, the last one closes it.
  EXPECT_EQ(calls.opens, 1);
  close_device_axis(dotted);
  EXPECT_EQ(calls.closes, 0);
  close_device_axis(spaced);
  EXPECT_EQ(calls.closes, 1);
}

TEST_F(Devices, AbsoluteAxesClampAndRelativeAxesGiveMotionSinceTheLastRead) {
  Device* stick = add("Stick", 2, 0);
  Device* mouse = add("Mouse", 2, 0, true);
  AxisHandle* x = open_device_axis(&list, "Stick.axis[0]");
  AxisHandle* motion = open_device_axis(&list, "Mouse.axis[1]");
  set_device_axis(stick, 0, -32768);
  EXPECT_EQ(read_device_axis(x), -32767);
  EXPECT_EQ(read_device_axis(x), -32767);
  add_device_motion(mouse, 1, 5);
  add_device_motion(mouse, 1, -12);
  EXPECT_EQ(read_device_axis(motion), -7);
  EXPECT_EQ(read_device_axis(motion), 0);
  EXPECT_EQ(calls.updates, 4);  // every read lets the device update first
  close_device_axis(x);
  close_device_axis(motion);
}

TEST_F(Devices, ButtonsBecomeEventsOnceBoundByName) {
  Device* pad = add("Pad", 1, 3);
  set_device_button(pad, 1, true, 1, 0);  // not yet bound: no event
  EXPECT_TRUE(take_events().empty());

  int code = 0;
  EXPECT_FALSE(lookup_key_code(&list, "Pad.key[3]", &code));
  EXPECT_FALSE(lookup_key_code(&list, "Nobody.key[0]", &code));
  ASSERT_TRUE(lookup_key_code(&list, "Pad button 2", &code));
  EXPECT_EQ(code, pad->id + 2);
  ASSERT_TRUE(lookup_key_code(&list, "Pad.key[1]", &code));
  EXPECT_EQ(code, pad->id + 1);
  EXPECT_EQ(calls.opens, 1);
  EXPECT_STREQ(lookup_key_name(&list, pad->id + 2), "Pad button 2");
  EXPECT_EQ(lookup_key_name(&list, pad->id + 3), nullptr);

  set_device_button(pad, 1, false, 2, 0);
  set_device_button(pad, 2, true, 3, 0);
  set_device_button(pad, 2, true, 4, 0);  // no change, no event
  EXPECT_EQ(take_events(),
            (std::vector<std::pair<int, bool>>{{pad->id + 1, false}, {pad->id + 2, true}}));

  // An axis handle closed again leaves the bound buttons on.
  close_device_axis(open_device_axis(&list, "Pad.axis[0]"));
  set_device_button(pad, 0, true, 5, 0);
  EXPECT_EQ(take_events(), (std::vector<std::pair<int, bool>>{{pad->id, true}}));
}

TEST_F(Devices, AnUnpluggedDeviceReadsCentredWithButtonsReleased) {
  Device* pad = add("Pad", 2, 2);
  int code = 0;
  ASSERT_TRUE(lookup_key_code(&list, "Pad.key[1]", &code));
  AxisHandle* y = open_device_axis(&list, "Pad.axis[1]");
  set_device_axis(pad, 1, 20000);
  set_device_button(pad, 1, true, 1, 0);
  take_events();

  disconnect_device(pad, 2, 0);
  EXPECT_EQ(take_events(), (std::vector<std::pair<int, bool>>{{pad->id + 1, false}}));
  EXPECT_EQ(read_device_axis(y), 0);
  set_device_button(pad, 0, true, 3, 0);  // nothing comes from an unplugged device
  EXPECT_TRUE(take_events().empty());
  EXPECT_EQ(find_unplugged_device(&list, "Pad", 2, 2), pad);
  EXPECT_EQ(find_unplugged_device(&list, "Pad", 2, 3), nullptr);
  close_device_axis(y);
}

TEST_F(Devices, ClosingAllKillsEachDevice) {
  display_kit::CapturedLog log;
  add("Pad", 1, 1);
  add("Wheel", 1, 1);
  int code = 0;
  lookup_key_code(&list, "Wheel.key[0]", &code);
  close_all_devices(&list);
  EXPECT_TRUE(log.has("Killing Pad"));
  EXPECT_TRUE(log.has("Killing Wheel"));
  EXPECT_EQ(calls.destroys, 2);
  EXPECT_EQ(calls.closes, 1);  // only the open one
  EXPECT_TRUE(list.devices.empty());
  EXPECT_TRUE(list.axis_names.empty());
}
