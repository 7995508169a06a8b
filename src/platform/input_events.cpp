#include "platform/input_events.h"

namespace {

bool take_oldest(EventQueue* queue, bool limited, long seconds, long microseconds, int* code,
                 bool* pressed) {
  std::lock_guard<std::mutex> hold(queue->lock);
  if (queue->count == 0) return false;
  const InputEvent& oldest = queue->ring[queue->head];
  if (limited &&
      compare_event_times(oldest.seconds, oldest.microseconds, seconds, microseconds) > 0)
    return false;
  *code = static_cast<int>(oldest.code & ~EVENT_RELEASED);
  *pressed = (oldest.code & EVENT_RELEASED) == 0;
  queue->head = (queue->head + 1) % EVENT_QUEUE_SIZE;
  --queue->count;
  return true;
}

}  // namespace

int compare_event_times(long a_seconds, long a_microseconds, long b_seconds, long b_microseconds) {
  auto seconds_apart =
      static_cast<int32_t>(static_cast<uint32_t>(a_seconds) - static_cast<uint32_t>(b_seconds));
  if (seconds_apart != 0) return seconds_apart < 0 ? -1 : 1;
  if (a_microseconds == b_microseconds) return 0;
  return a_microseconds < b_microseconds ? -1 : 1;
}

bool push_input_event(EventQueue* queue, int code, bool pressed, long seconds, long microseconds) {
  std::lock_guard<std::mutex> hold(queue->lock);
  if (queue->count == EVENT_QUEUE_SIZE) return false;
  InputEvent event{static_cast<uint32_t>(code) | (pressed ? 0u : EVENT_RELEASED), seconds,
                   microseconds};
  // Walk back from the tail past every queued event stamped later.
  int slot = queue->count;
  while (slot > 0) {
    const InputEvent& before = queue->ring[(queue->head + slot - 1) % EVENT_QUEUE_SIZE];
    if (compare_event_times(before.seconds, before.microseconds, seconds, microseconds) <= 0) break;
    queue->ring[(queue->head + slot) % EVENT_QUEUE_SIZE] = before;
    --slot;
  }
  queue->ring[(queue->head + slot) % EVENT_QUEUE_SIZE] = event;
  ++queue->count;
  return true;
}

bool pop_input_event_due(EventQueue* queue, long seconds, long microseconds, int* code,
                         bool* pressed) {
  return take_oldest(queue, true, seconds, microseconds, code, pressed);
}

bool pop_input_event(EventQueue* queue, int* code, bool* pressed) {
  return take_oldest(queue, false, 0, 0, code, pressed);
}

uint64_t platform_millis_of_sdl_stamp(uint32_t sdl_stamp, uint32_t sdl_now, uint64_t platform_now) {
  auto age = static_cast<int32_t>(sdl_now - sdl_stamp);
  if (age <= 0) return platform_now;
  if (static_cast<uint64_t>(age) > platform_now) return 0;
  return platform_now - static_cast<uint64_t>(age);
}
