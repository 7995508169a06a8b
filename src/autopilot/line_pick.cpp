// A robot's choice of its next line: what the next eight sections cost
// along each candidate, the plan once the race settles, how well the line
// continues the path, and not riding where another robot just chose to.
#include <algorithm>
#include <cmath>

#include "autopilot/autopilot.h"
#include "autopilot/gate_path.h"
#include "autopilot/line_links.h"
#include "autopilot/line_plan.h"
#include "autopilot/line_sections.h"
#include "autopilot/personality.h"
#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"
#include "autopilot/robot_path.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "physics/bike.h"
#include "platform/base/log.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/standings.h"

namespace {

constexpr int LOOK_SECTIONS = 8;
constexpr double PLAN_FROM = 40, PLAN_RAMP = 0.05;  // s of race time, per s
constexpr double NEAR_END = 3;                       // ft: ends this close count as picked too
constexpr double REPICK_SECONDS = 3;

// Leading, with a second rider, by more than the personality's threshold
// at the second rider's last gate.
bool comfortably_ahead(const Bike& b, double threshold) {
  if (race.results.standings_count < 2 || race.results.standings[0].slot != b.slot) return false;
  const StandingsEntry& second = race.results.standings[1];
  if (second.gates_passed <= 0) return false;
  const int32_t mine = crossing_tick(b, second.gates_passed - 1);
  if (mine < 0) return false;
  return (second.last_tick - mine) * dt > threshold;
}

double race_seconds() { return (race_clock - race.gate_drop_tick) * dt; }

// The share of the choice each candidate's outlook earns, 0 .. 1.
void outlook_weights(int section, int type, double weight[LINES_PER_SECTION]) {
  int tables[LOOK_SECTIONS];
  for (int k = 0; k < LOOK_SECTIONS; ++k) tables[k] = section_table(section + k);
  ChainCosts to_go[LOOK_SECTIONS];
  ChainLinks next[LOOK_SECTIONS];
  search_chains(tables, LOOK_SECTIONS, type, nullptr, to_go, next);
  double least = NO_CHAIN;
  for (double w : to_go[0]) least = std::min(least, w);
  const LineTable& table = line_set.tables[static_cast<size_t>(tables[0])];
  const int32_t planned = type < PLAN_TYPES ? line_set.plans[type][static_cast<size_t>(tables[0])] : 0;
  const double ramp = std::clamp((race_seconds() - PLAN_FROM) * PLAN_RAMP, 0.0, 1.0);
  for (int j = 0; j < LINES_PER_SECTION; ++j) {
    const double w = to_go[0][j];
    weight[j] = w >= NO_CHAIN ? 0 : w < 1 ? 1 : least / w;
    if (planned != 0 && table.lines[j].id == planned) weight[j] += ramp * (1 - weight[j]);
    if (section == 0) weight[j] = 0.2 * weight[j] + 0.8;
  }
}

double start_match(const Bike& b, const RacingLine& j) {
  if (j.count() < 1) return 0;
  const Vec3 at = body_position(b.frame);
  const LineSample& s = j.samples[0];
  const double d = length(Vec3{s.x - at.x, s.y - at.y, s.z - at.z});
  const double m = std::clamp((100 - d) / 96, 0.0, 1.0);
  return 10 * m * m * m;
}

void mark_picked(LineTable& table, const RacingLine& chosen) {
  const LineSample& end = chosen.samples.back();
  for (RacingLine& line : table.lines) {
    if (line.empty()) continue;
    const LineSample& e = line.samples.back();
    const double dx = e.x - end.x, dy = e.y - end.y, dz = e.z - end.z;
    if (dx * dx + dy * dy + dz * dz <= NEAR_END * NEAR_END) line.last_picked = race_clock;
  }
}

}  // namespace

bool pick_next_line(Bike& b) {
  RiderLines& r = rider_lines(b);
  if (!is_robot(b) || line_set.tables.empty()) return false;
  const int section = r.pick_counter;
  LineTable& table = line_set.tables[static_cast<size_t>(section_table(section))];
  if (line_count(table) == 0) {
    // Nobody has a line here yet: the robot rides from gate to gate.
    LineSample gates[MOST_GATE_SAMPLES];
    append_line(r, gates, gate_path(first_position(section), gates), section);
    ++r.pick_counter;
    return true;
  }

  const Personality& who = personality(r.personality);
  const int type = comfortably_ahead(b, who.lead_threshold) ? who.plan_type_ahead : who.plan_type;
  double weight[LINES_PER_SECTION];
  outlook_weights(section, type, weight);

  const int n = static_cast<int>(r.path.size());
  const bool has_end = n >= 3;
  const EndCircle end = has_end ? end_circle(r.path.data(), n) : EndCircle{};
  int chosen = -1;
  double chosen_value = 0;
  for (int j = 0; j < LINES_PER_SECTION; ++j) {
    const RacingLine& line = table.lines[j];
    if (line.empty()) continue;
    const double match = has_end ? line_match(end, line) : start_match(b, line);
    const double idle = (race_clock - static_cast<double>(line.last_picked)) * dt;
    const double value = match + std::clamp(idle / REPICK_SECONDS, 0.0, 1.0) * weight[j];
    if (run_settings.debug_level >= 1)
      voxa_log("auto pilot: picking %d score = %f match = %f last_picked = %f\n", j, weight[j], match, idle);
    if (chosen < 0 || value > chosen_value) {
      chosen = j;
      chosen_value = value;
    }
  }
  const RacingLine& line = table.lines[chosen];
  mark_picked(table, line);
  remember_pick(b, section, line.id);
  ++r.pick_counter;
  append_line(r, line.samples, section);
  return true;
}
