// The log file and fatal message boxes of the platform layer.
//
// The first log call decides the log file: start-up sends
// "VOXA_LOGFILE=<home>/lastlog.txt", which the environment variable
// VOXA_LOGFILE overrides (">>name" appends, ">name" truncates). Every later
// line gets an elapsed-time prefix. Calls are serialised by a lock, so lines
// from the game, window and sound threads never interleave.
#pragma once

#include <cstdint>
#include <string>

#define VOXA_BANNER "VOXA 0.31\n"

// printf-style logging; messages carry their own line ends. Returns the
// result of the final flush (0), or -1 when no log is open.
int voxa_log(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Logs "Error: <message>\n" and remembers the message as the last error.
void voxa_error(const char* message);
const char* voxa_last_error();

// Shows a modal message box (at most 1023 characters of text). Without a
// display the title and text go to standard error.
void voxa_message_box(const char* title, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

// The window layer installs a handler that shows real message boxes; it
// returns false when it could not show one (then standard error is used).
using MessageBoxHandler = bool (*)(const char* title, const char* text);
void set_message_box_handler(MessageBoxHandler handler);

// "[h:mm:ss.cc] " for a clock reading in milliseconds.
std::string log_time_prefix(uint64_t milliseconds);

// Closes the log and forgets the first-call decision (tests and tools that
// run start-up more than once in one process).
void voxa_log_reset();
