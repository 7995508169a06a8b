// The rider's controls as the main loop reads them: each tick the bindings
// of the ControlMap (keys pressed and released, analog axes) are summed
// into nine control channels, which then drive the local bike or, when
// spectating, the camera. Also the fixed menu keys, and pot watching: the
// menu's way of binding a control to whichever axis the player moves.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

struct AxisHandle;
struct ControlBinding;
struct Window;

enum ControlChannel {
  CHANNEL_STEER, CHANNEL_THROTTLE, CHANNEL_FRONT_BRAKE, CHANNEL_REAR_BRAKE, CHANNEL_SHIFT,
  CHANNEL_CLUTCH, CHANNEL_DAB, CHANNEL_BACK_UP, CHANNEL_LEAN,
  CHANNEL_COUNT
};

// A key code no event carries: the binding is not resolved.
constexpr int NO_KEY_CODE = -1;

struct ControlRow {
  ControlBinding* binding = nullptr;
  int channel = 0;
  float scale = 0;
  float value = 0;  // 0..1: key held, or the axis mapped through low..high
};

// The twelve rows of the riding controls.
constexpr int CONTROL_ROWS = 12;

struct ControlMap {
  std::array<ControlRow, CONTROL_ROWS> rows;
  std::array<float, CHANNEL_COUNT> control_channels{};
};

// The rows over the settings' bindings: Left +1 and Right -1 steer,
// Upshift +1 and Downshift -1 shift, Lean Forward -1 and Lean Backward +1.
void build_control_map(ControlMap* map);

// The menus' fixed keys, resolved once at start-up.
enum MenuKey {
  MENU_UP, MENU_DOWN, MENU_LEFT, MENU_RIGHT, MENU_ENTER, MENU_KEYPAD_ENTER, MENU_ESC, MENU_PAUSE,
  MENU_CURSOR_LEFT, MENU_CURSOR_RIGHT, MENU_PAGE_UP, MENU_PAGE_DOWN,
  MENU_KEY_COUNT
};
struct MenuKeys {
  std::array<int, MENU_KEY_COUNT> code;
  MenuKeys() { code.fill(NO_KEY_CODE); }
  bool is(int key_code, MenuKey key) const { return key_code != NO_KEY_CODE && code[key] == key_code; }
};

// Resolves a binding: a key name into its key code, else an axis name into
// an open axis handle. A name that names nothing leaves the control
// unbound (logged) and keeps the name for the configuration.
void resolve_binding(Window* window, ControlBinding* binding);
// Closes a binding's axis handle.
void release_binding(ControlBinding* binding);
void resolve_menu_keys(Window* window, MenuKeys* keys);

// A key event: every row bound to the key takes 1 on a press, 0 on a release.
void apply_key_to_rows(ControlMap* map, int code, bool pressed);

// Reads each axis-bound row (clamp((raw / 32768 - low) / (high - low), 0, 1))
// and adds every row's scale x value to its channel.
void add_rows_to_channels(ControlMap* map);

void clear_channels(ControlMap* map);

// Binding a control to an axis by moving it: every axis offered is opened
// and watched until one is pushed past half way.
struct PotWatch {
  ControlBinding* binding = nullptr;  // the binding being assigned; null when not watching
  std::vector<const char*> names;     // interned axis names
  std::vector<AxisHandle*> handles;
};

void start_pot_watching(Window* window, PotWatch* watch, ControlBinding* binding);
// Releases every watched axis and stops watching.
void stop_pot_watching(PotWatch* watch);
bool watching_pots(const PotWatch& watch);

// Once per tick while watching: the axis furthest from the centre, when
// beyond 0.5, becomes the binding (low/high 0.0625/0.9375, or
// -0.0625/-0.9375 for a negative push). True when it bound one.
bool watch_pots(PotWatch* watch);

// A key pressed while watching binds that key instead (typed characters,
// which have no name, are passed over).
void bind_key_while_watching(Window* window, PotWatch* watch, int code);

// The axis handle stored in a binding.
AxisHandle* binding_axis(const ControlBinding& binding);
