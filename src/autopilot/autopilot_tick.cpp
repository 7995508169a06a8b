// One robot's tick: assists on, the target moved on, a new line when the
// path runs short, then the starting gate, recovery from being stuck, or
// riding the path.
#include <algorithm>

#include "autopilot/autopilot.h"
#include "autopilot/gate_path.h"
#include "autopilot/hang_up.h"
#include "autopilot/line_sections.h"
#include "autopilot/rider_state.h"
#include "autopilot/robot_path.h"
#include "autopilot/robot_riding.h"
#include "autopilot/start_procedure.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "race/lap_timing.h"
#include "race/race_session.h"

namespace {

// Wheelie cut, front brake release in the air, both antilocks, automatic
// shifting, and the arcade physics a new player rides with: the bike leans
// to where the bars ask (measured over 8 robots on Rabbit Hill: a sixth of
// the falls of the normal physics, where the lines' speeds through turns
// and over jumps, ridden by riders on arcade physics, throw robots off).
constexpr uint8_t ROBOT_ASSISTS = OPTION_CUT_WHEELIE_DRIVE | OPTION_FRONT_BRAKE_RELEASE | OPTION_FRONT_ANTILOCK |
                                  OPTION_REAR_ANTILOCK | OPTION_AUTO_SHIFT | OPTION_ARCADE;
constexpr int32_t STUCK_TICKS = 3 * TICKS_PER_SECOND;
constexpr int32_t LOST_TICKS = 40 * TICKS_PER_SECOND;
// Samples into the next section's line (a second's riding) by which the
// gate that ends a section has surely counted.
constexpr double LOST_SAMPLES = 4;
// A finished robot rides on at this share of its lines' speed.
constexpr float COOL_DOWN = 0.5f;

// After the finish: the rest of the current line slows toward the cool-down
// pace, and so does every line picked later.
void ease_off(RiderLines& r) {
  const int n = static_cast<int>(r.path.size());
  const int from = std::min(static_cast<int>(r.along) + 1, n);
  const int span = n - 1 - from;
  for (int k = from; k < n; ++k) {
    const float left = span > 0 ? static_cast<float>(n - 1 - k) / static_cast<float>(span) : 0.0f;
    r.path[static_cast<size_t>(k)].speed *= COOL_DOWN + (1 - COOL_DOWN) * left;
  }
  r.eased_off = true;
}

// A robot well into the line of a section beyond the one its timing is in
// has missed a gate there: it heads back to that gate and on from gate to
// gate to the end of the section, where it picks lines again.
void rejoin_when_lost(const Bike& b, RiderLines& r) {
  const RiddenSection riding = ridden_section(r);
  const int owed = section_index(b.gates_passed);
  if (b.finished || riding.section <= owed || riding.into < LOST_SAMPLES) return;
  clear_path(r);
  LineSample gates[MOST_GATE_SAMPLES];
  append_line(r, gates, gate_path(b.gates_passed, gates), owed);
  r.pick_counter = owed + 1;
}

void pick_when_short(Bike& b, RiderLines& r) {
  if (static_cast<int>(r.path.size()) - r.target > PICK_AHEAD_SAMPLES) return;
  const int old = static_cast<int>(r.path.size());
  const int dropped = std::max(r.target - KEPT_BEHIND_TARGET, 0);
  if (!pick_next_line(b) || !r.eased_off) return;
  for (size_t k = static_cast<size_t>(old - dropped); k < r.path.size(); ++k) r.path[k].speed *= COOL_DOWN;
}

}  // namespace

void ride_along(Bike& b, RiderLines& r) {
  b.flags |= ROBOT_ASSISTS;
  if (start_procedure(b, r)) {
    // Waiting at the gate is not being stuck.
    r.last_advance = race_clock;
    reset_hang_up_watch(b, r);
    return;
  }
  const int32_t idle = race_clock - r.last_advance;
  if (r.recovery > 0 && idle > LOST_TICKS && !r.path.empty()) {
    r.target = race_clock % static_cast<int>(r.path.size());
    r.recovery = RECOVERING;
    r.last_advance = race_clock;
  } else if (idle > STUCK_TICKS) {
    r.recovery = RECOVERING;  // rejoins the path closely
  }
  rescue_when_hung_up(b, r);
  ride_path(b, r);
}

void autopilot_tick(Bike& b) {
  RiderLines& r = rider_lines(b);
  if (r.personality == 0) return;
  advance_target(b, r);
  if (b.finished && !r.eased_off) ease_off(r);
  rejoin_when_lost(b, r);
  pick_when_short(b, r);
  ride_along(b, r);
}
