#include "platform/input_devices.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>

#include "platform/base/log.h"
#include "platform/input_events.h"
#include "platform/key_names.h"
#include "platform/names.h"

namespace {

bool id_in_use(const DeviceList* list, int32_t id) {
  for (const auto& device : list->devices)
    if (device->id == id) return true;
  return false;
}

// Reads a decimal index (digits only, at most six) and moves past it.
bool read_index(const char** text, int* index) {
  const char* p = *text;
  int value = 0;
  int digits = 0;
  while (std::isdigit(static_cast<unsigned char>(*p)) && digits < 7) {
    value = value * 10 + (*p - '0');
    ++p;
    ++digits;
  }
  if (digits == 0 || digits > 6) return false;
  *index = value;
  *text = p;
  return true;
}

bool skip_spaces(const char** text) {
  const char* p = *text;
  while (std::isspace(static_cast<unsigned char>(*p))) ++p;
  bool skipped = p != *text;
  *text = p;
  return skipped;
}

bool skip_word(const char** text, const char* word) {
  size_t length = std::strlen(word);
  if (std::strncmp(*text, word, length) != 0) return false;
  *text += length;
  return true;
}

void open_device(Device* device) {
  if (device->ops && device->ops->open) device->ops->open(device);
}

void close_device(Device* device) {
  if (device->ops && device->ops->close) device->ops->close(device);
}

}  // namespace

std::string device_base_name(const char* instance_name) {
  std::string name;
  for (const char* p = instance_name ? instance_name : ""; *p; ++p)
    if (*p != ' ' && *p != '.') name += *p;
  if (name.empty()) name = "Device";
  return name;
}

std::string unique_device_name(const DeviceList* list, const std::string& base) {
  std::string name = base;
  for (int number = 2; std::any_of(list->devices.begin(), list->devices.end(),
                                   [&](const auto& device) { return device->name == name; });
       ++number) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "#%d", number);
    name = base + suffix;
  }
  return name;
}

int32_t device_name_hash(std::string_view name) {
  uint16_t even_sum = 0;
  uint8_t odd_sum = 0;
  for (size_t i = 0; i < name.size(); ++i) {
    auto c = static_cast<unsigned char>(name[i]);
    if (i % 2 == 0)
      even_sum = static_cast<uint16_t>(even_sum + c);
    else
      odd_sum = static_cast<uint8_t>(odd_sum + c);
  }
  return static_cast<int32_t>(((even_sum + 256 * odd_sum) & 0x7FFF) << 16);
}

int32_t unique_device_id(const DeviceList* list, int32_t hash) {
  // Id 0 would give button codes of typed characters, so it is never used.
  int32_t id = hash & DEVICE_ID_MASK;
  for (int tries = 0; tries <= 0x7FFF && (id == 0 || id_in_use(list, id)); ++tries)
    id = (id + 0x10000) & DEVICE_ID_MASK;
  return id;
}

Device* add_device(DeviceList* list, const DeviceDescription& description) {
  if (!description.quiet)
    voxa_log("%s (%s)\n", description.instance_name, description.product_name);
  auto device = std::make_unique<Device>();
  device->base_name = device_base_name(description.instance_name);
  device->name = unique_device_name(list, device->base_name);
  device->id = unique_device_id(list, device_name_hash(device->name));
  device->relative = description.relative;
  device->ops = description.ops;
  device->system = description.system;
  device->system_id = description.system_id;
  device->list = list;

  int axes = std::max(description.axis_count, 0);
  int buttons = std::max(description.button_count, 0);
  if (axes > DEVICE_MAX_AXES) {
    voxa_log("Wow! This thing has a lot of axes!\nThe first ignored axis is called \"axis %d\"\n",
             DEVICE_MAX_AXES);
    axes = DEVICE_MAX_AXES;
  }
  if (buttons > DEVICE_MAX_BUTTONS) {
    voxa_log(
        "Wow! This thing has a lot of buttons!\nThe first ignored button is called \"button %d\"\n",
        DEVICE_MAX_BUTTONS);
    buttons = DEVICE_MAX_BUTTONS;
  }
  device->axis_count = axes;
  device->button_count = buttons;
  device->axes.assign(static_cast<size_t>(axes), 0);
  device->buttons.assign(static_cast<size_t>(buttons), 0);

  if (!description.quiet) {
    voxa_log("%d axes, %d keys\n", axes, buttons);
    for (int axis = 0; axis < axes; ++axis)
      voxa_log("axis %d is %s\n", axis, device->relative ? "relative" : "absolute");
  }
  if (!device->relative && description.list_axes) {
    for (int axis = 0; axis < axes; ++axis) {
      char axis_name[256];
      std::snprintf(axis_name, sizeof axis_name, "%.200s axis %d", device->name.c_str(), axis);
      voxa_log("Adding axis \"%s\"\n", axis_name);
      list->axis_names.push_back(axis_name);
    }
  }
  list->devices.push_back(std::move(device));
  return list->devices.back().get();
}

Device* find_unplugged_device(DeviceList* list, const std::string& base, int axis_count,
                              int button_count) {
  for (const auto& device : list->devices)
    if (!device->connected && device->base_name == base && device->axis_count == axis_count &&
        device->button_count == button_count)
      return device.get();
  return nullptr;
}

Device* find_device(DeviceList* list, std::string_view name) {
  for (const auto& device : list->devices)
    if (device->name == name) return device.get();
  return nullptr;
}

Device* find_device_by_system_id(DeviceList* list, int32_t system_id) {
  for (const auto& device : list->devices)
    if (device->connected && device->system_id == system_id) return device.get();
  return nullptr;
}

bool device_polling(const Device* device) {
  return device->connected && (device->open_count > 0 || device->buttons_bound);
}

void set_device_button(Device* device, int button, bool pressed, long seconds, long microseconds) {
  if (button < 0 || button >= device->button_count) return;
  uint8_t state = pressed ? 1 : 0;
  if (device->buttons[static_cast<size_t>(button)] == state) return;
  device->buttons[static_cast<size_t>(button)] = state;
  if (device_polling(device) && button < DEVICE_BUTTON_CODES && device->list->events)
    push_input_event(device->list->events, device->id + button, pressed, seconds, microseconds);
}

void set_device_axis(Device* device, int axis, int32_t value) {
  if (axis < 0 || axis >= device->axis_count) return;
  device->axes[static_cast<size_t>(axis)] = std::clamp(value, -AXIS_LIMIT, AXIS_LIMIT);
}

void add_device_motion(Device* device, int axis, int32_t delta) {
  if (axis < 0 || axis >= device->axis_count || !device_polling(device)) return;
  int64_t sum = static_cast<int64_t>(device->axes[static_cast<size_t>(axis)]) + delta;
  device->axes[static_cast<size_t>(axis)] =
      static_cast<int32_t>(std::clamp<int64_t>(sum, INT32_MIN, INT32_MAX));
}

void disconnect_device(Device* device, long seconds, long microseconds) {
  for (int button = 0; button < device->button_count; ++button)
    set_device_button(device, button, false, seconds, microseconds);
  std::fill(device->axes.begin(), device->axes.end(), 0);
  device->connected = false;
  device->system = nullptr;
  device->system_id = -1;
}

bool parse_device_item(const char* text, const char* dotted_word, const char* spaced_word,
                       std::string* device_name, int* index) {
  // "Name.word[n]": the name runs to the first ".".
  if (const char* dot = std::strchr(text, '.'); dot && dot != text) {
    const char* p = dot + 1;
    if (skip_word(&p, dotted_word) && skip_word(&p, "[") && read_index(&p, index) &&
        skip_word(&p, "]") && *p == '\0') {
      device_name->assign(text, dot);
      return true;
    }
  }
  // "Name word n": the name runs to the first white space.
  const char* p = text;
  while (*p && !std::isspace(static_cast<unsigned char>(*p))) ++p;
  if (p == text) return false;
  const char* name_end = p;
  if (skip_spaces(&p) && skip_word(&p, spaced_word) && skip_spaces(&p) && read_index(&p, index)) {
    skip_spaces(&p);
    if (*p == '\0') {
      device_name->assign(text, name_end);
      return true;
    }
  }
  return false;
}

bool lookup_key_code(DeviceList* list, const char* name, int* code) {
  if (!name) return false;
  name = resolve_alias(name);
  if (keyboard_code_of_name(name, code)) return true;
  std::string device_name;
  int button = 0;
  if (!parse_device_item(name, "key", "button", &device_name, &button)) return false;
  Device* device = find_device(list, device_name);
  if (!device || button >= DEVICE_BUTTON_CODES || button >= device->button_count) return false;
  if (!device->buttons_bound) {
    device->buttons_bound = true;
    if (device->open_count == 0) open_device(device);
  }
  *code = device->id + button;
  return true;
}

const char* lookup_key_name(DeviceList* list, int code) {
  std::string name = keyboard_name_of_code(code);
  if (!name.empty()) return intern_name(name);
  if (code < 0x10000) return nullptr;
  int32_t id = code & DEVICE_ID_MASK;
  int button = code & 0xFFFF;
  for (const auto& device : list->devices) {
    if (device->id == id && button < DEVICE_BUTTON_CODES && button < device->button_count) {
      char text[1100];
      std::snprintf(text, sizeof text, "%.1000s button %d", device->name.c_str(), button);
      return intern_name(text);
    }
  }
  return nullptr;
}

AxisHandle* open_device_axis(DeviceList* list, const char* name) {
  if (!name) return nullptr;
  name = resolve_alias(name);
  std::string device_name;
  int axis = 0;
  if (!parse_device_item(name, "axis", "axis", &device_name, &axis)) return nullptr;
  Device* device = find_device(list, device_name);
  if (!device || axis >= device->axis_count) return nullptr;
  if (device->open_count++ == 0 && !device->buttons_bound) open_device(device);
  return new AxisHandle{device, axis};
}

void close_device_axis(AxisHandle* handle) {
  if (!handle) return;
  Device* device = handle->device;
  if (--device->open_count == 0 && !device->buttons_bound) close_device(device);
  delete handle;
}

int32_t read_device_axis(AxisHandle* handle) {
  Device* device = handle->device;
  if (device->connected && device->ops && device->ops->update) device->ops->update(device);
  int32_t& value = device->axes[static_cast<size_t>(handle->axis)];
  if (!device->relative) return value;
  int32_t motion = value;
  value = 0;
  return motion;
}

void update_polling_devices(DeviceList* list) {
  for (const auto& device : list->devices)
    if (device_polling(device.get()) && device->ops && device->ops->update)
      device->ops->update(device.get());
}

void close_all_devices(DeviceList* list) {
  for (const auto& device : list->devices) {
    if (device->open_count > 0 || device->buttons_bound) close_device(device.get());
    if (device->ops && device->ops->destroy) device->ops->destroy(device.get());
    voxa_log("Killing %s\n", device->name.c_str());
  }
  list->devices.clear();
  list->axis_names.clear();
}
