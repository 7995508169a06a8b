#include "platform/base/options.h"

#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "platform/base/log.h"

namespace {

std::mutex options_lock;
std::string options_text;
bool options_read = false;

// The text right after "[name:" in the options, or null when absent.
const char* find_setting(const char* name) {
  std::lock_guard<std::mutex> hold(options_lock);
  if (!options_read) {
    const char* env = std::getenv("VOXA_OPTIONS");
    options_text = env ? env : "";
    options_read = true;
  }
  std::string key = "[";
  key.append(name, strnlen(name, 60));
  key += ":";
  size_t at = options_text.find(key);
  if (at == std::string::npos) return nullptr;
  return options_text.c_str() + at + key.size();
}

}  // namespace

int voxa_option_bool(const char* name, int default_value) {
  const char* value = find_setting(name);
  if (!value) return default_value;
  if (std::strncmp(value, "yes]", 4) == 0 || std::strncmp(value, "on]", 3) == 0) return 1;
  if (std::strncmp(value, "no]", 3) == 0 || std::strncmp(value, "off]", 4) == 0) return 0;
  voxa_log("unrecognized setting for %s\n", name);
  return default_value;
}

int voxa_option_int(const char* name, int default_value) {
  const char* value = find_setting(name);
  if (!value) return default_value;
  const char* digits = value;
  if (*digits == '+' || *digits == '-') ++digits;
  if (*digits < '0' || *digits > '9') {
    voxa_log("unrecognized setting for %s\n", name);
    return default_value;
  }
  long parsed = std::strtol(value, nullptr, 10);
  if (parsed > 2147483647L) parsed = 2147483647L;
  if (parsed < -2147483647L - 1) parsed = -2147483647L - 1;
  return static_cast<int>(parsed);
}

void voxa_set_options_text(const char* text) {
  std::lock_guard<std::mutex> hold(options_lock);
  options_text = text ? text : "";
  options_read = text != nullptr;
}
