// The rider's foot: holds a slow bike up against its lean, and, once the
// race is on, swings a stopped bike round toward the racing line.
#include <algorithm>
#include <cmath>

#include "core/units.h"
#include "physics/rider.h"
#include "physics/soft_joints.h"
#include "physics/terrain_contact.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

constexpr double FOOT_FORCE = 400;
constexpr double FOOT_HEIGHT = 4;  // the foot's force acts this far above the frame centre
constexpr double PIVOT_SPEED = 5;

void raise_dab_timer(Bike& b) { b.controls.dab_timer = std::min(1.0, b.controls.dab_timer + 8 * dt); }

enum class Pivot { NONE, SWING_ONLY, SWING_AND_FOOT };

// A stopped, leaning bike is lifted and swung round on the foot toward the
// racing line ahead.
Pivot pivot_turn(Bike& b, double speed, double roll) {
  double lean = std::fabs(roll);
  if (speed >= PIVOT_SPEED || lean <= M_PI / 8 || lean >= 0.35 * M_PI) return Pivot::NONE;
  if (b.gates_passed <= 0 || b.finished) return Pivot::NONE;
  if (!(b.flags & OPTION_DAB_WHEN_STOPPED) || b.controls.back_up > 0.125) return Pivot::NONE;
  Vec3 target;
  if (!rider_hooks().pivot_target(b, &target)) return Pivot::NONE;

  Vec3 p = target - body_position(b.frame);
  Vec3 tail = body_axis(b.frame, 2);
  double flat = tail.x * tail.x + tail.z * tail.z;
  if (flat <= 1.0 / 1024) return Pivot::NONE;  // standing on its nose or tail
  double zx = tail.x / std::sqrt(flat), zz = tail.z / std::sqrt(flat);
  double along = p.x * zx + p.z * zz;  // negative when the target is ahead
  double across = p.x * zz - p.z * zx;
  double rate = across < 0 ? M_PI / 2 : -M_PI / 2;
  double most = 320 * b.total_mass;
  if (along >= 0 || std::fabs(across) >= -along / 4) {
    drive_body_rotation(b.frame, {0, 1, 0}, rate, most);
    for (int w = 0; w < WHEEL_COUNT; ++w)
      if (wheel_down(b, w)) dBodyAddForce(b.wheel[w].body, 0, GRAVITY * b.total_mass, 0);
    return Pivot::SWING_ONLY;
  }
  drive_body_rotation(b.frame, {0, 1, 0}, rate, most * std::fabs(across / (along / 4)));
  return Pivot::SWING_AND_FOOT;
}

// Sideways push of the foot against the lean, in lbf.
double foot_force(const Bike& b, double speed, double roll) {
  double roll_rate = world_to_body(b.frame, body_angular_velocity(b.frame)).z;
  double lean = std::fabs(roll);
  double wanted = roll >= 0 ? -M_PI / 8 : M_PI / 8;  // roll rate back toward upright
  if (lean < M_PI / 16) wanted *= lean * 16 / M_PI;
  double f = 0;
  if (wanted > 0 && roll_rate < wanted) f = -FOOT_FORCE;
  if (wanted < 0 && roll_rate > wanted) f = FOOT_FORCE;
  if (lean < M_PI / 32) f *= lean * 32 / M_PI;
  // Full force beyond the lean this speed allows, or when steering against the lean.
  double allowed = max_lean_for_speed(b, speed, 32);
  double k = std::clamp(4 * (lean - 1.25 * allowed), 0.0, 1.0);
  double against = wanted >= 0 ? -b.controls.steer : b.controls.steer;
  double j = std::clamp(2 * (against - 0.5), 0.0, 1.0);
  return f * (k + j * (1 - k));
}

}  // namespace

void dab_support(Bike& b) {
  if (bike_crashed(b)) {
    raise_dab_timer(b);
    return;
  }
  if (b.controls.dab == 0) return;
  if (!wheel_down(b, WHEEL_FRONT)) {
    // With the front wheel up the foot needs ground within reach.
    GroundHit hit;
    if (!sphere_ground(track().terrain, body_position(b.rider), b.info.rider_position[1] + 1, &hit)) return;
  }
  double speed = bike_speed(b);
  double roll = roll_angle(b.frame);
  bool both_down = wheel_down(b, WHEEL_FRONT) && wheel_down(b, WHEEL_REAR);
  if (speed > b.setup.max_dab_speed) return;
  if (speed > DAB_SPEED_BASE && !(both_down && std::fabs(roll) >= 3 * M_PI / 16)) return;
  raise_dab_timer(b);
  if (b.flags & OPTION_ARCADE) return;

  if (pivot_turn(b, speed, roll) == Pivot::SWING_ONLY) return;
  double f = foot_force(b, speed, roll);
  if (f == 0) return;
  if (body_axis(b.frame, 1).y >= 0.707) {
    dBodyAddForceAtRelPos(b.frame, 0, std::fabs(f) / 8, 0, 0, FOOT_HEIGHT, 0);
    dBodyAddRelForceAtRelPos(b.frame, f, 0, 0, 0, FOOT_HEIGHT, 0);
  } else {
    dBodyAddForceAtRelPos(b.frame, 0, std::fabs(f), 0, 0, FOOT_HEIGHT, 0);  // the foot lifts the bike
  }
}
