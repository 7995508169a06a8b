#include "app/startup.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/config_file.h"
#include "app/game_data_check.h"
#include "autopilot/autopilot.h"
#include "core/messages.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "platform/base/fatal.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
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

// The shut-down steps, in order; later layers add theirs in place.
int shut_down() {
  // The points series records the event in progress here (series issue).
  stop_race_core();
  save_config();
  return 0;
}

}  // namespace

int bermline_main(int argc, char** argv) {
  install_out_of_memory_handler();
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

  start_first_race(line);
  voxa_log("No display layer is built yet: nothing to show, shutting down\n");
  return shut_down();
}
