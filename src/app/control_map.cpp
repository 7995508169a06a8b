#include "app/control_map.h"

#include <algorithm>
#include <cmath>

#include "core/run_settings.h"
#include "core/settings.h"
#include "platform/base/log.h"
#include "platform/input.h"
#include "platform/names.h"

namespace {

struct RowSpec {
  int binding;
  int channel;
  float scale;
};

constexpr RowSpec ROWS[CONTROL_ROWS] = {
    {BIND_LEFT, CHANNEL_STEER, 1},          {BIND_RIGHT, CHANNEL_STEER, -1},
    {BIND_THROTTLE, CHANNEL_THROTTLE, 1},   {BIND_FRONT_BRAKE, CHANNEL_FRONT_BRAKE, 1},
    {BIND_REAR_BRAKE, CHANNEL_REAR_BRAKE, 1}, {BIND_UPSHIFT, CHANNEL_SHIFT, 1},
    {BIND_DOWNSHIFT, CHANNEL_SHIFT, -1},    {BIND_CLUTCH, CHANNEL_CLUTCH, 1},
    {BIND_DAB, CHANNEL_DAB, 1},             {BIND_BACK_UP, CHANNEL_BACK_UP, 1},
    {BIND_LEAN_FORWARD, CHANNEL_LEAN, -1},  {BIND_LEAN_BACKWARD, CHANNEL_LEAN, 1},
};

constexpr const char* MENU_KEY_NAMES[MENU_KEY_COUNT] = {
    "up", "down", "left", "right", "enter", "keypad enter", "esc", "pause",
    "cursor-left", "cursor-right", "page up", "page down"};

constexpr float AXIS_SCALE = 1.0f / 32768.0f;
constexpr float POT_THRESHOLD = 0.5f;
constexpr float POT_LOW = 0.0625f, POT_HIGH = 0.9375f;

void set_binding_axis(ControlBinding* binding, AxisHandle* handle) {
  binding->axis_handle = reinterpret_cast<InputAxis*>(handle);
}

void done_watching(PotWatch* watch) {
  watch->binding = nullptr;
  if (run_settings.debug_level > 0) voxa_log("Done watching pots\n");
}

}  // namespace

AxisHandle* binding_axis(const ControlBinding& binding) {
  return reinterpret_cast<AxisHandle*>(binding.axis_handle);
}

void build_control_map(ControlMap* map) {
  for (int i = 0; i < CONTROL_ROWS; ++i) {
    ControlRow& row = map->rows[static_cast<size_t>(i)];
    row.binding = &settings.bindings[static_cast<size_t>(ROWS[i].binding)];
    row.channel = ROWS[i].channel;
    row.scale = ROWS[i].scale;
    row.value = 0;
  }
  clear_channels(map);
}

void resolve_binding(Window* window, ControlBinding* binding) {
  binding->key_code = NO_KEY_CODE;
  release_binding(binding);
  if (!binding->key_name.empty()) {
    int code = 0;
    if (key_code_of_name(window, binding->key_name.c_str(), &code))
      binding->key_code = code;
    else
      voxa_log("No key \"%s\" for %s: the control stays unbound\n", binding->key_name.c_str(), binding->label);
  } else if (!binding->axis_name.empty()) {
    AxisHandle* handle = open_axis(window, binding->axis_name.c_str());
    if (handle)
      set_binding_axis(binding, handle);
    else
      voxa_log("No axis \"%s\" for %s: the control stays unbound\n", binding->axis_name.c_str(), binding->label);
  }
}

void release_binding(ControlBinding* binding) {
  if (AxisHandle* handle = binding_axis(*binding)) close_axis(handle);
  set_binding_axis(binding, nullptr);
}

void resolve_menu_keys(Window* window, MenuKeys* keys) {
  for (int k = 0; k < MENU_KEY_COUNT; ++k) {
    int code = 0;
    keys->code[static_cast<size_t>(k)] = key_code_of_name(window, MENU_KEY_NAMES[k], &code) ? code : NO_KEY_CODE;
  }
}

void apply_key_to_rows(ControlMap* map, int code, bool pressed) {
  if (code == NO_KEY_CODE) return;
  for (ControlRow& row : map->rows)
    if (row.binding->key_code == code) row.value = pressed ? 1.0f : 0.0f;
}

void add_rows_to_channels(ControlMap* map) {
  for (ControlRow& row : map->rows) {
    if (AxisHandle* handle = binding_axis(*row.binding)) {
      const ControlBinding& b = *row.binding;
      float raw = static_cast<float>(read_axis(handle)) * AXIS_SCALE;
      float span = b.high - b.low;
      float value = span != 0 ? (raw - b.low) / span : 0.0f;
      row.value = std::isfinite(value) ? std::clamp(value, 0.0f, 1.0f) : 0.0f;
    }
    map->control_channels[static_cast<size_t>(row.channel)] += row.scale * row.value;
  }
}

void clear_channels(ControlMap* map) { map->control_channels.fill(0.0f); }

void start_pot_watching(Window* window, PotWatch* watch, ControlBinding* binding) {
  stop_pot_watching(watch);
  for (const std::string& name : axis_names(window)) {
    AxisHandle* handle = open_axis(window, name.c_str());
    if (!handle) continue;
    watch->names.push_back(intern_name(name));
    watch->handles.push_back(handle);
  }
  watch->binding = binding;
}

void stop_pot_watching(PotWatch* watch) {
  for (AxisHandle* handle : watch->handles) close_axis(handle);
  watch->handles.clear();
  watch->names.clear();
  if (watch->binding) done_watching(watch);
}

bool watching_pots(const PotWatch& watch) { return watch.binding != nullptr; }

bool watch_pots(PotWatch* watch) {
  if (!watch->binding) return false;
  size_t best = watch->handles.size();
  float best_value = 0;
  for (size_t i = 0; i < watch->handles.size(); ++i) {
    float value = static_cast<float>(read_axis(watch->handles[i])) * AXIS_SCALE;
    if (std::fabs(value) > std::fabs(best_value)) {
      best_value = value;
      best = i;
    }
  }
  if (best == watch->handles.size() || std::fabs(best_value) <= POT_THRESHOLD) return false;

  ControlBinding* binding = watch->binding;
  binding->key_name.clear();
  binding->key_code = NO_KEY_CODE;
  binding->axis_name = watch->names[best];
  release_binding(binding);
  set_binding_axis(binding, watch->handles[best]);
  const float sign = best_value > 0 ? 1.0f : -1.0f;
  binding->low = sign * POT_LOW;
  binding->high = sign * POT_HIGH;
  // The chosen handle now belongs to the binding.
  watch->handles.erase(watch->handles.begin() + static_cast<std::ptrdiff_t>(best));
  watch->names.erase(watch->names.begin() + static_cast<std::ptrdiff_t>(best));
  stop_pot_watching(watch);
  return true;
}

void bind_key_while_watching(Window* window, PotWatch* watch, int code) {
  ControlBinding* binding = watch->binding;
  if (!binding) return;
  // Typed characters have no name to store; the key's own event binds.
  const char* name = name_of_key_code(window, code);
  if (!name) return;
  binding->key_name = name;
  binding->key_code = code;
  binding->axis_name.clear();
  release_binding(binding);
  stop_pot_watching(watch);
}
