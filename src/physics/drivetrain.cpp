// Engine, clutch, gearbox, chain and brakes. The chain is a stiff spring:
// the drive angle (the engine side, expressed at the rear wheel) runs ahead
// of the rear axle by the wind-up, which may not exceed what the clutch
// engagement holds before slipping.
#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike_controls.h"
#include "physics/bike_dynamics.h"

namespace {

constexpr double CHAIN_STIFFNESS = 7500;  // ft*lbf per rad of wind-up
constexpr double CHAIN_DAMPING = 0.75;    // ft*lbf per rad/s of slip at the engine
constexpr double CLUTCH_BITE_RANGE = 2000;  // rpm from first bite to full engagement
constexpr int SHIFT_CHECK_TICKS = 32;

double wrap_angle(double a) {
  if (a > M_PI || a <= -M_PI) a = std::remainder(a, 2 * M_PI);
  if (a <= -M_PI) a += 2 * M_PI;
  return a;
}

// Engine turns per rear wheel turn in the current gear.
double overall_ratio(const Bike& b) {
  return b.info.primary_ratio * gear_ratio(b, b.controls.gear) * b.final_drive_ratio;
}

struct Coupling {
  double windup, engagement, torque;
};

// Chain wind-up, clutch engagement and the torque through the chain; the
// drive angle is pulled back when the wind-up exceeds what the clutch holds.
Coupling couple(Bike& b, double rpm, double wheel_rate, double ratio) {
  double axle = dJointGetHingeAngle(b.rear_axle);
  double clutch = b.controls.clutch;
  Coupling c;
  c.windup = wrap_angle(b.drive_angle - axle);
  c.engagement = clutch_engagement(b, rpm);
  c.torque = CHAIN_STIFFNESS * c.windup + CHAIN_DAMPING * (b.engine_speed - wheel_rate * ratio);
  if (c.torque < 0) c.engagement = clutch;  // the wheel drives the engine: engine braking
  double hold = c.engagement * M_PI / 4;
  if (c.windup > hold) b.drive_angle = axle + hold;
  if (c.windup < -hold) b.drive_angle = axle - hold;
  return c;
}

void automatic_shift(Bike& b, double wheel_rpm) {
  if (!(b.flags & OPTION_AUTO_SHIFT) || race_clock % SHIFT_CHECK_TICKS != 0) return;
  bool rear_loaded = dJointGetHingeAngle(b.swingarm_pivot) < -0.01;
  if (!rear_loaded || (wheel_down(b, WHEEL_REAR) && wheel_slides(b, WHEEL_REAR))) return;
  int gear = b.controls.gear;
  if (wheel_rpm < b.info.auto_downshift_rpm)
    gear -= 1;
  else if (wheel_rpm > b.info.auto_upshift_rpm)
    gear += 1;
  b.controls.gear = valid_gear(b, gear);
}

bool wheelie_cut(const Bike& b) {
  if (!(b.flags & OPTION_CUT_WHEELIE_DRIVE)) return false;
  if (wheel_down(b, WHEEL_FRONT) || !wheel_down(b, WHEEL_REAR)) return false;
  // Still rising, or not yet falling back fast.
  return world_to_body(b.frame, body_angular_velocity(b.frame)).x > -1.0 / 32;
}

void brakes(Bike& b) {
  double front = b.setup.front_braking_torque * b.controls.front_brake;
  if ((b.flags & OPTION_FRONT_ANTILOCK) && wheel_down(b, WHEEL_FRONT) && wheel_slides(b, WHEEL_FRONT)) front = 0;
  if ((b.flags & OPTION_FRONT_BRAKE_RELEASE) && wheel_down(b, WHEEL_FRONT) && !wheel_down(b, WHEEL_REAR)) front = 0;
  dJointSetHingeParam(b.front_axle, dParamVel, 0);
  dJointSetHingeParam(b.front_axle, dParamFMax, front);

  double rear = b.setup.rear_braking_torque * b.controls.rear_brake;
  if ((b.flags & OPTION_REAR_ANTILOCK) && wheel_down(b, WHEEL_REAR) && wheel_slides(b, WHEEL_REAR)) rear = 0;
  dJointSetHingeParam(b.rear_axle, dParamVel, 0);
  dJointSetHingeParam(b.rear_axle, dParamFMax, rear);
}

}  // namespace

double clutch_engagement(const Bike& b, double rpm) {
  double clutch = b.controls.clutch;
  if (rpm > b.setup.auto_clutch_rpm + CLUTCH_BITE_RANGE) return clutch;
  return std::min(clutch, std::clamp((rpm - b.setup.auto_clutch_rpm) / CLUTCH_BITE_RANGE, 0.0, 1.0));
}

int torque_index(double rpm) {
  double index = std::trunc(rpm * 0.002 + 0.5);
  if (!(index >= 0)) return 0;
  return index > TORQUE_ENTRIES - 1 ? TORQUE_ENTRIES - 1 : static_cast<int>(index);
}

double engine_torque(const Bike& b) {
  int i = torque_index(engine_rpm(b));
  double closed = b.info.closed_torque[i];
  double torque = closed + b.controls.throttle * (b.info.full_torque[i] - closed);
  if (torque > 0 && wheelie_cut(b)) torque = 0;
  return torque;
}

void drivetrain_and_brakes(Bike& b) {
  b.controls.gear = valid_gear(b, b.controls.gear);
  double ratio = overall_ratio(b);
  double wheel_rate = dJointGetHingeAngleRate(b.rear_axle);
  automatic_shift(b, wheel_rate * ratio * 30 / M_PI);
  ratio = overall_ratio(b);

  if (ratio > 0) {
    Coupling c = couple(b, engine_rpm(b), wheel_rate, ratio);
    double drive = c.torque * c.engagement;
    dBodyAddRelTorque(b.rear_wheel, -drive, 0, 0);
    dBodyAddRelTorque(b.frame, drive, 0, 0);  // the reaction lifts the front under power

    double torque = engine_torque(b);
    c = couple(b, engine_rpm(b), wheel_rate, ratio);
    b.engine_speed += dt * (torque - c.torque * c.engagement / ratio) / b.engine_inertia;
    b.drive_angle = wrap_angle(b.drive_angle + dt * b.engine_speed / ratio);
  } else {
    b.engine_speed += dt * engine_torque(b) / b.engine_inertia;  // no gear at all: the engine runs free
  }
  brakes(b);
}
