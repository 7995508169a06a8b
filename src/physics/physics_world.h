// The one ODE world that every bike lives in, and the contact joint group
// whose joints last a single world step. Created at start-up, destroyed at
// exit.
#pragma once

#include <ode/ode.h>

struct PhysicsWorld {
  dWorldID world = nullptr;
  dJointGroupID contacts = nullptr;
};
extern PhysicsWorld physics;

// Initialises ODE and creates the world (gravity (0, -32, 0), ODE's default
// ERP and CFM) and the contact group. Calling it again does nothing.
void start_physics();
// Destroys the group and the world and closes ODE. Bikes must be freed first.
void stop_physics();

// One simulation tick of the world: dWorldStep by dt (never the quick
// stepper), then the contact group is emptied.
void step_physics_world();
