#include "physics/physics_world.h"

#include "core/units.h"

dWorldID physics_world = nullptr;
dJointGroupID contact_group = nullptr;

void start_physics() {
  if (physics_world) return;
  dInitODE2(0);
  physics_world = dWorldCreate();
  dWorldSetGravity(physics_world, 0, -GRAVITY, 0);
  contact_group = dJointGroupCreate(0);
}

void stop_physics() {
  if (!physics_world) return;
  dJointGroupDestroy(contact_group);
  dWorldDestroy(physics_world);
  contact_group = nullptr;
  physics_world = nullptr;
  dCloseODE();
}

void step_physics_world() {
  dWorldStep(physics_world, dt);
  dJointGroupEmpty(contact_group);
}
