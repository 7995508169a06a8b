#include "window_close.h"

#include <X11/Xlib.h>

#include <cstring>

bool ask_window_to_close(const char* title) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return false;
  bool sent = false;
  Window root = DefaultRootWindow(display), parent = 0, *children = nullptr;
  unsigned count = 0;
  if (XQueryTree(display, root, &root, &parent, &children, &count)) {
    for (unsigned i = 0; i < count && !sent; ++i) {
      char* name = nullptr;
      if (XFetchName(display, children[i], &name) && name && std::strcmp(name, title) == 0) {
        XEvent event{};
        event.xclient.type = ClientMessage;
        event.xclient.window = children[i];
        event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
        event.xclient.format = 32;
        event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
        event.xclient.data.l[1] = CurrentTime;
        sent = XSendEvent(display, children[i], False, NoEventMask, &event) != 0;
      }
      if (name) XFree(name);
    }
    if (children) XFree(children);
  }
  XFlush(display);
  XCloseDisplay(display);
  return sent;
}

