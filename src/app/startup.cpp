#include "app/startup.h"

#include <cstdio>
#include <string>

#include "app/command_line.h"
#include "app/config_file.h"
#include "app/game_data_check.h"
#include "core/messages.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "physics/bike_setup.h"
#include "platform/base/fatal.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
#include "race/demo_list.h"
#include "track/track_list.h"

namespace {

// Home folder and log: the first log call names the log file.
void start_home_and_log() {
  std::string home = home_folder();
  if (!home.empty()) make_folders(home);
  voxa_log("VOXA_LOGFILE=%slastlog.txt", home.c_str());
}

// The shut-down steps, in order; later layers add theirs in place.
int shut_down() {
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

  voxa_log("No display layer is built yet: nothing to show, shutting down\n");
  return shut_down();
}
