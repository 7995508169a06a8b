#include "physics_kit.h"

#include <cmath>

#include "bike_ticks.h"
#include "core/race_clock.h"
#include "physics/bike_controls.h"
#include "physics/bike_load.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "physics/rider.h"
#include "track/track.h"

namespace physics_kit {

Terrain shaped_terrain(int grid_shift, float spacing, const std::function<float(float, float)>& height) {
  Terrain t;
  t.grid_shift = grid_shift;
  t.grid_size = (2 << grid_shift) + 1;
  t.spacing = spacing;
  t.tile_size = 2 * spacing;
  t.extent = (t.grid_size - 1) * spacing;
  t.heights.resize(static_cast<size_t>(t.grid_size) * t.grid_size);
  for (int j = 0; j < t.grid_size; ++j)
    for (int i = 0; i < t.grid_size; ++i)
      t.heights[static_cast<size_t>(i) + static_cast<size_t>(t.grid_size) * j] = height(i * spacing, j * spacing);
  int tiles = 1 << grid_shift;
  t.tile_map.assign(static_cast<size_t>(tiles) * tiles, 0);
  t.tile_count = 1;
  t.materials[0] = default_tile_material();
  return t;
}

Terrain flat_terrain(int grid_shift, float spacing, float height) {
  return shaped_terrain(grid_shift, spacing, [height](float, float) { return height; });
}

void PhysicsTest::SetUp() {
  folders = std::make_unique<testkit::DataFolders>();
  for (const char* name : {"generic_frame.shp", "generic_fork_upper.shp", "generic_fork_lower.shp", "generic_swingarm.shp",
                           "generic_rider.shp", "front_wheel.shp", "rear_wheel.shp"})
    testkit::write_file(folders->data + name, testkit::read_file(testkit::fixtures_dir() + "physics/" + name));
  start_physics();
  track().terrain = flat_terrain(7, 2);
  race_clock = 0;
}

void PhysicsTest::TearDown() {
  for (Bike* b : bikes) free_bike(b);
  bikes.clear();
  stop_physics();
  ReleaseTerrain(track().terrain);
  folders.reset();
}

Bike* PhysicsTest::add_bike(const char* model, double x, double z, double heading) {
  Bike* b = load_bike(model, static_cast<int>(bikes.size()), "1", nullptr, nullptr, nullptr, nullptr);
  place_bike(*b, x, z, heading);
  bikes.push_back(b);
  return b;
}

void PhysicsTest::run(int ticks, const std::function<void(int)>& controls) {
  for (int t = 0; t < ticks; ++t) {
    if (controls) controls(t);
    tick_bikes(bikes.data(), static_cast<int>(bikes.size()));
    ++race_clock;
  }
}

void PhysicsTest::ride(Bike* b, double seconds, double throttle, double steer) {
  run(static_cast<int>(seconds * 128), [&](int) {
    set_clutch(*b, 0);
    set_throttle(*b, throttle);
    set_steer(*b, steer);
  });
}

double speed(const Bike* b) { return length(body_velocity(b->frame)); }
Vec3 position(const Bike* b) { return body_position(b->frame); }

double heading_change(const Bike* b) {
  Vec3 forward = -body_axis(b->frame, 2);
  return std::atan2(forward.x, -forward.z);
}

bool upright(const Bike* b) { return std::fabs(roll_angle(b->frame)) < M_PI / 6 && body_axis(b->frame, 1).y > 0.8; }

bool rider_on(const Bike* b) { return !bike_crashed(*b); }

std::vector<double> body_states(const Bike* b) {
  std::vector<double> out;
  for (int k = 0; k < BODY_COUNT; ++k) {
    dBodyID body = bike_body(*b, k);
    for (const dReal* v : {dBodyGetPosition(body), dBodyGetLinearVel(body), dBodyGetAngularVel(body)}) out.insert(out.end(), v, v + 3);
    const dReal* r = dBodyGetRotation(body);
    out.insert(out.end(), r, r + 12);
  }
  out.push_back(b->engine_speed);
  out.push_back(b->drive_angle);
  return out;
}

}  // namespace physics_kit
