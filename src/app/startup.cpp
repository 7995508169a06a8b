#include "app/startup.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/config_file.h"
#include "app/game_data_check.h"
#include "app/game_display.h"
#include "app/game_hooks.h"
#include "app/main_loop.h"
#include "autopilot/autopilot.h"
#include "core/messages.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "platform/base/fatal.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
#include "platform/window.h"
#include "race/demo_list.h"
#include "race/demo_playback.h"
#include "race/race_core.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "track/track.h"
#include "track/track_list.h"
#include "track/track_load.h"

namespace {

// The race's share of start-up: the physics world, the empty lineup, and
// the first race when a track (or a demo) was named.
void start_first_race(const CommandLine& line) {
  install_autopilot();
  start_race_core();
  RaceSetup setup = player_race_setup(settings, run_settings.track, 1000);
  setup.skill = settings.skill.current;
  setup.practice = run_settings.practice;
  setup.learning = run_settings.learning;
  if (line.has_file_argument) {
    // The demo names the track it was recorded on.
    setup.playback_path = line.file_argument;
    if (open_demo_playback(line.file_argument)) setup.track = race.playback.header.track;
    close_demo_playback();
  } else {
    setup.slots[0].code = SLOT_ROBOT;
  }
  if (setup.track.empty()) return;
  if (!start_race(setup)) {
    voxa_log("The first race could not start\n");
    return;
  }
  Bike* bikes[RACE_SLOTS];
  voxa_log("Race on '%s' with %d riders, the gate drops at %.2f s\n", track().name.c_str(), race_bikes(bikes),
           race.gate_drop_tick * dt);
}

// What start-up opened, for the shut-down to close in its order.
struct Started {
  GameLoop loop;
  bool race_core = false;
};

// Out of memory: the sound and the window close before the message box.
GameLoop* open_display = nullptr;
void close_display_for_fatal_exit() {
  if (!open_display) return;
  close_game_sound(*open_display);
  destroy_gl_window(open_display->window);
  open_display->window = nullptr;
  open_display = nullptr;
}

// The shut-down steps, in order.
int shut_down(Started& started) {
  GameLoop& loop = started.loop;
  network_hooks().disconnect();
  // The points series records the event in progress here (series issue).
  if (started.race_core) stop_race_core();
  release_controls(loop);
  open_display = nullptr;
  close_game_sound(loop);
  if (loop.line && loop.line->record_video) voxa_log("Recorded %d video frames\n", loop.video.frames_written);
  destroy_gl_window(loop.window);
  loop.window = nullptr;
  quit_display_system();
  save_config();
  return 0;
}

}  // namespace

int bermline_main(int argc, char** argv) {
  install_out_of_memory_handler();
  install_stop_signals();
  CommandLine line;
  run_settings = RunSettings();
  reset_settings();

  open_home_and_log("lastlog.txt");
  if (!find_game_data()) {
    voxa_message_box("Problem starting Bermline", "Can't find game data\n");
    return 0;
  }

  for (std::string& name : settings.server_name_history) name.clear();
  clear_messages();
  build_video_mode_choices();
  apply_stability_preset(settings.stability.value);
  build_texture_choices();
  load_config();
  derive_render_settings();

  int status = parse_command_line(argc, argv, &line);
  if (line.open_home) {
    open_home_folder();
    return 0;
  }
  if (status >= 0) return status;
  if (!run_settings.server_address.empty()) run_settings.track.clear();

  if (!build_track_list()) {
    std::fprintf(stderr, "No tracks found\n");
    return 1;
  }
  select_track(run_settings.track);
  // The menu's choice: a track that is not there falls back to the list's.
  if (!run_settings.track.empty()) run_settings.track = track_list.dirs[static_cast<size_t>(track_list.selected)];
  build_demo_list();

  // Without a window there is no game; the configuration stays as it was.
  Started started;
  GameLoop& loop = started.loop;
  loop.line = &line;
  loop.window = open_game_window(&loop.windowed);
  if (!loop.window) {
    voxa_message_box("Problem starting Bermline", "%s", voxa_last_error() ? voxa_last_error() : "Can't create window!\n");
    return 1;
  }
  open_display = &loop;
  set_fatal_cleanup(close_display_for_fatal_exit);
  open_game_sound(loop, line);
  const LoopClock clock = platform_loop_clock();
  if (!prepare_game_window(loop.window, clock)) return shut_down(started);
  bind_controls(loop);

  start_first_race(line);
  started.race_core = true;

  begin_main_loop(loop, loop.window, &line, clock);
  voxa_log("Entering the main loop\n");
  run_main_loop(loop);
  voxa_log("Leaving the main loop\n");
  return shut_down(started);
}
