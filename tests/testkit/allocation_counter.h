// Counts the allocations made by the thread that asks for it, through
// replacements of the global operator new, so that a test can show that a
// running race allocates nothing.
#pragma once

namespace allocation_counter {

// Starts counting this thread's allocations from zero.
void start();
// Stops counting; the allocations counted since start().
long stop();

}  // namespace allocation_counter
