#include "platform/window.h"

#include <SDL.h>

#include "platform/base/log.h"
#include "platform/base/options.h"
#include "platform/display_modes.h"
#include "platform/message_box.h"
#include "platform/sdl_devices.h"

namespace {

constexpr uint32_t DEVICE_SUBSYSTEMS = SDL_INIT_JOYSTICK | SDL_INIT_GAMECONTROLLER;

// Without a display SDL falls back on drivers that draw nowhere; a game
// window there would run unseen. They count only when asked for by name
// (SDL_VIDEODRIVER).
bool visible_video_driver() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  if (SDL_strcasecmp(driver, "offscreen") != 0 && SDL_strcasecmp(driver, "dummy") != 0) return true;
  const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
  return wanted && SDL_strcasestr(wanted, driver) != nullptr;
}

void read_options(Window* window) {
  window->threaded = voxa_option_bool("threaded", 0) != 0;
  voxa_log("Options:\n");
  voxa_log("%10s [%s]\n", "threaded:", window->threaded ? "yes" : "no");
  if (window->threaded)
    voxa_log("Threaded option accepted; events are pumped on the game thread\n");
}

// Colour, alpha, depth, stencil and accumulation sizes of the pixel format.
void set_gl_attributes(int colour_bits, int alpha_bits, int depth_bits, int stencil_bits,
                       int accum_bits) {
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MAJOR_VERSION, 2);
  SDL_GL_SetAttribute(SDL_GL_CONTEXT_MINOR_VERSION, 1);
  SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
  int red = 3, green = 3, blue = 2;
  if (colour_bits >= 24) {
    red = green = blue = 8;  // 32 bits ask for 24 bits of colour
  } else if (colour_bits >= 16) {
    red = blue = 5;
    green = 6;
  } else if (colour_bits == 15) {
    red = green = blue = 5;
  }
  SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red);
  SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green);
  SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue);
  SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, alpha_bits);
  SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, depth_bits);
  SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, stencil_bits);
  int accum = accum_bits / 4;
  SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, accum);
  SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, accum);
}

void enter_fullscreen(Window* window, int width, int height) {
  DisplayMode mode = choose_fullscreen_mode(display_modes(), width, height, desktop_display_mode());
  SDL_DisplayMode wanted{};
  wanted.w = mode.width;
  wanted.h = mode.height;
  SDL_SetWindowDisplayMode(window->sdl_window, &wanted);
  if (SDL_SetWindowFullscreen(window->sdl_window, SDL_WINDOW_FULLSCREEN) != 0)
    voxa_log("Can't switch to %dx%d: %s\n", mode.width, mode.height, SDL_GetError());
  window->fullscreen = true;
  window->fullscreen_width = mode.width;
  window->fullscreen_height = mode.height;
  SDL_ShowWindow(window->sdl_window);
}

void enter_windowed(Window* window, int width, int height) {
  if (window->fullscreen) {
    SDL_SetWindowFullscreen(window->sdl_window, 0);
    window->fullscreen = false;
  }
  if (width == 0 || height == 0) {
    DisplayMode desktop = desktop_display_mode();
    width = desktop.width;
    height = desktop.height;
  }
  SDL_SetWindowSize(window->sdl_window, width, height);
  // The frame's top left corner at the top left of the screen.
  int top = 0, left = 0;
  SDL_GetWindowBordersSize(window->sdl_window, &top, &left, nullptr, nullptr);
  SDL_SetWindowPosition(window->sdl_window, left, top);
  SDL_ShowWindow(window->sdl_window);
}

}  // namespace

Window* create_gl_window(const char* title, int width, int height, int flags, int alpha_bits,
                         int depth_bits, int stencil_bits, int accum_bits) {
  install_message_box_handler();
  auto* window = new Window;
  window->title = title ? title : "";
  window->colour_bits = flags & WINDOW_COLOUR_BITS;
  window->opengl = true;
  read_options(window);

  // The close request and signals come to the game as events; a fullscreen
  // window that loses the focus gives the desktop back and minimises.
  if (!display_present() && !SDL_getenv("SDL_VIDEODRIVER")) {
    voxa_log("No display to show a window on\n");
    voxa_error("Can't create window!\n");
    delete window;
    return nullptr;
  }
  SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
  SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "1");
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
    voxa_log("Can't start the video system: %s\n", SDL_GetError());
    voxa_error("Can't create window!\n");
    delete window;
    return nullptr;
  }
  window->subsystems = SDL_INIT_VIDEO;
  if (!visible_video_driver()) {
    voxa_log("No display to show a window on (SDL's \"%s\" video driver)\n", SDL_GetCurrentVideoDriver());
    voxa_error("Can't create window!\n");
    SDL_QuitSubSystem(window->subsystems);
    delete window;
    return nullptr;
  }

  if (width == 0 || height == 0) {
    DisplayMode desktop = desktop_display_mode();
    width = desktop.width;
    height = desktop.height;
  }
  window->width = width;
  window->height = height;

  set_gl_attributes(window->colour_bits, alpha_bits, depth_bits, stencil_bits, accum_bits);
  voxa_log("Creating window\n");
  Uint32 window_flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
  window->sdl_window = SDL_CreateWindow(window->title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                                        SDL_WINDOWPOS_UNDEFINED, width, height, window_flags);
  if (!window->sdl_window && accum_bits > 0) {
    // The nearest pixel format: without the accumulation buffer.
    set_gl_attributes(window->colour_bits, alpha_bits, depth_bits, stencil_bits, 0);
    window->sdl_window = SDL_CreateWindow(window->title.c_str(), SDL_WINDOWPOS_UNDEFINED,
                                          SDL_WINDOWPOS_UNDEFINED, width, height, window_flags);
  }
  if (!window->sdl_window) {
    voxa_log("SDL: %s\n", SDL_GetError());
    voxa_error("Can't create window!\n");
    SDL_QuitSubSystem(window->subsystems);
    delete window;
    return nullptr;
  }

  if (flags & WINDOW_FULLSCREEN)
    enter_fullscreen(window, width, height);
  else
    SDL_ShowWindow(window->sdl_window);
  SDL_RaiseWindow(window->sdl_window);

  window->devices.events = &window->events;
  if (SDL_InitSubSystem(DEVICE_SUBSYSTEMS) == 0)
    window->subsystems |= DEVICE_SUBSYSTEMS;
  else
    voxa_log("Can't open joysticks: %s\n", SDL_GetError());
  open_sdl_devices(&window->devices, window->sdl_window);
  SDL_StartTextInput();

  voxa_log("Creating OpenGL context\n");
  window->gl_context = SDL_GL_CreateContext(window->sdl_window);
  if (!window->gl_context || SDL_GL_MakeCurrent(window->sdl_window, window->gl_context) != 0) {
    voxa_log("SDL: %s\n", SDL_GetError());
    voxa_error("Couldn't create OpenGL context\n");
    destroy_gl_window(window);
    return nullptr;
  }
  return window;
}

void destroy_gl_window(Window* window) {
  if (!window) return;
  if (window->gl_context) {
    voxa_log("Deleting OpenGL context\n");
    SDL_GL_MakeCurrent(window->sdl_window, nullptr);
    SDL_GL_DeleteContext(window->gl_context);
    window->gl_context = nullptr;
  }
  voxa_log("Closing input devices\n");
  close_all_devices(&window->devices);
  SDL_StopTextInput();
  voxa_log("Destroying window\n");
  if (window->fullscreen) SDL_SetWindowFullscreen(window->sdl_window, 0);
  SDL_DestroyWindow(window->sdl_window);
  voxa_log("Window shutdown complete\n");
  SDL_QuitSubSystem(window->subsystems);
  delete window;
}

FrameInfo* begin_frame(Window* window) {
  if (!window || !window->gl_context) return nullptr;
  if (SDL_GetWindowFlags(window->sdl_window) & (SDL_WINDOW_MINIMIZED | SDL_WINDOW_HIDDEN))
    return nullptr;
  window->frame_lock.lock();
  if (window->busy) {
    window->frame_lock.unlock();
    return nullptr;
  }
  int width = 0, height = 0;
  SDL_GL_GetDrawableSize(window->sdl_window, &width, &height);
  if (width <= 0 || height <= 0) {
    width = window->width;
    height = window->height;
  }
  window->frame = {0, width, height, {0, 0}};
  ++window->frames_open;
  return &window->frame;
}

bool end_frame(Window* window) {
  if (!window || !window->sdl_window) return false;
  SDL_GL_SwapWindow(window->sdl_window);
  if (window->frames_open > 0) {
    --window->frames_open;
    window->frame_lock.unlock();
  }
  return true;
}

void switch_mode(Window* window, int width, int height, int flags) {
  window->mode_request = {true, width, height, flags};
}

void apply_mode_request(Window* window) {
  if (!window->mode_request.pending) return;
  ModeRequest request = window->mode_request;
  window->mode_request.pending = false;
  std::lock_guard<std::recursive_mutex> hold(window->frame_lock);
  window->busy = true;
  if (request.flags & WINDOW_FULLSCREEN)
    enter_fullscreen(window, request.width, request.height);
  else
    enter_windowed(window, request.width, request.height);
  window->busy = false;
}

bool window_close_requested(const Window* window) { return window->close_requested; }

void quit_display_system() { SDL_Quit(); }
