#include "platform/names.h"

#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/base/log.h"

namespace {

std::mutex names_lock;
std::set<std::string, std::less<>> interned;
std::vector<std::pair<std::string, const char*>> aliases;  // alias, interned name

constexpr const char* STANDARD_ALIASES[][2] = {
    {"cursor-left", "Mouse Left"},         {"cursor-middle", "Mouse Middle"},
    {"cursor-right", "Mouse Right"},       {"cursor-x", "cursor.axis[0]"},
    {"cursor-y", "cursor.axis[1]"},        {"mouse-x", "Mouse.axis[0]"},
    {"mouse-y", "Mouse.axis[1]"},          {"mouse-left", "Mouse.key[0]"},
    {"mouse-right", "Mouse.key[1]"},       {"mouse-middle", "Mouse.key[2]"},
    {"joystick-a-x", "Joystick1.axis[0]"}, {"joystick-a-y", "Joystick1.axis[1]"},
    {"joystick-a-1", "Joystick1.key[0]"},  {"joystick-a-2", "Joystick1.key[1]"},
    {"joystick-b-x", "Joystick2.axis[0]"}, {"joystick-b-y", "Joystick2.axis[1]"},
    {"joystick-b-1", "Joystick2.key[0]"},  {"joystick-b-2", "Joystick2.key[1]"},
};

const char* intern_locked(std::string_view text) {
  auto found = interned.find(text);
  if (found == interned.end()) found = interned.emplace(text).first;
  return found->c_str();
}

}  // namespace

const char* intern_name(std::string_view text) {
  std::lock_guard<std::mutex> hold(names_lock);
  return intern_locked(text);
}

void define_alias(const char* alias, const char* name) {
  {
    std::lock_guard<std::mutex> hold(names_lock);
    bool taken = false;
    for (const auto& entry : aliases) taken = taken || entry.first == alias;
    if (!taken) {
      aliases.emplace_back(alias, intern_locked(name));
      return;
    }
  }
  voxa_log("Second alias for '%s' ('%s') ignored\n", alias, name);
}

const char* resolve_alias(const char* name) {
  std::lock_guard<std::mutex> hold(names_lock);
  for (const auto& entry : aliases)
    if (entry.first == name) return entry.second;
  return name;
}

void define_standard_aliases() {
  static std::once_flag defined;
  std::call_once(defined, [] {
    for (const auto& pair : STANDARD_ALIASES) define_alias(pair[0], pair[1]);
  });
}
