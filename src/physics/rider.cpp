// The rider's body on the bike, his ejection and the crash until he is
// back on the bike.
#include "physics/rider.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "core/units.h"
#include "physics/rider_limbs.h"
#include "physics/shape_contact.h"
#include "physics/soft_joints.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

RiderHooks hooks;

constexpr double EJECT_RELATIVE_SPEED_SQUARED = 961;  // 31 ft/s
constexpr double EJECT_ACCELERATION_SQUARED = 1893376;  // 1376 ft/s^2
constexpr double SPRING_RANGE_FORE = 0.75;
constexpr double HARD_SPRING = 2500;
constexpr int CRASH_PULL_START = CRASH_TICKS - 1;
constexpr int CRASH_FEET_WALK = 319;
constexpr double BACK_UP_MAX_SPEED = 5;
constexpr double STOPPED_SPEED = 5;
constexpr double FOOT_ABOVE_GROUND = 0.25;

// The rider's rest position relative to the frame, in bike space.
Vec3 rider_rest_offset(const Bike& b) { return Vec3(b.info.rider_position) - Vec3(b.info.frame_position); }

void recovery_tethers(Bike& b) {
  const RiderGeometry& g = b.info.rider;
  if (length_squared(body_velocity(b.rider)) >= 4) {
    // The hands keep hold of the bars as far as the arms reach.
    double arm = 0.875 * (g.upper_arm + g.forearm);
    for (int side = 0; side < 2; ++side)
      soft_tether(b.rider, side_point(g.shoulder, side), b.fork_upper, side_point(g.grip, side), arm);
    if (b.crash_timer == CRASH_TICKS)
      soft_tether(b.rider, {0, g.hip[1], g.hip[2]}, b.fork_upper, {0, g.grip[1], g.grip[2] + 10}, 8);
    collide_rider_with_own_bike(b);
  } else {
    --b.crash_timer;
  }
  if (b.crash_timer <= CRASH_PULL_START) {
    // Three points pull the rider back onto the bike, upright.
    double reach = 5 * std::clamp((b.crash_timer - 128) / 384.0, 0.0, 1.0);
    Vec3 rest = rider_rest_offset(b);
    soft_tether(b.frame, rest, b.rider, {0, 0, 0}, reach);
    soft_tether(b.frame, rest + Vec3{-5, 10, 0}, b.rider, {-5, 10, 0}, reach);
    soft_tether(b.frame, rest + Vec3{5, 10, 0}, b.rider, {5, 10, 0}, reach);
  }
  if (b.crash_timer <= CRASH_FEET_WALK) {
    // The foot on the low side walks back to its peg.
    int side = roll_angle(b.frame) < 0 ? 0 : 1;
    Vec3 target = body_point(b.frame, side_point(g.peg, side) + Vec3{0, 3, 1});
    CrashPoint& foot = b.crash_points[side];
    Vec3 d = (target - foot.position) * 32;
    if (length(d) > 1) d = normalized(d);
    foot.velocity = d * 4;
  }
  if (b.crash_timer <= 0) {
    b.crash_timer = 0;
    Vec3 rest = body_point(b.frame, rider_rest_offset(b));
    dBodySetPosition(b.rider, rest.x, rest.y, rest.z);
    dBodySetRotation(b.rider, dBodyGetRotation(b.frame));
    dJointAttach(b.rider_mount, b.rider, b.frame);
  }
}

// Back up: walking the bike backwards in steps and turning it on the spot.
void walk_backwards(Bike& b) {
  b.controls.dab = bike_crashed(b) ? 0 : 1;
  double phase = race_clock % 128;
  double step = -2 * (std::sin(phase * 0.049473900056532176) + 1);
  push_toward_velocity(b.frame, 2000, body_axis(b.frame, 2) * -step);
  drive_body_rotation(b.frame, {0, 1, 0}, -b.controls.steer * M_PI / 4, 2000);
}

// Dab when stopped: the foot comes down as the bike slows, and a stopped
// bike is held with both brakes.
void stop_assist(Bike& b, double speed) {
  BikeControls& c = b.controls;
  bool riding_off = c.throttle != 0 && c.clutch != 0 && speed >= STOPPED_SPEED && std::fabs(roll_angle(b.frame)) <= M_PI / 16;
  if (riding_off) return;
  c.dab = bike_crashed(b) ? 0 : std::max(c.dab, std::clamp(1 - speed / b.setup.max_dab_speed, 0.0, 1.0));
  if (speed < STOPPED_SPEED && (c.throttle == 0 || c.clutch == 0) && wheel_down(b, WHEEL_FRONT) && wheel_down(b, WHEEL_REAR)) {
    c.front_brake = 1;
    c.rear_brake = 1;
    push_toward_velocity(b.frame, 1000, {0, 0, 0});
  }
}

void add_contact_spring(Bike& b, const Vec3& axis, double error, double spring, double damper) {
  SoftContact c;
  c.position = body_position(b.rider);
  c.normal = error < 0 ? -axis : axis;
  c.depth = std::fabs(error);
  c.spring = spring;
  c.damper = damper;
  c.approx1 = false;
  make_contact(b.rider, b.frame, c);
}

// Moves one foot of a thrown rider: gravity, the ground, and the reach of the leg.
void move_crash_foot(Bike& b, int side) {
  const RiderGeometry& g = b.info.rider;
  CrashPoint& foot = b.crash_points[side];
  foot.position += foot.velocity * dt;
  foot.velocity.y -= GRAVITY * dt;
  double ground = TerrainHeightAt(track().terrain, static_cast<float>(foot.position.x), static_cast<float>(foot.position.z));
  if (foot.position.y < ground + FOOT_ABOVE_GROUND) {
    foot.position.y = ground + FOOT_ABOVE_GROUND;
    foot.velocity = {};
  }
  foot.velocity *= 0.9375;

  Vec3 hip = body_point(b.rider, side_point(g.hip, side));
  Vec3 hip_velocity = body_point_velocity(b.rider, hip);
  // Replaces the foot's velocity along `n` by the hip's.
  auto follow_hip = [&](const Vec3& n) { foot.velocity += n * (dot(hip_velocity, n) - dot(foot.velocity, n)); };
  Vec3 from_hip = foot.position - hip;
  double leg = g.thigh + g.shin;
  double distance = length(from_hip);
  if (distance > leg) {
    Vec3 n = from_hip / distance;
    foot.position = hip + n * leg;
    follow_hip(n);
  }
  Vec3 down = -body_axis(b.rider, 1);
  double below = dot(foot.position - hip, down);
  if (below < 0) {
    foot.position -= down * below;
    follow_hip(down);
  }
}

}  // namespace

void set_rider_hooks(const RiderHooks& table) { hooks = table; }
const RiderHooks& rider_hooks() { return hooks; }

double roll_angle(dBodyID body) {
  Vec3 u = body_axis(body, 1), f = -body_axis(body, 2);
  double horizontal = std::sqrt(f.x * f.x + f.z * f.z);
  double o = horizontal > 0 ? (u.z * f.x - u.x * f.z) / horizontal : 0;
  return std::acos(std::clamp(o, -1.0, 1.0)) - M_PI / 2;
}

void push_toward_velocity(dBodyID body, double max_force, const Vec3& target) {
  Vec3 e = body_velocity(body) - target;
  double size = length(e);
  if (size < 0.25) return;
  double k = std::clamp((size - 0.25) * 0.8, 0.0, 1.0);
  Vec3 f = e * (-max_force * k / size);
  dBodyAddForce(body, f.x, 0, f.z);
}

double max_lean_for_speed(const Bike& b, double v, int exponent) {
  double limit = b.setup.roll_limit_angle, top = b.setup.max_dab_speed;
  if (v <= 0) return 0;
  if (v >= top) return 2 * M_PI;
  if (v <= DAB_SPEED_BASE) return limit * (1 - std::pow(1 - v * v / (top * top), exponent));
  double base2 = DAB_SPEED_BASE * DAB_SPEED_BASE;
  return limit + std::clamp((v * v - base2) / (top * top - base2), 0.0, 1.0) * (2 * M_PI - limit);
}

void throw_rider(Bike& b) {
  dJointAttach(b.rider_mount, nullptr, nullptr);
  for (int side = 0; side < 2; ++side) {
    b.crash_points[side].position = rider_leg(b, side).end;
    b.crash_points[side].velocity = body_point_velocity(b.rider, b.crash_points[side].position);
  }
  b.crash_timer = CRASH_TICKS;
}

void check_ejection(Bike& b) {
  if (bike_crashed(b)) return;
  Vec3 rider = body_velocity(b.rider);
  Vec3 relative = rider - body_point_velocity(b.frame, body_position(b.rider));
  if (length_squared(relative) > EJECT_RELATIVE_SPEED_SQUARED) {
    throw_rider(b);
    return;
  }
  // Average acceleration over the last four ticks, plus gravity.
  Vec3 impact = (rider - b.velocity_history[race_clock & 3]) * 32 + Vec3{0, GRAVITY, 0};
  if (length_squared(impact) > EJECT_ACCELERATION_SQUARED) throw_rider(b);
}

SavedControls crash_recovery_and_stops(Bike& b) {
  BikeControls& c = b.controls;
  SavedControls saved{c.front_brake, c.rear_brake, c.dab};
  if (bike_crashed(b)) recovery_tethers(b);
  double speed = bike_speed(b);
  if (c.back_up > 0 && speed < BACK_UP_MAX_SPEED)
    walk_backwards(b);
  else if ((b.flags & OPTION_DAB_WHEN_STOPPED) && speed <= b.setup.max_dab_speed)
    stop_assist(b, speed);
  return saved;
}

void restore_controls(Bike& b, const SavedControls& saved) {
  b.controls.front_brake = saved.front_brake;
  b.controls.rear_brake = saved.rear_brake;
  b.controls.dab = saved.dab;
}

void rider_springs(Bike& b) {
  const BikeSetup& s = b.setup;
  const BikeControls& c = b.controls;
  Vec3 rest = body_point(b.frame, rider_rest_offset(b));
  Vec3 d = rest - body_position(b.rider);
  Vec3 up = body_axis(b.frame, 1), back = body_axis(b.frame, 2);
  double drop = dot(d, up);  // how far the rider sits below his rest height
  double fore = dot(d, back);

  double target = std::clamp(drop * (0.5 + c.dab / 2) - c.lean, -SPRING_RANGE_FORE, SPRING_RANGE_FORE);
  double e = fore - target;
  if (fore < -SPRING_RANGE_FORE || fore > SPRING_RANGE_FORE)
    add_contact_spring(b, back, e, HARD_SPRING, HARD_SPRING);
  else
    add_contact_spring(b, back, e, 600 * s.rider_forward_spring + 100 * std::fabs(e), 0);

  // Held 0.125 ft above rest height when sitting up, 0.375 ft below it with full dab.
  double e_vertical = drop + 0.125 - c.dab / 2;
  if (drop > 0.5 || drop < -0.75)
    add_contact_spring(b, up, e_vertical, HARD_SPRING, HARD_SPRING);
  else
    add_contact_spring(b, up, e_vertical, 400 * s.rider_vertical_spring, 100 * s.rider_vertical_damping);

  dJointSetHinge2Param(b.rider_mount, dParamSuspensionERP, 0);
  dJointSetHinge2Param(b.rider_mount, dParamSuspensionCFM, 1 / (30 * s.rider_forward_damping + 5));
}

void animate_crash_points(Bike& b) {
  b.controls.dab_timer = std::max(0.0, b.controls.dab_timer - 4 * dt);
  if (!bike_crashed(b)) return;
  move_crash_foot(b, 0);
  move_crash_foot(b, 1);
}
