// Message boxes for fatal errors, shown by SDL.
#pragma once

// A display to show windows on is named in the environment (always true
// where the system has one display).
bool display_present();

// Shows a modal message box with an OK button; false when there is no
// display to show it on (then the caller writes to standard error).
bool show_sdl_message_box(const char* title, const char* text);

// Makes voxa_message_box use show_sdl_message_box.
void install_message_box_handler();
