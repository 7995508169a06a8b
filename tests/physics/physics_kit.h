// Shared set-up of the physics tests: an ODE world, the hand-made bike
// shapes in a scratch data folder, hand-made terrains, bikes placed on the
// ground, and a tick loop with per-tick controls.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "physics/bike.h"
#include "testkit.h"
#include "track/terrain.h"

namespace physics_kit {

// A level field of 2^(grid_shift+1) cells per side with one ground
// material of friction 1.
Terrain flat_terrain(int grid_shift, float spacing, float height = 0);
// Heights from a function of (x, z).
Terrain shaped_terrain(int grid_shift, float spacing, const std::function<float(float x, float z)>& height);

class PhysicsTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // A bike of the model on the ground at (x, z) facing `heading`
  // (0 = toward -z), with the default setup.
  Bike* add_bike(const char* model, double x, double z, double heading = 0);
  // Runs ticks; `controls` is called before each with the tick number.
  void run(int ticks, const std::function<void(int tick)>& controls = {});
  // Rides the bike for `seconds` with the clutch out and the given throttle.
  void ride(Bike* b, double seconds, double throttle, double steer = 0);

  std::unique_ptr<testkit::DataFolders> folders;
  std::vector<Bike*> bikes;
};

double speed(const Bike* b);            // ft/s of the frame
Vec3 position(const Bike* b);           // of the frame
double heading_change(const Bike* b);   // yaw from -z, radians, positive to the right
bool upright(const Bike* b);            // frame leans less than 30 degrees
bool rider_on(const Bike* b);
// Every body state of the bike, for bit comparisons.
std::vector<double> body_states(const Bike* b);

constexpr double MPH = 1.4666666666666666;  // ft/s

}  // namespace physics_kit
