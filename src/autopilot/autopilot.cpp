#include "autopilot/autopilot.h"

#include "autopilot/line_sections.h"
#include "autopilot/personality.h"
#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"
#include "autopilot/robot_path.h"
#include "physics/bike.h"
#include "physics/rider.h"
#include "platform/base/log.h"
#include "race/race_hooks.h"

namespace {

constexpr double PIVOT_AHEAD = 2;  // samples beyond the bike's place

// A point a little ahead on the path a robot follows, or on the first line
// of the rider's section (or the next) for anyone else: where a rider who
// stopped turns his bike to.
bool pivot_target(const Bike& b, Vec3* target) {
  const RiderLines& r = rider_lines(b);
  LineSample s;
  if (is_robot(b) && r.path.size() >= 2) {
    s = path_point(r.path, r.along + PIVOT_AHEAD);
  } else {
    const RacingLine* found = nullptr;
    for (int ahead = 0; ahead < 2 && !found; ++ahead) {
      const int t = section_table(section_index(b.gates_passed) + ahead);
      if (t < 0 || t >= static_cast<int>(line_set.tables.size())) continue;
      for (const RacingLine& line : line_set.tables[static_cast<size_t>(t)].lines)
        if (!line.empty() && (!found || line_score(line) < line_score(*found))) found = &line;
    }
    if (!found) return false;
    // The sample nearest the bike, and one beyond it.
    const Vec3 at = body_position(b.frame);
    int nearest = 0;
    double least = 1e30;
    for (int k = 0; k < found->count(); ++k) {
      const LineSample& p = found->samples[static_cast<size_t>(k)];
      const double d = (p.x - at.x) * (p.x - at.x) + (p.z - at.z) * (p.z - at.z);
      if (d < least) least = d, nearest = k;
    }
    s = path_point(found->samples, nearest + PIVOT_AHEAD);
  }
  *target = {s.x, s.y, s.z};
  return true;
}

}  // namespace

void set_personality(Bike& b, const char* name) {
  int index = find_personality(name);
  if (index == 0) {
    voxa_log("auto pilot personality '%s' not found\n", name ? name : "");
    index = 1;
  }
  RiderLines& r = rider_lines(b);
  r.personality = index;
  clear_path(r);
  r.recovery = r.pick_counter = r.blocked = r.back_offs = r.backing_up = r.held = r.pushing_past = 0;
  r.last_advance = 0;
  r.launch_time = r.along = 0;
  r.eased_off = r.turning_round = false;
  forget_picks(b);
}

void clear_lines() {
  for (LineTable& table : line_set.tables)
    for (RacingLine& line : table.lines) clear_line(line);
  for (std::vector<int32_t>& plan : line_set.plans) plan.clear();
  line_set.predicted_first_lap = line_set.predicted_normal_lap = 0;
}

void forget_line_picks() {
  for (LineTable& table : line_set.tables)
    for (RacingLine& line : table.lines) line.last_picked = LONG_AGO;
}

void install_autopilot() {
  AutopilotHooks h;
  h.set_personality = set_personality;
  h.autopilot_tick = autopilot_tick;
  h.load_lines = load_lines;
  h.save_lines = save_lines;
  h.prune_lines = prune_lines;
  h.plan_laps = plan_laps;
  h.clear_lines = clear_lines;
  h.forget_line_picks = forget_line_picks;
  h.line_sample = record_line_sample;
  h.line_crossing = line_crossing;
  h.clear_slow_down = clear_slow_down;
  h.bike_collided = forget_picks;
  set_autopilot_hooks(h);
  RiderHooks rider;
  rider.pivot_target = pivot_target;
  set_rider_hooks(rider);
}
