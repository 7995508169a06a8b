#include "core/settings.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "core/bike_names.h"

Settings settings;

namespace {

SettingItem integer_item(int value) {
  SettingItem item;
  item.kind = SettingKind::INTEGER;
  item.integer = value;
  return item;
}

SettingItem number_item(const char* label, double value, double minimum, double maximum, double step) {
  SettingItem item;
  item.kind = SettingKind::NUMBER;
  item.label = label;
  item.value = value;
  item.minimum = minimum;
  item.maximum = maximum;
  item.step = step;
  return item;
}

SettingItem choice_item(const char* label, std::vector<std::string> options, int current) {
  SettingItem item;
  item.kind = SettingKind::CHOICE;
  item.label = label;
  item.options = std::move(options);
  item.option_values.assign(item.options.size(), "");
  item.current = current;
  return item;
}

SettingItem no_yes(const char* label, bool yes) { return choice_item(label, {"No", "Yes"}, yes ? 1 : 0); }

SettingItem text_item(const char* label, int max_length, const char* text) {
  SettingItem item;
  item.kind = SettingKind::TEXT;
  item.label = label;
  item.max_length = max_length;
  item.text = text;
  return item;
}

// A texture choice starts with only "default"; start-up fills the files in.
SettingItem texture_item(const char* label) { return choice_item(label, {"default"}, 0); }

// Each advanced assist at stability 0, 20, 40, 60, 80 and 100.
constexpr double LEVELING_PRESET[] = {20, 20, 20, 20, 20, 20};
constexpr double ROLL_DAMPING_PRESET[] = {40, 50, 60, 70, 75, 80};
constexpr double ROLL_LIMIT_ANGLE_PRESET[] = {90, 45, 45, 40, 35, 35};
constexpr double ROLL_LIMIT_FACTOR_PRESET[] = {0, 5, 10, 32, 32, 32};
constexpr double STEERING_DAMPING_PRESET[] = {45, 45, 45, 45, 45, 45};
constexpr double STEERING_STRENGTH_PRESET[] = {75, 75, 75, 75, 75, 75};
constexpr double MAX_STEERING_FORCE_PRESET[] = {400, 400, 400, 400, 400, 400};
constexpr double DIRECT_STEERING_PRESET[] = {1, 1, 1, 1, 1, 0};
constexpr double SLOW_DAMPING_SPEED_PRESET[] = {40, 40, 40, 40, 40, 40};
constexpr double SLOW_DAMPING_FACTOR_PRESET[] = {1, 1, 1.5, 2, 2, 2};
constexpr double LAND_DAMPING_FALLOFF_PRESET[] = {0, 0.125, 0.25, 0.25, 0.25, 0.25};
constexpr double LAND_DAMPING_FACTOR_PRESET[] = {1, 1.5, 2, 2, 2, 2};

std::vector<SettingRow> build_rows() {
  Settings& s = settings;
  std::vector<SettingRow> rows;
  auto add = [&rows](std::string key, SettingItem& item, SettingItem defaults, const double* preset = nullptr) {
    SettingRow row;
    row.key = std::move(key);
    row.item = &item;
    row.defaults = std::move(defaults);
    row.stability_preset = preset;
    rows.push_back(std::move(row));
  };

  add("xres", s.xres, integer_item(640));
  add("yres", s.yres, integer_item(480));
  add("draw_fps", s.draw_fps, integer_item(0));
  add("draw_time", s.draw_time, integer_item(0));
  add("draw_ping", s.draw_ping, integer_item(1));
  add("spy", s.spy, integer_item(0));

  add("record", s.record, no_yes("Record Demo", false));
  add("skill", s.skill, choice_item("Robot Skill", {"Novice", "Amateur", "Expert"}, 0));
  add("minutes", s.minutes, number_item("Minutes", 0, 0, 60, 1));
  add("laps", s.laps, number_item("Laps", 5, 0, 50, 1));
  static const char* const gate_labels[LINEUP_SLOTS] = {
      "Gate 1",  "Gate 2",  "Gate 3",  "Gate 4",  "Gate 5",  "Gate 6",  "Gate 7",  "Gate 8",
      "Gate 9",  "Gate 10", "Gate 11", "Gate 12", "Gate 13", "Gate 14", "Gate 15", "Gate 16",
      "Gate 17", "Gate 18", "Gate 19", "Gate 20", "Gate 21", "Gate 22", "Gate 23", "Gate 24",
      "Gate 25", "Gate 26", "Gate 27", "Gate 28", "Gate 29", "Gate 30", "Gate 31", "Gate 32",
      "Gate 33", "Gate 34", "Gate 35", "Gate 36", "Gate 37", "Gate 38", "Gate 39", "Gate 40"};
  for (int i = 0; i < LINEUP_SLOTS; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "slot%02d", i);
    // The player in the middle of the gate, robots on either side.
    const int code = i == 19 ? 1 : (i >= 17 && i <= 22) ? 2 : 0;
    add(key, s.slot[static_cast<size_t>(i)],
        choice_item(gate_labels[i], {"Empty", "Human", "Robot", "Robot (2 stroke)", "Robot (4 stroke)"}, code));
  }
  add("ghost_fade_distance", s.ghost_fade_distance, number_item("Ghost Fade Distance", 10, 0, 40, 1));
  add("time_trial_abort", s.time_trial_abort, no_yes("Backing Up Aborts Attempt", true));
  add("bike", s.bike, choice_item("Bike", std::vector<std::string>(BIKE_CHOICES, BIKE_CHOICES + BIKE_CHOICE_COUNT), 0));
  add("name", s.name, text_item("Name", 63, "Dusty Rookie"));
  add("number", s.number, text_item("Number", 3, "999"));
  add("rider_texture", s.rider_texture, texture_item("Riding Gear"));
  add("head_texture", s.head_texture, texture_item("Helmet"));
  add("bike_texture", s.bike_texture, texture_item("Bike Graphics"));
  add("wheel_texture", s.wheel_texture, texture_item("Wheel Graphics"));

  add("stability", s.stability, number_item("Stability", 100, 0, 100, 1));
  add("leveling", s.leveling, number_item("Leveling", 20, 0, 100, 1), LEVELING_PRESET);
  add("roll_damping", s.roll_damping, number_item("Roll Damping", 60, 0, 100, 1), ROLL_DAMPING_PRESET);
  add("roll_limit_angle", s.roll_limit_angle, number_item("Roll Limit Angle", 45, 0, 180, 1), ROLL_LIMIT_ANGLE_PRESET);
  add("roll_limit_factor", s.roll_limit_factor, number_item("Roll Limit Factor", 10, 0, 64, 1), ROLL_LIMIT_FACTOR_PRESET);
  add("steering_damping", s.steering_damping, number_item("Steering Damping", 45, 0, 100, 1), STEERING_DAMPING_PRESET);
  add("steering_strength", s.steering_strength, number_item("Steering Strength", 75, 0, 100, 1),
      STEERING_STRENGTH_PRESET);
  add("max_steering_force", s.max_steering_force, number_item("Max Steering Force", 400, 0, 1000, 5),
      MAX_STEERING_FORCE_PRESET);
  add("direct_steering", s.direct_steering, number_item("Direct Steering", 1, 0, 1, 0.125), DIRECT_STEERING_PRESET);
  add("slow_damping_speed", s.slow_damping_speed, number_item("Slow Damping Speed", 40, 0, 100, 1),
      SLOW_DAMPING_SPEED_PRESET);
  add("slow_damping_factor", s.slow_damping_factor, number_item("Slow Damping Factor", 2, 1, 10, 0.25),
      SLOW_DAMPING_FACTOR_PRESET);
  add("land_damping_falloff", s.land_damping_falloff, number_item("Landing Damping Falloff", 0.25, 0, 0.5, 0.0625),
      LAND_DAMPING_FALLOFF_PRESET);
  add("land_damping_factor", s.land_damping_factor, number_item("Landing Damping Factor", 2, 1, 3, 0.25),
      LAND_DAMPING_FACTOR_PRESET);

  add("arcade", s.arcade, no_yes("Arcade Physics", true));
  add("front_brake", s.front_brake, choice_item("Front Brake", {"Normal", "Antilock"}, 1));
  add("rear_brake", s.rear_brake, choice_item("Rear Brake", {"Normal", "Antilock"}, 0));
  add("stop_wheelies", s.stop_wheelies, choice_item("Stop Wheelies", {"No", "Yes", "Front Only"}, 0));
  add("auto_shift", s.auto_shift, no_yes("Automatic Shifting", true));
  add("auto_dab", s.auto_dab, no_yes("Dab When Stopped", true));
  add("sticky_dab", s.sticky_dab, no_yes("Sticky Sit/Dab", false));
  add("reverse_steering", s.reverse_steering, no_yes("Reversed Steering", true));
  add("lean_indicator", s.lean_indicator, no_yes("Lean Indicator", true));
  add("auto_clutch_rpms", s.auto_clutch_rpms, number_item("Auto Clutch RPMs", 5000, 0, 5000, 100));
  add("brake_torque", s.brake_torque, number_item("Braking Torque (Front)", 250, 0, 500, 10));
  add("rear_brake_torque", s.rear_brake_torque, number_item("Braking Torque (Rear)", 250, 0, 500, 10));
  add("max_dab_speed", s.max_dab_speed, number_item("Max Dab Speed (MPH)", 20, 10, 20, 1));

  add("front_sprocket_adjustment", s.front_sprocket_adjustment, number_item("Countershaft Sprocket", 0, -2, 2, 1));
  add("rear_sprocket_adjustment", s.rear_sprocket_adjustment, number_item("Rear Sprocket", 0, -2, 2, 1));
  add("fork_compression_adjustment", s.fork_compression_adjustment, number_item("Fork Compression Damping", 50, 0, 100, 1));
  add("fork_rebound_adjustment", s.fork_rebound_adjustment, number_item("Fork Rebound Damping", 50, 0, 100, 1));
  add("fork_spring_rate_adjustment", s.fork_spring_rate_adjustment, number_item("Fork Spring Rate", 50, 0, 100, 1));
  add("fork_preload_adjustment", s.fork_preload_adjustment, number_item("Fork Preload", 50, 0, 100, 1));
  add("fork_oil_level_adjustment", s.fork_oil_level_adjustment, number_item("Fork Oil Level", 50, 0, 100, 1));
  add("shock_compression_adjustment", s.shock_compression_adjustment,
      number_item("Shock Compression Damping", 50, 0, 100, 1));
  add("shock_rebound_adjustment", s.shock_rebound_adjustment, number_item("Shock Rebound Damping", 50, 0, 100, 1));
  add("shock_spring_rate_adjustment", s.shock_spring_rate_adjustment, number_item("Shock Spring Rate", 50, 0, 100, 1));
  add("shock_preload_adjustment", s.shock_preload_adjustment, number_item("Shock Preload", 50, 0, 100, 1));
  add("rider_yspring", s.rider_yspring, number_item("Rider Vertical Spring", 50, 0, 100, 1));
  add("rider_ydamping", s.rider_ydamping, number_item("Rider Vertical Damping", 50, 0, 100, 1));
  add("rider_zspring", s.rider_zspring, number_item("Rider Forward Spring", 50, 0, 100, 1));
  add("rider_zdamping", s.rider_zdamping, number_item("Rider Forward Damping", 50, 0, 100, 1));
  add("rider_mass_distribution", s.rider_mass_distribution, number_item("Rider Mass Distribution", 0.33, 0.33, 0.5, 0.01));

  add("video_mode", s.video_mode, choice_item("Video Mode", {"Default Fullscreen", "Windowed"}, 0));
  add("server_name", s.server_name, text_item("Server", 127, DEFAULT_SERVER_NAME));
  for (int i = 0; i < SERVER_NAME_HISTORY; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "server_name_hist%02d", i);
    SettingRow row;
    row.key = key;
    row.row_kind = SettingRowKind::HISTORY;
    row.history = &s.server_name_history[static_cast<size_t>(i)];
    rows.push_back(std::move(row));
  }
  add("ground_detail", s.ground_detail, number_item("Ground Geometric Detail", 50, 0, 100, 1));
  add("ground_texture_detail", s.ground_texture_detail, number_item("Ground Texture Levels", 9, 0, 10, 1));
  add("ground_texture_dim", s.ground_texture_dim,
      choice_item("Ground Texture Resolution", {"32x32", "64x64", "128x128", "256x256", "512x512", "1024x1024"}, 2));
  add("ground_mipmaps", s.ground_mipmaps, no_yes("Enable Ground Mipmaps", false));
  add("use_fbo", s.use_fbo, no_yes("Use Framebuffer Objects", false));
  add("use_shader", s.use_shader, no_yes("Use Shader Programs", false));
  add("roost_density", s.roost_density, number_item("Roost Density", 250, 0, 1000, 10));
  add("lens_flare", s.lens_flare, no_yes("Enable Lens Flares", true));
  add("hide_rider", s.hide_rider, no_yes("Hide 1st Person Rider", false));
  add("rigid_camera", s.rigid_camera, no_yes("Rigid 3rd person camera", false));
  add("model_detail", s.model_detail, number_item("Model Geometric Detail", 50, 0, 100, 1));
  add("model_texture_detail", s.model_texture_detail, number_item("Model Texture Detail", 9, 0, 10, 1));
  add("fov", s.fov, number_item("Field Of View", 110, 10, 170, 1));
  add("first_person_height", s.first_person_height, number_item("1st Person Height", 0, 0, 1, 0.03125));
  add("first_person_angle", s.first_person_angle, number_item("1st Person Angle", 0, 0, 40, 1));
  add("volume", s.volume, number_item("Volume", 10, 0, 10, 1));
  add("playback_mode", s.playback_mode, choice_item("Playback Mode", {"Playback Only", "Race Against"}, 0));
  add("billboard_optimize_lookahead", s.billboard_optimize_lookahead, integer_item(8));

  static const struct {
    const char* key;
    const char* label;
    const char* default_key;
  } bindings[BINDING_COUNT] = {
      {"throttle_key", "Throttle", "x"},          {"front_brake_key", "Front Brake", "c"},
      {"rear_brake_key", "Rear Brake", "v"},      {"left_key", "Left", "left"},
      {"right_key", "Right", "right"},            {"clutch_key", "Clutch", "z"},
      {"upshift_key", "Upshift", "up"},           {"downshift_key", "Downshift", "down"},
      {"dab_key", "Sit/Dab", "right ctrl"},       {"back_up_key", "Back up", "b"},
      {"lean_forward_key", "Lean Forward", "n"},  {"lean_backward_key", "Lean Backward", "m"},
      {"pause_key", "Pause", "pause"},            {"step_key", "Step", "."},
      {"rewind_key", "Rewind", "\\"},             {"skip_key", "Skip", "/"},
      {"prev_key", "Previous Bike", "["},         {"next_key", "Next Bike", "]"},
      {"console_key", "Chat", "t"},               {"screenshot_key", "Screenshot", "s"}};
  for (int i = 0; i < BINDING_COUNT; ++i) {
    SettingRow row;
    row.key = bindings[i].key;
    row.row_kind = SettingRowKind::BINDING;
    row.binding = &s.bindings[static_cast<size_t>(i)];
    row.defaults.label = bindings[i].label;
    row.defaults.text = bindings[i].default_key;
    rows.push_back(std::move(row));
  }
  return rows;
}

}  // namespace

const std::vector<SettingRow>& setting_rows() {
  static const std::vector<SettingRow> rows = build_rows();
  return rows;
}

const SettingRow* setting_row(const SettingItem& item) {
  for (const SettingRow& row : setting_rows())
    if (row.item == &item) return &row;
  return nullptr;
}

void reset_settings() {
  for (const SettingRow& row : setting_rows()) {
    switch (row.row_kind) {
      case SettingRowKind::ITEM:
        *row.item = row.defaults;
        break;
      case SettingRowKind::BINDING:
        *row.binding = ControlBinding{};
        row.binding->label = row.defaults.label;
        row.binding->key_name = row.defaults.text;
        break;
      case SettingRowKind::HISTORY:
        row.history->clear();
        break;
    }
  }
}

void apply_stability_preset(double stability) {
  const double s = std::isfinite(stability) ? std::clamp(stability * 5 * 0.01, 0.0, 5.0) : 0.0;
  const int k = std::clamp(static_cast<int>(std::floor(s)), 0, 4);
  const double t = s - k;
  for (const SettingRow& row : setting_rows())
    if (row.stability_preset)
      row.item->value = row.stability_preset[k] + t * (row.stability_preset[k + 1] - row.stability_preset[k]);
}

namespace {
// The defaults hold from the first moment, before start-up runs.
struct DefaultSettings {
  DefaultSettings() { reset_settings(); }
} default_settings;
}  // namespace
