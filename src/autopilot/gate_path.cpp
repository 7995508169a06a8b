#include "autopilot/gate_path.h"

#include "autopilot/line_sections.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

constexpr float GATE_PATH_SPEED = 25;  // ft/s: any turn can be ridden from this
constexpr float APPROACH = 10;         // ft before a gate's line

}  // namespace

int gate_path(int position, LineSample out[MOST_GATE_SAMPLES]) {
  const int section = section_index(position);
  int count = 0;
  for (int p = position; section_index(p) == section && count + 2 <= MOST_GATE_SAMPLES; ++p) {
    const TimingGate& g = track().timing.gates[static_cast<size_t>(sequence_gate(p))];
    if (p == position)
      out[count++] = {g.centre[0] - g.direction[0] * APPROACH, g.centre[1], g.centre[2] - g.direction[2] * APPROACH,
                      GATE_PATH_SPEED, 0};
    out[count++] = {g.centre[0], g.centre[1], g.centre[2], GATE_PATH_SPEED, 0};
  }
  return count;
}

int first_position(int section) {
  int p = 0;
  while (section_index(p) < section) ++p;
  return p;
}
