#include "sim_run.h"

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "autopilot/autopilot.h"
#include "autopilot/coach.h"
#include "autopilot/line_plan.h"
#include "core/messages.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "ground_diff.h"
#include "physics/bike.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_core.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "race/results_file.h"
#include "race/standings.h"
#include "sim_options.h"
#include "track/track.h"
#include "track/track_list.h"

namespace {

bool track_exists(const std::string& name) {
  for (const std::string& dir : track_list.dirs)
    if (dir == name) return true;
  return false;
}

// Whether a demo file opens and reads as one.
bool demo_opens(const std::string& path) {
  const bool opens = open_demo_playback(path) != 0;
  close_demo_playback();
  return opens;
}

// A playback is over once no playback rider got a whole frame this tick.
bool playback_ended() {
  if (!race.playback.input) return false;
  for (int slot = 0; slot < RACE_SLOTS; ++slot)
    if (race.slot_bike[slot] && race.slot_control[slot] == CONTROL_EXTERNAL && race.playback.visibility[slot] > 0) return false;
  return true;
}

std::string standings_text() {
  const RaceResults& r = race.results;
  if (r.results_final) return results_table(r.final_standings, r.final_standings_count, false, std::time(nullptr));
  return results_table(r.standings, r.standings_count, true, std::time(nullptr));
}

// Riders thrown off so far, per slot, counted as each crash begins.
struct CrashCount {
  int crashes[RACE_SLOTS] = {};
  bool down[RACE_SLOTS] = {};

  void tick() {
    for (int slot = 0; slot < RACE_SLOTS; ++slot) {
      const Bike* b = race.slot_bike[slot];
      const bool crashed = b && bike_crashed(*b);
      if (crashed && !down[slot]) ++crashes[slot];
      down[slot] = crashed;
    }
  }
};

// One row per rider: laps, best lap (laps after the first), crashes and
// whether it finished; then the laps the racing lines' plan predicts.
std::string rider_report(const CrashCount& count) {
  std::string text = "Slot | No. |         Bike | Laps |  Best Lap | Crashes | Finished\n";
  char row[160];
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    const Bike* b = race.slot_bike[slot];
    if (!b) continue;
    const int best = best_lap(*b);
    const std::string best_text = best > 0 ? race_time_text(lap_time(*b, best), "%3d") : "         -";
    std::snprintf(row, sizeof row, "%4d | %3s | %12.40s | %4d | %s | %7d | %s\n", slot, race.slot_rider[slot].number.c_str(),
                  race.slot_rider[slot].bike.c_str(), completed_laps(*b), best_text.c_str(), count.crashes[slot],
                  b->finished ? "yes" : "no");
    text += row;
  }
  std::snprintf(row, sizeof row, "predicted_first_lap_s=%.3f predicted_normal_lap_s=%.3f\n", predicted_lap_seconds(true),
                predicted_lap_seconds(false));
  return text + row;
}

}  // namespace

int run_sim(const SimOptions& o, std::FILE* out, std::FILE* err) {
  if (!o.data_dir.empty()) setenv("BL_HOME", o.data_dir.c_str(), 1);
  if (!o.home_dir.empty()) setenv("BL_USER_HOME", o.home_dir.c_str(), 1);
  reset_data_layer();
  open_home_and_log("simlog.txt");
  run_settings = RunSettings();
  run_settings.erosion = o.erosion;
  run_settings.roost_frequency = o.roost_frequency;
  reset_settings();
  if (!build_track_list()) {
    std::fprintf(err, "No tracks found\n");
    return 1;
  }
  if (!track_exists(o.track)) {
    std::fprintf(err, "bermline-sim: no track '%s'\n", o.track.c_str());
    return 1;
  }
  const bool playing = !o.play_file.empty();
  if (playing && !demo_opens(o.play_file)) {
    std::fprintf(err, "bermline-sim: can't play '%s'\n", o.play_file.c_str());
    return 1;
  }

  install_autopilot();
  start_race_core();
  reset_coaches();
  RaceSetup setup = player_race_setup(settings, o.track, o.laps);
  setup.skill = o.skill;
  setup.practice = o.practice;
  setup.learning = o.learning;
  setup.playback_path = o.play_file;
  setup.record = !o.record_file.empty();
  setup.record_path = o.record_file;
  if (setup.record && playing && home_file(o.record_file) == home_file(o.play_file)) {
    post_message("Can't record and play from same file - recording disabled");
    std::fprintf(err, "Can't record and play from same file - recording disabled\n");
    setup.record = false;
  }
  for (int slot = 0; slot < RACE_SLOTS; ++slot) setup.slots[slot].code = o.lineup[slot];
  if (!o.lineup_given && !playing) setup.slots[0].code = SLOT_HUMAN;
  setup.race_length_ticks = static_cast<int32_t>(o.minutes * 60 / dt);
  if (!start_race(setup)) {
    std::fprintf(err, "bermline-sim: can't load track '%s'\n", setup.track.c_str());
    stop_race_core();
    return 1;
  }

  const std::vector<float> pristine = track().terrain.heights;
  const int32_t first_tick = race_clock;
  const int64_t most_ticks = static_cast<int64_t>(o.max_seconds / dt);
  const auto started = std::chrono::steady_clock::now();
  CrashCount crashes;
  while (race_clock - first_tick < most_ticks && !race.results.results_final && !playback_ended()) {
    drive_coaches();
    race_tick();
    crashes.tick();
  }
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  const int32_t ticks = race_clock - first_tick;

  std::fputs(standings_text().c_str(), out);
  std::fputs(rider_report(crashes).c_str(), out);
  bool written = true;
  if (o.erosion > 0 || !o.ground_diff_file.empty()) {
    const GroundChange change = ground_change(pristine, track().terrain);
    std::fprintf(out, "ground moved_ft3=%.3f deepest_rut_ft=%.4f highest_pile_ft=%.4f\n", change.moved_ft3,
                 change.deepest_rut_ft, change.highest_pile_ft);
    written = o.ground_diff_file.empty() || write_ground_diff(o.ground_diff_file, pristine, track().terrain);
    if (!written) std::fprintf(err, "bermline-sim: can't write '%s'\n", o.ground_diff_file.c_str());
  }
  stop_race_core();  // saves what the robots learned (unless --nolearn)
  const double simulated = ticks * dt;
  std::fprintf(out, "ticks=%d wall_s=%.3f ticks_per_s=%.1f realtime=%.2f\n", ticks, wall, wall > 0 ? ticks / wall : 0.0,
               wall > 0 ? simulated / wall : 0.0);
  return written ? 0 : 1;
}
