#include "core/messages.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "platform/base/log.h"

namespace {

constexpr double MESSAGE_SHOW_SECONDS = 5.0;

char message_ring[MESSAGE_RING_LINES][MESSAGE_LINE_BYTES];
int newest = -1;  // ring index of the newest line
int stored = 0;   // lines in the ring
int shown = 0;
double last_clock = 0.0;
double expiry = 0.0;

}  // namespace

void post_message(const char* format, ...) {
  char text[MESSAGE_LINE_BYTES];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  size_t length = std::strlen(text);
  while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r')) text[--length] = 0;
  voxa_log("%s\n", text);

  newest = (newest + 1) % MESSAGE_RING_LINES;
  std::memcpy(message_ring[newest], text, length + 1);
  if (stored < MESSAGE_RING_LINES) ++stored;
  if (shown < MESSAGES_SHOWN_MAX) ++shown;
  expiry = last_clock + MESSAGE_SHOW_SECONDS;
}

const char* message_line(int age) {
  if (age < 0 || age >= stored) return nullptr;
  return message_ring[(newest - age + MESSAGE_RING_LINES) % MESSAGE_RING_LINES];
}

int messages_shown() { return shown; }

void age_messages(double game_clock) {
  last_clock = game_clock;
  if (game_clock > expiry && shown > 0) {
    --shown;
    expiry = game_clock + MESSAGE_SHOW_SECONDS;
  }
}

void clear_messages() {
  newest = -1;
  stored = 0;
  shown = 0;
  expiry = last_clock;
}
