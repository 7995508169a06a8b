// The one fatal path: out of memory anywhere ends the program.
#pragma once

// Closes the sound output and the window (through the registered clean-up),
// shows "Error" / "Out of virtual memory" and exits with status 1.
[[noreturn]] void fatal_out_of_memory();

// Makes a failed operator new take the fatal path.
void install_out_of_memory_handler();

// The display layers register what must be closed before the message box.
using FatalCleanup = void (*)();
void set_fatal_cleanup(FatalCleanup cleanup);
