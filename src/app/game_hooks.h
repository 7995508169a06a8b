// The layers the main loop calls but does not own: drawing, sound, the
// menus, the network client and the track editor. Every entry starts as a
// call that does nothing (the drawing entries clear the frame to the clear
// colour), so the game runs with whichever layers are built and no caller
// checks for a missing one. Each layer installs its own table.
#pragma once

#include <cstdint>

#include "physics/vec3.h"

struct GameLoop;

// Clears the colour and depth buffers to the start-up clear colour.
void clear_frame();

struct DrawHooks {
  // Start-up, once the context exists: extensions and shader programs, with
  // the render choices "ground_mipmaps", "use_fbo" and "use_shader" applied.
  void (*set_up_opengl)() = [] {};
  void (*load_font)() = [] {};
  void (*set_projection)(int width, int height) = [](int, int) {};
  // The scene as the rider of a slot sees it.
  void (*rider_view)(int slot) = [](int) { clear_frame(); };
  // The scene from an eye point towards a target.
  void (*scene_from)(const Vec3& eye, const Vec3& target) = [](const Vec3&, const Vec3&) { clear_frame(); };
  void (*editor_view)() = [] { clear_frame(); };
  void (*title_screen)() = [] { clear_frame(); };
  // The heads-up display of a slot's rider.
  void (*hud)(int slot) = [](int) {};
  // Results, frame rate and time overlays.
  void (*overlay_board)() = [] {};
  // White text centred across the screen on text line `line` (0 = top),
  // `height` the text height as a share of the screen height.
  void (*centred_text)(const char* text, int line, double height) = [](const char*, int, double) {};
  // The terrain renderer: once per frame, and after the ground was edited.
  void (*update_terrain)() = [] {};
  void (*rebuild_terrain)() = [] {};
  // "renderstats": statistics on, counters reset.
  void (*start_render_stats)() = [] {};
};

struct SoundHooks {
  // The sound output; false when there is none (the game runs silent).
  bool (*open_output)() = [] { return false; };
  // The mixer rendering into memory for "--record-audio": frames per second
  // and per tick.
  bool (*open_readback)(int rate, int frames_per_tick) = [](int, int) { return false; };
  void (*close_output)() = [] {};
  // Per frame: one slot's engine voice at a volume (0..1), then the mixer.
  void (*update_engine)(int slot, double volume) = [](int, double) {};
  void (*update_mixer)() = [] {};
  // One tick of mixed sound: `frames` unsigned 8-bit stereo frames.
  void (*render_tick)(uint8_t* out, int frames) = [](uint8_t*, int) {};
};

struct NetworkHooks {
  bool (*connected)() = [] { return false; };
  // The server's race tick (0 until its clock has started).
  int32_t (*server_tick)() = [] { return 0; };
  // The local rider is in warm-up (no gate of its own yet).
  bool (*warming_up)() = [] { return false; };
  // The client's exchange with the server, once per tick.
  void (*exchange)() = [] {};
  // Queues a chat line for the server.
  void (*send_chat)(const char* line) = [](const char*) {};
  // Shut-down: says goodbye to the server and resets the client.
  void (*disconnect)() = [] {};
};

// The menus. The loop owns the menu's state (GameLoop::menu); the menu
// layer draws it and handles the keys of its pages.
struct MenuHooks {
  // A key press while the menu is open (MENU_KEY_POINTER: the held pointer
  // moved). The default handles the chat page.
  void (*key)(GameLoop& loop, int code);
  void (*draw)(GameLoop& loop) = [](GameLoop&) {};
  // The row of the open page under the pointer, or -1.
  int (*row_at)(GameLoop& loop, int x, int y) = [](GameLoop&, int, int) { return -1; };

  MenuHooks();
};

struct EditorHooks {
  // Runs in place of the race while editing.
  void (*tick)() = [] {};
  // Sees key events first while editing; true when it used the event.
  bool (*key)(int code, bool pressed) = [](int, bool) { return false; };
  void (*draw)() = [] { clear_frame(); };
  // Leaving the editor: bikes lifted out of the changed ground.
  void (*finish)() = [] {};
};

// Installs a table (a copy is kept); a default-made table takes the layer out.
void set_draw_hooks(const DrawHooks& hooks);
void set_sound_hooks(const SoundHooks& hooks);
void set_network_hooks(const NetworkHooks& hooks);
void set_menu_hooks(const MenuHooks& hooks);
void set_editor_hooks(const EditorHooks& hooks);
const DrawHooks& draw_hooks();
const SoundHooks& sound_hooks();
const NetworkHooks& network_hooks();
const MenuHooks& menu_hooks();
const EditorHooks& editor_hooks();
