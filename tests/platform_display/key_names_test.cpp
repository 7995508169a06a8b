#include "platform/key_names.h"

#include <SDL_scancode.h>
#include <gtest/gtest.h>

#include <cstring>

#include "display_kit.h"
#include "platform/input_devices.h"
#include "platform/names.h"

namespace {

struct NameCase {
  const char* name;
  int code;
};

}  // namespace

TEST(KeyNames, NamesResolveExactlyThenLooselyThenAsHex) {
  const NameCase cases[] = {
      {"Right Ctrl", 0x111D},
      {"right ctrl", 0x111D},
      {"right_ctrl", 0x111D},
      {"RIGHT CTRL", 0x111D},
      {"right\tctrl", 0x111D},
      {"Esc", 0x1001},
      {"Space", 0x1039},
      {" ", 0x1039},
      {"M", 0x1032},
      {"n", 0x1031},
      {"keypad enter", 0x111C},
      {"Mouse Left", 0x2000},
      {"mouse right", 0x2002},
      {"Close", 0xDEAD},
      {"0x1c", 0x101C},
      {"0x1FF", 0x11FF},
      {"0x0", 0x1000},
      // Keys the table leaves out go by SDL's names.
      {"Left Alt", 0x1038},
      {"Right GUI", 0x115C},
      {"PrintScreen", 0x1137},
  };
  for (const NameCase& c : cases) {
    int code = -1;
    EXPECT_TRUE(keyboard_code_of_name(c.name, &code)) << c.name;
    EXPECT_EQ(code, c.code) << c.name;
  }
  for (const char* unknown : {"0x200", "0x", "0x1cz", "Right  Ctrl", "RightCtrl", "", "Hyper"}) {
    int code = -1;
    EXPECT_FALSE(keyboard_code_of_name(unknown, &code)) << unknown;
  }
}

TEST(KeyNames, CodesAreNamedByTableThenSdlThenHex) {
  const NameCase cases[] = {
      {"Right Ctrl", 0x111D}, {"Space", 0x1039}, {"Keypad Enter", 0x111C}, {"Left Alt", 0x1038},
      {"0x56", 0x1056},       {"0x1ff", 0x11FF}, {"Mouse Middle", 0x2001}, {"Close", 0xDEAD},
  };
  for (const NameCase& c : cases) EXPECT_EQ(keyboard_name_of_code(c.code), c.name);
  EXPECT_EQ(keyboard_name_of_code('a'), "");
  EXPECT_EQ(keyboard_name_of_code(0x1200), "");
}

// Every name in the table comes from a key SDL reports, and the key gives
// back the code and the name.
TEST(KeyNames, TableRoundTripsThroughSdlScancodes) {
  ASSERT_EQ(key_name_table().size(), 98u);
  for (const KeyNameEntry& entry : key_name_table()) {
    int sdl = sdl_scancode_of_scan(entry.scan);
    ASSERT_NE(sdl, 0) << entry.name;
    EXPECT_EQ(scan_code_of_sdl(sdl), entry.scan) << entry.name;
    int code = -1;
    ASSERT_TRUE(keyboard_code_of_name(entry.name, &code)) << entry.name;
    EXPECT_EQ(code, KEY_CODE_KEYBOARD + entry.scan) << entry.name;
    std::string shown = keyboard_name_of_code(code);
    if (std::strcmp(entry.name, " ") != 0) {
      EXPECT_EQ(shown, entry.name);
    } else {
      EXPECT_EQ(shown, "Space");
    }
  }
}

TEST(KeyNames, SdlScancodesGiveSetOneCodes) {
  const struct {
    SDL_Scancode key;
    int scan;
  } cases[] = {
      {SDL_SCANCODE_RCTRL, 285},     {SDL_SCANCODE_UP, 328},
      {SDL_SCANCODE_LEFT, 331},      {SDL_SCANCODE_RIGHT, 333},
      {SDL_SCANCODE_DOWN, 336},      {SDL_SCANCODE_KP_ENTER, 284},
      {SDL_SCANCODE_KP_DIVIDE, 309}, {SDL_SCANCODE_INSERT, 338},
      {SDL_SCANCODE_DELETE, 339},    {SDL_SCANCODE_HOME, 327},
      {SDL_SCANCODE_END, 335},       {SDL_SCANCODE_PAGEUP, 329},
      {SDL_SCANCODE_PAGEDOWN, 337},  {SDL_SCANCODE_NUMLOCKCLEAR, 325},
      {SDL_SCANCODE_PAUSE, 69},      {SDL_SCANCODE_A, 30},
      {SDL_SCANCODE_M, 50},          {SDL_SCANCODE_N, 49},
      {SDL_SCANCODE_LCTRL, 29},      {SDL_SCANCODE_F12, 88},
      {SDL_SCANCODE_UNKNOWN, 0},
  };
  for (const auto& c : cases)
    EXPECT_EQ(scan_code_of_sdl(c.key), c.scan) << SDL_GetScancodeName(c.key);
  EXPECT_EQ(scan_code_of_sdl(-1), 0);
  EXPECT_EQ(scan_code_of_sdl(SDL_NUM_SCANCODES), 0);
}

TEST(KeyNames, NamesAreInterned) {
  DeviceList devices;
  const char* first = lookup_key_name(&devices, 0x111D);
  ASSERT_NE(first, nullptr);
  EXPECT_STREQ(first, "Right Ctrl");
  EXPECT_EQ(lookup_key_name(&devices, 0x111D), first);
  EXPECT_EQ(intern_name("Right Ctrl"), first);
  EXPECT_EQ(lookup_key_name(&devices, 'x'), nullptr);
}

TEST(KeyAliases, StandardAliasesResolveAndASecondDefinitionIsIgnored) {
  display_kit::CapturedLog log;
  define_standard_aliases();
  DeviceList devices;
  int code = -1;
  ASSERT_TRUE(lookup_key_code(&devices, "cursor-right", &code));
  EXPECT_EQ(code, 0x2002);
  EXPECT_STREQ(resolve_alias("joystick-b-2"), "Joystick2.key[1]");

  define_alias("test-jump", "Space");
  define_alias("test-jump", "Enter");
  ASSERT_TRUE(lookup_key_code(&devices, "test-jump", &code));
  EXPECT_EQ(code, 0x1039);
  EXPECT_TRUE(log.has("Second alias for 'test-jump' ('Enter') ignored"));
  EXPECT_STREQ(resolve_alias("no-such-alias"), "no-such-alias");
}
