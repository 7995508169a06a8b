// The short-lived joints the bike code makes every tick: contact joints
// that act as springs, one-sided tethers, and the rule that turns a force
// into a joint motor. All of them live in the contact group and vanish
// after the next world step.
#pragma once

#include <ode/ode.h>

#include "physics/vec3.h"

// ERP and CFM that make a soft constraint act like spring k with damper c
// over one tick.
struct SoftParameters {
  double erp, cfm;
};
SoftParameters soft_parameters(double spring, double damper);

// What a contact between two bodies is made of. body2 may be null (the
// ground, static scenery). `friction_direction` (unit) is used when non-null.
struct SoftContact {
  Vec3 position, normal;
  double depth = 0;
  double spring = 0, damper = 0;
  double mu = 0;  // 0 = frictionless
  bool approx1 = true;
  const Vec3* friction_direction = nullptr;
};

// Creates the contact joint pushing body1 along +normal; null when the
// spring and damper give no constraint.
dJointID make_contact(dBodyID body1, dBodyID body2, const SoftContact& contact);

// Keeps point a (body A coordinates) within `max_length` of point b (body B
// coordinates): past that a spring of 5000 and damper of 500 pulls them back,
// never pushes. Returns whether it acted.
bool soft_tether(dBodyID a, const Vec3& point_a, dBodyID b, const Vec3& point_b, double max_length);

// A spring-damper force through a joint's motor: target speed +-1000 in
// the force's direction, maximum force its size.
void set_slider_force(dJointID slider, double force);
void set_hinge_torque(dJointID hinge, double torque);

// A one-axis angular motor on a body alone, for one step: drives its
// rotation rate about the world axis toward `rate` with at most `max_torque`.
void drive_body_rotation(dBodyID body, const Vec3& world_axis, double rate, double max_torque);
