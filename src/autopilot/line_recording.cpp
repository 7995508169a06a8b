// Lap timing's share of the racing lines: every rider who is not a robot
// is sampled as it rides and each section it completes cleanly becomes a
// candidate line; robots' rides score the lines they picked.
#include <algorithm>
#include <cmath>

#include "autopilot/autopilot.h"
#include "autopilot/line_sections.h"
#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"
#include "core/grow_array.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/rider.h"
#include "platform/base/log.h"
#include "race/lap_timing.h"
#include "race/race_session.h"

namespace {

constexpr double CRAWL_SPEED = 5;              // ft/s: slower counts as a slow-down
constexpr int32_t WATCH_FROM = 2 * TICKS_PER_SECOND;  // after the gate drop
constexpr float SAME_SPEED = 0.0625f;          // ft/s, duplicate samples
constexpr float SAME_PLACE = 0.00390625f;      // ft², duplicate samples
constexpr double ON_LINE = 4;                  // ft
constexpr double ON_PACE = 0.9375;

bool debugging() { return run_settings.debug_level >= 1; }

RacingLine* picked_line(const Bike& b, int section) {
  return find_line(section_table(section), remembered_pick(b, section));
}

void add_failure(const Bike& b, int section) {
  if (RacingLine* line = picked_line(b, section)) ++line->failures;
}

LineSample sample_of(const Bike& b) {
  const Vec3 at = body_position(b.frame);
  const bool airborne = !wheel_down(b, WHEEL_FRONT) && !wheel_down(b, WHEEL_REAR);
  const float speed = static_cast<float>(bike_speed(b));
  return {static_cast<float>(at.x), static_cast<float>(at.y), static_cast<float>(at.z), airborne ? -speed : speed,
          static_cast<float>(roll_angle(b.frame))};
}

// A robot that crawls fails the line it rides (and the one before, when it
// only just left it), and forgets its picks.
void watch_slow_down(Bike& b, RiderLines& r) {
  if (race_clock < race.gate_drop_tick + WATCH_FROM) return;
  if (r.slow_down == SLOW_WATCHING && bike_speed(b) < CRAWL_SPEED) {
    r.slow_down = SLOW_JUST_SLOWED;
    // A stall anywhere in a section spoils the line of that section.
    r.cancelled |= static_cast<uint8_t>(1 << (section_index(b.gates_passed) & 1));
  }
  if (r.slow_down != SLOW_JUST_SLOWED) return;
  r.slow_down = SLOW_HANDLED;
  if (!is_robot(b)) return;
  const int section = section_index(b.gates_passed);
  add_failure(b, section);
  const int32_t left = crossing_tick(b, b.gates_passed - 1);
  if (left >= 0 && race_clock - left < TICKS_PER_SECOND && is_section_boundary(b.gates_passed - 1)) add_failure(b, section - 1);
  forget_picks(b);
}

bool same_path(const std::vector<LineSample>& a, const std::vector<LineSample>& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    const float dx = a[k].x - b[k].x, dy = a[k].y - b[k].y, dz = a[k].z - b[k].z;
    if (std::fabs(a[k].speed - b[k].speed) > SAME_SPEED || dx * dx + dy * dy + dz * dz > SAME_PLACE) return false;
  }
  return true;
}

// The three boundaries that close a section and the next: b0 (-1: the
// start) < b1 < b2 = p, and their ticks, when every position between them
// was crossed.
struct TwoSections {
  int32_t first = 0, both = 0;  // ticks over the first section and over both
};

bool two_sections_ridden(const Bike& b, int p, TwoSections* out) {
  const int b1 = previous_boundary(p);
  if (b1 < 0) return false;
  const int b0 = previous_boundary(b1);
  for (int q = b0 < 0 ? 0 : b0; q <= p; ++q)
    if (crossing_tick(b, q) < 0) return false;
  const int32_t start = b0 < 0 ? race.gate_drop_tick : crossing_tick(b, b0);
  out->first = crossing_tick(b, b1) - start;
  out->both = crossing_tick(b, p) - start;
  return true;
}

void offer_candidate(RiderLines& r, int section, const TwoSections& times) {
  const int parity = section & 1;
  std::vector<LineSample>& candidate = r.buffer[parity];
  if (candidate.empty() || (r.cancelled & (1 << parity))) {
    if (debugging()) voxa_log("auto pilot: %d canceled\n", section);
    return;
  }
  const int table_index = section_table(section);
  if (table_index < 0) return;
  LineTable& table = line_set.tables[static_cast<size_t>(table_index)];
  for (const RacingLine& line : table.lines)
    if (!line.empty() && same_path(line.samples, candidate)) {
      if (debugging()) voxa_log("auto pilot: %d rejected (duplicate)\n", section);
      return;
    }
  int slot = -1;
  for (int k = 0; k < LINES_PER_SECTION && slot < 0; ++k)
    if (table.lines[k].empty()) slot = k;
  if (slot < 0) slot = eviction_victim(table);
  if (slot < 0 || line_score(table.lines[slot]) < static_cast<int64_t>(times.both) * 5 / 4) {
    if (debugging()) voxa_log("auto pilot: %d rejected (too slow)\n", section);
    return;
  }
  RacingLine& old = table.lines[slot];
  if (debugging()) {
    const double tested = old.tested > 0 ? old.tested : 1;
    voxa_log("auto pilot: evicting %d (times: %.2f %.2f tested (%d %d): %.2f %.2f repl: %f %f)\n", section, old.own_time * dt,
             old.own_time_2 * dt, old.tested, old.failures, old.sum / tested * dt, old.sum_2 / tested * dt, times.first * dt,
             times.both * dt);
  }
  clear_line(old);
  old.samples.assign(candidate.begin(), candidate.end());
  old.own_time = times.first;
  old.own_time_2 = times.both;
  old.last_picked = LONG_AGO;
  old.id = new_line_id();
}

// The robot rode its line when it is still on it at the pace it asks for.
bool on_its_line(const Bike& b, const RiderLines& r) {
  const int n = static_cast<int>(r.path.size());
  if (n < 2) return false;
  const int k = std::clamp(static_cast<int>(r.along), 0, n - 2);
  const LineSample &p = r.path[static_cast<size_t>(k)], &q = r.path[static_cast<size_t>(k) + 1];
  const Vec3 at = body_position(b.frame);
  const double sx = q.x - p.x, sz = q.z - p.z, ax = at.x - p.x, az = at.z - p.z;
  const double l2 = sx * sx + sz * sz;
  const double t = l2 > 0 ? std::clamp((ax * sx + az * sz) / l2, 0.0, 1.0) : 0.0;
  const double off = std::hypot(ax - t * sx, az - t * sz);
  const double speed = bike_speed(b);
  return off <= ON_LINE && (speed >= ON_PACE * std::fabs(p.speed) || speed >= ON_PACE * std::fabs(q.speed));
}

void score_robot_ride(Bike& b, const RiderLines& r, int p, int section) {
  TwoSections times;
  if (on_its_line(b, r) && two_sections_ridden(b, p, &times)) {
    if (RacingLine* line = picked_line(b, section - 1)) {
      ++line->tested;
      line->best = std::min(line->best, times.first);
      line->best_2 = std::min(line->best_2, times.both);
      line->sum += times.first;
      line->sum_2 += times.both;
    }
    return;
  }
  add_failure(b, section);
  forget_picks(b);
}

}  // namespace

void record_line_sample(Bike& b) {
  if (line_set.tables.empty()) return;
  RiderLines& r = rider_lines(b);
  if (!is_robot(b) && !b.finished && race_clock >= race.gate_drop_tick && race_clock % SAMPLE_TICKS == 0)
    grow_push(r.buffer[section_index(b.gates_passed) & 1], sample_of(b));
  watch_slow_down(b, r);
}

void line_crossing(Bike& b, int p) {
  if (line_set.tables.empty() || !is_section_boundary(p)) return;
  RiderLines& r = rider_lines(b);
  const int a = section_index(p);
  if (r.slow_down != SLOW_WATCHING) r.cancelled |= static_cast<uint8_t>(1 << (a & 1));
  if (!is_robot(b)) {
    // Going back to a missed gate leaves later entries in the log.
    const bool forward = static_cast<int>(b.crossing_ticks.size()) <= p + 1;
    if (!forward) return;
    TwoSections times;
    if (a >= 1 && two_sections_ridden(b, p, &times)) offer_candidate(r, a - 1, times);
    const int next = section_index(p + 1) & 1;
    r.buffer[next].clear();
    r.cancelled &= static_cast<uint8_t>(~(1 << next));
    return;
  }
  if (a >= 1) score_robot_ride(b, r, p, a);
}

void clear_slow_down(Bike& b) { rider_lines(b).slow_down = SLOW_WATCHING; }
