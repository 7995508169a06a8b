// The main loop: one pass per drawn frame. Each pass fixes the view mode,
// draws by mode, feeds the sound, decides the frame's game time, and runs
// whole ticks of dt until the simulated time catches up, handing each tick
// the input events stamped inside it before the race advances.
#pragma once

#include <cstdint>
#include <cstdio>

#include "app/chat_line.h"
#include "app/control_map.h"
#include "app/frame_capture.h"
#include "app/frame_pacing.h"
#include "app/view_state.h"

struct AxisHandle;
struct CommandLine;
struct DataFile;
struct Window;

constexpr int MENU_KEY_POINTER = 16;  // the held pointer moved (menu key handler)
constexpr int KEY_CODE_TAB = 9;       // the typed Tab character

// The menu's state as the loop keeps it; the menu layer draws and edits it.
struct MenuState {
  bool open = false;
  int page = 0;
  int cursor_row = 0;
  bool key_lock = false;  // set when an event changed the page; cleared once a frame
  bool quit = false;      // the Quit page ends the game
};

struct GameLoop {
  Window* window = nullptr;
  const CommandLine* line = nullptr;
  LoopClock clock{};
  FramePacing pacing;
  ViewState view;
  MenuState menu;
  ControlMap controls;
  MenuKeys menu_keys;
  PotWatch pots;
  ChatLine chat;
  ScreenshotState screenshots;
  bool screenshot_wanted = false;  // taken in the next drawn frame, so it reads a finished picture
  VideoRecorder video;

  bool windowed = false;  // the window was made "Windowed": its size is kept in "xres"/"yres"
  int screen_width = 0, screen_height = 0;
  bool paused = false;
  bool pointer_held = false;
  AxisHandle* cursor_x = nullptr;
  AxisHandle* cursor_y = nullptr;
  int pointer_x = -1, pointer_y = -1;
  // Sticky sit/dab: flips on each push of channel 6 through half way.
  bool dab_on = false, dab_was_pushed = false;
  // Sound: an output exists; "--record-audio" renders ticks into a file.
  bool sound_output = false;
  DataFile* audio_recording = nullptr;
  uint8_t* audio_tick = nullptr;  // one tick of recorded sound
  int audio_tick_bytes = 0;
  int32_t ticks_run = 0;  // race ticks since the loop started
};

// What the loop needs around it: the window, the command line, the clock,
// the resolved bindings and menu keys (bind_controls), and the menu open
// on its first page unless a server address was given. Reads the clock.
void begin_main_loop(GameLoop& loop, Window* window, const CommandLine* line, const LoopClock& clock);

// The bindings of start-up: the pointer axes, the twelve riding controls
// and the further bindings (pause, step, ..., screenshot), and the menu keys.
void bind_controls(GameLoop& loop);
// Closes every axis the bindings, the pointer and pot watching hold.
void release_controls(GameLoop& loop);

// One pass; false when the loop ends (quit, the window closed or gone, or
// the process asked to stop).
bool main_loop_pass(GameLoop& loop);

// Passes until one says to end.
void run_main_loop(GameLoop& loop);

// One input event as the tick hands it out.
void handle_input_event(GameLoop& loop, int code, bool pressed);

// A track is loaded and raced on.
bool track_is_loaded();

// The viewed slot is driven by this player.
bool viewed_is_local(const GameLoop& loop);

// Set by SIGINT and SIGTERM (and read by the loop).
void install_stop_signals();
bool stop_signal_received();
