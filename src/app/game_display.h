// The game's window, OpenGL, sound and heads-up art as start-up opens them
// and shut-down closes them.
#pragma once

struct CommandLine;
struct GameLoop;
struct LoopClock;
struct Window;

// The heads-up display's pictures, loaded once at start-up.
struct HudArt {
  int tach = 0, shifter = 0, pitboard = 0, title = 0;
};
extern HudArt hud_art;

constexpr int VIDEO_MODE_DEFAULT_FULLSCREEN = 0;
constexpr int VIDEO_MODE_WINDOWED = 1;

// Fills the "Video Mode" choices from the display modes.
void build_video_mode_choices();

// The window titled "Bermline" as the "Video Mode" setting asks: windowed
// at "xres" x "yres", or fullscreen in the chosen mode (the desktop's for
// "Default Fullscreen"). `windowed` tells which. Null on failure (logged).
Window* open_game_window(bool* windowed);

// Opens the sound: the readback mixer into the "--record-audio" file, else
// the sound output unless "--nosound". Without either the game runs silent.
void open_game_sound(GameLoop& loop, const CommandLine& line);
void close_game_sound(GameLoop& loop);

// Waits for the window to take a frame (up to 162 tries, 1/16 s apart),
// then sets OpenGL up, logs what it is, clears to the clear colour, loads
// the font and the heads-up pictures and shows the first frame. False when
// the window never takes a frame or cannot show it.
bool prepare_game_window(Window* window, const LoopClock& clock);
