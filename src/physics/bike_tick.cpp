#include "physics/bike_tick.h"

#include <algorithm>

#include "physics/bike_load.h"
#include "physics/ground_contact.h"
#include "physics/physics_world.h"
#include "physics/shape_contact.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

constexpr double PLACE_STEP = 0.25;
constexpr int PLACE_MAX_STEPS = 4096;  // 1024 ft: give up on a ground that never ends

}  // namespace

void place_bike(Bike& b, double x, double z, double heading) {
  const Terrain& t = track().terrain;
  auto grid_index = [&](double c) {
    double i = c / t.spacing;
    return i >= 0 ? static_cast<int>(std::min(i, static_cast<double>(t.grid_size))) : 0;
  };
  double y = t.spacing > 0 ? TerrainVertexHeight(t, grid_index(x), grid_index(z)) : 0;
  for (int step = 0; step < PLACE_MAX_STEPS; ++step, y += PLACE_STEP) {
    reset_bike_pose(b);
    rotate_bike(b, 0, 1, 0, heading);
    move_bike(b, x, y, z);
    if (!collide_bike_ground(b)) break;
  }
  dJointGroupEmpty(physics.contacts);
  for (WheelContact& w : b.wheel) w.depth = 0;
}

void collide_bike_pairs(Bike* const* bikes, int count, Bike** order) {
  count = std::min(count, MAX_TICK_BIKES);
  // Insertion sort: stable, and no scratch memory.
  double speed[MAX_TICK_BIKES];
  for (int k = 0; k < count; ++k) {
    double s = length_squared(body_velocity(bikes[k]->frame));
    int at = k;
    for (; at > 0 && speed[at - 1] < s; --at) {
      speed[at] = speed[at - 1];
      order[at] = order[at - 1];
    }
    speed[at] = s;
    order[at] = bikes[k];
  }
  // Most pairs are far apart: their reaches, found once, rule them out.
  BikeReach reach[MAX_TICK_BIKES];
  for (int k = 0; k < count; ++k) reach[k] = bike_reach(*order[k]);
  for (int i = 0; i < count; ++i)
    for (int j = i + 1; j < count; ++j)
      if (reaches_meet(reach[i], reach[j])) collide_bikes(*order[i], *order[j], &reach[i], &reach[j]);
}
