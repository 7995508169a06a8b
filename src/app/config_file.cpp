#include "app/config_file.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/bike_names.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "data/safe_write.h"
#include "physics/bike_setup.h"
#include "platform/base/paths.h"

namespace {

// One line of the file: its key and how its value is read and written.
struct ConfigKey {
  std::string key;
  SettingItem* item = nullptr;               // plain items
  ControlBinding* binding = nullptr;         // "_key" entries
  std::string* history = nullptr;            // "server_name_hist%02d"
};

std::vector<ConfigKey> config_keys() {
  Settings& s = settings;
  std::vector<ConfigKey> keys;
  auto add = [&keys](const char* key, SettingItem& item) { keys.push_back({key, &item}); };

  add("xres", s.xres);
  add("yres", s.yres);
  add("draw_fps", s.draw_fps);
  add("draw_time", s.draw_time);
  add("draw_ping", s.draw_ping);
  add("spy", s.spy);

  add("record", s.record);
  add("skill", s.skill);
  add("minutes", s.minutes);
  add("laps", s.laps);
  for (int i = 0; i < LINEUP_SLOTS; ++i) {
    char key[16];
    std::snprintf(key, sizeof key, "slot%02d", i);
    add(key, s.slot[i]);
  }
  add("ghost_fade_distance", s.ghost_fade_distance);
  add("time_trial_abort", s.time_trial_abort);
  add("bike", s.bike);
  add("name", s.name);
  add("number", s.number);
  add("rider_texture", s.rider_texture);
  add("head_texture", s.head_texture);
  add("bike_texture", s.bike_texture);
  add("wheel_texture", s.wheel_texture);

  add("stability", s.stability);
  add("leveling", s.leveling);
  add("roll_damping", s.roll_damping);
  add("roll_limit_angle", s.roll_limit_angle);
  add("roll_limit_factor", s.roll_limit_factor);
  add("steering_damping", s.steering_damping);
  add("steering_strength", s.steering_strength);
  add("max_steering_force", s.max_steering_force);
  add("direct_steering", s.direct_steering);
  add("slow_damping_speed", s.slow_damping_speed);
  add("slow_damping_factor", s.slow_damping_factor);
  add("land_damping_falloff", s.land_damping_falloff);
  add("land_damping_factor", s.land_damping_factor);

  add("arcade", s.arcade);
  add("front_brake", s.front_brake);
  add("rear_brake", s.rear_brake);
  add("stop_wheelies", s.stop_wheelies);
  add("auto_shift", s.auto_shift);
  add("auto_dab", s.auto_dab);
  add("sticky_dab", s.sticky_dab);
  add("reverse_steering", s.reverse_steering);
  add("lean_indicator", s.lean_indicator);
  add("auto_clutch_rpms", s.auto_clutch_rpms);
  add("brake_torque", s.brake_torque);
  add("rear_brake_torque", s.rear_brake_torque);
  add("max_dab_speed", s.max_dab_speed);

  add("front_sprocket_adjustment", s.front_sprocket_adjustment);
  add("rear_sprocket_adjustment", s.rear_sprocket_adjustment);
  add("fork_compression_adjustment", s.fork_compression_adjustment);
  add("fork_rebound_adjustment", s.fork_rebound_adjustment);
  add("fork_spring_rate_adjustment", s.fork_spring_rate_adjustment);
  add("fork_preload_adjustment", s.fork_preload_adjustment);
  add("fork_oil_level_adjustment", s.fork_oil_level_adjustment);
  add("shock_compression_adjustment", s.shock_compression_adjustment);
  add("shock_rebound_adjustment", s.shock_rebound_adjustment);
  add("shock_spring_rate_adjustment", s.shock_spring_rate_adjustment);
  add("shock_preload_adjustment", s.shock_preload_adjustment);
  add("rider_yspring", s.rider_yspring);
  add("rider_ydamping", s.rider_ydamping);
  add("rider_zspring", s.rider_zspring);
  add("rider_zdamping", s.rider_zdamping);
  add("rider_mass_distribution", s.rider_mass_distribution);

  add("video_mode", s.video_mode);
  add("server_name", s.server_name);
  for (int i = 0; i < SERVER_NAME_HISTORY; ++i) {
    char key[32];
    std::snprintf(key, sizeof key, "server_name_hist%02d", i);
    keys.push_back({key, nullptr, nullptr, &s.server_name_history[i]});
  }
  add("ground_detail", s.ground_detail);
  add("ground_texture_detail", s.ground_texture_detail);
  add("ground_texture_dim", s.ground_texture_dim);
  add("ground_mipmaps", s.ground_mipmaps);
  add("use_fbo", s.use_fbo);
  add("use_shader", s.use_shader);
  add("roost_density", s.roost_density);
  add("lens_flare", s.lens_flare);
  add("hide_rider", s.hide_rider);
  add("rigid_camera", s.rigid_camera);
  add("model_detail", s.model_detail);
  add("model_texture_detail", s.model_texture_detail);
  add("fov", s.fov);
  add("first_person_height", s.first_person_height);
  add("first_person_angle", s.first_person_angle);
  add("volume", s.volume);
  add("playback_mode", s.playback_mode);
  add("billboard_optimize_lookahead", s.billboard_optimize_lookahead);

  static const char* const binding_keys[BINDING_COUNT] = {
      "throttle_key", "front_brake_key", "rear_brake_key", "left_key",      "right_key",
      "clutch_key",   "upshift_key",     "downshift_key",  "dab_key",       "back_up_key",
      "lean_forward_key", "lean_backward_key", "pause_key", "step_key",     "rewind_key",
      "skip_key",     "prev_key",        "next_key",       "console_key",   "screenshot_key"};
  for (int i = 0; i < BINDING_COUNT; ++i) keys.push_back({binding_keys[i], nullptr, &s.bindings[i]});
  return keys;
}

void load_value(SettingItem& item, const char* value) {
  switch (item.kind) {
    case SettingKind::INTEGER: {
      int parsed;
      if (std::sscanf(value, "%d", &parsed) == 1) item.integer = parsed;
      break;
    }
    case SettingKind::NUMBER: {
      float parsed;
      if (std::sscanf(value, "%f", &parsed) != 1) break;
      double number = parsed;
      if (!(number >= item.minimum)) number = item.minimum;  // NaN too
      if (number > item.maximum) number = item.maximum;
      item.value = number;
      break;
    }
    case SettingKind::CHOICE:
      for (size_t i = 0; i < item.options.size(); ++i) {
        if (item.options[i] == value) {
          item.current = static_cast<int>(i);
          break;
        }
      }
      break;
    case SettingKind::TEXT:
      item.text.assign(value, strnlen(value, static_cast<size_t>(item.max_length)));
      break;
  }
}

std::string format_value(const SettingItem& item) {
  char text[64];
  switch (item.kind) {
    case SettingKind::INTEGER:
      std::snprintf(text, sizeof text, "%d", item.integer);
      return text;
    case SettingKind::NUMBER:
      std::snprintf(text, sizeof text, "%f", item.value);
      return text;
    case SettingKind::CHOICE:
      return item.choice();
    case SettingKind::TEXT:
      return item.text;
  }
  return "";
}

std::string format_binding(const ControlBinding& binding) {
  if (!binding.axis_name.empty()) {
    char points[96];
    std::snprintf(points, sizeof points, "(%f,%f)", binding.low, binding.high);
    return points + binding.axis_name;
  }
  return "(k)" + binding.key_name;
}

// Fills a texture choice with "default" and every ".png" of the prefix.
void build_texture_choice(SettingItem& item, const std::string& prefix) {
  std::string keep = item.choice();
  item.options.assign(1, "default");
  item.option_values.assign(1, "");
  auto ends_with = [](const std::string& text, const char* tail) {
    size_t n = std::strlen(tail);
    return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
  };
  for (const std::string& path : list_data_files()) {
    if (!ends_with(path, ".png") || ends_with(path, "_norm.png") || ends_with(path, "_spec.png")) continue;
    size_t slash = path.rfind('/');
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    if (file.compare(0, prefix.size(), prefix) != 0) continue;
    item.options.push_back(file.substr(prefix.size(), file.size() - prefix.size() - 4));
    item.option_values.push_back("@" + path);
  }
  item.current = 0;
  for (size_t i = 0; i < item.options.size(); ++i)
    if (item.options[i] == keep) item.current = static_cast<int>(i);
}

}  // namespace

void build_texture_choices() {
  build_texture_choice(settings.rider_texture, "rider_body-");
  build_texture_choice(settings.head_texture, "rider_head-");
  build_texture_choice(settings.bike_texture, bike_texture_prefix(settings.bike.choice()));
  build_texture_choice(settings.wheel_texture, "wheels-");
}

void select_bike(const char* name) {
  const char* model = apply_bike_alias(name);
  SettingItem& bike = settings.bike;
  for (size_t i = 0; i < bike.options.size(); ++i) {
    if (bike.options[i] != model) continue;
    bike.current = static_cast<int>(i);
    build_texture_choice(settings.bike_texture, bike_texture_prefix(model));
    settings.bike_texture.current = 0;
    return;
  }
}

void parse_binding(ControlBinding* binding, const char* text) {
  while (*text == ' ' || *text == '\t' || *text == '\n' || *text == '\r' || *text == '\v' || *text == '\f')
    ++text;
  binding->key_name.clear();
  binding->key_code = 0;
  binding->axis_name.clear();
  binding->axis_handle = nullptr;
  binding->low = 0.0f;
  binding->high = 1.0f;
  float low, high;
  const char* close = std::strchr(text, ')');
  if (text[0] == '(' && close && std::sscanf(text, "(%f,%f)", &low, &high) == 2) {
    binding->low = low;
    binding->high = high;
    binding->axis_name = close + 1;
    return;
  }
  if (std::strncmp(text, "(k)", 3) == 0) text += 3;
  binding->key_name = text;
}

void load_config() {
  DataFile* file = df_open("@config", "rb");
  if (!file) return;
  std::vector<ConfigKey> keys = config_keys();
  char line[1024];
  while (df_gets(file, line, sizeof line)) {
    char* equals = std::strchr(line, '=');
    if (!equals) continue;
    *equals = 0;
    char* value = equals + 1;
    size_t length = std::strlen(value);
    while (length > 0 && (value[length - 1] == '\r' || value[length - 1] == '\n')) value[--length] = 0;
    for (ConfigKey& key : keys) {
      if (key.key != line) continue;
      if (key.item == &settings.bike) {
        select_bike(value);
      } else if (key.item) {
        load_value(*key.item, value);
        // The advanced assist values follow the stability slider; later
        // lines may still override them one by one.
        if (key.item == &settings.stability) apply_stability_preset(std::floor(settings.stability.value));
      } else if (key.binding) {
        parse_binding(key.binding, value);
      } else if (key.history && length <= SERVER_NAME_HISTORY_MAX) {
        *key.history = value;
      }
      break;
    }
  }
  df_close(file);
}

std::string config_text() {
  std::string text;
  for (const ConfigKey& key : config_keys()) {
    if (key.item) {
      text += key.key + "=" + format_value(*key.item) + "\n";
    } else if (key.history) {
      text += key.key + "=" + *key.history + "\n";
    } else if (key.binding && key.binding->bound()) {
      text += key.key + "=" + format_binding(*key.binding) + "\n";
    }
  }
  return text;
}

bool save_config() {
  std::string home = home_folder();
  if (home.empty() || !make_folders(home)) return false;
  return write_file_safely(home + "config", config_text());
}
