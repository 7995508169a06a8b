// The collision shapes every bike uses: spheres on each body where it
// meets the ground or another bike when things go wrong (pegs, bar ends,
// fender tips, the skid plate), sized so that an upright bike on its
// wheels touches nothing but its tyres until the suspension bottoms.
#include "art/shapes.h"

#include <cmath>

#include "art/bike_geometry.h"

namespace art {

namespace {

using kit::ShapeSphere;

// Surfaces: friction against the ground, spring and damper against other
// shapes (the ground's own contact stiffness is fixed by the physics).
struct Surface {
  double friction, spring, damper;
};
constexpr Surface PLASTIC{0.55, 8000, 400};
constexpr Surface METAL{0.75, 10000, 450};
constexpr Surface SKID_PLATE{0.45, 12000, 500};
constexpr Surface BODY{0.85, 4000, 350};  // the rider: padded, grips the dirt
constexpr Surface TYRE{1, 25000, 2500};

ShapeSphere sphere(Vec3 bike_space, double radius, Surface s, Vec3 body_centre) {
  return {bike_space - body_centre, radius, s.friction, s.spring, s.damper};
}

// A pair of spheres mirrored across the bike.
void both_sides(std::vector<ShapeSphere>& out, Vec3 right, double radius, Surface s, Vec3 centre) {
  out.push_back(sphere(mirror(right, 1), radius, s, centre));
  out.push_back(sphere(mirror(right, -1), radius, s, centre));
}

std::vector<ShapeSphere> frame_shape() {
  Vec3 c = FRAME_CENTRE;
  std::vector<ShapeSphere> s;
  s.push_back(sphere({0, 1.2, 3.3}, 0.25, SKID_PLATE, c));
  s.push_back(sphere({0, 1.2, 3.85}, 0.25, SKID_PLATE, c));
  both_sides(s, {0.72, peg_point(1).y, peg_point(1).z}, 0.09, METAL, c);
  both_sides(s, {0.28, 1.55, 3.55}, 0.22, METAL, c);   // engine covers
  both_sides(s, {0.42, 2.7, 2.9}, 0.25, PLASTIC, c);   // shrouds over the radiators
  s.push_back(sphere({0, 3.25, 3.2}, 0.35, PLASTIC, c));  // tank
  s.push_back(sphere({0, 3.3, 4.95}, 0.3, PLASTIC, c));   // seat
  s.push_back(sphere({0, 3.28, 5.95}, 0.26, PLASTIC, c));
  both_sides(s, {0.35, 2.75, 5.2}, 0.22, PLASTIC, c);   // side panels
  s.push_back(sphere({0.48, 2.72, 5.55}, 0.18, METAL, c));  // silencer
  s.push_back(sphere({0, 3.05, 7.0}, 0.2, PLASTIC, c));     // rear fender tip
  return s;
}

std::vector<ShapeSphere> fork_upper_shape() {
  Vec3 c = FORK_UPPER_CENTRE;
  std::vector<ShapeSphere> s;
  both_sides(s, {1.28, 4.06, 2.93}, 0.1, METAL, c);  // bar ends
  s.push_back(sphere(on_steering_axis(0.6), 0.3, METAL, c));
  s.push_back(sphere({0, 3.1, 1.85}, 0.33, PLASTIC, c));  // number plate
  s.push_back(sphere({0, 2.4, -0.05}, 0.18, PLASTIC, c));  // front fender tip
  s.push_back(sphere({0, 2.7, 0.9}, 0.22, PLASTIC, c));
  both_sides(s, on_steering_axis(-0.6) + Vec3{FORK_LEG_SPACING / 2, 0, 0}, 0.13, METAL, c);
  return s;
}

std::vector<ShapeSphere> fork_lower_shape() {
  Vec3 c = FORK_LOWER_CENTRE;
  std::vector<ShapeSphere> s;
  both_sides(s, {FORK_LEG_SPACING / 2, 1.15, 1.2}, 0.12, METAL, c);  // axle lugs
  both_sides(s, {FORK_LEG_SPACING / 2, 1.6, 1.45}, 0.1, PLASTIC, c);  // guards
  return s;
}

std::vector<ShapeSphere> swingarm_shape() {
  Vec3 c = SWINGARM_CENTRE;
  std::vector<ShapeSphere> s;
  both_sides(s, {0.42, 1.3, 5.2}, 0.12, METAL, c);
  both_sides(s, {0.42, 1.08, 5.95}, 0.1, METAL, c);
  s.push_back(sphere({SPROCKET_X, 0.85, 5.45}, 0.1, PLASTIC, c));  // chain guide
  return s;
}

// In rider body coordinates: hips, back, chest and helmet; no limbs, so a
// dab or a hard lean never counts as the rider hitting the ground.
std::vector<ShapeSphere> rider_shape() {
  return {{{0, -0.45, 0.55}, 0.42, BODY.friction, BODY.spring, BODY.damper},
          {{0, 0.1, 0.05}, 0.5, BODY.friction, BODY.spring, BODY.damper},
          {{0, 0.45, -0.45}, 0.48, BODY.friction, BODY.spring, BODY.damper},
          {HEAD, 0.42, BODY.friction, BODY.spring, BODY.damper}};
}

// Round the tyre in the wheel's plane, for bike-against-bike contact:
// eight tyre-sized spheres, just overlapping, so nothing slips between.
std::vector<ShapeSphere> wheel_shape(double rim_radius) {
  std::vector<ShapeSphere> s;
  for (int k = 0; k < 8; ++k) {
    double a = 2 * kit::PI * k / 8;
    s.push_back({{0, rim_radius * std::cos(a), rim_radius * std::sin(a)}, TYRE_RADIUS, TYRE.friction, TYRE.spring,
                 TYRE.damper});
  }
  return s;
}

}  // namespace

std::vector<NamedShape> bike_shapes() {
  return {{"generic_frame.shp", frame_shape()},
          {"generic_fork_upper.shp", fork_upper_shape()},
          {"generic_fork_lower.shp", fork_lower_shape()},
          {"generic_swingarm.shp", swingarm_shape()},
          {"generic_rider.shp", rider_shape()},
          {"front_wheel.shp", wheel_shape(FRONT_RIM_RADIUS)},
          {"rear_wheel.shp", wheel_shape(REAR_RIM_RADIUS)}};
}

}  // namespace art
