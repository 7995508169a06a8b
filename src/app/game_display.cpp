#include "app/game_display.h"

#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>

#include "app/command_line.h"
#include "app/game_hooks.h"
#include "app/main_loop.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "data/data_file.h"
#include "data/texture_cache.h"
#include "platform/audio_device.h"
#include "platform/base/log.h"
#include "platform/display_modes.h"
#include "platform/window.h"

HudArt hud_art;

namespace {

constexpr int WINDOW_WAIT_TRIES = 162;
constexpr double WINDOW_WAIT_SECONDS = 1.0 / 16;
constexpr int READBACK_RATE = 88320;
constexpr int DEPTH_BITS = 16;

const char* gl_text(GLenum name) {
  const GLubyte* text = glGetString(name);
  return text ? reinterpret_cast<const char*>(text) : "";
}

}  // namespace

void build_video_mode_choices() {
  SettingItem& item = settings.video_mode;
  item.options = video_mode_labels(display_modes());
  if (item.current < 0 || item.current >= static_cast<int>(item.options.size())) item.current = 0;
}

Window* open_game_window(bool* windowed) {
  const SettingItem& mode = settings.video_mode;
  int width = 0, height = 0;
  int flags = run_settings.colour_depth & WINDOW_COLOUR_BITS;
  *windowed = mode.current == VIDEO_MODE_WINDOWED;
  if (*windowed) {
    width = settings.xres.integer;
    height = settings.yres.integer;
  } else {
    // "Default Fullscreen" is the desktop's mode (0 x 0).
    if (mode.current > VIDEO_MODE_WINDOWED && std::sscanf(mode.choice(), "%dx%d", &width, &height) != 2)
      width = height = 0;
    flags |= WINDOW_FULLSCREEN;
  }
  return create_gl_window("Bermline", width, height, flags, 0, DEPTH_BITS, 0, 0);
}

void open_game_sound(GameLoop& loop, const CommandLine& line) {
  const SoundHooks& sound = sound_hooks();
  if (!line.record_audio.empty()) {
    loop.audio_recording = df_open(line.record_audio.c_str(), "wb");
    if (!loop.audio_recording) {
      voxa_log("Can't open \"%s\" for the sound recording\n", line.record_audio.c_str());
      return;
    }
    loop.sound_output = sound.open_readback(READBACK_RATE, line.audio_frames_per_tick);
    loop.audio_tick_bytes = line.audio_frames_per_tick * 2;
    loop.audio_tick = new uint8_t[static_cast<size_t>(loop.audio_tick_bytes)]();
  } else if (!line.no_sound) {
    if (start_audio_system()) loop.sound_output = sound.open_output();
  }
  if (!loop.sound_output) voxa_log("No sound output: the game runs silent\n");
}

void close_game_sound(GameLoop& loop) {
  if (loop.sound_output) sound_hooks().close_output();
  loop.sound_output = false;
  stop_audio_system();
  if (loop.audio_recording) df_close(loop.audio_recording);
  loop.audio_recording = nullptr;
  delete[] loop.audio_tick;
  loop.audio_tick = nullptr;
}

bool prepare_game_window(Window* window, const LoopClock& clock) {
  FrameInfo* frame = nullptr;
  for (int attempt = 0; attempt < WINDOW_WAIT_TRIES && !frame; ++attempt) {
    message_pump(window);
    frame = begin_frame(window);
    if (!frame) clock.sleep(WINDOW_WAIT_SECONDS);
  }
  if (!frame) {
    voxa_log("The window never became ready to draw\n");
    return false;
  }

  const DrawHooks& draw = draw_hooks();
  draw.set_up_opengl();
  voxa_log("GL_VENDOR: %s\n", gl_text(GL_VENDOR));
  voxa_log("GL_RENDERER: %s\n", gl_text(GL_RENDERER));
  voxa_log("GL_VERSION: %s\n", gl_text(GL_VERSION));
  voxa_log("GL_EXTENSIONS: %s\n", gl_text(GL_EXTENSIONS));

  glClearColor(0.196078f, 0.6f, 0.8f, 0.0f);
  glClear(GL_COLOR_BUFFER_BIT);
  glEnable(GL_CULL_FACE);
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  if (run_settings.flat_shading) glShadeModel(GL_FLAT);

  draw.load_font();
  hud_art.tach = LoadTexture("!@tach.png");
  hud_art.shifter = LoadTexture("!@shifter.png");
  hud_art.pitboard = LoadTexture("!@pitboard.png");
  hud_art.title = LoadTexture("!@title.ppm");

  if (!end_frame(window)) {
    voxa_log("The window cannot show its first frame\n");
    return false;
  }
  return true;
}
