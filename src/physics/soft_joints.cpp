#include "physics/soft_joints.h"

#include <cmath>

#include "core/units.h"
#include "physics/physics_world.h"

namespace {

constexpr double TETHER_SPRING = 5000;
constexpr double TETHER_DAMPER = 500;
constexpr double MOTOR_SPEED = 1000;

}  // namespace

SoftParameters soft_parameters(double spring, double damper) {
  double hk = dt * spring;
  return {hk / (hk + damper), 1 / (hk + damper)};
}

dJointID make_contact(dBodyID body1, dBodyID body2, const SoftContact& c) {
  if (!(c.spring * dt + c.damper > 0)) return nullptr;
  SoftParameters soft = soft_parameters(c.spring, c.damper);
  dContact contact{};
  contact.surface.mode = dContactSoftERP | dContactSoftCFM | (c.approx1 ? dContactApprox1 : 0);
  contact.surface.mu = c.mu;
  contact.surface.soft_erp = soft.erp;
  contact.surface.soft_cfm = soft.cfm;
  if (c.friction_direction) {
    contact.surface.mode |= dContactFDir1;
    contact.fdir1[0] = c.friction_direction->x;
    contact.fdir1[1] = c.friction_direction->y;
    contact.fdir1[2] = c.friction_direction->z;
  }
  contact.geom.pos[0] = c.position.x;
  contact.geom.pos[1] = c.position.y;
  contact.geom.pos[2] = c.position.z;
  contact.geom.normal[0] = c.normal.x;
  contact.geom.normal[1] = c.normal.y;
  contact.geom.normal[2] = c.normal.z;
  contact.geom.depth = c.depth;
  dJointID joint = dJointCreateContact(physics.world, physics.contacts, &contact);
  dJointAttach(joint, body1, body2);
  return joint;
}

bool soft_tether(dBodyID a, const Vec3& point_a, dBodyID b, const Vec3& point_b, double max_length) {
  Vec3 wa = body_point(a, point_a), wb = body_point(b, point_b);
  Vec3 between = wb - wa;
  double distance = length(between);
  if (!(distance > max_length)) return false;
  SoftContact c;
  c.position = wa;
  // The normal keeps its length (the distance): the correction then closes
  // in at a steady pace rather than in proportion to the distance.
  c.normal = between;
  c.depth = distance - max_length;
  c.spring = TETHER_SPRING;
  c.damper = TETHER_DAMPER;
  c.approx1 = false;
  make_contact(a, b, c);
  return true;
}

void set_slider_force(dJointID slider, double force) {
  dJointSetSliderParam(slider, dParamVel, force >= 0 ? MOTOR_SPEED : -MOTOR_SPEED);
  dJointSetSliderParam(slider, dParamFMax, std::fabs(force));
}

void set_hinge_torque(dJointID hinge, double torque) {
  dJointSetHingeParam(hinge, dParamVel, torque >= 0 ? MOTOR_SPEED : -MOTOR_SPEED);
  dJointSetHingeParam(hinge, dParamFMax, std::fabs(torque));
}

void drive_body_rotation(dBodyID body, const Vec3& axis, double rate, double max_torque) {
  dJointID motor = dJointCreateAMotor(physics.world, physics.contacts);
  dJointAttach(motor, body, nullptr);
  dJointSetAMotorNumAxes(motor, 1);
  dJointSetAMotorAxis(motor, 0, 0, axis.x, axis.y, axis.z);
  dJointSetAMotorParam(motor, dParamVel, rate);
  dJointSetAMotorParam(motor, dParamFMax, max_torque);
}
