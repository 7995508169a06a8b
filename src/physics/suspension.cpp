// Fork and shock: spring, preload, air column and damping, put into the
// fork slider and the swingarm pivot through their motors.
#include <algorithm>

#include "physics/bike_dynamics.h"
#include "physics/soft_joints.h"

namespace {

constexpr double FORK_AIR_SPRING = 82.46169;  // lbf: pressure force scale of the air column
constexpr double RAMP_FRACTION = 1.0 / 32;    // of travel, before full extension

}  // namespace

void fork_force(Bike& b) {
  const BikeSetup& s = b.setup;
  double travel = b.info.fork_travel;
  double p = dJointGetSliderPosition(b.fork_slide);  // 0 extended, -travel compressed
  double v = dJointGetSliderPositionRate(b.fork_slide);
  double compression = std::clamp(-p, 0.0, travel);
  double damping = v * (v >= 0 ? s.fork_rebound_damping : s.fork_compression_damping);
  double column = travel + s.fork_air_gap;
  double air = FORK_AIR_SPRING * (column / (column - compression) - 1);
  double ramp = std::clamp(p / (travel * -RAMP_FRACTION), 0.0, 1.0);
  set_slider_force(b.fork_slide, ((s.fork_preload - p) * s.fork_spring_rate - damping + air) * ramp);
}

void shock_torque(Bike& b) {
  const BikeSetup& s = b.setup;
  const BikeInfo& i = b.info;
  double travel = i.swingarm_travel;
  double angle = dJointGetHingeAngle(b.swingarm_pivot);  // 0 extended, -travel compressed
  double rate = dJointGetHingeAngleRate(b.swingarm_pivot);
  double q = -angle / travel;
  double k = (1 / travel) * (i.linkage_ratio_compressed - i.linkage_ratio_extended) * q;
  double ratio = i.linkage_ratio_extended + k;
  double displacement = i.linkage_ratio_extended * q + q * k / 2;
  double damping = -rate * (rate >= 0 ? s.shock_rebound_damping : s.shock_compression_damping);
  double ramp = std::clamp(angle / (travel * -RAMP_FRACTION), 0.0, 1.0);
  double torque = ratio * ((displacement + s.shock_preload) * s.shock_spring_rate) + ratio * ratio * damping;
  set_hinge_torque(b.swingarm_pivot, torque * ramp);
}
