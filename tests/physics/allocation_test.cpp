// The simulation allocates nothing per tick once bikes are riding: every
// C++ allocation of this test program is counted while it is switched on.
#include <cstdlib>
#include <new>

#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/rider.h"
#include "scenario_kit.h"

namespace {
bool counting = false;
long allocations = 0;
}  // namespace

void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  if (counting) ++allocations;
  return std::malloc(size ? size : 1);
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept { return operator new(size, tag); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

using namespace physics_kit;

namespace {

TEST_F(PhysicsTest, TicksAllocateNothing) {
  for (int k = 0; k < 6; ++k) {
    Bike* b = add_bike(k % 2 ? "cr125" : "crf250(2009)", 100 + 2.5 * k, 120 - 10 * (k % 3), k % 3 == 2 ? M_PI : 0);
    if (k % 2) apply_settings(*b);
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
  counting = true;
  run(3 * 128, controls);
  counting = false;
  EXPECT_EQ(allocations, 0);
  bool collided = false;
  for (Bike* b : bikes) collided = collided || b->last_bike_collision_tick >= 0;
  EXPECT_TRUE(collided);  // the pair contacts ran too
}

}  // namespace
