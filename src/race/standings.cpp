#include "race/standings.h"

#include <algorithm>

#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/results_file.h"
#include "track/timing_gates.h"
#include "track/track.h"


namespace {

constexpr int32_t UNKNOWN_STRETCH_TICKS = 60 * TICKS_PER_SECOND;

int build_entries(StandingsEntry* list) {
  int count = 0;
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    const Bike* b = race.slot_bike[slot];
    if (!b) continue;
    int32_t last = b->gates_passed > 0 ? crossing_tick(*b, b->gates_passed - 1) : 0;
    list[count++] = {slot, b->gates_passed, last};
  }
  std::sort(list, list + count, standings_before);
  return count;
}

// Whether every position strictly between s and e holds a credited crossing.
bool clean_between(const Bike& b, int s, int e) {
  for (int p = s + 1; p < e; ++p)
    if (crossing_tick(b, p) < 0) return false;
  return true;
}

// A timed race: half time fixes the halfway lap, the end of time the finish lap.
void fix_timed_race_laps() {
  const RaceResults& r = race.results;
  int leader_laps = r.standings_count > 0 ? laps_completed_at(r.standings[0].gates_passed) : 0;
  if (race.halfway_lap == LAP_NOT_YET_KNOWN && race_clock >= race.race_length_ticks / 2) race.halfway_lap = leader_laps + 1;
  if (race_clock < race.race_length_ticks) return;
  if (race.finish_lap == LAP_NOT_YET_KNOWN) {
    // The lap in progress is completed, then race_laps more.
    race.finish_lap = leader_laps + race.race_laps + 1;
    return;
  }
  if (race.finish_lap == race.race_laps) return;
  // If anyone completed the lap taken as "in progress" before the time ran
  // out (crossings that arrive late), the race runs one lap further.
  int line = track().timing.first_lap_count + track().timing.normal_lap_count * (race.finish_lap - race.race_laps - 1) - 1;
  for (int k = 0; k < r.standings_count; ++k) {
    const Bike* b = race.slot_bike[r.standings[k].slot];
    if (!b) continue;
    int32_t t = crossing_tick(*b, line);
    if (t > 0 && t < race.race_length_ticks) {
      ++race.finish_lap;
      return;
    }
  }
}

bool everyone_finished() {
  for (int k = 0; k < race.results.standings_count; ++k) {
    Bike* b = race.slot_bike[race.results.standings[k].slot];
    if (b && !is_finished(*b)) return false;
  }
  return true;
}

void declare_result() {
  RaceResults& r = race.results;
  r.final_standings_count = build_entries(r.final_standings);
  for (int k = 0; k < r.final_standings_count; ++k) {
    StandingsEntry& entry = r.final_standings[k];
    apply_cutting_penalty(entry, *race.slot_bike[entry.slot]);
  }
  std::sort(r.final_standings, r.final_standings + r.final_standings_count, standings_before);
  if (r.final_standings_count > 0 && race.slot_bike[r.final_standings[0].slot]->finished) write_results_file();
  r.results_final = true;
  // The points series records the result here (series issue).
}

}  // namespace

bool standings_before(const StandingsEntry& a, const StandingsEntry& b) {
  if (a.gates_passed != b.gates_passed) return a.gates_passed > b.gates_passed;
  if (a.last_tick != b.last_tick) return a.last_tick < b.last_tick;
  return a.slot < b.slot;
}

void update_standings() {
  RaceResults& r = race.results;
  if (r.results_final) return;
  r.standings_count = build_entries(r.standings);
  fix_timed_race_laps();
  // Connected to a server, an unfinished remote rider silent for a second
  // is passed over here (network issue).
  if (everyone_finished()) declare_result();
}

int32_t stretch_reference(int s, int e) {
  const int f = track().timing.first_lap_count, n = track().timing.normal_lap_count;
  int64_t total = 0;
  int contributions = 0;
  for (int k = 0; k < race.results.standings_count; ++k) {
    const Bike* b = race.slot_bike[race.results.standings[k].slot];
    if (!b) continue;
    if (s < f) {
      int32_t from = s < 0 ? 0 : crossing_tick(*b, s), to = crossing_tick(*b, e);
      if (from >= 0 && to >= 0 && clean_between(*b, s, e) && to - from >= 0) {
        total += to - from;
        ++contributions;
      }
      continue;
    }
    // The same stretch in every lap the rider has ridden.
    int64_t sum = 0;
    int laps = 0;
    for (int from = f + (s - f) % n, to = e + from - s; to < b->gates_passed; from += n, to += n) {
      int32_t a = crossing_tick(*b, from), c = crossing_tick(*b, to);
      if (a >= 0 && c >= 0 && clean_between(*b, from, to)) {
        sum += c - a;
        ++laps;
      }
    }
    if (laps > 0 && sum / laps >= 0) {
      total += sum / laps;
      ++contributions;
    }
  }
  return contributions > 0 ? static_cast<int32_t>(total / contributions) : UNKNOWN_STRETCH_TICKS;
}

void apply_cutting_penalty(StandingsEntry& entry, const Bike& b) {
  // Every run of missed gates costs what the field typically needs over
  // that stretch (plus a second), less the time the rider took.
  int64_t penalty = 0;
  int32_t last = 0;
  int missed = 0;
  for (int p = 0; p < b.gates_passed; ++p) {
    int32_t t = crossing_tick(b, p);
    if (t == -1) {
      ++missed;
      continue;
    }
    if (missed >= 1) {
      int64_t reference = stretch_reference(p - missed - 1, p) + TICKS_PER_SECOND;
      if (t - last < reference) penalty += reference - (t - last);
    }
    missed = 0;
    last = t;
  }
  // A penalty longer than the best lap takes whole laps, never the first.
  int best = best_lap(b);
  if (best >= 2) {
    int64_t lap = lap_ticks(b, best);
    if (lap < penalty) {
      while (entry.gates_passed - track().timing.normal_lap_count >= track().timing.first_lap_count) {
        entry.gates_passed -= track().timing.normal_lap_count;
        penalty -= lap;
        if (!(penalty > lap && entry.gates_passed - track().timing.normal_lap_count >= track().timing.first_lap_count)) break;
      }
    }
  }
  entry.last_tick += static_cast<int32_t>(penalty);
}

void reset_standings() {
  race.results.standings_count = 0;
  race.results.final_standings_count = 0;
  race.results.results_final = false;
}
