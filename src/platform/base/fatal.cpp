#include "platform/base/fatal.h"

#include <cstdlib>
#include <new>

#include "platform/base/log.h"

namespace {
FatalCleanup fatal_cleanup = nullptr;
}

void set_fatal_cleanup(FatalCleanup cleanup) { fatal_cleanup = cleanup; }

void fatal_out_of_memory() {
  if (fatal_cleanup) fatal_cleanup();
  voxa_message_box("Error", "Out of virtual memory");
  std::_Exit(1);
}

void install_out_of_memory_handler() { std::set_new_handler(fatal_out_of_memory); }
