// The one game window: an SDL window with an OpenGL compatibility context,
// windowed or fullscreen, with every frame bracketed by a lock so that size
// changes and mode switches never overlap a frame. SDL's events are pumped
// on the game thread, by the input functions (input.h).
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

#include "platform/input_devices.h"
#include "platform/input_events.h"

struct SDL_Window;

constexpr int WINDOW_COLOUR_BITS = 0xFF;  // low byte of the flags: colour depth
constexpr int WINDOW_FULLSCREEN = 0x200;

// What begin frame hands out: the client area's size.
struct FrameInfo {
  int32_t flags;
  int32_t width;
  int32_t height;
  int32_t reserved[2];
};

// A mode switch waiting for the next message pump.
struct ModeRequest {
  bool pending = false;
  int width = 0;
  int height = 0;
  int flags = 0;
};

struct Window {
  SDL_Window* sdl_window = nullptr;
  void* gl_context = nullptr;
  uint32_t subsystems = 0;  // SDL subsystems started for this window
  int32_t width = 0;        // client size, updated by size events
  int32_t height = 0;
  int colour_bits = 0;
  int32_t fullscreen_width = 0;  // the display mode in use while fullscreen
  int32_t fullscreen_height = 0;
  std::string title;
  std::recursive_mutex frame_lock;
  std::atomic<bool> busy{false};             // frames are refused while set
  std::atomic<bool> close_requested{false};  // the player asked to close the window
  bool opengl = false;
  bool threaded = false;
  bool fullscreen = false;
  FrameInfo frame{};
  int frames_open = 0;  // begin frames not yet ended (the frame lock's depth)
  ModeRequest mode_request;
  EventQueue events;
  DeviceList devices;
};

// Creates the window and its OpenGL context. Flags: low byte colour bits,
// WINDOW_FULLSCREEN; a width or height of 0 means the desktop's size.
// Failures are logged through voxa_error and give null.
Window* create_gl_window(const char* title, int width, int height, int flags, int alpha_bits,
                         int depth_bits, int stencil_bits, int accum_bits);

// Closes the devices and the window; axis handles must be closed before.
void destroy_gl_window(Window* window);

// The client area's size, or null when nothing may be drawn now (no context,
// window minimised or hidden, or busy). On success the frame lock is held
// until end frame.
FrameInfo* begin_frame(Window* window);

// Swaps the buffers and releases the frame lock; false when the window is gone.
bool end_frame(Window* window);

// Asks for fullscreen at width x height (flags hold WINDOW_FULLSCREEN) or a
// window with that client size (0 x 0: the desktop's size). The switch
// happens at the next message pump.
void switch_mode(Window* window, int width, int height, int flags);

// True once the player has asked to close the window (or the process was
// asked to stop): the main loop ends the game.
bool window_close_requested(const Window* window);

// Handles every waiting SDL event: keys, characters, mouse buttons, size
// changes, close requests and devices; then any requested mode switch.
void message_pump(Window* window);

// Carries out a requested mode switch now (the message pump calls this).
void apply_mode_request(Window* window);

// Shuts SDL down altogether at the end of the run (after the window and the
// sound are closed), so it lets go of the system services it started.
void quit_display_system();
