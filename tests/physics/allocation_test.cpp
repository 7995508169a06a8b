// The simulation allocates nothing per tick once bikes are riding: every
// C++ allocation of this test program is counted while it is switched on.
#include "allocation_counter.h"
#include "core/settings.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/rider.h"
#include "scenario_kit.h"

using namespace physics_kit;

namespace {

TEST_F(PhysicsTest, TicksAllocateNothing) {
  for (int k = 0; k < 6; ++k) {
    Bike* b = add_bike(k % 2 ? "cr125" : "crf250(2009)", 100 + 2.5 * k, 120 - 10 * (k % 3), k % 3 == 2 ? M_PI : 0);
    if (k % 2) apply_settings(*b, settings);
  }
  throw_rider(*bikes[5]);
  auto controls = [&](int t) {
    for (size_t k = 0; k < bikes.size(); ++k) {
      hold_speed(bikes[k], 10 + 3 * k);
      set_steer(*bikes[k], (t / 64 % 2 ? 0.3 : -0.3) * (k % 2 ? 1 : 0.2));
      set_back_up(*bikes[k], k == 4 ? 1 : 0);
    }
  };
  run(32, controls);
  allocation_counter::start();
  run(3 * 128, controls);
  EXPECT_EQ(allocation_counter::stop(), 0);
  bool collided = false;
  for (Bike* b : bikes) collided = collided || b->last_bike_collision_tick >= 0;
  EXPECT_TRUE(collided);  // the pair contacts ran too
}

}  // namespace
