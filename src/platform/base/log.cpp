#include "platform/base/log.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

#include "platform/base/clock.h"

namespace {

constexpr char LOGFILE_SETTING[] = "VOXA_LOGFILE=";

std::mutex log_lock;
FILE* log_stream = nullptr;
bool log_initialised = false;
std::string last_error;
bool has_last_error = false;
MessageBoxHandler message_box_handler = nullptr;

// Writes one prefixed line; the caller holds the lock.
int write_line(const char* text) {
  if (!log_stream) return -1;
  std::string prefix = log_time_prefix(platform_millis());
  std::fputs(prefix.c_str(), log_stream);
  std::fputs(text, log_stream);
  return std::fflush(log_stream);
}

// Opens the log file named by the first call (or by VOXA_LOGFILE).
void open_log(const char* first_message) {
  const char* env = std::getenv("VOXA_LOGFILE");
  const char* name = env;
  if (std::strncmp(first_message, LOGFILE_SETTING, sizeof LOGFILE_SETTING - 1) == 0 && !env)
    name = first_message + sizeof LOGFILE_SETTING - 1;
  log_initialised = true;
  if (!name || !*name) return;
  const char* mode = "w";
  if (std::strncmp(name, ">>", 2) == 0) {
    mode = "a";
    name += 2;
  } else if (name[0] == '>') {
    name += 1;
  }
  log_stream = std::fopen(name, mode);
  if (!log_stream) return;
  std::string opened = std::string("Logfile \"") + name + "\" opened\n";
  write_line(opened.c_str());
  write_line(VOXA_BANNER);
}

}  // namespace

std::string log_time_prefix(uint64_t ms) {
  uint64_t hundredths = ms / 10;
  char text[64];
  std::snprintf(text, sizeof text, "[%d:%02d:%02d.%02d] ", static_cast<int>(hundredths / 360000),
                static_cast<int>(hundredths / 6000 % 60), static_cast<int>(hundredths / 100 % 60),
                static_cast<int>(hundredths % 100));
  return text;
}

int voxa_log(const char* format, ...) {
  char stack_text[1024];
  va_list args;
  va_start(args, format);
  int needed = std::vsnprintf(stack_text, sizeof stack_text, format, args);
  va_end(args);
  std::string heap_text;
  const char* text = stack_text;
  if (needed >= static_cast<int>(sizeof stack_text)) {
    heap_text.resize(static_cast<size_t>(needed) + 1);
    va_start(args, format);
    std::vsnprintf(heap_text.data(), heap_text.size(), format, args);
    va_end(args);
    text = heap_text.c_str();
  } else if (needed < 0) {
    text = "";
  }

  std::lock_guard<std::mutex> hold(log_lock);
  if (!log_initialised) {
    open_log(text);
    if (std::strncmp(text, LOGFILE_SETTING, sizeof LOGFILE_SETTING - 1) == 0)
      return log_stream ? 0 : -1;
  }
  return write_line(text);
}

void voxa_error(const char* message) {
  voxa_log("Error: %s\n", message);
  std::lock_guard<std::mutex> hold(log_lock);
  last_error = message;
  has_last_error = true;
}

const char* voxa_last_error() {
  std::lock_guard<std::mutex> hold(log_lock);
  return has_last_error ? last_error.c_str() : nullptr;
}

void set_message_box_handler(MessageBoxHandler handler) { message_box_handler = handler; }

void voxa_message_box(const char* title, const char* format, ...) {
  char text[1024];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  if (message_box_handler && message_box_handler(title, text)) return;
  std::fprintf(stderr, "%s: %s", title, text);
  size_t length = std::strlen(text);
  if (length == 0 || text[length - 1] != '\n') std::fputc('\n', stderr);
  std::fflush(stderr);
}

void voxa_log_reset() {
  std::lock_guard<std::mutex> hold(log_lock);
  if (log_stream) std::fclose(log_stream);
  log_stream = nullptr;
  log_initialised = false;
  last_error.clear();
  has_last_error = false;
}
