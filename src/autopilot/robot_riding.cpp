#include "autopilot/robot_riding.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "autopilot/robot_controls.h"
#include "autopilot/robot_path.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "physics/ground_contact.h"
#include "physics/ground_plane.h"
#include "physics/rider.h"
#include "race/race_session.h"
#include "track/ground_material.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

// Speed.
constexpr int SPEED_LOOK_SAMPLES = 20;
constexpr double BRAKING = 16;           // ft/s² the robot plans to slow at
constexpr double REJOIN_SPEED = 35;      // ft/s, heading back to the path
constexpr double STEADY_SPEED = 16;      // ft/s: slower, a bike falls over in turns
constexpr double SPINNING_THROTTLE = 0.4;  // while the rear wheel spins
constexpr double TURNING_ROUND_SPEED = 3;   // ft/s: slow enough to walk the bike round
constexpr double SLOWEST_TURN = 15;      // ft/s: slower, a bike falls over in turns
constexpr double FAR_OFF = 15;           // ft from the path: heading back to it

// Steering: pure pursuit of a point on the path ahead, the further ahead
// the faster the bike goes. The arc to the point asks for a lean (within
// the tyres' grip, less when slow), and on arcade physics the bars ask the
// bike for that lean directly. Measured on the shipped tracks and a small
// loop, pursuit beat steering on the heading error or on the turning rate,
// which throw the bike over when the aim is far off; nearer aims weave.
constexpr double AIM_TIME = 1.0;         // s of travel to the point steered for
constexpr double AIM_NEAREST = 25, AIM_FARTHEST = 60;  // ft
constexpr double AIM_CLOSEST = 10;       // ft: a nearer aim (held back by the target) counts as this far
constexpr double GRIP_USED = 1.0;        // share of the tyres' grip a turn may take
constexpr double FULL_LEAN_SPEED = 25;   // ft/s: slower bikes lean less
constexpr double FULL_LOCK_LEAN = M_PI / 4;  // the lean full lock asks for
// Before a take-off the bike is brought upright: a bike that leaves the
// ground leaning lands leaning.
constexpr double STAND_UP_TIME = 0.8;    // s before a take-off
constexpr double STEER_AT_TAKE_OFF = 0.25;
constexpr double STAND_UP_AIM = 0.35;    // rad: aiming further off, the turn comes first

// Other bikes: one inside a box ahead of the robot (2 ft either side, up
// to 4 ft plus a second of travel ahead) sets the pace, 4 ft behind it.
constexpr double BOX_HALF_WIDTH = 2, BOX_AHEAD = 4;
constexpr double HELD_SPEED = 5;         // ft/s
constexpr int HELD_TICKS = 2 * TICKS_PER_SECOND;
constexpr int PUSH_PAST_TICKS = 3 * TICKS_PER_SECOND;
// Going round one that rides slower than the path by this much: the aim
// moves this far to the side, and stays there this long after.
constexpr double PASS_MARGIN = 3;        // ft/s
constexpr double PASS_OFFSET = 5;        // ft
constexpr int PASS_TICKS = TICKS_PER_SECOND;

// A foot down below this speed, or a little faster when leaning hard.
constexpr double FOOT_DOWN_SPEED = 6;    // ft/s
constexpr double FOOT_DOWN_LEAN = 0.6;   // rad

// Stuck against something: after this long driving without moving (the
// throttle may be held back by a spinning rear wheel), the robot walks the
// bike back for a while.
constexpr double BLOCKED_SPEED = 2;      // ft/s
constexpr double DRIVING_THROTTLE = 0.3;
constexpr int BLOCKED_TICKS = 3 * TICKS_PER_SECOND / 2;
constexpr int BACK_OFF_TICKS = 2 * TICKS_PER_SECOND;

// Turning on the spot.
constexpr double WALKING_SPEED = 5;      // ft/s
constexpr double TURN_ROUND_ANGLE = M_PI / 5;
constexpr double TURNED_ROUND_ANGLE = M_PI / 16;
// Walking round this long without facing the path, the bike is caught on
// something: it backs off instead.
constexpr int MOST_TURNING_TICKS = 4 * TICKS_PER_SECOND;

// Landing.
constexpr double MOST_PITCH = M_PI / 4;
constexpr double PITCH_GAIN = 4;         // per radian of pitch error
constexpr double PITCH_RATE_GAIN = 4;    // per rad/s of pitching
constexpr double LANDING_NOSE_UP = 0.05; // rad: the rear wheel lands first

Flat flat(const LineSample& s) { return {s.x, s.z}; }

// The bike's heading on the ground and the direction to its right.
struct Heading {
  Flat forward, right;
};
Heading heading(const Bike& b) {
  const Flat f = unit(flat(-body_axis(b.frame, 2)));
  return {f, right_of(f)};
}

// The point `distance` ft along the path beyond the fractional index
// `along`, going no further than sample `last`; `last` itself when it lies
// behind `along` (a path that starts behind the bike, such as the way back
// to a missed gate, is ridden from its start).
Flat point_along(const std::vector<LineSample>& path, double along, double distance, int last) {
  const int n = static_cast<int>(path.size());
  last = std::clamp(last, 0, n - 1);
  if (last < along) return flat(path[static_cast<size_t>(last)]);
  Flat at = flat(path_point(path, along));
  for (int k = static_cast<int>(along) + 1; k <= last; ++k) {
    const Flat next = flat(path[static_cast<size_t>(k)]);
    const double step = norm(next - at);
    if (step >= distance) {
      const double t = distance / step;
      return {at.x + (next.x - at.x) * t, at.z + (next.z - at.z) * t};
    }
    distance -= step;
    at = next;
  }
  return at;
}

// Seconds until the path leaves the ground (a jump's take-off), counting
// a quarter second per sample beyond the bike's place; long when none is near.
double time_to_take_off(const RiderLines& r, double speed) {
  const std::vector<LineSample>& path = r.path;
  const int n = static_cast<int>(path.size());
  if (path_point(path, r.along).speed < 0 || (n > 0 && path[static_cast<size_t>(std::min(static_cast<int>(r.along), n - 1))].speed < 0))
    return 0;
  Flat at = flat(path_point(path, r.along));
  double distance = 0;
  const int from = static_cast<int>(r.along) + 1;
  for (int k = from; k < n && k <= from + SPEED_LOOK_SAMPLES; ++k) {
    distance += norm(flat(path[static_cast<size_t>(k)]) - at);
    at = flat(path[static_cast<size_t>(k)]);
    if (path[static_cast<size_t>(k)].speed < 0) return distance / std::max(speed, 1.0) + 0.25 * (k - from);
  }
  return 1e9;
}

// The speed the path asks for here: the samples' speed, lowered so that
// slower samples ahead (and the take-off of a jump) can be reached braking
// gently.
double wanted_speed(const RiderLines& r) {
  const std::vector<LineSample>& path = r.path;
  const int n = static_cast<int>(path.size());
  double wanted = path_point(path, r.along).speed;
  Flat at = flat(path_point(path, r.along));
  double distance = 0;
  for (int k = static_cast<int>(r.along) + 1; k < n && k <= static_cast<int>(r.along) + SPEED_LOOK_SAMPLES; ++k) {
    const LineSample& s = path[static_cast<size_t>(k)];
    distance += norm(flat(s) - at);
    at = flat(s);
    if (s.speed < 0) {
      // A jump: arrive at its take-off no faster than the line did.
      const double take_off = std::fabs(path[static_cast<size_t>(k) - 1].speed);
      wanted = std::min(wanted, std::sqrt(take_off * take_off + 2 * BRAKING * std::max(distance - norm(flat(s) - flat(path[static_cast<size_t>(k) - 1])), 0.0)));
      break;
    }
    wanted = std::min(wanted, std::sqrt(static_cast<double>(s.speed) * s.speed + 2 * BRAKING * distance));
  }
  return wanted;
}

// The friction of the ground under the tyres (the lower of the two).
double tyre_grip(const Bike& b) {
  constexpr float ROLLING_SLIP = 2;  // ft/s
  return std::min(FrictionAt(b.wheel[WHEEL_FRONT].kind, ROLLING_SLIP), FrictionAt(b.wheel[WHEEL_REAR].kind, ROLLING_SLIP));
}

// The steepest lean whose turn the grip holds with a margin, on arcade
// physics where the grip falls with the lean:
// tan(lean) = GRIP_USED * grip * arcade_grip_at(lean), found by iteration.
double steepest_lean(const Bike& b) {
  const double grip = GRIP_USED * tyre_grip(b);
  double lean = std::atan(grip);
  for (int k = 0; k < 4; ++k) lean = std::atan(grip * arcade_grip_at(lean));
  return lean;
}

// Where the robot heads: the point on the path `aim` ft beyond its place,
// or beyond the nearest point when it is off the path, but never beyond
// the target (which holds back where the path doubles back on itself).
struct Aim {
  double angle = 0;      // rad from the bike's heading, positive right
  double distance = 0;   // ft to the point aimed for
  bool far_off = false;  // well away from the path: heading back to it
};

Aim aim(const Bike& b, const RiderLines& r, const Heading& h, double speed) {
  Aim a;
  const Flat at = flat(body_position(b.frame));
  const LineSample here = path_point(r.path, r.along);
  a.far_off = norm(at - flat(here)) > FAR_OFF;
  const double distance = std::clamp(speed * AIM_TIME, AIM_NEAREST, AIM_FARTHEST);
  Flat to_aim = point_along(r.path, r.along, distance, r.target) - at;
  if (r.passing > 0) to_aim = to_aim + h.right * (r.pass_side * PASS_OFFSET);
  a.angle = turn_between(h.forward, to_aim);
  a.distance = std::max(norm(to_aim), AIM_CLOSEST);
  return a;
}

// The bars: the lean of the arc to the aim, upright before a take-off.
double steering(const Bike& b, const RiderLines& r, double speed, const Aim& a) {
  // An aim behind the bike asks for the tightest turn toward it (the arc's
  // own formula would fade there and leave the bike circling the aim).
  const double bend = std::fabs(a.angle) > M_PI / 2 ? (a.angle > 0 ? 1.0 : -1.0) : std::sin(a.angle);
  const double sideways = 2 * speed * speed * bend / a.distance;
  double most_lean = steepest_lean(b) * std::clamp(speed / FULL_LEAN_SPEED, 0.2, 1.0);
  // (Unless the bike is well off its line: getting back to it comes first.)
  if (!a.far_off && std::fabs(a.angle) < STAND_UP_AIM)
    most_lean *= std::clamp(time_to_take_off(r, speed) / STAND_UP_TIME, STEER_AT_TAKE_OFF, 1.0);
  const double lean_wanted = std::clamp(std::atan(sideways / GRAVITY), -most_lean, most_lean);
  return std::clamp(lean_wanted / FULL_LOCK_LEAN, -1.0, 1.0);  // positive: leaning right
}

// The speed at which the arc to the aim can be ridden; slow enough to turn
// on the spot when the aim lies behind (riding round in a circle, a bike
// can orbit a point close beside the path for good).
double turning_speed(const Bike& b, const Aim& a) {
  if (std::fabs(a.angle) > M_PI / 2) return TURNING_ROUND_SPEED;
  const double radius = a.distance / std::max(2 * std::fabs(std::sin(a.angle)), 1e-3);
  return std::max(std::sqrt(std::tan(steepest_lean(b)) * GRAVITY * radius), SLOWEST_TURN);
}

// The bike in the box ahead of the robot that holds it back most: the
// speed the robot may ride at behind it and which side of the robot's
// heading it is on.
struct BikeAhead {
  double pace = HUGE_VAL;
  double across = 0;  // ft to the right of the robot's heading
  bool found = false;
};
BikeAhead bike_ahead(const Bike& b, const Heading& h, double speed) {
  BikeAhead nearest;
  const Flat at = flat(body_position(b.frame));
  const double reach = BOX_AHEAD + speed * 1.0;
  for (const Bike* other : race.slot_bike) {
    if (!other || other == &b || bike_crashed(*other)) continue;
    const Flat to = flat(body_position(other->frame)) - at;
    const double ahead = dot(to, h.forward), across = dot(to, h.right);
    // Alongside or behind, it is not in the way.
    if (ahead <= 0 || ahead > reach || std::fabs(across) > BOX_HALF_WIDTH) continue;
    const double its_speed = dot(flat(body_velocity(other->frame)), h.forward);
    const double pace = std::max(its_speed, 0.0) + 2 * (ahead - BOX_AHEAD);
    if (pace < nearest.pace) nearest = {pace, across, true};
  }
  return nearest;
}

// A bike ahead slower than the path: the robot moves its aim to the side
// away from it and keeps it there a while, going round rather than queuing
// behind it.
void pass_bike_ahead(RiderLines& r, const BikeAhead& ahead, double path_speed) {
  if (ahead.found && ahead.pace < path_speed - PASS_MARGIN) {
    if (r.passing == 0) r.pass_side = ahead.across > 0 ? -1 : 1;
    r.passing = PASS_TICKS;
  } else if (r.passing > 0) {
    --r.passing;
  }
}

// Held nearly still behind a bike for long (one fallen or stuck across the
// way), the robot stops following it for a while and pushes past.
double follow_bike_ahead(RiderLines& r, const BikeAhead& ahead, double speed, double wanted) {
  if (r.pushing_past > 0) {
    --r.pushing_past;
    return wanted;
  }
  const double paced = std::min(wanted, ahead.pace);
  r.held = paced < wanted && speed < HELD_SPEED ? r.held + 1 : 0;
  if (r.held > HELD_TICKS) {
    r.held = 0;
    r.pushing_past = PUSH_PAST_TICKS;
  }
  return paced;
}

void hold_speed(Bike& b, double speed, double wanted) {
  // The grip a lean takes is not there for driving.
  const double cornering = std::tan(std::min(std::fabs(roll_angle(b.frame)), 1.5)) / std::max(tyre_grip(b), 0.1);
  double most_throttle = std::clamp(1.5 * std::sqrt(std::max(0.0, 1 - cornering * cornering)), 0.15, 1.0);
  if (speed < DAB_SPEED_BASE) most_throttle = 1;  // pulling away
  double throttle;
  if (speed < wanted - 1) {
    throttle = 1;
  } else if (speed < wanted) {
    throttle = 1 - (speed - (wanted - 1));
  } else {
    throttle = 0;
  }
  const double brake = speed >= wanted ? std::clamp(speed - wanted, 0.0, 1.0) : 0.0;
  set_front_brake(b, brake);
  set_rear_brake(b, brake);
  if (b.controls.gear == 0) {
    const double from = clutch_rpm(b) - 1000;
    set_engagement(b, std::clamp((engine_rpm(b) - from) / 1000, 0.0, 1.0));
  } else if (speed >= wanted) {
    set_engagement(b, 1);
  }
  // A spinning rear wheel drives poorly and keeps the gearbox from shifting up.
  if (wheel_down(b, WHEEL_REAR) && wheel_slides(b, WHEEL_REAR)) most_throttle = std::min(most_throttle, SPINNING_THROTTLE);
  ease_throttle(b, std::min(throttle, most_throttle));
}

// In the air: the rider pitches the bike so that both wheels meet the
// ground together, with the throttle (spinning the rear wheel lifts the
// front) and the rear brake (stopping it drops the front) and his weight.
void aim_landing(Bike& b) {
  set_front_brake(b, 0);
  set_rear_brake(b, 0);
  set_engagement(b, 1);
  const Vec3 front = body_position(b.front_wheel), rear = body_position(b.rear_wheel);
  const double front_height = front.y - TerrainHeightAt(track().terrain, front.x, front.z);
  const double rear_height = rear.y - TerrainHeightAt(track().terrain, rear.x, rear.z);
  const double base = std::max(length(front - rear), 1.0);
  // Positive: the front is further from the ground than the rear.
  const double pitch = std::clamp(std::atan2(front_height - rear_height, base), -MOST_PITCH, MOST_PITCH);
  const double pitch_rate = dot(body_angular_velocity(b.frame), body_axis(b.frame, 0));  // positive: nose rising
  const double nose_up = (pitch - LANDING_NOSE_UP) * PITCH_GAIN + pitch_rate * PITCH_RATE_GAIN;
  ease_throttle(b, std::clamp(-nose_up, 0.0, 1.0));
  set_rear_brake(b, std::clamp(nose_up, 0.0, 1.0));
  set_lean(b, std::clamp(-nose_up, -1.0, 1.0));
}

}  // namespace

void ride_path(Bike& b, RiderLines& r) {
  set_back_up(b, 0);
  set_lean(b, 0);
  if (r.path.size() < 2) {
    // Nowhere to go: stop, foot down.
    set_dab(b, 1);
    ease_throttle(b, 0);
    set_front_brake(b, 1);
    set_rear_brake(b, 1);
    set_steer(b, 0);
    return;
  }
  r.along = project_on_path(b, r);
  const Heading h = heading(b);
  const double speed = bike_speed(b);
  const BikeAhead ahead = bike_ahead(b, h, speed);
  pass_bike_ahead(r, ahead, path_point(r.path, r.along).speed);
  const Aim g = aim(b, r, h, speed);
  const bool riding = !bike_crashed(b);
  // Driving hard without moving: something is in the way; back off it.
  r.blocked = riding && speed < BLOCKED_SPEED && b.controls.throttle > DRIVING_THROTTLE ? r.blocked + 1 : 0;
  if (r.blocked > BLOCKED_TICKS || r.turning_ticks > MOST_TURNING_TICKS) {
    // Each time it backs off further, turning the other way, so that it
    // tries the obstacle from another side.
    r.blocked = r.turning_ticks = 0;
    r.turning_round = false;
    ++r.back_offs;
    r.backing_up = BACK_OFF_TICKS * (1 + r.back_offs % 3);
  }
  if (r.backing_up > 0 && riding) {
    --r.backing_up;
    set_throttle(b, 0);
    set_engagement(b, 0);
    set_dab(b, 1);
    set_back_up(b, 1);
    set_steer(b, r.back_offs % 2 ? 1 : -1);
    return;
  }
  // Nearly stopped and facing away: walk the bike round on the spot until
  // it points where it should go.
  if (riding && speed < WALKING_SPEED && std::fabs(g.angle) > TURN_ROUND_ANGLE) r.turning_round = true;
  if (!riding || std::fabs(g.angle) < TURNED_ROUND_ANGLE || speed > DAB_SPEED_BASE) r.turning_round = false;
  r.turning_ticks = r.turning_round ? r.turning_ticks + 1 : 0;
  if (r.turning_round) {
    set_throttle(b, 0);
    set_engagement(b, 0);
    set_dab(b, 1);
    set_back_up(b, 1);
    set_steer(b, g.angle > 0 ? 1 : -1);
    return;
  }
  // In the air too: on arcade physics the bars lean the bike there, and a
  // bike that lands leaning into the turn after a jump makes the turn.
  set_steer(b, steering(b, r, speed, g));
  // Front wheel up on the rear: weight over the bars brings it down.
  if (wheel_down(b, WHEEL_REAR) && !wheel_down(b, WHEEL_FRONT)) set_lean(b, -1);
  // A foot down holds a slow or fallen bike up.
  const double lean = std::fabs(roll_angle(b.frame));
  set_dab(b, speed < FOOT_DOWN_SPEED || (speed < DAB_SPEED_BASE && lean > FOOT_DOWN_LEAN) ? 1 : 0);

  if (!wheel_down(b, WHEEL_REAR)) {
    aim_landing(b);
    return;
  }
  // Never slower than a bike rides steadily: a crawl falls over in turns.
  double wanted = std::max(wanted_speed(r), STEADY_SPEED);
  // Back to the path at a steady pace.
  if (g.far_off) wanted = std::min(wanted, REJOIN_SPEED);
  wanted = std::min(wanted, turning_speed(b, g));
  wanted = follow_bike_ahead(r, ahead, speed, wanted);
  hold_speed(b, speed, riding ? wanted : 0);
}
