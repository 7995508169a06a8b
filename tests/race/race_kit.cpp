#include "race_kit.h"

#include <cstdio>

#include "autopilot/coach.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "data/image_write.h"
#include "physics/bike_load.h"
#include "physics/physics_world.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "race/standings.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_list.h"
#include "track/track_load.h"

namespace race_kit {

const char* const FLATS_TIMING_GATES =
    "startinggate:\n"
    "[ 226 0 300 ] 0\n[ 232 0 300 ] 0\n[ 238 0 300 ] 0\n[ 244 0 300 ] 0\n"
    "[ 250 0 300 ] 0\n[ 256 0 300 ] 0\n[ 262 0 300 ] 0\n[ 268 0 300 ] 0\n"
    "checkpoints:\n"
    "20 [ 250 0 200 ] [ 0 0 -1 ]\n"
    "20 [ 350 0 150 ] [ 1 0 0 ]\n"
    "20 [ 400 0 300 ] [ 0 0 1 ]\n"
    "20 [ 300 0 400 ] [ -1 0 0 ]\n"
    "firstlap:\n0 1 2 3\n"
    "normallap:\n0 1 2 3\n";

namespace {

constexpr int FLATS_SHIFT = 6;  // 129 x 129 samples
constexpr float FLATS_SPACING = 4;

// Without samples (and without terrain.png) the field is level at its minimum.
std::string flat_heights() {
  char header[128];
  std::snprintf(header, sizeof header, "%d %f %f %f\n", FLATS_SHIFT, FLATS_SPACING, 0.0, 10.0);
  return header;
}

std::string flat_shading() {
  const int p = (2 << FLATS_SHIFT) + 1;
  std::vector<uint8_t> rgb(static_cast<size_t>(p) * p * 3, 128);
  return encode_ppm(rgb.data(), p, p);
}

}  // namespace

void write_bike_shapes(const std::string& data) {
  for (const char* name : {"generic_frame.shp", "generic_fork_upper.shp", "generic_fork_lower.shp", "generic_swingarm.shp",
                           "generic_rider.shp", "front_wheel.shp", "rear_wheel.shp"})
    testkit::write_file(data + name, testkit::read_file(testkit::fixtures_dir() + "physics/" + name));
}

void use_flat_terrain() {
  Terrain& t = track().terrain;
  ReleaseTerrain(t);
  t.grid_shift = FLATS_SHIFT;
  t.grid_size = (2 << FLATS_SHIFT) + 1;
  t.spacing = FLATS_SPACING;
  t.tile_size = 2 * FLATS_SPACING;
  t.extent = (t.grid_size - 1) * FLATS_SPACING;
  t.heights.assign(static_cast<size_t>(t.grid_size) * t.grid_size, 0.0f);
  t.min_height = t.max_height = 0;
  const int tiles = 1 << FLATS_SHIFT;
  t.tile_map.assign(static_cast<size_t>(tiles) * tiles, 0);
  t.tile_count = 1;
  t.materials[0] = default_tile_material();
}

void RaceTest::SetUp() {
  folders = std::make_unique<testkit::DataFolders>();
  write_bike_shapes(folders->data);
  run_settings = RunSettings();
  reset_settings();
  set_autopilot_hooks({});
  start_physics();
  clear_race_session();
  race_clock = 0;
}

void RaceTest::TearDown() {
  end_race_session();
  UnloadTrack();
  track().name.clear();
  clear_timing_gates();
  stop_physics();
  folders.reset();
}

void RaceTest::write_track(const std::string& gates_file) {
  const std::string folder = folders->data + "flats/";
  const int tiles = 1 << FLATS_SHIFT;
  testkit::write_file(folder + "terrain.hf", flat_heights());
  testkit::write_file(folder + "shading.ppm", flat_shading());
  testkit::write_file(folder + "texturelist", "1.0 5.0 15.0 @flats/dirt.png\n");
  testkit::write_file(folder + "tilemap", std::string(static_cast<size_t>(tiles) * tiles, '\0'));
  testkit::write_file(folder + "desc", "Flats\n");
  testkit::write_file(folder + "timing_gates", gates_file);
}

void RaceTest::select_flats() {
  reset_data_layer();  // see the files written since the index was built
  ASSERT_TRUE(build_track_list());
  select_track("flats");
  ASSERT_EQ(track_list.dirs[static_cast<size_t>(track_list.selected)], "flats");
}

std::vector<int32_t> RaceTest::lineup(std::vector<int32_t> codes) {
  codes.resize(RACE_SLOTS, SLOT_EMPTY);
  return codes;
}

RaceSetup RaceTest::flats_race(std::vector<int32_t> codes, int32_t laps) {
  RaceSetup setup = player_race_setup(settings, "flats", laps);
  std::vector<int32_t> all = lineup(std::move(codes));
  for (int k = 0; k < RACE_SLOTS; ++k) setup.slots[k].code = all[static_cast<size_t>(k)];
  return setup;
}

void FlatsRace::SetUp() {
  RaceTest::SetUp();
  write_track();
  select_flats();
  reset_coaches();
}

void HandTimedRace::SetUp() {
  RaceTest::SetUp();
  clear_timing_gates();
  for (int k = 0; k < 6; ++k) track().timing.gates.push_back({{100.0f * k, 0, 0}, {1, 0, 0}, 10});
  track().timing.lap_sequence = {0, 1, 2, 3, 4, 5, 0, 1, 2, 3, 4, 5};
  track().timing.first_lap_count = track().timing.normal_lap_count = 6;
  race.gate_drop_tick = 0;
  race.race_length_ticks = 0;
  race.race_laps = race.finish_lap = 10;
  reset_standings();
}

Bike* HandTimedRace::bike_in_slot(int slot) {
  Bike* b = load_bike("crf250(2009)", slot, std::to_string(10 + slot).c_str(), nullptr, nullptr, nullptr, nullptr);
  race.slot_bike[slot] = b;
  race.slot_control[slot] = CONTROL_LOCAL;
  dBodySetPosition(b->front_wheel, -1000, 0, -1000);
  return b;
}

void HandTimedRace::cross(Bike& b, int gate, int32_t tick) {
  const TimingGate& g = track().timing.gates[static_cast<size_t>(gate)];
  dBodySetPosition(b.front_wheel, g.centre[0] + g.direction[0], 0, g.centre[2] + g.direction[2]);
  race_clock = tick;
  process_gates(b, tick);
  dBodySetPosition(b.front_wheel, -1000, 0, -1000);
}

}  // namespace race_kit
