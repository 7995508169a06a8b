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
#include "physics/bike_setup.h"
#include "physics/physics_world.h"
#include "platform/base/fatal.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
#include "race/demo_list.h"
#include "race/demo_playback.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "track/track_load.h"
#include "track/track_list.h"

namespace {

// Home folder and log: the first log call names the log file.
void start_home_and_log() {
  std::string home = home_folder();
  if (!home.empty()) make_folders(home);
  voxa_log("VOXA_LOGFILE=%slastlog.txt", home.c_str());
}

// The race's share of start-up: the physics world, the empty lineup, the
// demo named on the command line, and the first race when a track (or a
// demo) was named.
void start_first_race(const CommandLine& line) {
  install_autopilot();
  start_physics();
  clear_race_session();
  if (line.has_file_argument) {
    demo_playback_path = line.file_argument;
    if (open_demo_playback(line.file_argument)) run_settings.loaded_track = playback.header.track;
  } else {
    race.lineup[0] = SLOT_ROBOT;
  }
  if (run_settings.loaded_track.empty()) return;
  run_settings.loaded_track.clear();
  int32_t lineup[RACE_SLOTS];
  std::copy(std::begin(race.lineup), std::end(race.lineup), lineup);
  if (!start_race(lineup, line.has_file_argument, 0, 0, 1000, settings.skill.current)) {
    voxa_log("The first race could not start\n");
    return;
  }
  Bike* bikes[RACE_SLOTS];
  voxa_log("Race on '%s' with %d riders, the gate drops at %.2f s\n", run_settings.loaded_track.c_str(), race_bikes(bikes),
           race.gate_drop_tick * dt);
}

// The shut-down steps, in order; later layers add theirs in place.
int shut_down() {
  // The points series records the event in progress here (series issue).
  if (autopilot_hooks().save_lines) autopilot_hooks().save_lines();
  voxa_log("Deallocating bikes\n");
  end_race_session();
  voxa_log("Finished deallocating bikes\n");
  UnloadTrack();
  stop_physics();
  save_config();
  return 0;
}

}  // namespace

int bermline_main(int argc, char** argv) {
  install_out_of_memory_handler();
  CommandLine line;
  run_settings = RunSettings();
  reset_settings();

  start_home_and_log();
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
  if (!run_settings.server_address.empty()) run_settings.loaded_track.clear();

  if (!build_track_list()) {
    std::fprintf(stderr, "No tracks found\n");
    return 1;
  }
  select_track(run_settings.loaded_track);
  build_demo_list();

  start_first_race(line);
  voxa_log("No display layer is built yet: nothing to show, shutting down\n");
  return shut_down();
}
