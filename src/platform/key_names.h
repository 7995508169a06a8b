// Keyboard key names and scan codes.
//
// Keyboard key codes are 0x1000 + s, where s is a PC set-1 scan code with
// bit 0x100 marking an extended key (right ctrl is 0x11D). SDL reports USB
// scancodes; our own table turns them into set-1 codes so that key codes and
// the names in configuration files stay the same on every system.
#pragma once

#include <cstdint>
#include <span>
#include <string>

constexpr int KEY_CODE_KEYBOARD = 0x1000;  // + scan code
constexpr int KEY_SCAN_COUNT = 0x200;      // scan codes 0..0x1FF
constexpr int KEY_CODE_MOUSE_LEFT = 0x2000;
constexpr int KEY_CODE_MOUSE_MIDDLE = 0x2001;
constexpr int KEY_CODE_MOUSE_RIGHT = 0x2002;
constexpr int KEY_CODE_CLOSE = 0xDEAD;

struct KeyNameEntry {
  int scan;
  const char* name;
};

// The built-in name table (98 entries); a scan code may have more than one
// name ("Space" and " "), the first one is the one shown.
std::span<const KeyNameEntry> key_name_table();

// The set-1 scan code of an SDL scancode, 0 for keys without one.
int scan_code_of_sdl(int sdl_scancode);

// The SDL scancode that produces set-1 scan code s, 0 when none does.
int sdl_scancode_of_scan(int scan);

// The name of scan code s: the table's name, else SDL's name of the key,
// else "0x%x" of s.
std::string scan_code_name(int scan);

// Letter case ignored; white space and "_" count as a space.
bool names_match_loosely(const char* a, const char* b);

// The code of a key name other than a device button: the four special
// names ("Mouse Left", "Mouse Middle", "Mouse Right", "Close"), the table
// and SDL's key names, first exactly and then loosely, then "0x%x" with a
// value up to 0x1FF.
bool keyboard_code_of_name(const char* name, int* code);

// The name of a special or keyboard code; empty for any other code.
std::string keyboard_name_of_code(int code);
