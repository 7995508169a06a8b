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

// The foreign shape where it stands in the world; its spheres are placed
// as the tests need them.
struct Foreign {
  Foreign(const Shape& s, dBodyID b, const dReal* p, const dReal* r, const ShapeBall& ball)
      : shape(s), body(b), position(p), rotation(r), origin(p), ball_centre(transform(p, r, ball.centre)),
        ball_radius(ball.radius) {}
  PlacedSphere sphere(size_t k) const {
    const ShapeSphere& s = shape.spheres[k];
    return {transform(position, rotation, sphere_centre(s)), s.radius, s.friction, s.spring, s.damper, body};
  }

  const Shape& shape;
  dBodyID body;
  const dReal* position;
  const dReal* rotation;
  Vec3 origin, ball_centre;
  double ball_radius;
};

// A bike whose shapes, and the balls enclosing them, are placed the first
// time a test needs them.
struct LazyPlacement {
  Bike& bike;
  unsigned placed = 0, balls_placed = 0;
  Vec3 balls[BODY_COUNT] = {};
  void need(int k) {
    if (placed & (1u << k)) return;
    place_shape(bike.shapes[k], bike_body(bike, k));
    placed |= 1u << k;
  }
  const Vec3& ball(int k) {
    if (!(balls_placed & (1u << k))) {
      balls[k] = body_point(bike_body(bike, k), bike.shape_balls[k].centre);
      balls_placed |= 1u << k;
    }
    return balls[k];
  }
};

bool shape_against_tyre(const WheelContact& w, const Foreign& f, bool force_mode) {
  Vec3 centre = body_position(w.body);
  double tyre_reach = w.rim_radius + w.tyre_radius;
  if (apart(centre, f.origin, tyre_reach + f.shape.bound) || apart(centre, f.ball_centre, tyre_reach + f.ball_radius)) return false;
  Vec3 axle = body_to_world(w.body, w.axle);
  bool touched = false;
  for (size_t k = 0; k < f.shape.spheres.size(); ++k) {
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

// Against the bike's shape on body k.
bool shape_against_shape(LazyPlacement& own, int k, const Foreign& f, bool force_mode) {
  const Shape& shape = own.bike.shapes[k];
  if (!shape.source || shape.spheres.empty()) return false;
  dBodyID body = bike_body(own.bike, k);
  const ShapeBall& ball = own.bike.shape_balls[k];
  if (apart(body_position(body), f.origin, shape.bound + f.shape.bound)) return false;
  const Vec3& own_ball = own.ball(k);
  if (apart(own_ball, f.ball_centre, ball.radius + f.ball_radius)) return false;
  own.need(k);
  bool touched = false;
  for (size_t n = 0; n < f.shape.spheres.size(); ++n) {
    PlacedSphere other = f.sphere(n);
    if (apart(own_ball, other.centre, ball.radius + other.radius)) continue;
    for (const ShapeSphere& s : shape.spheres) {
      Vec3 centre = sphere_centre(s);
      if (apart(centre, other.centre, s.radius + other.radius)) continue;
      touched = sphere_pair({centre, s.radius, s.friction, s.spring, s.damper, body}, other, force_mode) || touched;
    }
  }
  return touched;
}

// The foreign shape against the bike's two tyres and five body shapes.
bool collide_with(LazyPlacement& own, const Foreign& f, bool force_mode) {
  Bike& b = own.bike;
  bool touched = shape_against_tyre(b.wheel[WHEEL_FRONT], f, force_mode);
  touched = shape_against_tyre(b.wheel[WHEEL_REAR], f, force_mode) || touched;
  for (int k : {BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM}) touched = shape_against_shape(own, k, f, force_mode) || touched;
  if (shape_against_shape(own, BODY_RIDER, f, force_mode)) {
    Vec3 relative = body_velocity(b.rider) - (f.body ? body_velocity(f.body) : Vec3{});
    if (!bike_crashed(b) && length_squared(relative) > RIDER_KNOCK_SPEED_SQUARED) throw_rider(b);
    touched = true;
  }
  return touched;
}

// Whether a ball reaches into a bike's box.
bool ball_reaches(const Vec3& centre, double radius, const BikeReach& box) {
  Vec3 nearest{std::clamp(centre.x, box.low.x, box.high.x), std::clamp(centre.y, box.low.y, box.high.y),
               std::clamp(centre.z, box.low.z, box.high.z)};
  return !apart(centre, nearest, radius);
}

void grow(BikeReach& box, const Vec3& centre, double radius) {
  box.low = {std::min(box.low.x, centre.x - radius), std::min(box.low.y, centre.y - radius), std::min(box.low.z, centre.z - radius)};
  box.high = {std::max(box.high.x, centre.x + radius), std::max(box.high.y, centre.y + radius), std::max(box.high.z, centre.z + radius)};
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
  LazyPlacement own{b};
  return collide_with(own, Foreign(shape, body, position, rotation, enclosing_ball(shape)), force_mode);
}

BikeReach bike_reach(Bike& b) {
  Vec3 frame = body_position(b.frame);
  BikeReach box{frame, frame};
  for (const WheelContact& w : b.wheel) grow(box, body_position(w.body), w.rim_radius + w.tyre_radius);
  for (int k = 0; k < BODY_COUNT; ++k)
    if (place_shape(b.shapes[k], bike_body(b, k)))
      for (const ShapeSphere& s : b.shapes[k].spheres) grow(box, sphere_centre(s), s.radius);
  return box;
}

bool reaches_meet(const BikeReach& a, const BikeReach& b) {
  return a.low.x <= b.high.x && b.low.x <= a.high.x && a.low.y <= b.high.y && b.low.y <= a.high.y &&
         a.low.z <= b.high.z && b.low.z <= a.high.z;
}

bool collide_bikes(Bike& a, Bike& b, const BikeReach* a_reach, const BikeReach* b_reach) {
  BikeReach target = b_reach && a_reach ? *b_reach : bike_reach(b);
  if (!reaches_meet(a_reach && b_reach ? *a_reach : bike_reach(a), target)) return false;
  bool force_mode = a.last_bike_collision_tick == race_clock || b.last_bike_collision_tick == race_clock;
  LazyPlacement own{b, (1u << BODY_COUNT) - 1};  // the reach placed them
  bool touched = false;
  static constexpr int order[] = {BODY_FRONT_WHEEL, BODY_REAR_WHEEL, BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM, BODY_RIDER};
  for (int k : order) {
    const Shape* shape = a.shapes[k].source;
    if (!shape) continue;
    dBodyID body = bike_body(a, k);
    const ShapeBall& ball = a.shape_balls[k];
    if (!ball_reaches(body_point(body, ball.centre), ball.radius, target)) continue;
    touched = collide_with(own, Foreign(*shape, body, dBodyGetPosition(body), dBodyGetRotation(body), ball), force_mode) || touched;
  }
  if (touched) {
    for (Bike* bike : {&a, &b}) bike->last_bike_collision_tick = race_clock;
  }
  return touched;
}

void collide_rider_with_own_bike(Bike& b) {
  const Shape* rider = b.shapes[BODY_RIDER].source;
  if (!rider) return;
  Foreign f(*rider, b.rider, dBodyGetPosition(b.rider), dBodyGetRotation(b.rider), b.shape_balls[BODY_RIDER]);
  LazyPlacement own{b};
  for (int k : {BODY_FRAME, BODY_FORK_UPPER}) shape_against_shape(own, k, f, false);
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
