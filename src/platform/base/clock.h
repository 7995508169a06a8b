// The platform clock and the precise sleep the main loop paces frames with.
#pragma once

#include <cstdint>

// Milliseconds since the system started (monotonic).
uint64_t platform_millis();

// The same clock split into whole seconds and microseconds.
void platform_clock(long* seconds, long* microseconds);

// The clock in seconds as a double.
double platform_seconds();

// Sleeps until the requested span has passed: whole milliseconds less one,
// then yields until the time is reached. Returns the overshoot in seconds.
double platform_sleep(long seconds, long microseconds);
