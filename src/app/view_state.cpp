#include "app/view_state.h"

#include <algorithm>
#include <cmath>

#include "core/units.h"
#include "race/rider_snapshot.h"

namespace {

constexpr double CHASE_DISTANCE = 10;  // the local rider's chase camera
constexpr double CHASE_HEIGHT = 5;
constexpr double EYE_OVER_GROUND = 5;
constexpr double FAST_SPEED_SQUARED = 900;  // from 30 ft/s the camera follows the travel alone
constexpr double BLEND_FROM_SPEED = 10, BLEND_PER_SPEED = 0.05;
constexpr double CHASE_YAW_STEP = 2 * M_PI / 1024;  // per tick at full steering
constexpr double CHASE_DISTANCE_STEP = 1.0 / 64;
constexpr double CHASE_DISTANCE_MIN = 0.25;
constexpr double FREE_YAW_RATE = 3 * M_PI / 8, FREE_PITCH_RATE = M_PI / 4;
constexpr double FREE_RATE_CHANGE = M_PI * dt;  // per tick
constexpr float FOLLOW_THRESHOLD = 0.125f;
constexpr double FOLLOW_DISTANCE = 10, FOLLOW_HEIGHT = 5;

// v rotated by the unit quaternion q = (w, x, y, z).
Vec3 rotate(const double* q, const Vec3& v) {
  const Vec3 u(q[1], q[2], q[3]);
  const double w = q[0];
  return 2 * dot(u, v) * u + (w * w - dot(u, u)) * v + 2 * w * cross(u, v);
}

Vec3 horizontal(const Vec3& v) { return {v.x, 0, v.z}; }

// Where the camera looks along: the bike's travel, its long axis, or a blend.
Vec3 trailing_direction(const RiderSnapshot& bike, bool rigid) {
  // Bike space z points to the rear, so the long axis forward is -z.
  const Vec3 axis = horizontal(rotate(bike.orientation[BODY_FRAME], Vec3(0, 0, -1)));
  if (rigid) return axis;
  const Vec3 v = horizontal(bike.velocity);
  const double s2 = length_squared(v);
  if (s2 >= FAST_SPEED_SQUARED) return v;
  const double s = std::sqrt(s2);
  const double t = std::clamp((s - BLEND_FROM_SPEED) * BLEND_PER_SPEED, 0.0, 1.0);
  if (t <= 0) return axis;
  return t * (v / s) + (1 - t) * normalized(axis);
}

}  // namespace

double wrap_angle(double angle) {
  if (!std::isfinite(angle)) return 0;
  angle = std::remainder(angle, 2 * M_PI);
  return angle;
}

void fix_view_mode(ViewState* view, const ViewFacts& facts) {
  int& mode = view->view_mode;
  if (facts.track_loaded && mode == VIEW_NO_TRACK) mode = VIEW_RIDER;
  if (facts.viewed_is_local && mode != VIEW_RIDER && mode != VIEW_CHASE && mode != VIEW_EDITOR) mode = VIEW_RIDER;
  if (!facts.viewed_has_bike) mode = VIEW_FREE;
  if (!facts.track_loaded) mode = VIEW_NO_TRACK;
}

void cycle_view(ViewState* view, bool editor_available) {
  int& mode = view->view_mode;
  switch (mode) {
    case VIEW_RIDER:
      mode = editor_available ? VIEW_EDITOR : VIEW_CHASE;
      break;
    case VIEW_EDITOR:
      mode = VIEW_CHASE;
      break;
    case VIEW_CHASE:
      mode = VIEW_FREE;
      // The free camera starts where the chase camera was, looking the same way.
      if (view->has_last_pose) {
        const Vec3 look = view->last_pose.target - view->last_pose.eye;
        view->free.position = view->last_pose.eye;
        view->free.yaw = std::atan2(look.x, look.z);
        view->free.pitch = std::atan2(look.y, length(horizontal(look)));
        view->free.yaw_rate = view->free.pitch_rate = 0;
      }
      break;
    case VIEW_FREE:
      mode = VIEW_RIDER;
      break;
    default:
      break;
  }
}

CameraPose chase_camera(const ViewState& view, const RiderSnapshot& bike, bool spectating, bool rigid,
                        const float centre[3], float (*ground)(double x, double z)) {
  CameraPose pose;
  pose.target = bike.position[BODY_FRAME] + rotate(bike.orientation[BODY_FRAME], Vec3(centre[0], centre[1], centre[2]));
  Vec3 direction;
  double distance = CHASE_DISTANCE, height = CHASE_HEIGHT;
  if (spectating) {
    direction = Vec3(std::sin(view.chase.yaw), 0, std::cos(view.chase.yaw));
    distance = view.chase.distance;
    height = view.chase.height;
  } else {
    direction = normalized(horizontal(trailing_direction(bike, rigid)));
    if (length_squared(direction) == 0) direction = rotate(bike.orientation[BODY_FRAME], Vec3(0, 0, -1));
  }
  pose.eye = pose.target - distance * direction;
  const double over_ground = ground ? ground(pose.eye.x, pose.eye.z) + EYE_OVER_GROUND : pose.target.y;
  pose.eye.y = std::max(pose.target.y + height, over_ground);
  return pose;
}

Vec3 free_camera_direction(const FreeCamera& camera) {
  return {std::sin(camera.yaw) * std::cos(camera.pitch), std::sin(camera.pitch),
          std::cos(camera.yaw) * std::cos(camera.pitch)};
}

void steer_spectator_camera(ViewState* view, const float* channels, const RiderSnapshot* followed) {
  if (view->view_mode == VIEW_CHASE) {
    ChaseCamera& chase = view->chase;
    chase.yaw = wrap_angle(chase.yaw + channels[0] * CHASE_YAW_STEP);
    if (channels[1] > 0.5f) chase.distance = std::max(CHASE_DISTANCE_MIN, chase.distance - CHASE_DISTANCE_STEP);
    if (channels[2] > 0.5f) chase.distance += CHASE_DISTANCE_STEP;
    chase.height += dt * channels[4];
  } else if (view->view_mode == VIEW_FREE) {
    FreeCamera& free = view->free;
    const double wanted_yaw = channels[0] * FREE_YAW_RATE, wanted_pitch = channels[4] * FREE_PITCH_RATE;
    free.yaw_rate += std::clamp(wanted_yaw - free.yaw_rate, -FREE_RATE_CHANGE, FREE_RATE_CHANGE);
    free.pitch_rate += std::clamp(wanted_pitch - free.pitch_rate, -FREE_RATE_CHANGE, FREE_RATE_CHANGE);
    free.yaw = wrap_angle(free.yaw + free.yaw_rate * dt);
    free.pitch = wrap_angle(free.pitch + free.pitch_rate * dt);
    // Following: the bike stays ahead of the camera, along its look.
    if (channels[6] > FOLLOW_THRESHOLD && followed && followed->present)
      free.position = followed->position[BODY_FRAME] - FOLLOW_DISTANCE * free_camera_direction(free) +
                      Vec3(0, FOLLOW_HEIGHT, 0);
  }
}

int neighbour_in_standings(int viewed_slot, int direction, const int* order_slots, int count) {
  if (count <= 0) return viewed_slot;
  int index = count;
  for (int i = 0; i < count; ++i)
    if (order_slots[i] == viewed_slot) {
      index = i;
      break;
    }
  return order_slots[std::clamp(index + direction, 0, count - 1)];
}
