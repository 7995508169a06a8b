#include "physics/shape_contact.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "physics/rider.h"
#include "physics/soft_joints.h"

namespace {

constexpr double TYRE_FRICTION = 1;
constexpr double TYRE_SPRING = 25000;
constexpr double TYRE_DAMPER = 2500;
constexpr double MAX_CONTACT_FORCE = 1000;
constexpr double RIDER_KNOCK_SPEED_SQUARED = 400;  // 20 ft/s
constexpr double SUSPENSION_ROOM = 1.5;  // how far bodies move against the frame
constexpr size_t PLACED_SPHERES_MAX = 64;  // foreign spheres placed once per call; more are placed per use

// One sphere on one body (null: static scenery), in world space.
struct PlacedSphere {
  Vec3 centre;
  double radius, friction, spring, damper;
  dBodyID body;
};

Vec3 sphere_centre(const ShapeSphere& s) { return {s.centre[0], s.centre[1], s.centre[2]}; }

Vec3 transform(const dReal* position, const dReal* rotation, const Vec3& p) {
  dVector3 out;
  const dReal local[4] = {p.x, p.y, p.z, 0};
  dMultiply0_331(out, rotation, local);
  return Vec3(position) + Vec3(out);
}

Vec3 velocity_at(dBodyID body, const Vec3& p) { return body ? body_point_velocity(body, p) : Vec3{}; }

bool apart(const Vec3& a, const Vec3& b, double reach) { return length_squared(a - b) >= reach * reach; }

// Sphere a (on the bike) against sphere b (foreign). Joints push a's body
// away from b's; forces push both apart.
bool sphere_pair(const PlacedSphere& a, const PlacedSphere& b, bool force_mode) {
  Vec3 between = b.centre - a.centre;
  double reach = a.radius + b.radius;
  double d2 = length_squared(between);
  if (d2 >= reach * reach) return false;
  double d = std::sqrt(d2);
  double overlap = reach - d;
  Vec3 n = d > 1e-9 ? between / d : Vec3{0, 1, 0};
  Vec3 p = a.centre + n * (a.radius - overlap / 2);
  double spring = std::min(a.spring, b.spring), damper = std::min(a.damper, b.damper);
  if (force_mode) {
    double w = overlap * spring + dot(n, velocity_at(a.body, p) - velocity_at(b.body, p)) * damper;
    w = std::clamp(w, -MAX_CONTACT_FORCE, MAX_CONTACT_FORCE);
    if (b.body && dBodyIsEnabled(b.body)) dBodyAddForceAtPos(b.body, w * n.x, w * n.y, w * n.z, p.x, p.y, p.z);
    if (a.body && dBodyIsEnabled(a.body)) dBodyAddForceAtPos(a.body, -w * n.x, -w * n.y, -w * n.z, p.x, p.y, p.z);
    return true;
  }
  SoftContact c;
  c.position = p;
  c.normal = -n;
  c.depth = overlap;
  c.spring = spring;
  c.damper = damper;
  c.mu = std::min(a.friction, b.friction);
  make_contact(a.body, b.body, c);
  return true;
}

// The foreign shape in world space, its spheres placed once.
class Foreign {
 public:
  Foreign(const Shape& shape, dBodyID body, const dReal* position, const dReal* rotation, const ShapeBall& ball)
      : shape_(shape), body_(body), position_(position), rotation_(rotation) {
    origin = Vec3(position);
    ball_centre = transform(position, rotation, ball.centre);
    ball_radius = ball.radius;
    placed_ = std::min(shape.spheres.size(), PLACED_SPHERES_MAX);
    for (size_t k = 0; k < placed_; ++k) centres_[k] = transform(position, rotation, sphere_centre(shape.spheres[k]));
  }
  size_t count() const { return shape_.spheres.size(); }
  double bound() const { return shape_.bound; }
  dBodyID body() const { return body_; }
  PlacedSphere sphere(size_t k) const {
    const ShapeSphere& s = shape_.spheres[k];
    Vec3 centre = k < placed_ ? centres_[k] : transform(position_, rotation_, sphere_centre(s));
    return {centre, s.radius, s.friction, s.spring, s.damper, body_};
  }

  Vec3 origin, ball_centre;
  double ball_radius;

 private:
  const Shape& shape_;
  dBodyID body_;
  const dReal* position_;
  const dReal* rotation_;
  size_t placed_;
  Vec3 centres_[PLACED_SPHERES_MAX];
};

bool shape_against_tyre(const WheelContact& w, const Foreign& f, bool force_mode) {
  Vec3 centre = body_position(w.body);
  double tyre_reach = w.rim_radius + w.tyre_radius;
  if (apart(centre, f.origin, tyre_reach + f.bound()) || apart(centre, f.ball_centre, tyre_reach + f.ball_radius)) return false;
  Vec3 axle = body_to_world(w.body, w.axle);
  bool touched = false;
  for (size_t k = 0; k < f.count(); ++k) {
    PlacedSphere other = f.sphere(k);
    if (apart(centre, other.centre, tyre_reach + other.radius)) continue;
    // The rim point nearest the sphere stands for a tyre sphere there.
    Vec3 d = other.centre - centre;
    d -= axle * dot(d, axle);
    double l = length(d);
    Vec3 direction = l >= 1e-6 * w.rim_radius ? d / l : normalized(cross(axle, body_axis(w.body, 1)));
    PlacedSphere tyre{centre + direction * w.rim_radius, w.tyre_radius, TYRE_FRICTION, TYRE_SPRING, TYRE_DAMPER, w.body};
    touched = sphere_pair(tyre, other, force_mode) || touched;
  }
  return touched;
}

// Against a bike shape placed on `body`, with its enclosing ball.
bool shape_against_shape(const Shape& own, dBodyID body, const ShapeBall& ball, const Foreign& f, bool force_mode) {
  if (!own.source || own.spheres.empty()) return false;
  if (apart(body_position(body), f.origin, own.bound + f.bound())) return false;
  Vec3 own_ball = body_point(body, ball.centre);
  if (apart(own_ball, f.ball_centre, ball.radius + f.ball_radius)) return false;
  bool touched = false;
  for (size_t k = 0; k < f.count(); ++k) {
    PlacedSphere other = f.sphere(k);
    if (apart(own_ball, other.centre, ball.radius + other.radius)) continue;
    for (const ShapeSphere& s : own.spheres)
      touched = sphere_pair({sphere_centre(s), s.radius, s.friction, s.spring, s.damper, body}, other, force_mode) || touched;
  }
  return touched;
}

// The bike's shapes must be placed.
bool collide_placed(Bike& b, const Foreign& f, bool force_mode) {
  bool touched = shape_against_tyre(b.wheel[WHEEL_FRONT], f, force_mode);
  touched = shape_against_tyre(b.wheel[WHEEL_REAR], f, force_mode) || touched;
  static constexpr int body_shapes[] = {BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM};
  for (int k : body_shapes)
    touched = shape_against_shape(b.shapes[k], bike_body(b, k), b.shape_balls[k], f, force_mode) || touched;
  if (shape_against_shape(b.shapes[BODY_RIDER], b.rider, b.shape_balls[BODY_RIDER], f, force_mode)) {
    Vec3 relative = body_velocity(b.rider) - (f.body() ? body_velocity(f.body()) : Vec3{});
    if (!bike_crashed(b) && length_squared(relative) > RIDER_KNOCK_SPEED_SQUARED) throw_rider(b);
    touched = true;
  }
  return touched;
}

void place_bike_shapes(Bike& b) {
  static constexpr int body_shapes[] = {BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM, BODY_RIDER};
  for (int k : body_shapes) place_shape(b.shapes[k], bike_body(b, k));
}

// Whether any part of A can reach any part of B: the bikes without their
// riders about the frames, the riders (who may be thrown off) on their own.
bool bikes_may_touch(const Bike& a, const Bike& b) {
  Vec3 fa = body_position(a.frame), fb = body_position(b.frame);
  Vec3 ra = body_point(a.rider, a.shape_balls[BODY_RIDER].centre), rb = body_point(b.rider, b.shape_balls[BODY_RIDER].centre);
  double rider_a = a.shape_balls[BODY_RIDER].radius, rider_b = b.shape_balls[BODY_RIDER].radius;
  return !apart(fa, fb, a.contact_reach + b.contact_reach) || !apart(ra, fb, rider_a + b.contact_reach) ||
         !apart(fa, rb, a.contact_reach + rider_b) || !apart(ra, rb, rider_a + rider_b);
}

}  // namespace

ShapeBall enclosing_ball(const Shape& shape) {
  if (shape.spheres.empty()) return {};
  Vec3 low = sphere_centre(shape.spheres[0]), high = low;
  for (const ShapeSphere& s : shape.spheres) {
    Vec3 c = sphere_centre(s);
    low = {std::min(low.x, c.x), std::min(low.y, c.y), std::min(low.z, c.z)};
    high = {std::max(high.x, c.x), std::max(high.y, c.y), std::max(high.z, c.z)};
  }
  ShapeBall ball{(low + high) / 2, 0};
  for (const ShapeSphere& s : shape.spheres) ball.radius = std::max(ball.radius, length(sphere_centre(s) - ball.centre) + s.radius);
  return ball;
}

bool place_shape(Shape& copy, dBodyID body) {
  if (!copy.source || copy.spheres.size() != copy.source->spheres.size()) return false;
  const dReal* position = dBodyGetPosition(body);
  const dReal* rotation = dBodyGetRotation(body);
  for (size_t k = 0; k < copy.spheres.size(); ++k) {
    Vec3 w = transform(position, rotation, sphere_centre(copy.source->spheres[k]));
    copy.spheres[k].centre[0] = static_cast<float>(w.x);
    copy.spheres[k].centre[1] = static_cast<float>(w.y);
    copy.spheres[k].centre[2] = static_cast<float>(w.z);
  }
  return !copy.spheres.empty();
}

bool collide_shape_with_bike(Bike& b, const Shape& shape, dBodyID body, const dReal* position,
                             const dReal* rotation, bool force_mode) {
  if (shape.spheres.empty()) return false;
  place_bike_shapes(b);
  return collide_placed(b, Foreign(shape, body, position, rotation, enclosing_ball(shape)), force_mode);
}

bool collide_bikes(Bike& a, Bike& b) {
  if (!bikes_may_touch(a, b)) return false;
  bool force_mode = a.last_bike_collision_tick == race_clock || b.last_bike_collision_tick == race_clock;
  place_bike_shapes(b);
  bool touched = false;
  static constexpr int order[] = {BODY_FRONT_WHEEL, BODY_REAR_WHEEL, BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM, BODY_RIDER};
  for (int k : order) {
    const Shape* shape = a.shapes[k].source;
    if (!shape) continue;
    dBodyID body = bike_body(a, k);
    Foreign f(*shape, body, dBodyGetPosition(body), dBodyGetRotation(body), a.shape_balls[k]);
    touched = collide_placed(b, f, force_mode) || touched;
  }
  if (touched) {
    for (Bike* bike : {&a, &b}) {
      bike->last_bike_collision_tick = race_clock;
      for (int32_t& v : bike->line_state) v = 0;
    }
  }
  return touched;
}

void collide_rider_with_own_bike(Bike& b) {
  const Shape* rider = b.shapes[BODY_RIDER].source;
  if (!rider) return;
  Foreign f(*rider, b.rider, dBodyGetPosition(b.rider), dBodyGetRotation(b.rider), b.shape_balls[BODY_RIDER]);
  for (int k : {BODY_FRAME, BODY_FORK_UPPER}) {
    place_shape(b.shapes[k], bike_body(b, k));
    shape_against_shape(b.shapes[k], bike_body(b, k), b.shape_balls[k], f, false);
  }
}

double bike_contact_reach(const Bike& b) {
  const BikeInfo& i = b.info;
  Vec3 frame(i.frame_position);
  double reach = 0;
  const double* wheels[2] = {i.front_wheel, i.rear_wheel};
  for (int w = 0; w < WHEEL_COUNT; ++w)
    reach = std::max(reach, length(Vec3(wheels[w]) - frame) + b.wheel[w].rim_radius + b.wheel[w].tyre_radius);
  const double* positions[BODY_COUNT] = {i.frame_position, i.front_wheel, i.rear_wheel, i.fork_upper_position,
                                         i.fork_lower_position, i.swingarm_position, i.rider_position};
  for (int k = 0; k < BODY_COUNT; ++k) {
    if (k == BODY_RIDER || !b.shapes[k].source) continue;
    const ShapeBall& ball = b.shape_balls[k];
    reach = std::max(reach, length(Vec3(positions[k]) + ball.centre - frame) + ball.radius);
  }
  return reach + SUSPENSION_ROOM;
}
