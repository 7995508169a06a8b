// The steering controller: turns the bars from the steer input and the
// bike's lean so that a keyboard or a pad can ride it. Normal mode is a
// torque on the bars from lean (leveling), roll rate (roll damping) and the
// input, directly or as a wanted lean; arcade mode holds the lean with a
// motor and lets the bars follow the wheel's travel.
#include <algorithm>
#include <cmath>

#include "core/units.h"
#include "physics/rider.h"
#include "physics/soft_joints.h"

namespace {

constexpr double RECOVER_RATE_LIMIT = 9.817477;  // rad/s back toward upright
constexpr double LEAN_RATE_LIMIT = 3.926991;     // rad/s into a lean
constexpr double ARCADE_MAX_LEAN = M_PI / 4;

double sign(double v) { return v < 0 ? -1 : 1; }

// Unit steering axis, from the fork's lower body to its upper one, in bike space.
Vec3 steering_axis(const Bike& b) {
  return normalized(Vec3(b.info.fork_upper_position) - Vec3(b.info.fork_lower_position));
}

// A position servo on the bars: a command in -2/3 .. 2/3 toward angle `target`.
double steer_servo(const Bike& b, double target) {
  double q = dJointGetHingeAngle(b.steering_head), w = dJointGetHingeAngleRate(b.steering_head);
  double e = std::clamp(target - q, -0.25, 0.25);
  double u = std::fabs(e) <= 1.0 / 32 ? -w : 8 * (e - sign(e) / 32) - w;
  double c = std::fabs(u) <= 1.0 / 2400 ? 0 : (u - sign(u) / 2400) / 2;
  return std::clamp(c, -2.0 / 3, 2.0 / 3);
}

// Angle between the front wheel's travel and the fork's heading.
double front_slip_angle(const Bike& b) {
  Vec3 v = world_to_body(b.fork_upper, body_velocity(b.front_wheel));
  Vec3 axis = steering_axis(b);
  Vec3 along = normalized(Vec3{0, 0, 1} - axis * axis.z);  // the fork's z, square to the steering axis
  double x = v.x, g = dot(v, along);
  if (x * x + g * g <= 1) return 0;
  return -std::atan2(x, -g);
}

double arcade_steering(Bike& b, double steer, double roll) {
  const BikeSetup& s = b.setup;
  double err = roll + steer * ARCADE_MAX_LEAN;
  double k = std::clamp((s.roll_damping - 40) * 0.025, 0.0, 1.0);
  double rate = (1.5 - 0.5 * k) * std::min(std::fabs(err), 1.0 / 16) * 16 * sign(err);
  drive_body_rotation(b.frame, -body_axis(b.frame, 2), rate, 1000);

  double torque = steer_servo(b, front_slip_angle(b) - 0.5 * steer) * s.steering_strength;

  // Drag on the tail keeps the bike from spinning about its height.
  Vec3 tail = body_point(b.frame, {0, 0, 20});
  Vec3 drag = body_point_velocity(b.frame, tail) * -0.25;
  dBodyAddForceAtRelPos(b.frame, drag.x, drag.y, drag.z, 0, 0, 20);
  return torque;
}

double normal_steering(Bike& b, double steer, double roll) {
  const BikeSetup& s = b.setup;
  double strength = s.steering_strength, direct = s.direct_steering;
  double command = strength * steer * direct;
  double level;
  bool rolling = wheel_down(b, WHEEL_FRONT) && dJointGetHingeAngleRate(b.front_axle) > M_PI / 4;
  if (rolling) {
    double roll_rate = world_to_body(b.frame, body_angular_velocity(b.frame)).z;
    double speed = bike_speed(b);
    double damping = roll_rate * s.roll_damping * b.landing_multiplier;
    if (b.landing_multiplier > 1) {
      b.landing_multiplier = s.landing_damping_falloff > 0
                                 ? std::max(1.0, b.landing_multiplier - (s.landing_damping_factor - 1) * dt / s.landing_damping_falloff)
                                 : 1.0;
    }
    if (speed < s.slow_damping_speed) {
      double f = s.slow_damping_factor;
      damping *= f + (speed / s.slow_damping_speed) * (1 - f);
    }
    if (roll_rate * roll > 0 && std::fabs(roll) > s.roll_limit_angle)
      damping *= 1 + (std::fabs(roll) - s.roll_limit_angle) * s.roll_limit_factor;
    level = roll * s.leveling + damping;

    if (direct < 1) {
      // Lean-to-steer: the input asks for a lean, the bars countersteer to reach it.
      double wanted = (-steer * max_lean_for_speed(b, speed, 4) - roll) * 2.5;
      double limit = wanted * roll < 0 ? RECOVER_RATE_LIMIT : LEAN_RATE_LIMIT;
      wanted = std::clamp(wanted, -limit, limit);
      double e = std::clamp(wanted - roll_rate, -0.125, 0.125);
      double u = std::clamp(4 * (roll_rate - wanted + e), -1.0, 1.0);
      command = u * strength + (command - u * strength) * direct;
    }
  } else {
    // In the air or barely rolling: the bars centre themselves, and the
    // next touch-down is damped harder.
    b.landing_multiplier = s.landing_damping_factor;
    level = -50 * dJointGetHingeAngle(b.steering_head);
    if (!(b.flags & OPTION_STEER_IN_AIR)) command = 0;
  }
  return std::clamp(1.5 * (level + command), -s.max_steering_force, s.max_steering_force);
}

}  // namespace

void steer_bike(Bike& b) {
  double steer = b.controls.steer;
  double roll = roll_angle(b.frame);
  double torque;
  if (b.flags & OPTION_ARCADE)
    torque = arcade_steering(b, steer, roll);
  else if (!bike_crashed(b))
    torque = normal_steering(b, steer, roll);
  else
    return;
  // About the steering axis: onto the front wheel, reacting on the frame.
  Vec3 n = body_to_world(b.frame, steering_axis(b)) * torque;
  dBodyAddTorque(b.front_wheel, n.x, n.y, n.z);
  dBodyAddTorque(b.frame, -n.x, -n.y, -n.z);
}
