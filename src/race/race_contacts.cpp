#include "race/race_contacts.h"

#include <algorithm>

#include "core/race_clock.h"
#include "physics/bike.h"
#include "physics/bike_tick.h"
#include "physics/ground_contact.h"
#include "physics/shape_contact.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "track/scenery.h"
#include "track/shape.h"
#include "track/track.h"

namespace {

constexpr float SCENERY_REACH = 6;

struct CellRange {
  int x0, x1, z0, z1;
};

CellRange cells_around(float x, float z, float reach) {
  return {scenery_cell(x - reach), scenery_cell(x + reach), scenery_cell(z - reach), scenery_cell(z + reach)};
}

// Whether any sphere of the statue could touch the bike.
bool within_reach(const Bike& b, const Vec3& frame, const Statue& s) {
  const double reach = b.contact_reach + s.shape->bound;
  return length_squared(Vec3{s.x, s.y, s.z} - frame) <= reach * reach;
}

void collide_statue(Bike& b, const Statue& s) {
  const dReal position[3] = {s.x, s.y, s.z};
  dMatrix3 rotation = {};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 3; ++col) rotation[row * 4 + col] = s.frame[row][col];
  collide_shape_with_bike(b, *s.shape, nullptr, position, rotation, false);
}

}  // namespace

void collide_bike_scenery(Bike& b) {
  const Vec3 at = body_position(b.frame);
  const CellRange near = cells_around(static_cast<float>(at.x), static_cast<float>(at.z), SCENERY_REACH);
  for (int cz = near.z0; cz <= near.z1; ++cz)
    for (int cx = near.x0; cx <= near.x1; ++cx)
      for (int index : track().scenery.buckets[static_cast<size_t>(cx + SCENERY_BUCKETS_PER_SIDE * cz)]) {
        const Statue& s = track().scenery.statues[static_cast<size_t>(index)];
        if (!s.shape || !within_reach(b, at, s)) continue;
        // A statue lies in every cell it overlaps: test it in the first
        // cell it shares with the bike's range only.
        const CellRange own = cells_around(s.x, s.z, s.shape->bound);
        if (cx != std::max(near.x0, own.x0) || cz != std::max(near.z0, own.z0)) continue;
        collide_statue(b, s);
      }
}

void collide_race_bikes() {
  Bike* paired[RACE_SLOTS];
  Bike* order[RACE_SLOTS];
  int count = 0;
  for (int slot = 0; slot < RACE_SLOTS; ++slot) {
    Bike* b = race.slot_bike[slot];
    if (!b) continue;
    bool external = race.slot_control[slot] == CONTROL_EXTERNAL;
    if (!external) {
      collide_bike_ground(*b);
      collide_bike_scenery(*b);
    }
    // A time trial's ghosts ride through everyone.
    if (!(race.time_trial && external)) paired[count++] = b;
  }
  collide_bike_pairs(paired, count, order);
  // A line ridden through a collision teaches nothing.
  for (int k = 0; k < count; ++k)
    if (paired[k]->last_bike_collision_tick == race_clock) autopilot_hooks().bike_collided(*paired[k]);
}
