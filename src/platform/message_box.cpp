#include "platform/message_box.h"

#include <SDL_messagebox.h>

#include <cstdlib>

#include "platform/base/log.h"

bool display_present() {
#if defined(__linux__) || defined(__FreeBSD__)
  const char* x11 = std::getenv("DISPLAY");
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  return (x11 && *x11) || (wayland && *wayland);
#else
  return true;
#endif
}

bool show_sdl_message_box(const char* title, const char* text) {
  if (!display_present()) return false;
  return SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title, text, nullptr) == 0;
}

void install_message_box_handler() { set_message_box_handler(show_sdl_message_box); }
