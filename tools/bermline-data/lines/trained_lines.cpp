// The data kit's step that trains every track's racing lines: one process
// per track (the race is one global session), at most one per core, each
// writing its three lines files into the data folder.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "autopilot/autopilot.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "data_kit.h"
#include "lines/line_training.h"
#include "physics/physics_world.h"
#include "platform/base/log.h"
#include "race/race_core.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "track/track_list.h"

namespace {

// Trains one track's three skills into `root`; the exit status of its process.
int train_track(const std::string& root, const std::string& track, const std::string& scratch) {
  const auto began = std::chrono::steady_clock::now();
  setenv("BL_USER_HOME", (scratch + track + "/").c_str(), 1);
  reset_data_layer();
  open_home_and_log((track + ".log").c_str());
  reset_settings();
  if (!build_track_list()) return 1;
  install_autopilot();
  set_physics_threads(1);  // a process per core already
  start_race_core();
  bool ok = true;
  for (int skill = 0; skill < 3 && ok; ++skill) {
    lines::TrainingReport report;
    const std::string text = lines::train_lines(track, skill, &report);
    ok = !text.empty() && write_kit_file(root, track + "/" + lines_file_name(skill), text);
    std::printf("bermline-data: %s %s: %d lines (%d tested) from %d coach rides (%d places finished); robots finished %d of %d in %d races; "
                "predicted lap %.1f s; %.0f s simulated\n",
                track.c_str(), lines_file_name(skill), report.lines, report.tested_lines, report.coach_rides,
                report.coach_finishes, report.robot_finishes, report.robot_starts, report.robot_races, report.predicted_lap,
                report.simulated_seconds);
  }
  stop_race_core();
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  std::printf("bermline-data: %s lines trained in %.1f s\n", track.c_str(), seconds);
  std::fflush(stdout);
  return ok ? 0 : 1;
}

std::vector<std::string> shipped_tracks(const std::string& root, const std::string& scratch) {
  setenv("BL_HOME", root.c_str(), 1);
  setenv("BL_USER_HOME", scratch.c_str(), 1);
  reset_data_layer();
  reset_settings();
  std::vector<std::string> tracks;
  if (build_track_list()) tracks = track_list.dirs;
  return tracks;
}

}  // namespace

bool write_racing_lines(const std::string& root) {
  char pattern[] = "/tmp/bermline-lines-XXXXXX";
  if (!mkdtemp(pattern)) {
    std::fprintf(stderr, "bermline-data: no scratch folder for training lines\n");
    return false;
  }
  const std::string scratch = std::string(pattern) + "/";
  const std::vector<std::string> tracks = shipped_tracks(root, scratch);
  if (tracks.empty()) std::fprintf(stderr, "bermline-data: no tracks to train lines for\n");
  const size_t cores = std::max(1u, std::thread::hardware_concurrency());
  std::fflush(stdout);
  bool ok = !tracks.empty();
  size_t running = 0;
  auto wait_one = [&] {
    int status = 0;
    if (wait(&status) < 0 || !WIFEXITED(status) || WEXITSTATUS(status) != 0) ok = false;
    --running;
  };
  for (const std::string& track : tracks) {
    if (running == cores) wait_one();
    const pid_t child = fork();
    if (child == 0) _exit(train_track(root, track, scratch));
    if (child < 0) {
      ok = false;
      break;
    }
    ++running;
  }
  while (running > 0) wait_one();
  std::error_code ignored;
  std::filesystem::remove_all(scratch, ignored);
  if (!ok) std::fprintf(stderr, "bermline-data: training the racing lines failed\n");
  return ok;
}
