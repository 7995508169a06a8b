#include "autopilot_kit.h"

#include "autopilot/autopilot.h"
#include "autopilot/line_sections.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "physics/bike_load.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "race/race_session.h"
#include "track/ground_material.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace autopilot_kit {

void use_four_sections() {
  clear_timing_gates();
  for (int k = 0; k < 3; ++k) track().timing.gates.push_back({{100.0f * k, 0, 0}, {1, 0, 0}, 10});
  // First lap: 0, 1 (no new section), 2; normal lap: 0, 2.
  track().timing.lap_sequence = {0, GATE_NO_SEGMENT + 1, 2, 0, 2};
  track().timing.first_lap_count = 3;
  track().timing.normal_lap_count = 2;
  track().timing.first_lap_real_count = track().timing.normal_lap_real_count = 2;
  size_line_tables();
}

void forget_sections() {
  clear_timing_gates();
  line_set = LineSet{};
  index_sections();
  race.learning = true;
}

LineSample sample(float x, float z, float speed, float y) { return {x, y, z, speed, 0}; }

RacingLine line_through(const std::vector<std::pair<float, float>>& points, int32_t own_time_2, int32_t tested, int32_t sum_2,
                        int32_t failures) {
  RacingLine l;
  for (const auto& [x, z] : points) l.samples.push_back(sample(x, z));
  l.own_time = own_time_2 / 2;
  l.own_time_2 = own_time_2;
  l.tested = tested;
  l.sum_2 = sum_2;
  l.sum = sum_2 / 2;
  l.failures = failures;
  return l;
}

void LineTablesTest::SetUp() {
  use_four_sections();
  clear_lines();
}

void LineTablesTest::TearDown() { forget_sections(); }

namespace {

// A level field 512 ft square with one ground material.
Terrain flat_field() {
  Terrain t;
  t.grid_shift = 7;
  t.grid_size = (2 << t.grid_shift) + 1;
  t.spacing = 2;
  t.tile_size = 2 * t.spacing;
  t.extent = (t.grid_size - 1) * t.spacing;
  t.heights.assign(static_cast<size_t>(t.grid_size) * t.grid_size, 0.0f);
  const int tiles = 1 << t.grid_shift;
  t.tile_map.assign(static_cast<size_t>(tiles) * tiles, 0);
  t.tile_count = 1;
  t.materials[0] = default_tile_material();
  return t;
}

}  // namespace

void RobotBikeTest::SetUp() {
  folders = std::make_unique<testkit::DataFolders>();
  for (const char* name : {"generic_frame.shp", "generic_fork_upper.shp", "generic_fork_lower.shp", "generic_swingarm.shp",
                           "generic_rider.shp", "front_wheel.shp", "rear_wheel.shp"})
    testkit::write_file(folders->data + name, testkit::read_file(testkit::fixtures_dir() + "physics/" + name));
  start_physics();
  track().terrain = flat_field();
  race_clock = 0;
  saved_signal = race.start_signal_tick;
  saved_drop = race.gate_drop_tick;
  reset_rider_lines();
  bike = load_bike("crf250(2009)", 0, "7", nullptr, nullptr, nullptr, nullptr);
  stand_at(200, 200);
  std::copy(std::begin(race.slot_bike), std::end(race.slot_bike), saved_bikes);
  std::fill(std::begin(race.slot_bike), std::end(race.slot_bike), nullptr);
  race.slot_bike[0] = bike;
}

Bike* RobotBikeTest::add_bike(int slot, double x, double z, double heading) {
  Bike* other = load_bike("crf250(2009)", slot, "8", nullptr, nullptr, nullptr, nullptr);
  if (!other) return nullptr;
  others.push_back(other);
  place_bike(*other, x, z, heading);
  race.slot_bike[slot] = other;
  return other;
}

void RobotBikeTest::TearDown() {
  std::copy(std::begin(saved_bikes), std::end(saved_bikes), race.slot_bike);
  for (Bike* other : others) free_bike(other);
  others.clear();
  free_bike(bike);
  bike = nullptr;
  stop_physics();
  ReleaseTerrain(track().terrain);
  reset_rider_lines();
  race.start_signal_tick = saved_signal;
  race.gate_drop_tick = saved_drop;
  race_clock = 0;
  folders.reset();
}

void RobotBikeTest::stand_at(double x, double z, double heading) { place_bike(*bike, x, z, heading); }

Vec3 RobotBikeTest::at() const { return body_position(bike->frame); }

Vec3 RobotBikeTest::forward() const { return -body_axis(bike->frame, 2); }

}  // namespace autopilot_kit
