#include "platform/base/clock.h"

#include <chrono>
#include <thread>
#include <time.h>

namespace {

// Microseconds since boot where the system tells it, else since an
// arbitrary fixed point of the steady clock.
int64_t micros_now() {
#ifdef CLOCK_BOOTTIME
  timespec now;
  if (clock_gettime(CLOCK_BOOTTIME, &now) == 0)
    return static_cast<int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
#endif
  auto since = std::chrono::steady_clock::now().time_since_epoch();
  return std::chrono::duration_cast<std::chrono::microseconds>(since).count();
}

}  // namespace

uint64_t platform_millis() { return static_cast<uint64_t>(micros_now() / 1000); }

void platform_clock(long* seconds, long* microseconds) {
  int64_t now = micros_now();
  *seconds = static_cast<long>(now / 1000000);
  *microseconds = static_cast<long>(now % 1000000);
}

double platform_seconds() { return static_cast<double>(micros_now()) * 1e-6; }

double platform_sleep(long seconds, long microseconds) {
  int64_t wanted = static_cast<int64_t>(seconds) * 1000000 + microseconds;
  int64_t target = micros_now() + wanted;
  int64_t whole_ms = wanted / 1000;
  if (whole_ms > 1) std::this_thread::sleep_for(std::chrono::milliseconds(whole_ms - 1));
  int64_t now = micros_now();
  while (now < target) {
    std::this_thread::yield();
    now = micros_now();
  }
  return static_cast<double>(now - target) * 1e-6;
}
