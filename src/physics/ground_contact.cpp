#include "physics/ground_contact.h"

#include <algorithm>
#include <cmath>

#include "physics/rider.h"
#include "physics/shape_contact.h"
#include "physics/soft_joints.h"
#include "track/ground_material.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

constexpr double BODY_SPRING = 2500;
constexpr double BODY_DAMPER = 250;
constexpr double UPSIDE_DOWN_THROW_SPEED_SQUARED = 25;  // 5 ft/s

const TileMaterial& material_of(const Terrain& t, int kind) {
  static const TileMaterial fallback = default_tile_material();
  if (kind < 0 || kind >= t.tile_count) return fallback;
  return t.materials[static_cast<size_t>(kind)];
}

// Rolling resistance against the wheel's travel over the ground.
void add_rolling_resistance(const WheelContact& w, const TileMaterial& material, double sink) {
  Vec3 v = body_velocity(w.body);
  Vec3 tangential = v - w.normal * dot(v, w.normal);
  double speed = length(tangential);
  RollResist r = RollResistAt(material, static_cast<float>(speed));
  double force = r.a + (r.b - r.a) * sink;
  Vec3 f = speed > 1 ? tangential * (-force / speed) : tangential * -force;
  dBodyAddForce(w.body, f.x, f.y, f.z);
}

// The shape of one body against the ground; every touching sphere becomes
// a contact joint.
bool shape_ground_contacts(const Terrain& t, dBodyID body, Shape& shape, const ShapeBall& ball) {
  if (!shape.source || shape.spheres.empty()) return false;
  // Nothing above the highest ground under the shape can touch it.
  Vec3 centre = body_point(body, ball.centre);
  double highest = highest_ground(t, centre.x, centre.z, ball.radius);
  if (centre.y - ball.radius > highest) return false;
  place_shape(shape, body);
  bool touched = false;
  for (const ShapeSphere& sphere : shape.spheres) {
    GroundHit hit;
    if (sphere.centre[1] - sphere.radius > highest) continue;
    if (!sphere_ground(t, Vec3(sphere.centre[0], sphere.centre[1], sphere.centre[2]), sphere.radius, &hit)) continue;
    SoftContact c;
    c.position = hit.point;
    c.normal = hit.normal;
    c.depth = hit.depth;
    c.spring = BODY_SPRING;
    c.damper = BODY_DAMPER;
    c.mu = sphere.friction;
    make_contact(body, nullptr, c);
    touched = true;
  }
  return touched;
}

}  // namespace

bool find_wheel_ground(const Terrain& t, const WheelContact& w, GroundHit* hit) {
  return find_torus_ground(t, body_position(w.body), body_to_world(w.body, w.axle), w.rim_radius, w.tyre_radius, hit);
}

bool wheel_ground_contact(const Terrain& t, WheelContact& w, double grip, bool make_joints) {
  GroundHit hit;
  if (!find_wheel_ground(t, w, &hit)) {
    w.depth = 0;
    return false;
  }
  w.point = hit.point;
  w.normal = hit.normal;
  w.depth = hit.depth;
  w.velocity = body_point_velocity(w.body, w.point);
  w.kind = TerrainTileKindAt(t, static_cast<float>(w.point.x), static_cast<float>(w.point.z));
  if (!make_joints) return true;

  const TileMaterial& material = material_of(t, w.kind);
  double sink = std::min(w.depth / w.tyre_radius, 1.0);
  double s3 = sink * sink * sink;

  // Friction direction 1 lies across the sliding direction (or, at rest,
  // along the ground under the axle); both directions share mu.
  Vec3 across = cross(w.normal, w.velocity);
  if (length_squared(across) < 1.0 / 1024) across = cross(w.normal, body_to_world(w.body, w.axle));
  double across_length = length(across);
  Vec3 direction = across_length > 0 ? across / across_length : Vec3{};

  SoftContact c;
  c.position = w.point;
  c.normal = w.normal;
  c.depth = w.depth;
  c.spring = 1000 + 24000 * s3;
  c.damper = 200 + 2300 * s3;
  c.mu = FrictionAt(material, static_cast<float>(length(w.velocity))) * grip;
  c.friction_direction = across_length > 0 ? &direction : nullptr;
  dJointID joint = make_contact(w.body, nullptr, c);
  dJointSetFeedback(joint, &w.feedback);

  add_rolling_resistance(w, material, sink);
  return true;
}

double arcade_grip_at(double lean) { return 1 - 0.375 * std::clamp(4 * std::fabs(lean) / M_PI, 0.0, 1.0); }

double arcade_grip(const Bike& b) { return b.flags & OPTION_ARCADE ? arcade_grip_at(roll_angle(b.frame)) : 1; }

bool collide_bike_ground(Bike& b) {
  const Terrain& t = track().terrain;
  double grip = arcade_grip(b);
  bool touched = wheel_ground_contact(t, b.wheel[WHEEL_FRONT], grip);
  touched = wheel_ground_contact(t, b.wheel[WHEEL_REAR], grip) || touched;

  static constexpr int body_shapes[] = {BODY_FRAME, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM};
  bool body_touched = false;
  for (int k : body_shapes) body_touched = shape_ground_contacts(t, bike_body(b, k), b.shapes[k], b.shape_balls[k]) || body_touched;

  if (shape_ground_contacts(t, b.rider, b.shapes[BODY_RIDER], b.shape_balls[BODY_RIDER])) {
    body_touched = true;
    const dReal* r = dBodyGetRotation(b.rider);
    bool upside_down = r[5] < 0;  // the rider's up axis points down
    if (upside_down && length_squared(body_velocity(b.rider)) > UPSIDE_DOWN_THROW_SPEED_SQUARED && !bike_crashed(b))
      throw_rider(b);
  }
  if (body_touched && !b.body_touched_ground) b.body_touched_ground = 1;
  return touched || body_touched;
}
