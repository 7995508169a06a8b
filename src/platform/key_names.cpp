#include "platform/key_names.h"

#include <SDL_keyboard.h>
#include <SDL_scancode.h>

#include <array>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// The names players see for keys and store in configuration files. The
// letters follow the keyboard: N is scan code 49 and M is 50.
// clang-format off
constexpr KeyNameEntry NAME_TABLE[] = {
    {1, "Esc"},          {11, "0"},           {2, "1"},            {3, "2"},
    {4, "3"},            {5, "4"},            {6, "5"},            {7, "6"},
    {8, "7"},            {9, "8"},            {10, "9"},           {30, "A"},
    {48, "B"},           {46, "C"},           {32, "D"},           {18, "E"},
    {33, "F"},           {34, "G"},           {35, "H"},           {23, "I"},
    {36, "J"},           {37, "K"},           {38, "L"},           {50, "M"},
    {49, "N"},           {24, "O"},           {25, "P"},           {16, "Q"},
    {19, "R"},           {31, "S"},           {20, "T"},           {22, "U"},
    {47, "V"},           {17, "W"},           {45, "X"},           {21, "Y"},
    {44, "Z"},           {12, "-"},           {13, "="},           {26, "["},
    {27, "]"},           {39, ";"},           {40, "'"},           {41, "`"},
    {43, "\\"},          {51, ","},           {52, "."},           {53, "/"},
    {14, "Backspace"},   {15, "Tab"},         {28, "Enter"},       {29, "Left Ctrl"},
    {42, "Left Shift"},  {54, "Right Shift"}, {57, "Space"},       {57, " "},
    {58, "Caps Lock"},   {285, "Right Ctrl"}, {338, "Insert"},     {339, "Delete"},
    {327, "Home"},       {335, "End"},        {329, "Page Up"},    {337, "Page Down"},
    {328, "Up"},         {336, "Down"},       {331, "Left"},       {333, "Right"},
    {59, "F1"},          {60, "F2"},          {61, "F3"},          {62, "F4"},
    {63, "F5"},          {64, "F6"},          {65, "F7"},          {66, "F8"},
    {67, "F9"},          {68, "F10"},         {87, "F11"},         {88, "F12"},
    {69, "Pause"},       {325, "Num Lock"},   {309, "Keypad /"},   {55, "Keypad *"},
    {74, "Keypad -"},    {71, "Keypad 7"},    {72, "Keypad 8"},    {73, "Keypad 9"},
    {78, "Keypad +"},    {75, "Keypad 4"},    {76, "Keypad 5"},    {77, "Keypad 6"},
    {79, "Keypad 1"},    {80, "Keypad 2"},    {81, "Keypad 3"},    {284, "Keypad Enter"},
    {82, "Keypad 0"},    {83, "Keypad ."},
};
// clang-format on
static_assert(std::size(NAME_TABLE) == 98);

struct ScanPair {
  SDL_Scancode sdl;
  int scan;
};

// SDL (USB) scancode to PC set-1 scan code; extended keys carry 0x100.
// Where two SDL keys share a scan code the first one names it.
// clang-format off
constexpr ScanPair SCAN_TABLE[] = {
    {SDL_SCANCODE_ESCAPE, 0x01},             {SDL_SCANCODE_1, 0x02},
    {SDL_SCANCODE_2, 0x03},                  {SDL_SCANCODE_3, 0x04},
    {SDL_SCANCODE_4, 0x05},                  {SDL_SCANCODE_5, 0x06},
    {SDL_SCANCODE_6, 0x07},                  {SDL_SCANCODE_7, 0x08},
    {SDL_SCANCODE_8, 0x09},                  {SDL_SCANCODE_9, 0x0A},
    {SDL_SCANCODE_0, 0x0B},                  {SDL_SCANCODE_MINUS, 0x0C},
    {SDL_SCANCODE_EQUALS, 0x0D},             {SDL_SCANCODE_BACKSPACE, 0x0E},
    {SDL_SCANCODE_TAB, 0x0F},                {SDL_SCANCODE_Q, 0x10},
    {SDL_SCANCODE_W, 0x11},                  {SDL_SCANCODE_E, 0x12},
    {SDL_SCANCODE_R, 0x13},                  {SDL_SCANCODE_T, 0x14},
    {SDL_SCANCODE_Y, 0x15},                  {SDL_SCANCODE_U, 0x16},
    {SDL_SCANCODE_I, 0x17},                  {SDL_SCANCODE_O, 0x18},
    {SDL_SCANCODE_P, 0x19},                  {SDL_SCANCODE_LEFTBRACKET, 0x1A},
    {SDL_SCANCODE_RIGHTBRACKET, 0x1B},       {SDL_SCANCODE_RETURN, 0x1C},
    {SDL_SCANCODE_LCTRL, 0x1D},              {SDL_SCANCODE_A, 0x1E},
    {SDL_SCANCODE_S, 0x1F},                  {SDL_SCANCODE_D, 0x20},
    {SDL_SCANCODE_F, 0x21},                  {SDL_SCANCODE_G, 0x22},
    {SDL_SCANCODE_H, 0x23},                  {SDL_SCANCODE_J, 0x24},
    {SDL_SCANCODE_K, 0x25},                  {SDL_SCANCODE_L, 0x26},
    {SDL_SCANCODE_SEMICOLON, 0x27},          {SDL_SCANCODE_APOSTROPHE, 0x28},
    {SDL_SCANCODE_GRAVE, 0x29},              {SDL_SCANCODE_LSHIFT, 0x2A},
    {SDL_SCANCODE_BACKSLASH, 0x2B},          {SDL_SCANCODE_NONUSHASH, 0x2B},
    {SDL_SCANCODE_Z, 0x2C},                  {SDL_SCANCODE_X, 0x2D},
    {SDL_SCANCODE_C, 0x2E},                  {SDL_SCANCODE_V, 0x2F},
    {SDL_SCANCODE_B, 0x30},                  {SDL_SCANCODE_N, 0x31},
    {SDL_SCANCODE_M, 0x32},                  {SDL_SCANCODE_COMMA, 0x33},
    {SDL_SCANCODE_PERIOD, 0x34},             {SDL_SCANCODE_SLASH, 0x35},
    {SDL_SCANCODE_RSHIFT, 0x36},             {SDL_SCANCODE_KP_MULTIPLY, 0x37},
    {SDL_SCANCODE_LALT, 0x38},               {SDL_SCANCODE_SPACE, 0x39},
    {SDL_SCANCODE_CAPSLOCK, 0x3A},           {SDL_SCANCODE_F1, 0x3B},
    {SDL_SCANCODE_F2, 0x3C},                 {SDL_SCANCODE_F3, 0x3D},
    {SDL_SCANCODE_F4, 0x3E},                 {SDL_SCANCODE_F5, 0x3F},
    {SDL_SCANCODE_F6, 0x40},                 {SDL_SCANCODE_F7, 0x41},
    {SDL_SCANCODE_F8, 0x42},                 {SDL_SCANCODE_F9, 0x43},
    {SDL_SCANCODE_F10, 0x44},                {SDL_SCANCODE_PAUSE, 0x45},
    {SDL_SCANCODE_SCROLLLOCK, 0x46},         {SDL_SCANCODE_KP_7, 0x47},
    {SDL_SCANCODE_KP_8, 0x48},               {SDL_SCANCODE_KP_9, 0x49},
    {SDL_SCANCODE_KP_MINUS, 0x4A},           {SDL_SCANCODE_KP_4, 0x4B},
    {SDL_SCANCODE_KP_5, 0x4C},               {SDL_SCANCODE_KP_6, 0x4D},
    {SDL_SCANCODE_KP_PLUS, 0x4E},            {SDL_SCANCODE_KP_1, 0x4F},
    {SDL_SCANCODE_KP_2, 0x50},               {SDL_SCANCODE_KP_3, 0x51},
    {SDL_SCANCODE_KP_0, 0x52},               {SDL_SCANCODE_KP_PERIOD, 0x53},
    {SDL_SCANCODE_NONUSBACKSLASH, 0x56},     {SDL_SCANCODE_F11, 0x57},
    {SDL_SCANCODE_F12, 0x58},                {SDL_SCANCODE_KP_EQUALS, 0x59},
    {SDL_SCANCODE_F13, 0x64},                {SDL_SCANCODE_F14, 0x65},
    {SDL_SCANCODE_F15, 0x66},                {SDL_SCANCODE_F16, 0x67},
    {SDL_SCANCODE_F17, 0x68},                {SDL_SCANCODE_F18, 0x69},
    {SDL_SCANCODE_F19, 0x6A},                {SDL_SCANCODE_F20, 0x6B},
    {SDL_SCANCODE_F21, 0x6C},                {SDL_SCANCODE_F22, 0x6D},
    {SDL_SCANCODE_F23, 0x6E},                {SDL_SCANCODE_INTERNATIONAL2, 0x70},
    {SDL_SCANCODE_INTERNATIONAL1, 0x73},     {SDL_SCANCODE_F24, 0x76},
    {SDL_SCANCODE_INTERNATIONAL4, 0x79},     {SDL_SCANCODE_INTERNATIONAL5, 0x7B},
    {SDL_SCANCODE_INTERNATIONAL3, 0x7D},     {SDL_SCANCODE_KP_COMMA, 0x7E},
    {SDL_SCANCODE_AUDIOPREV, 0x110},         {SDL_SCANCODE_AUDIONEXT, 0x119},
    {SDL_SCANCODE_KP_ENTER, 0x11C},          {SDL_SCANCODE_RCTRL, 0x11D},
    {SDL_SCANCODE_MUTE, 0x120},              {SDL_SCANCODE_AUDIOPLAY, 0x122},
    {SDL_SCANCODE_AUDIOSTOP, 0x124},         {SDL_SCANCODE_VOLUMEDOWN, 0x12E},
    {SDL_SCANCODE_VOLUMEUP, 0x130},          {SDL_SCANCODE_KP_DIVIDE, 0x135},
    {SDL_SCANCODE_PRINTSCREEN, 0x137},       {SDL_SCANCODE_RALT, 0x138},
    {SDL_SCANCODE_NUMLOCKCLEAR, 0x145},      {SDL_SCANCODE_HOME, 0x147},
    {SDL_SCANCODE_UP, 0x148},                {SDL_SCANCODE_PAGEUP, 0x149},
    {SDL_SCANCODE_LEFT, 0x14B},              {SDL_SCANCODE_RIGHT, 0x14D},
    {SDL_SCANCODE_END, 0x14F},               {SDL_SCANCODE_DOWN, 0x150},
    {SDL_SCANCODE_PAGEDOWN, 0x151},          {SDL_SCANCODE_INSERT, 0x152},
    {SDL_SCANCODE_DELETE, 0x153},            {SDL_SCANCODE_LGUI, 0x15B},
    {SDL_SCANCODE_RGUI, 0x15C},              {SDL_SCANCODE_APPLICATION, 0x15D},
};
// clang-format on

struct ScanMaps {
  std::array<int, SDL_NUM_SCANCODES> from_sdl{};
  std::array<int, KEY_SCAN_COUNT> to_sdl{};
};

const ScanMaps& scan_maps() {
  static const ScanMaps maps = [] {
    ScanMaps m;
    for (const ScanPair& pair : SCAN_TABLE) {
      m.from_sdl[pair.sdl] = pair.scan;
      if (m.to_sdl[pair.scan] == 0) m.to_sdl[pair.scan] = pair.sdl;
    }
    return m;
  }();
  return maps;
}

struct SpecialName {
  int code;
  const char* name;
};

constexpr SpecialName SPECIAL_NAMES[] = {
    {KEY_CODE_MOUSE_LEFT, "Mouse Left"},
    {KEY_CODE_MOUSE_MIDDLE, "Mouse Middle"},
    {KEY_CODE_MOUSE_RIGHT, "Mouse Right"},
    {KEY_CODE_CLOSE, "Close"},
};

const char* table_name(int scan) {
  for (const KeyNameEntry& entry : NAME_TABLE)
    if (entry.scan == scan) return entry.name;
  return nullptr;
}

// SDL's own name of the key with scan code s, or null.
const char* sdl_name(int scan) {
  int sdl = sdl_scancode_of_scan(scan);
  if (sdl == 0) return nullptr;
  const char* name = SDL_GetScancodeName(static_cast<SDL_Scancode>(sdl));
  return name && *name ? name : nullptr;
}

using Matcher = bool (*)(const char*, const char*);

bool names_match_exactly(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

bool find_named_code(const char* name, Matcher match, int* code) {
  for (const SpecialName& special : SPECIAL_NAMES) {
    if (match(name, special.name)) {
      *code = special.code;
      return true;
    }
  }
  for (const KeyNameEntry& entry : NAME_TABLE) {
    if (match(name, entry.name)) {
      *code = KEY_CODE_KEYBOARD + entry.scan;
      return true;
    }
  }
  for (int scan = 1; scan < KEY_SCAN_COUNT; ++scan) {
    const char* system = sdl_name(scan);
    if (system && match(name, system)) {
      *code = KEY_CODE_KEYBOARD + scan;
      return true;
    }
  }
  return false;
}

char loose_char(char c) {
  if (c == '_' || std::isspace(static_cast<unsigned char>(c))) return ' ';
  return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

}  // namespace

std::span<const KeyNameEntry> key_name_table() { return NAME_TABLE; }

int scan_code_of_sdl(int sdl_scancode) {
  if (sdl_scancode < 0 || sdl_scancode >= SDL_NUM_SCANCODES) return 0;
  return scan_maps().from_sdl[sdl_scancode];
}

int sdl_scancode_of_scan(int scan) {
  if (scan < 0 || scan >= KEY_SCAN_COUNT) return 0;
  return scan_maps().to_sdl[scan];
}

std::string scan_code_name(int scan) {
  if (const char* name = table_name(scan)) return name;
  if (const char* name = sdl_name(scan)) return name;
  char text[16];
  std::snprintf(text, sizeof text, "0x%x", scan);
  return text;
}

bool names_match_loosely(const char* a, const char* b) {
  for (; *a && *b; ++a, ++b)
    if (loose_char(*a) != loose_char(*b)) return false;
  return *a == *b;
}

bool keyboard_code_of_name(const char* name, int* code) {
  if (find_named_code(name, names_match_exactly, code)) return true;
  if (find_named_code(name, names_match_loosely, code)) return true;
  if (name[0] == '0' && (name[1] == 'x' || name[1] == 'X') &&
      std::isxdigit(static_cast<unsigned char>(name[2]))) {
    char* end = nullptr;
    long value = std::strtol(name + 2, &end, 16);
    if (*end == '\0' && value >= 0 && value < KEY_SCAN_COUNT) {
      *code = KEY_CODE_KEYBOARD + static_cast<int>(value);
      return true;
    }
  }
  return false;
}

std::string keyboard_name_of_code(int code) {
  for (const SpecialName& special : SPECIAL_NAMES)
    if (special.code == code) return special.name;
  if (code >= KEY_CODE_KEYBOARD && code < KEY_CODE_KEYBOARD + KEY_SCAN_COUNT)
    return scan_code_name(code - KEY_CODE_KEYBOARD);
  return {};
}
