// SDL events of the window turned into timestamped input events, and the
// input functions that read them.
#include <SDL.h>

#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/input.h"
#include "platform/key_names.h"
#include "platform/sdl_devices.h"
#include "platform/window.h"

namespace {

constexpr int CHARACTER_BACKSPACE = 8;
constexpr int CHARACTER_TAB = 9;
constexpr int CHARACTER_DELETE = 127;

void queue_event(Window* window, int code, bool pressed, long seconds, long microseconds) {
  push_input_event(&window->events, code, pressed, seconds, microseconds);
}

// Typed text arrives as UTF-8; the game takes the characters up to 255.
void queue_characters(Window* window, const char* text, long seconds, long microseconds) {
  const auto* p = reinterpret_cast<const unsigned char*>(text);
  while (*p) {
    uint32_t character = *p;
    int length = 1;
    if (character >= 0xF0)
      length = 4, character &= 0x07;
    else if (character >= 0xE0)
      length = 3, character &= 0x0F;
    else if (character >= 0xC0)
      length = 2, character &= 0x1F;
    else if (character >= 0x80)
      length = 0;  // a stray continuation byte
    ++p;
    for (int i = 1; i < length; ++i, ++p) {
      if ((*p & 0xC0) != 0x80) {
        length = 0;
        break;
      }
      character = (character << 6) | (*p & 0x3F);
    }
    if (length > 0 && character <= 0xFF)
      queue_event(window, static_cast<int>(character), true, seconds, microseconds);
  }
}

void handle_key(Window* window, const SDL_KeyboardEvent& key, long seconds, long microseconds) {
  bool pressed = key.state == SDL_PRESSED;
  int scan = scan_code_of_sdl(key.keysym.scancode);
  if (scan != 0) queue_event(window, KEY_CODE_KEYBOARD + scan, pressed, seconds, microseconds);
  // The control characters a text field needs, and Tab (which cycles the
  // game's views), as typed characters.
  if (pressed && key.keysym.scancode == SDL_SCANCODE_TAB)
    queue_event(window, CHARACTER_TAB, true, seconds, microseconds);
  if (pressed && key.keysym.scancode == SDL_SCANCODE_BACKSPACE)
    queue_event(window, CHARACTER_BACKSPACE, true, seconds, microseconds);
  if (pressed && key.keysym.scancode == SDL_SCANCODE_DELETE)
    queue_event(window, CHARACTER_DELETE, true, seconds, microseconds);
}

void handle_mouse_button(Window* window, const SDL_MouseButtonEvent& button, long seconds,
                         long microseconds) {
  int code = 0;
  switch (button.button) {
    case SDL_BUTTON_LEFT:
      code = KEY_CODE_MOUSE_LEFT;
      break;
    case SDL_BUTTON_MIDDLE:
      code = KEY_CODE_MOUSE_MIDDLE;
      break;
    case SDL_BUTTON_RIGHT:
      code = KEY_CODE_MOUSE_RIGHT;
      break;
    default:
      return;
  }
  queue_event(window, code, button.state == SDL_PRESSED, seconds, microseconds);
}

void request_close(Window* window, long seconds, long microseconds) {
  queue_event(window, KEY_CODE_CLOSE, true, seconds, microseconds);
  window->close_requested = true;
}

void handle_window_event(Window* window, const SDL_WindowEvent& event, long seconds,
                         long microseconds) {
  switch (event.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      if (window->gl_context) {
        std::lock_guard<std::recursive_mutex> hold(window->frame_lock);
        window->width = event.data1;
        window->height = event.data2;
        voxa_log("WM_SIZE message %dx%d\n", event.data1, event.data2);
      }
      break;
    case SDL_WINDOWEVENT_CLOSE:
      request_close(window, seconds, microseconds);
      break;
    default:
      break;
  }
}

void handle_event(Window* window, const SDL_Event& event) {
  uint64_t millis =
      platform_millis_of_sdl_stamp(event.common.timestamp, SDL_GetTicks(), platform_millis());
  long seconds = static_cast<long>(millis / 1000);
  long microseconds = static_cast<long>(millis % 1000 * 1000);
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      handle_key(window, event.key, seconds, microseconds);
      break;
    case SDL_TEXTINPUT:
      queue_characters(window, event.text.text, seconds, microseconds);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      handle_mouse_button(window, event.button, seconds, microseconds);
      break;
    case SDL_WINDOWEVENT:
      handle_window_event(window, event.window, seconds, microseconds);
      break;
    case SDL_QUIT:
      request_close(window, seconds, microseconds);
      break;
    default:
      break;
  }
  handle_sdl_device_event(&window->devices, event, seconds, microseconds);
}

}  // namespace

void message_pump(Window* window) {
  // Only the events waiting now, so that a stream of new ones cannot keep
  // the game in here.
  SDL_PumpEvents();
  SDL_Event event;
  while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
    handle_event(window, event);
  apply_mode_request(window);
}

bool next_event_due(Window* window, long seconds, long microseconds, int* code, bool* pressed) {
  message_pump(window);
  if (pop_input_event_due(&window->events, seconds, microseconds, code, pressed)) return true;
  update_polling_devices(&window->devices);
  return pop_input_event_due(&window->events, seconds, microseconds, code, pressed);
}

bool next_event(Window* window, int* code, bool* pressed) {
  message_pump(window);
  if (pop_input_event(&window->events, code, pressed)) return true;
  update_polling_devices(&window->devices);
  return pop_input_event(&window->events, code, pressed);
}

bool key_code_of_name(Window* window, const char* name, int* code) {
  return lookup_key_code(&window->devices, name, code);
}

const char* name_of_key_code(Window* window, int code) {
  return lookup_key_name(&window->devices, code);
}

AxisHandle* open_axis(Window* window, const char* name) {
  return open_device_axis(&window->devices, name);
}

void close_axis(AxisHandle* handle) { close_device_axis(handle); }

int32_t read_axis(AxisHandle* handle) { return read_device_axis(handle); }

std::vector<std::string> axis_names(Window* window) { return window->devices.axis_names; }
