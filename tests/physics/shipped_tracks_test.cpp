// Bikes on every track the data builder writes: they stand at the starting
// gate, then race off it with the pack, on the shipped bike shapes.
#include <cmath>
#include <cstdlib>

#include "bike_ticks.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "data/data_dirs.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "physics/rider.h"
#include "scenario_kit.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_list.h"
#include "track/track_load.h"

using namespace physics_kit;

namespace {

constexpr int RIDERS = 8;

TEST(ShippedTracks, BikesStandAtTheGateAndRaceOff) {
  std::string home = testkit::scratch_dir("home");
  setenv("BL_USER_HOME", home.c_str(), 1);
  setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  reset_data_layer();
  reset_settings();
  apply_stability_preset(settings.stability.value);
  ASSERT_TRUE(build_track_list()) << "no tracks in " << testkit::game_dir();
  start_physics();
  for (const std::string& dir : track_list.dirs) {
    SCOPED_TRACE(dir);
    ASSERT_EQ(LoadTrack(dir), 1);
    ASSERT_GE(track().timing.start_positions.size(), static_cast<size_t>(RIDERS));
    std::vector<Bike*> bikes;
    for (int k = 0; k < RIDERS; ++k) {
      Bike* b = load_bike(k % 2 ? "kx125" : "yz250f(2009)", k, "1", nullptr, nullptr, nullptr, nullptr);
      ASSERT_NE(b->shapes[BODY_FRAME].source, nullptr) << "the shipped bike shapes load";
      const StartPosition& p = track().timing.start_positions[static_cast<size_t>(k)];
      place_bike(*b, p.x, p.z, p.heading);
      if (k < RIDERS / 2) apply_settings(*b, settings);  // half ride with the player's assists
      set_automatic_shifting(*b, 1);
      bikes.push_back(b);
    }
    race_clock = 0;
    auto tick = [&](bool racing) {
      for (Bike* b : bikes) {
        set_clutch(*b, racing ? 0 : 1);
        set_throttle(*b, racing ? 1 : 0);
        set_front_brake(*b, racing ? 0 : 1);
      }
      tick_bikes(bikes.data(), RIDERS);
      ++race_clock;
    };
    for (int t = 0; t < 2 * 128; ++t) tick(false);
    std::vector<Vec3> start;
    for (Bike* b : bikes) {
      EXPECT_TRUE(upright(b)) << b->slot;
      EXPECT_TRUE(wheel_down(*b, WHEEL_FRONT) && wheel_down(*b, WHEEL_REAR)) << b->slot;
      EXPECT_LT(speed(b), 0.5) << b->slot;
      start.push_back(position(b));
    }
    for (int t = 0; t < 3 * 128; ++t) {
      tick(true);
      for (Bike* b : bikes) {
        Vec3 p = position(b);
        ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z)) << b->slot;
        ASSERT_GT(p.y, TerrainHeightAt(track().terrain, p.x, p.z) - 1) << b->slot;  // never through the ground
        ASSERT_LT(speed(b), 150) << b->slot;
      }
    }
    int rode_off = 0;
    for (int k = 0; k < RIDERS; ++k)
      rode_off += length(position(bikes[k]) - start[k]) > 30 && rider_on(bikes[k]) && upright(bikes[k]);
    EXPECT_GE(rode_off, RIDERS - 1);
    for (Bike* b : bikes) free_bike(b);
    UnloadTrack();
  }
  stop_physics();
  reset_data_layer();
}

}  // namespace
