#include "autopilot/rider_state.h"

#include <algorithm>

#include "physics/bike.h"
#include "race/race_session.h"

namespace {

// Room for a minute's samples per buffer and for a path of a long line.
constexpr size_t BUFFER_ROOM = 256;
constexpr size_t PATH_ROOM = 512;

RiderLines riders[RACE_SLOTS];

int ring_slot(int section) { return ((section % 4) + 4) % 4; }

}  // namespace

RiderLines& rider_lines(const Bike& b) { return riders[std::clamp(b.slot, 0, RACE_SLOTS - 1)]; }

void reset_rider_lines() {
  for (RiderLines& r : riders) {
    std::vector<LineSample> kept[2] = {std::move(r.buffer[0]), std::move(r.buffer[1])};
    std::vector<LineSample> path = std::move(r.path);
    r = RiderLines{};
    for (int k = 0; k < 2; ++k) {
      r.buffer[k] = std::move(kept[k]);
      r.buffer[k].clear();
      r.buffer[k].reserve(BUFFER_ROOM);
    }
    r.path = std::move(path);
    r.path.clear();
    r.path.reserve(PATH_ROOM);
  }
}

bool is_robot(const Bike& b) { return rider_lines(b).personality != 0; }

int32_t remembered_pick(const Bike& b, int section) { return b.line_state[ring_slot(section)]; }
void remember_pick(Bike& b, int section, int32_t id) { b.line_state[ring_slot(section)] = id; }
void forget_picks(Bike& b) { std::fill(std::begin(b.line_state), std::end(b.line_state), 0); }
