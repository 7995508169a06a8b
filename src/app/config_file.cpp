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
#include "platform/base/paths.h"

namespace {

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
  char line[1024];
  while (df_gets(file, line, sizeof line)) {
    char* equals = std::strchr(line, '=');
    if (!equals) continue;
    *equals = 0;
    char* value = equals + 1;
    size_t length = std::strlen(value);
    while (length > 0 && (value[length - 1] == '\r' || value[length - 1] == '\n')) value[--length] = 0;
    for (const SettingRow& row : setting_rows()) {
      if (row.key != line) continue;
      if (row.item == &settings.bike) {
        select_bike(value);
      } else if (row.item) {
        load_value(*row.item, value);
        // The advanced assist values follow the stability slider; later
        // lines may still override them one by one.
        if (row.item == &settings.stability) apply_stability_preset(std::floor(settings.stability.value));
      } else if (row.binding) {
        parse_binding(row.binding, value);
      } else if (row.history && length <= SERVER_NAME_HISTORY_MAX) {
        *row.history = value;
      }
      break;
    }
  }
  df_close(file);
}

std::string config_text() {
  std::string text;
  for (const SettingRow& row : setting_rows()) {
    if (row.item) {
      text += row.key + "=" + format_value(*row.item) + "\n";
    } else if (row.history) {
      text += row.key + "=" + *row.history + "\n";
    } else if (row.binding && row.binding->bound()) {
      text += row.key + "=" + format_binding(*row.binding) + "\n";
    }
  }
  return text;
}

bool save_config() {
  std::string home = home_folder();
  if (home.empty() || !make_folders(home)) return false;
  return write_file_safely(home + "config", config_text());
}
