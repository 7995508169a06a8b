#include "autopilot/hang_up.h"

#include <algorithm>
#include <cmath>

#include "autopilot/robot_path.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/bike_tick.h"
#include "race/race_session.h"

namespace {

// Moving this far from the spot is getting somewhere (two bikes wedged
// together creep a few feet back and forth).
constexpr double MOVED = 15;  // ft
// Longer than every way of getting loose the robot tries itself (backing
// off three times, walking the bike round, pushing past a bike).
constexpr int32_t HUNG_UP_TICKS = 15 * TICKS_PER_SECOND;
// Where the bike is put back: the first sample from the one at its place
// on (never beyond it: on the way back to a missed gate, that is the
// gate), up to this many, with no other bike this near.
constexpr int FURTHEST_SAMPLES = 12;
constexpr double CLEAR_OF_BIKES = 8;  // ft

bool clear_of_bikes(const Bike& b, const LineSample& s) {
  for (const Bike* other : race.slot_bike) {
    if (!other || other == &b) continue;
    const Vec3 at = body_position(other->frame);
    if (std::hypot(at.x - s.x, at.z - s.z) < CLEAR_OF_BIKES) return false;
  }
  return true;
}

void put_back_on_path(Bike& b, RiderLines& r) {
  const int n = static_cast<int>(r.path.size());
  const int first = std::clamp(static_cast<int>(r.along), 0, n - 2);
  const int last = std::min(first + FURTHEST_SAMPLES, n - 2);
  int k = first;
  while (k < last && !clear_of_bikes(b, r.path[static_cast<size_t>(k)])) ++k;
  const LineSample &s = r.path[static_cast<size_t>(k)], &next = r.path[static_cast<size_t>(k) + 1];
  // The heading whose forward direction, (-sin h, -cos h), points along the path.
  place_bike(b, s.x, s.z, std::atan2(-(next.x - s.x), -(next.z - s.z)));
  // The ride through this section is spoiled: it scores no line.
  forget_picks(b);
  r.along = k;
  r.target = std::max(r.target, k + 1);
  r.last_advance = race_clock;
  r.recovery = RECOVERING;
  r.blocked = r.backing_up = r.held = r.pushing_past = 0;
  r.turning_round = false;
}

}  // namespace

void reset_hang_up_watch(const Bike& b, RiderLines& r) {
  const Vec3 at = body_position(b.frame);
  r.still_x = at.x;
  r.still_z = at.z;
  r.still_since = race_clock;
}

bool rescue_when_hung_up(Bike& b, RiderLines& r) {
  const Vec3 at = body_position(b.frame);
  // (A thrown rider is put back on his bike by the crash itself.)
  if (bike_crashed(b) || std::hypot(at.x - r.still_x, at.z - r.still_z) > MOVED) {
    reset_hang_up_watch(b, r);
    return false;
  }
  if (race_clock - r.still_since < HUNG_UP_TICKS || r.path.size() < 2) return false;
  put_back_on_path(b, r);
  reset_hang_up_watch(b, r);
  return true;
}
