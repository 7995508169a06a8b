#include "physics/physics_world.h"

#include <algorithm>
#include <thread>

#include "core/units.h"
#include "platform/base/options.h"

PhysicsWorld physics;

namespace {

int wanted_threads = 0;  // 0: the platform option decides

// "physics-threads": 1 (the default) solves in the calling thread, 0 one
// thread per core.
int step_threads() {
  if (wanted_threads > 0) return wanted_threads;
  const int option = voxa_option_int("physics-threads", 1);
  if (option > 0) return std::min(option, 8);
  return static_cast<int>(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
}

// The world's islands (each bike with its contacts, or a pack of touching
// bikes) are solved on a pool of threads. Every island is solved alone, in
// the same order of bodies and joints, so the result is the same to the bit
// whatever the number of threads.
void start_step_threads() {
  const int threads = step_threads();
  if (threads < 2) return;
  physics.threading = dThreadingAllocateMultiThreadedImplementation();
  if (!physics.threading) return;
  physics.thread_pool = dThreadingAllocateThreadPool(static_cast<unsigned>(threads - 1), 0, dAllocateFlagBasicData, nullptr);
  if (!physics.thread_pool) {
    dThreadingFreeImplementation(physics.threading);
    physics.threading = nullptr;
    return;
  }
  dThreadingThreadPoolServeMultiThreadedImplementation(physics.thread_pool, physics.threading);
  dWorldSetStepThreadingImplementation(physics.world, dThreadingImplementationGetFunctions(physics.threading),
                                       physics.threading);
  dWorldSetStepIslandsProcessingMaxThreadCount(physics.world, static_cast<unsigned>(threads));
}

void stop_step_threads() {
  if (!physics.threading) return;
  dThreadingImplementationShutdownProcessing(physics.threading);
  dThreadingFreeThreadPool(physics.thread_pool);
  dWorldSetStepThreadingImplementation(physics.world, nullptr, nullptr);
  dThreadingFreeImplementation(physics.threading);
  physics.thread_pool = nullptr;
  physics.threading = nullptr;
}

}  // namespace

void set_physics_threads(int threads) { wanted_threads = std::max(threads, 0); }

void start_physics() {
  if (physics.world) return;
  dInitODE2(0);
  physics.world = dWorldCreate();
  dWorldSetGravity(physics.world, 0, -GRAVITY, 0);
  physics.contacts = dJointGroupCreate(0);
  start_step_threads();
}

void stop_physics() {
  if (!physics.world) return;
  stop_step_threads();
  dJointGroupDestroy(physics.contacts);
  dWorldDestroy(physics.world);
  physics.contacts = nullptr;
  physics.world = nullptr;
  dCloseODE();
}

void step_physics_world() {
  dWorldStep(physics.world, dt);
  dJointGroupEmpty(physics.contacts);
}
