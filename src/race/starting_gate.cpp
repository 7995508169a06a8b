#include "race/starting_gate.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "core/units.h"
#include "race/race_session.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

constexpr double ROW_SPACING = 10;
constexpr double FIRST_ROW = 0.0625;  // rows, behind the gate position
constexpr double LINE_SPACING = 5;
constexpr double BAR_UP_ANGLE = 0.5890486225480862;  // 3 pi / 16
constexpr double BAR_FALL_RATE = 8;  // per second
constexpr double BAR_ANIMATED_AFTER_DROP = 10;  // seconds

// The bar's model: the ground frame at its place, turned about its first
// axis by the bar's lift.
void turn_bar(Statue& s, double lift) {
  float ground[3][3];
  GroundFrame(s.x, s.z, s.heading, ground);
  float c = static_cast<float>(std::cos(lift)), sn = static_cast<float>(std::sin(lift));
  for (int row = 0; row < 3; ++row) {
    s.frame[row][0] = ground[row][0];
    s.frame[row][1] = c * ground[row][1] + sn * ground[row][2];
    s.frame[row][2] = -sn * ground[row][1] + c * ground[row][2];
  }
}

}  // namespace

StartPose start_pose(int v) {
  const int g = static_cast<int>(track().timing.start_positions.size());
  if (g == 0) return {track().terrain.extent * 0.5 + LINE_SPACING * v, track().terrain.extent * 0.5, 0};
  const StartPosition& p = track().timing.start_positions[static_cast<size_t>(v % g)];
  double behind = (v / g + FIRST_ROW) * ROW_SPACING;
  return {p.x + std::sin(p.heading) * behind, p.z + std::cos(p.heading) * behind, p.heading};
}

void raise_gate_bars() { std::fill(std::begin(race.gate_bar_state), std::end(race.gate_bar_state), 1.0f); }

void animate_gate_bars() {
  if (race_clock * dt > race.gate_drop_tick * dt + BAR_ANIMATED_AFTER_DROP) return;
  const size_t gates = std::min(track().timing.start_gate_statues.size(), static_cast<size_t>(MAX_START_POSITIONS));
  for (size_t p = 0; p < gates; ++p) {
    float& state = race.gate_bar_state[p];
    int statue = track().timing.start_gate_statues[p];
    if (state <= 0 || statue < 0 || static_cast<size_t>(statue) >= track().scenery.statues.size()) continue;
    if (race_clock > race.gate_drop_tick) state = std::max(0.0f, state - static_cast<float>(BAR_FALL_RATE * dt));
    turn_bar(track().scenery.statues[static_cast<size_t>(statue)], state * BAR_UP_ANGLE);
  }
}
