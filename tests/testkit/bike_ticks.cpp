#include "bike_ticks.h"

#include <algorithm>

#include "physics/bike_step.h"
#include "physics/bike_tick.h"
#include "physics/ground_contact.h"
#include "physics/physics_world.h"

void tick_bikes(Bike* const* bikes, int count) {
  count = std::min(count, MAX_TICK_BIKES);
  Bike* order[MAX_TICK_BIKES];
  for (int k = 0; k < count; ++k) collide_bike_ground(*bikes[k]);
  collide_bike_pairs(bikes, count, order);
  step_physics_world();
  for (int k = 0; k < count; ++k) step_bike(*bikes[k], true);
}
