#include "physics/physics_world.h"

#include "core/units.h"

PhysicsWorld physics;

void start_physics() {
  if (physics.world) return;
  dInitODE2(0);
  physics.world = dWorldCreate();
  dWorldSetGravity(physics.world, 0, -GRAVITY, 0);
  physics.contacts = dJointGroupCreate(0);
}

void stop_physics() {
  if (!physics.world) return;
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
