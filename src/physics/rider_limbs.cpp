#include "physics/rider_limbs.h"

#include <algorithm>
#include <cmath>

Limb solve_limb(const Vec3& root, const Vec3& target, double upper, double lower, const Vec3& bend) {
  Vec3 reach = target - root;
  double distance = length(reach);
  double longest = upper + lower;
  Vec3 direction = distance > 1e-9 ? reach / distance : Vec3{0, -1, 0};
  Limb limb;
  // Out of reach: straighten toward the target.
  double span = std::clamp(distance, std::fabs(upper - lower), longest);
  limb.end = root + direction * span;
  // The middle joint on the circle where both bones meet, toward `bend`.
  double along = (span * span + upper * upper - lower * lower) / (2 * std::max(span, 1e-9));
  double out = std::sqrt(std::max(0.0, upper * upper - along * along));
  Vec3 side = bend - direction * dot(bend, direction);
  if (length_squared(side) < 1e-12) side = cross(direction, std::fabs(direction.x) < 0.9 ? Vec3{1, 0, 0} : Vec3{0, 0, 1});
  limb.joint = root + direction * along + normalized(side) * out;
  return limb;
}

Limb rider_leg(const Bike& b, int side) {
  const RiderGeometry& g = b.info.rider;
  Vec3 hip = body_point(b.rider, side_point(g.hip, side));
  Vec3 peg = body_point(b.frame, side_point(g.peg, side));
  Vec3 bend = body_to_world(b.rider, Vec3(g.knee_bend));
  return solve_limb(hip, peg, g.thigh, g.shin, bend);
}

Limb rider_arm(const Bike& b, int side) {
  const RiderGeometry& g = b.info.rider;
  Vec3 shoulder = body_point(b.rider, side_point(g.shoulder, side));
  Vec3 grip = body_point(b.fork_upper, side_point(g.grip, side));
  Vec3 bend = body_to_world(b.rider, Vec3(g.elbow_bend));
  return solve_limb(shoulder, grip, g.upper_arm, g.forearm, bend);
}
