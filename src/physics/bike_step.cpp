#include "physics/bike_step.h"

#include "core/race_clock.h"
#include "physics/bike_dynamics.h"
#include "physics/rider.h"

namespace {

// Ticks after a reset before the joint feedback describes the new pose.
constexpr int BALANCE_FIRST_STEP = 2;

}  // namespace

void front_wheel_damping(Bike& b) {
  Vec3 n = body_axis(b.front_wheel, 0);
  Vec3 w = body_angular_velocity(b.front_wheel);
  Vec3 torque = (n * dot(w, n) - w) * b.setup.steering_damping;
  dBodyAddTorque(b.front_wheel, torque.x, torque.y, torque.z);
  dBodyAddTorque(b.frame, -torque.x, -torque.y, -torque.z);
}

void joint_force_balance(Bike& b) {
  if (bike_crashed(b) || b.steps_since_reset < BALANCE_FIRST_STEP) return;
  Vec3 centre = body_position(b.frame);
  Vec3 force, torque;
  for (int k = 0; k < JOINT_COUNT; ++k) {
    dJointID j = bike_joint(b, k);
    const dJointFeedback& f = b.feedback[k];
    Vec3 f1(f.f1), f2(f.f2);
    force += f1 + f2;
    torque += Vec3(f.t1) + Vec3(f.t2);
    if (dBodyID b1 = dJointGetBody(j, 0)) torque += cross(body_position(b1) - centre, f1);
    if (dBodyID b2 = dJointGetBody(j, 1)) torque += cross(body_position(b2) - centre, f2);
  }
  dBodyAddForce(b.frame, -force.x, -force.y, -force.z);
  dBodyAddTorque(b.frame, -torque.x, -torque.y, -torque.z);
}

void step_bike(Bike& b, bool simulated) {
  if (!simulated) return;
  if (bike_crashed(b)) {
    BikeControls& c = b.controls;
    c.throttle = c.dab = c.back_up = c.lean = 0;
  }
  check_ejection(b);
  SavedControls saved = crash_recovery_and_stops(b);
  rider_springs(b);
  fork_force(b);
  shock_torque(b);
  steer_bike(b);
  drivetrain_and_brakes(b);
  front_wheel_damping(b);
  joint_force_balance(b);
  dab_support(b);
  restore_controls(b, saved);
  animate_crash_points(b);
  b.velocity_history[race_clock & 3] = body_velocity(b.rider);
  if (b.steps_since_reset < BALANCE_FIRST_STEP) ++b.steps_since_reset;
}
