// The one ODE world that every bike lives in, and the contact joint group
// whose joints last a single world step. Created at start-up, destroyed at
// exit.
#pragma once

#include <ode/ode.h>

struct PhysicsWorld {
  dWorldID world = nullptr;
  dJointGroupID contacts = nullptr;
  // The threads the world step solves its islands on (none on one core).
  dThreadingImplementationID threading = nullptr;
  dThreadingThreadPoolID thread_pool = nullptr;
};
extern PhysicsWorld physics;

// Initialises ODE and creates the world (gravity (0, -32, 0), ODE's default
// ERP and CFM) and the contact group. Calling it again does nothing.
void start_physics();
// How many threads the world step may use from the next start_physics on:
// 1 none besides the caller; 0 (the default) as the platform option
// "physics-threads" says (1 unless set; 0 there means one per core).
void set_physics_threads(int threads);
// Destroys the group and the world and closes ODE. Bikes must be freed first.
void stop_physics();

// One simulation tick of the world: dWorldStep by dt (never the quick
// stepper), then the contact group is emptied.
void step_physics_world();
