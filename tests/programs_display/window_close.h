// A window manager's close request, sent over X11 (kept apart: Xlib's
// macros clash with GoogleTest's names).
#pragma once

// Asks the top-level window titled `title` to close, as a window manager
// does when the player clicks its close button. False when no such window
// was found.
bool ask_window_to_close(const char* title);
