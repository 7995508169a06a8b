#include "race/race_core.h"

#include <string>

#include "data/data_dirs.h"
#include "physics/physics_world.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "track/track_load.h"

void open_home_and_log(const char* log_name) {
  const std::string home = home_folder();
  if (!home.empty()) make_folders(home);
  // The first log call names the log file.
  voxa_log("VOXA_LOGFILE=%s%s", home.c_str(), log_name);
}

void start_race_core() {
  start_physics();
  clear_race_session();
}

void stop_race_core() {
  autopilot_hooks().save_lines();
  voxa_log("Deallocating bikes\n");
  end_race_session();
  voxa_log("Finished deallocating bikes\n");
  UnloadTrack();
  stop_physics();
}
