// The on-screen message list: every posted message is logged and kept in a
// ring of 1000 lines of 128 bytes, of which the newest five are shown and
// fade out one by one, five seconds apart.
#pragma once

constexpr int MESSAGE_RING_LINES = 1000;
constexpr int MESSAGE_LINE_BYTES = 128;
constexpr int MESSAGES_SHOWN_MAX = 5;

// Logs the message and adds it to the list (cut to 127 bytes, without its
// line end).
void post_message(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The message posted `age` messages ago (0 = newest), or null when the ring
// holds fewer.
const char* message_line(int age);

// How many of the newest messages are on screen now.
int messages_shown();

// Called once per frame with the game clock: hides the oldest shown line
// each time five seconds pass without a new message.
void age_messages(double game_clock);

// Empties the list.
void clear_messages();
