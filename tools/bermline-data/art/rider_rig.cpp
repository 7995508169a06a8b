#include "art/rider_rig.h"

#include <algorithm>
#include <cmath>

#include "art/bike_geometry.h"

namespace art {

using kit::Vec3;

std::string rider_rig_word() {
  return "rider:torso,upper_arm_l,forearm_l,upper_arm_r,forearm_r,thigh_l,shin_l,thigh_r,shin_r";
}

Vec3 solve_limb(Vec3 root, Vec3 target, double upper, double lower, Vec3 hint) {
  Vec3 to = target - root;
  double reach = std::clamp(kit::length(to), std::fabs(upper - lower) + 1e-6, upper + lower - 1e-6);
  Vec3 dir = kit::normalized(to);
  double along = (upper * upper - lower * lower + reach * reach) / (2 * reach);
  double out = std::sqrt(std::max(0.0, upper * upper - along * along));
  Vec3 bend = kit::normalized(hint - dir * kit::dot(hint, dir));
  return root + dir * along + bend * out;
}

const RiderPose& rider_rest_pose() {
  static const RiderPose pose = [] {
    RiderPose p;
    for (int i = 0; i < 2; ++i) {
      double side = i == 0 ? -1 : 1;
      p.shoulder[i] = mirror(SHOULDER, side);
      p.hand[i] = grip_point(side) - RIDER_CENTRE;
      p.elbow[i] = solve_limb(p.shoulder[i], p.hand[i], UPPER_ARM, FOREARM, ELBOW_BEND);
      p.hip[i] = mirror(HIP, side);
      p.foot[i] = peg_point(side) - RIDER_CENTRE;
      p.knee[i] = solve_limb(p.hip[i], p.foot[i], THIGH, SHIN, KNEE_BEND);
    }
    return p;
  }();
  return pose;
}

std::array<Vec3, RIDER_BONE_COUNT> rider_bone_origins() {
  const RiderPose& p = rider_rest_pose();
  return {Vec3{0, 0, 0}, p.shoulder[0], p.elbow[0], p.shoulder[1], p.elbow[1],
          p.hip[0],      p.knee[0],     p.hip[1],     p.knee[1]};
}

}  // namespace art
