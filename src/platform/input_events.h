// The time-ordered queue of key press and release events of a window.
#pragma once

#include <array>
#include <cstdint>
#include <mutex>

constexpr int EVENT_QUEUE_SIZE = 256;
constexpr uint32_t EVENT_RELEASED = 0x80000000u;  // set in a queued code for a release

struct InputEvent {
  uint32_t code;  // key code, EVENT_RELEASED for a release
  long seconds;
  long microseconds;
};

// A ring kept in time order; the lock guards every push and pop.
struct EventQueue {
  std::mutex lock;
  std::array<InputEvent, EVENT_QUEUE_SIZE> ring{};
  int head = 0;
  int count = 0;
};

// Negative, zero or positive as time a is before, equal to or after time b;
// safe across a wrap of the seconds counter.
int compare_event_times(long a_seconds, long a_microseconds, long b_seconds, long b_microseconds);

// Queues an event in time order: one stamped earlier than events already
// queued goes before them. A full queue drops the event (false).
bool push_input_event(EventQueue* queue, int code, bool pressed, long seconds, long microseconds);

// Takes the oldest event when it is stamped no later than the given time.
bool pop_input_event_due(EventQueue* queue, long seconds, long microseconds, int* code,
                         bool* pressed);

// Takes the oldest event whatever its time.
bool pop_input_event(EventQueue* queue, int* code, bool* pressed);

// The platform clock time (milliseconds) of an SDL event stamped
// `sdl_stamp`, given SDL's and the platform clock's readings of now. A stamp
// ahead of SDL's now counts as now.
uint64_t platform_millis_of_sdl_stamp(uint32_t sdl_stamp, uint32_t sdl_now, uint64_t platform_now);
