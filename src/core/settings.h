// The user's settings: every value of the configuration file, held as the
// same SettingItem records that the menu pages show and edit, and the
// control bindings. One global record, `settings`, described row by row by
// `setting_rows()`: the configuration file, the menus and the stability
// presets all walk that one table.
#pragma once

#include <array>
#include <string>
#include <vector>

enum class SettingKind { NUMBER, CHOICE, TEXT, INTEGER };

struct SettingItem {
  SettingKind kind = SettingKind::INTEGER;
  const char* label = "";
  // NUMBER
  double value = 0, step = 0, minimum = 0, maximum = 0;
  // CHOICE: option labels, and for texture lists the data path of each
  // option ("" for "default").
  std::vector<std::string> options;
  std::vector<std::string> option_values;
  int current = 0;
  // TEXT
  int max_length = 0;
  std::string text;
  // INTEGER
  int integer = 0;

  const char* choice() const {
    return current >= 0 && current < static_cast<int>(options.size()) ? options[current].c_str() : "";
  }
  bool is(const char* option) const { return options.size() > 0 && std::string(choice()) == option; }
};

struct InputAxis;  // an opened analog axis of the input layer

// One control's binding: a key or an analog axis mapped from [low, high]
// to [0, 1]. Names are stored; codes and handles are resolved at start-up.
struct ControlBinding {
  const char* label = "";
  std::string key_name;
  int key_code = 0;
  std::string axis_name;
  InputAxis* axis_handle = nullptr;
  float low = 0.0f, high = 1.0f;

  bool bound() const { return !key_name.empty() || !axis_name.empty(); }
};

// The bindings in configuration order; the first twelve drive the control
// channels of the riding bike.
enum BindingId {
  BIND_THROTTLE, BIND_FRONT_BRAKE, BIND_REAR_BRAKE, BIND_LEFT, BIND_RIGHT, BIND_CLUTCH,
  BIND_UPSHIFT, BIND_DOWNSHIFT, BIND_DAB, BIND_BACK_UP, BIND_LEAN_FORWARD, BIND_LEAN_BACKWARD,
  BIND_PAUSE, BIND_STEP, BIND_REWIND, BIND_SKIP, BIND_PREV, BIND_NEXT, BIND_CONSOLE,
  BIND_SCREENSHOT,
  BINDING_COUNT
};
constexpr int CONTROL_MAP_ROWS = 12;

constexpr int LINEUP_SLOTS = 40;
constexpr int SERVER_NAME_HISTORY = 16;
constexpr int SERVER_NAME_HISTORY_MAX = 126;  // longer history values are ignored

struct Settings {
  // Plain integers.
  SettingItem xres, yres, draw_fps, draw_time, draw_ping, spy, billboard_optimize_lookahead;
  // Race.
  SettingItem record, skill, minutes, laps;
  std::array<SettingItem, LINEUP_SLOTS> slot;
  SettingItem ghost_fade_distance, time_trial_abort, bike, name, number;
  SettingItem rider_texture, head_texture, bike_texture, wheel_texture;
  // Rider assists.
  SettingItem stability, leveling, roll_damping, roll_limit_angle, roll_limit_factor,
      steering_damping, steering_strength, max_steering_force, direct_steering,
      slow_damping_speed, slow_damping_factor, land_damping_falloff, land_damping_factor;
  // Riding aids.
  SettingItem arcade, front_brake, rear_brake, stop_wheelies, auto_shift, auto_dab, sticky_dab,
      reverse_steering, lean_indicator, auto_clutch_rpms, brake_torque, rear_brake_torque,
      max_dab_speed;
  // Bike setup.
  SettingItem front_sprocket_adjustment, rear_sprocket_adjustment, fork_compression_adjustment,
      fork_rebound_adjustment, fork_spring_rate_adjustment, fork_preload_adjustment,
      fork_oil_level_adjustment, shock_compression_adjustment, shock_rebound_adjustment,
      shock_spring_rate_adjustment, shock_preload_adjustment, rider_yspring, rider_ydamping,
      rider_zspring, rider_zdamping, rider_mass_distribution;
  // Display and sound.
  SettingItem video_mode, server_name, ground_detail, ground_texture_detail, ground_texture_dim,
      ground_mipmaps, use_fbo, use_shader, roost_density, lens_flare, hide_rider, rigid_camera,
      model_detail, model_texture_detail, fov, first_person_height, first_person_angle, volume,
      playback_mode;

  std::array<std::string, SERVER_NAME_HISTORY> server_name_history;
  std::array<ControlBinding, BINDING_COUNT> bindings;
};

extern Settings settings;

// One setting, described once: its configuration key, how its value is
// kept, its menu label, default, limits and step, and where it lives in
// `settings`. The rows run in the configuration file's order.
enum class SettingRowKind { ITEM, BINDING, HISTORY };
struct SettingRow {
  std::string key;
  SettingRowKind row_kind = SettingRowKind::ITEM;
  SettingItem* item = nullptr;        // ITEM: the record, and its default as a copy
  SettingItem defaults;
  ControlBinding* binding = nullptr;  // BINDING ("_key" entries), default key in defaults.text
  std::string* history = nullptr;     // HISTORY ("server_name_hist%02d")
  // The twelve advanced assists follow the "Stability" slider: the value
  // at stability 0, 20, 40, 60, 80 and 100 (null for every other row).
  const double* stability_preset = nullptr;
};
const std::vector<SettingRow>& setting_rows();

// The row of a setting of `settings`, or null.
const SettingRow* setting_row(const SettingItem& item);

// Puts every setting back to its default.
void reset_settings();

// Rewrites the twelve advanced stability settings from a "Stability" value
// (0 .. 100), between the rows' presets.
void apply_stability_preset(double stability);

// The default game server's host name.
inline constexpr const char* DEFAULT_SERVER_NAME = "race.bermline.net";
