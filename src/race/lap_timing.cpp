#include "race/lap_timing.h"

#include <algorithm>

#include "core/grow_array.h"
#include "core/units.h"
#include "physics/bike.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

bool has_timing() { return !track().timing.gates.empty() && track().timing.first_lap_count > 0 && track().timing.normal_lap_count > 0; }

bool is_lap_line(int position) {
  int from_first_line = position - track().timing.first_lap_count + 1;
  return from_first_line >= 0 && from_first_line % track().timing.normal_lap_count == 0;
}

bool crossed(int position, const Vec3& wheel) {
  int gate = sequence_gate(position);
  if (gate < 0 || gate >= static_cast<int>(track().timing.gates.size())) return false;
  return in_gate(track().timing.gates[static_cast<size_t>(gate)], static_cast<float>(wheel.x), static_cast<float>(wheel.z));
}

// Stores a crossing tick at a position, filling skipped positions with -1.
// A log that cannot grow keeps the crossing unstored.
void log_crossing(Bike& b, int position, int32_t tick) {
  std::vector<int32_t>& log = b.crossing_ticks;
  while (static_cast<int>(log.size()) <= position)
    if (!grow_push(log, -1)) return;
  log[static_cast<size_t>(position)] = tick;
}

// The search window around the next gate: three behind (never the one just
// behind), the gate itself and two beyond.
constexpr int SEARCH_OFFSETS[] = {-3, -2, 0, 1, 2};
constexpr int NO_CROSSING = 1 << 30;

int find_crossing(const Bike& b) {
  Vec3 wheel = body_position(b.front_wheel);
  bool missing = false;
  for (int i : SEARCH_OFFSETS) {
    int o = b.gates_passed + i;
    if (o < 0) continue;
    bool uncredited = crossing_tick(b, o) == -1;
    missing = missing || uncredited;
    if (crossed(o, wheel)) {
      // A gate behind counts only to credit a gate that was missed.
      if (missing || i >= 0) return i;
      continue;
    }
    // A lap line can be neither skipped nor passed while it is uncredited.
    if (is_lap_line(o) && uncredited) return NO_CROSSING;
  }
  return NO_CROSSING;
}

}  // namespace

int completed_laps(const Bike& b) { return has_timing() ? laps_completed_at(b.gates_passed) : 0; }

int32_t crossing_tick(const Bike& b, int position) {
  if (position < 0 || position >= static_cast<int>(b.crossing_ticks.size())) return -1;
  return b.crossing_ticks[static_cast<size_t>(position)];
}

int32_t lap_ticks(const Bike& b, int lap) {
  if (lap < 1 || lap > completed_laps(b)) return 0;
  int32_t end = crossing_tick(b, lap_finish_position(lap));
  int32_t start = lap == 1 ? race.gate_drop_tick : crossing_tick(b, lap_finish_position(lap - 1));
  if (end == -1 || start == -1) return 0;
  return end - start;
}

float lap_time(const Bike& b, int lap) {
  if (lap < 0) lap = completed_laps(b);
  return static_cast<float>(lap_ticks(b, lap) * dt);
}

int best_lap(const Bike& b) {
  int best = 0;
  int32_t best_ticks = 0;
  for (int lap = 2; lap <= completed_laps(b); ++lap) {
    if (crossing_tick(b, lap_finish_position(lap)) == -1 || crossing_tick(b, lap_finish_position(lap - 1)) == -1) continue;
    int32_t ticks = lap_ticks(b, lap);
    if (best == 0 || ticks < best_ticks) {
      best = lap;
      best_ticks = ticks;
    }
  }
  return best;
}

int64_t finish_line_position() {
  if (race.finish_lap == 0) return 0;
  return track().timing.first_lap_count + static_cast<int64_t>(track().timing.normal_lap_count) * (race.finish_lap - 1) - 1;
}

bool is_finished(Bike& b) {
  if (b.finished) return true;
  if (!has_timing() || race.results.standings_count == 0) return false;
  const StandingsEntry& leader = race.results.standings[0];
  const Bike* leader_bike = race.slot_bike[leader.slot];
  int64_t line = finish_line_position();
  if (!leader_bike || line >= leader.gates_passed) return false;
  int32_t leader_tick = crossing_tick(*leader_bike, static_cast<int>(line));
  if (leader_tick == -1) return false;
  const int f = track().timing.first_lap_count, n = track().timing.normal_lap_count;
  int last_lap_line = b.gates_passed < f ? 0 : f - 1 + n * ((b.gates_passed - f) / n);
  if (crossing_tick(b, last_lap_line) < leader_tick) return false;
  b.finished = true;
  return true;
}

void process_gates(Bike& b, int32_t tick) {
  if (!has_timing() || b.finished) return;
  const AutopilotHooks& lines = autopilot_hooks();
  lines.line_sample(b);
  int offset = find_crossing(b);
  if (offset == NO_CROSSING) return;

  // Going back to a missed gate moves the rider's progress back to it.
  b.gates_passed += offset;
  log_crossing(b, b.gates_passed, tick);
  lines.line_crossing(b, b.gates_passed);
  b.gates_passed += 1;

  const int f = track().timing.first_lap_count, n = track().timing.normal_lap_count;
  bool lap_complete = b.gates_passed >= f && (b.gates_passed - f) % n == 0;
  if (lap_complete) {
    int leader_gates = race.results.standings_count > 0 ? race.results.standings[0].gates_passed : 0;
    bool leader_still_racing = finish_line_position() >= leader_gates;
    if (!leader_still_racing || completed_laps(b) >= race.finish_lap) b.finished = true;
  }
  update_standings();
  lines.clear_slow_down(b);
}

void set_gates_passed(Bike& b, int gates_passed) {
  b.gates_passed = gates_passed;
  if (static_cast<int>(b.crossing_ticks.size()) > gates_passed) b.crossing_ticks.resize(static_cast<size_t>(std::max(gates_passed, 0)));
}

void reserve_timing_log(Bike& b, int laps) {
  if (!has_timing()) return;
  constexpr int64_t MOST_RESERVED = 4096;
  int64_t wanted = track().timing.first_lap_count + static_cast<int64_t>(track().timing.normal_lap_count) * std::max(laps, 1);
  b.crossing_ticks.reserve(static_cast<size_t>(std::min(wanted, MOST_RESERVED)));
}
