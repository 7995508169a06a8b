#include "race/results_file.h"

#include <cmath>
#include <cstdio>

#include "core/run_settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "data/safe_write.h"
#include "physics/bike.h"
#include "platform/base/paths.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

std::string format(const char* pattern, auto... values) {
  char line[512];
  std::snprintf(line, sizeof line, pattern, values...);
  return line;
}

}  // namespace

std::string race_time_text(double seconds, const char* minutes_format) {
  long long millis = static_cast<long long>(std::floor(seconds * 1000));
  if (millis < 0) millis = 0;
  std::string pattern = std::string(minutes_format) + ":%02d.%03d";
  return format(pattern.c_str(), static_cast<int>(millis / 60000), static_cast<int>(millis / 1000 % 60),
                static_cast<int>(millis % 1000));
}

std::string results_table(const StandingsEntry* list, int count, bool unfinished_too, std::time_t date) {
  std::string text = format("Time=%.2f|Laps=%d|Track=%s|Date=%ld\r\n", race.race_length_ticks * dt, race.race_laps,
                            track().name.c_str(), static_cast<long>(date));
  text += format("%4s | %12s | %4s | %10s | %4s | %10s\r\n", "No.", "Bike", "Laps", "Total Time", "BLap", "Best Time");
  for (int k = 0; k < count; ++k) {
    const Bike* b = race.slot_bike[list[k].slot];
    if (!b || !(b->finished || unfinished_too)) continue;
    int best = best_lap(*b);
    text += format("%4s | %12s | %4d | ", b->number, b->info.name.c_str(), laps_completed_at(list[k].gates_passed));
    text += race_time_text((list[k].last_tick - race.gate_drop_tick) * dt, "%3d") + " | ";
    text += format("%4d | ", best) + race_time_text(lap_ticks(*b, best) * dt, "%3d") + "\r\n";
  }
  return text;
}

std::string results_crossings(const StandingsEntry* list, int count) {
  std::string text;
  for (int k = 0; k < count; ++k) {
    const Bike* b = race.slot_bike[list[k].slot];
    if (!b || !b->finished) continue;
    text += format("\r\n%d\r\n", b->gates_passed);
    for (int p = 0; p < b->gates_passed; ++p) {
      int32_t t = crossing_tick(*b, p);
      text += t == -1 ? format("%8d", -1) : format("%8.3f", (t - race.gate_drop_tick) * dt);
      bool lap_end = track().timing.normal_lap_count > 0 && p >= track().timing.first_lap_count - 1 && (p - track().timing.first_lap_count + 1) % track().timing.normal_lap_count == 0;
      text += p == b->gates_passed - 1 || lap_end ? "\r\n" : " ";
    }
  }
  return text;
}

bool write_results_file() {
  std::string home = home_folder();
  if (home.empty() || !make_folders(home)) return false;
  const RaceResults& r = race.results;
  std::string text = results_table(r.final_standings, r.final_standings_count, false, std::time(nullptr)) +
                     results_crossings(r.final_standings, r.final_standings_count);
  return write_file_safely(home + "results.txt", text);
}
