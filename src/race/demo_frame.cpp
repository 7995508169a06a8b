#include "race/demo_frame.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "physics/rider.h"
#include "physics/rider_limbs.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

// Field offsets of a version 5 frame.
constexpr int AT_POSITION = 0;         // 3 x 24 bits
constexpr int AT_ORIENTATION = 9;      // 4 x 16 bits, w x y z
constexpr int AT_STEER = 17;
constexpr int AT_SWINGARM = 18;
constexpr int AT_FORK = 19;
constexpr int AT_RIDER_OFFSET = 20;    // 3 x 16 bits
constexpr int AT_RIDER_ORIENTATION = 26;
constexpr int AT_FRONT_WHEEL = 34;
constexpr int AT_REAR_WHEEL = 35;
constexpr int AT_STATE = 36;
constexpr int AT_RPM = 37;
// Version 4 moves the tail forward and has a single rider byte.
constexpr int V4_AT_RIDER_MOUNT = 20;
constexpr int V4_TAIL_SHIFT = AT_FRONT_WHEEL - 21;

constexpr double STEER_LIMIT = M_PI / 4;
constexpr double RIDER_OFFSET_LIMIT = 16;
constexpr double RPM_LIMIT = 32768;
constexpr int CRASH_MARKER = 7;
// The rider mount's travel that places a version 4 rider: below and above
// the design position, along the frame's up axis.
constexpr double RIDER_MOUNT_LOW = -0.5, RIDER_MOUNT_HIGH = 0.5;

uint32_t get_bits(const uint8_t* at, int bytes) {
  uint32_t v = 0;
  for (int k = bytes - 1; k >= 0; --k) v = v << 8 | at[k];
  return v;
}
void put_bits(uint8_t* at, int bytes, uint32_t v) {
  for (int k = 0; k < bytes; ++k) at[k] = static_cast<uint8_t>(v >> (8 * k));
}

double get(const uint8_t* frame, int at, int bytes, double lo, double hi) {
  return dequantise(get_bits(frame + at, bytes), lo, hi, 8 * bytes);
}
void put(uint8_t* frame, int at, int bytes, double v, double lo, double hi) {
  put_bits(frame + at, bytes, quantise(v, lo, hi, 8 * bytes));
}

// A rider's state decoded from a frame, in world units.
struct FrameState {
  Vec3 position;
  dQuaternion orientation;
  double steer, swingarm, fork;
  Vec3 rider_offset;
  dQuaternion rider_orientation;
  bool rider_on_mount = false;  // version 4: placed along the mount instead
  double rider_mount;
  double front_wheel, rear_wheel;
  uint8_t state;
  double rpm;
};

void get_quaternion(const uint8_t* frame, int at, dQuaternion q) {
  for (int k = 0; k < 4; ++k) q[k] = get(frame, at + 2 * k, 2, -1, 1);
  dNormalize4(q);
}

FrameState decode(const Bike& b, const uint8_t* frame, int version) {
  const Terrain& t = track().terrain;
  FrameState s;
  s.position = {get(frame, AT_POSITION, 3, 0, t.extent), get(frame, AT_POSITION + 3, 3, t.min_height, t.min_height + t.extent),
                get(frame, AT_POSITION + 6, 3, 0, t.extent)};
  get_quaternion(frame, AT_ORIENTATION, s.orientation);
  s.steer = get(frame, AT_STEER, 1, -STEER_LIMIT, STEER_LIMIT);
  s.swingarm = get(frame, AT_SWINGARM, 1, -b.info.swingarm_travel, 0);
  s.fork = get(frame, AT_FORK, 1, -b.info.fork_travel, 0);
  int tail = 0;
  if (version == 4) {
    s.rider_on_mount = true;
    s.rider_mount = get(frame, V4_AT_RIDER_MOUNT, 1, RIDER_MOUNT_LOW, RIDER_MOUNT_HIGH);
    tail = V4_TAIL_SHIFT;
  } else {
    for (int k = 0; k < 3; ++k)
      (&s.rider_offset.x)[k] = get(frame, AT_RIDER_OFFSET + 2 * k, 2, -RIDER_OFFSET_LIMIT, RIDER_OFFSET_LIMIT);
    get_quaternion(frame, AT_RIDER_ORIENTATION, s.rider_orientation);
  }
  s.front_wheel = get(frame, AT_FRONT_WHEEL - tail, 1, -M_PI, M_PI);
  s.rear_wheel = get(frame, AT_REAR_WHEEL - tail, 1, -M_PI, M_PI);
  s.state = frame[AT_STATE - tail];
  s.rpm = get(frame, AT_RPM - tail, 2, 0, RPM_LIMIT);
  return s;
}

uint8_t state_byte(const Bike& b) {
  if (b.crash_timer < 1) {
    int gear = std::clamp(b.controls.gear, 0, 6);
    int throttle = std::clamp(static_cast<int>(b.controls.throttle * 15), 0, 15);
    return static_cast<uint8_t>(gear | (b.controls.dab_timer > 0 ? 8 : 0) | throttle << 4);
  }
  int down = std::min(15, (15 * b.crash_timer - 15) / 127);
  return static_cast<uint8_t>(CRASH_MARKER | down << 4);
}

// Where the bodies are, given the frame body's pose and the joint values:
// each body's pose relative to the frame in the design pose, turned and
// moved with the frame.
struct FramePose {
  dQuaternion q;
  dMatrix3 r;
  Vec3 p, design;  // world position, design position of the frame body
};

Vec3 rotate(const dQuaternion q, const Vec3& v) {
  dMatrix3 r;
  dQtoR(q, r);
  const dReal in[4] = {v.x, v.y, v.z, 0};
  dVector3 out;
  dMultiply0_331(out, r, in);
  return Vec3(out);
}

Vec3 to_world(const FramePose& f, const Vec3& design_point) {
  const Vec3 d = design_point - f.design;
  const dReal in[4] = {d.x, d.y, d.z, 0};
  dVector3 out;
  dMultiply0_331(out, f.r, in);
  return f.p + Vec3(out);
}

void set_body(dBodyID body, const FramePose& f, const Vec3& design_point, const dQuaternion relative) {
  dQuaternion q;
  dQMultiply0(q, f.q, relative);
  const Vec3 p = to_world(f, design_point);
  dBodySetPosition(body, p.x, p.y, p.z);
  dBodySetQuaternion(body, q);
}

void about_axis(dQuaternion q, const Vec3& axis, double angle) { dQFromAxisAndAngle(q, axis.x, axis.y, axis.z, angle); }

Vec3 v3(const double* p) { return {p[0], p[1], p[2]}; }

void place_bodies(Bike& b, const FrameState& s) {
  const BikeInfo& i = b.info;
  FramePose f;
  std::copy(s.orientation, s.orientation + 4, f.q);
  dQtoR(f.q, f.r);
  f.p = s.position;
  f.design = v3(i.frame_position);
  dQuaternion identity = {1, 0, 0, 0};
  set_body(b.frame, f, f.design, identity);

  // Fork: turned about the steering axis at the steering head; the lower
  // part and the wheel slide along it.
  const Vec3 head = v3(i.fork_upper_position);
  const Vec3 steering_axis = normalized(head - v3(i.fork_lower_position));
  dQuaternion steer;
  about_axis(steer, steering_axis, s.steer);
  set_body(b.fork_upper, f, head, steer);
  const Vec3 slide = steering_axis * -s.fork;
  set_body(b.fork_lower, f, head + rotate(steer, v3(i.fork_lower_position) - head + slide), steer);
  dQuaternion spin, turned;
  about_axis(spin, {1, 0, 0}, -s.front_wheel);
  dQMultiply0(turned, steer, spin);
  set_body(b.front_wheel, f, head + rotate(steer, v3(i.front_wheel) - head + slide), turned);

  // Swingarm about its pivot, the rear wheel on its end.
  const Vec3 pivot = v3(i.swingarm_pivot);
  dQuaternion arm;
  about_axis(arm, {1, 0, 0}, s.swingarm);
  set_body(b.swingarm, f, pivot + rotate(arm, v3(i.swingarm_position) - pivot), arm);
  about_axis(spin, {1, 0, 0}, -s.rear_wheel);
  dQMultiply0(turned, arm, spin);
  set_body(b.rear_wheel, f, pivot + rotate(arm, v3(i.rear_wheel) - pivot), turned);

  if (s.rider_on_mount) {
    set_body(b.rider, f, v3(i.rider_position) + Vec3{0, s.rider_mount, 0}, identity);
  } else {
    const Vec3 p = s.position + s.rider_offset;
    dBodySetPosition(b.rider, p.x, p.y, p.z);
    dBodySetQuaternion(b.rider, s.rider_orientation);
  }
}

struct BodySnapshot {
  Vec3 position;
  dQuaternion orientation;
};

// Velocities of the move from the snapshot to the present pose in `seconds`.
void set_velocities(dBodyID body, const BodySnapshot& before, double seconds) {
  const Vec3 v = (body_position(body) - before.position) / seconds;
  dBodySetLinearVel(body, v.x, v.y, v.z);
  dQuaternion inverse = {before.orientation[0], -before.orientation[1], -before.orientation[2], -before.orientation[3]};
  dQuaternion change;
  dQMultiply0(change, dBodyGetQuaternion(body), inverse);
  if (change[0] < 0)
    for (dReal& c : change) c = -c;
  Vec3 axis{change[1], change[2], change[3]};
  double s = length(axis);
  Vec3 w = s > 1e-12 ? axis * (2 * std::atan2(s, change[0]) / (s * seconds)) : Vec3{};
  dBodySetAngularVel(body, w.x, w.y, w.z);
}

void apply_state(Bike& b, uint8_t state) {
  bool was_down = bike_crashed(b);
  if ((state & 7) == CRASH_MARKER) {
    b.crash_timer = (state >> 4) * 127 / 15 + 1;
    b.controls.throttle = 0;
    if (!was_down)  // the thrown rider's feet start where his legs were
      for (int side = 0; side < 2; ++side) b.crash_points[side] = {rider_leg(b, side).end, body_velocity(b.rider)};
  } else {
    b.crash_timer = 0;
    b.controls.gear = valid_gear(b, std::min(state & 7, 5));
    b.controls.throttle = std::clamp((state >> 4) / 15.0, 0.0, 1.0);
  }
  if (state & 8) b.controls.dab_timer = std::min(1.0, b.controls.dab_timer + 8 * dt);
  animate_crash_points(b);
}

}  // namespace

uint32_t quantise(double v, double lo, double hi, int bits) {
  const double top = static_cast<double>((uint64_t{1} << bits) - 1);
  if (!(hi > lo) || !(v > lo)) return 0;  // NaN lands on lo
  if (v >= hi) return static_cast<uint32_t>(top);
  // The nudge keeps a decoded value from re-encoding one step lower.
  return static_cast<uint32_t>(std::min(top, std::floor((v - lo) / (hi - lo) * top + 1e-7)));
}

double dequantise(uint32_t v, double lo, double hi, int bits) {
  const double top = static_cast<double>((uint64_t{1} << bits) - 1);
  return lo + (hi - lo) * (v / top);
}

int demo_frame_size(int version) { return version == 4 ? DEMO_FRAME_V4_BYTES : version == 5 ? DEMO_FRAME_BYTES : 0; }

DemoFrame encode_frame(const Bike& b) {
  const Terrain& t = track().terrain;
  DemoFrame out;
  uint8_t* f = out.bytes;
  const Vec3 p = body_position(b.frame);
  put(f, AT_POSITION, 3, p.x, 0, t.extent);
  put(f, AT_POSITION + 3, 3, p.y, t.min_height, t.min_height + t.extent);
  put(f, AT_POSITION + 6, 3, p.z, 0, t.extent);
  const dReal* q = dBodyGetQuaternion(b.frame);
  for (int k = 0; k < 4; ++k) put(f, AT_ORIENTATION + 2 * k, 2, q[k], -1, 1);
  put(f, AT_STEER, 1, dJointGetHingeAngle(b.steering_head), -STEER_LIMIT, STEER_LIMIT);
  put(f, AT_SWINGARM, 1, dJointGetHingeAngle(b.swingarm_pivot), -b.info.swingarm_travel, 0);
  put(f, AT_FORK, 1, dJointGetSliderPosition(b.fork_slide), -b.info.fork_travel, 0);
  const Vec3 offset = body_position(b.rider) - p;
  for (int k = 0; k < 3; ++k) put(f, AT_RIDER_OFFSET + 2 * k, 2, (&offset.x)[k], -RIDER_OFFSET_LIMIT, RIDER_OFFSET_LIMIT);
  const dReal* r = dBodyGetQuaternion(b.rider);
  for (int k = 0; k < 4; ++k) put(f, AT_RIDER_ORIENTATION + 2 * k, 2, r[k], -1, 1);
  put(f, AT_FRONT_WHEEL, 1, dJointGetHingeAngle(b.front_axle), -M_PI, M_PI);
  put(f, AT_REAR_WHEEL, 1, dJointGetHingeAngle(b.rear_axle), -M_PI, M_PI);
  f[AT_STATE] = state_byte(b);
  put(f, AT_RPM, 2, b.engine_speed * 60 / (2 * M_PI), 0, RPM_LIMIT);
  return out;
}

void apply_frame(Bike& b, const uint8_t* frame, int version, int advance) {
  if (demo_frame_size(version) == 0) return;
  const FrameState s = decode(b, frame, version);
  const bool moving = race_clock > 0 && advance > 0;
  BodySnapshot before[BODY_COUNT];
  if (moving)
    for (int k = 0; k < BODY_COUNT; ++k) {
      before[k].position = body_position(bike_body(b, k));
      std::copy_n(dBodyGetQuaternion(bike_body(b, k)), 4, before[k].orientation);
    }
  place_bodies(b, s);
  if (moving)
    for (int k = 0; k < BODY_COUNT; ++k) set_velocities(bike_body(b, k), before[k], advance * dt);
  apply_state(b, s.state);
  b.engine_speed = s.rpm * 2 * M_PI / 60;
}

DemoFrame interpolate_frames(const DemoFrame& p, const DemoFrame& q, double t) {
  DemoFrame out = p;
  // Quantisation is linear, so plain fields blend as their stored numbers.
  auto blend = [&](int at, int bytes) {
    double a = get_bits(p.bytes + at, bytes), c = get_bits(q.bytes + at, bytes);
    const double top = static_cast<double>((uint64_t{1} << (8 * bytes)) - 1);
    put_bits(out.bytes + at, bytes, static_cast<uint32_t>(std::clamp(std::floor(a + t * (c - a) + 1e-7), 0.0, top)));
  };
  for (int k = 0; k < 3; ++k) blend(AT_POSITION + 3 * k, 3);
  for (int at : {AT_STEER, AT_SWINGARM, AT_FORK}) blend(at, 1);
  for (int k = 0; k < 3; ++k) blend(AT_RIDER_OFFSET + 2 * k, 2);
  blend(AT_RPM, 2);

  // Orientations: the shorter way round, blended and normalised.
  for (int at : {AT_ORIENTATION, AT_RIDER_ORIENTATION}) {
    dQuaternion a, c, mix;
    get_quaternion(p.bytes, at, a);
    get_quaternion(q.bytes, at, c);
    double d = a[0] * c[0] + a[1] * c[1] + a[2] * c[2] + a[3] * c[3];
    for (int k = 0; k < 4; ++k) mix[k] = (d < 0 ? -a[k] : a[k]) * (1 - t) + c[k] * t;
    dNormalize4(mix);
    for (int k = 0; k < 4; ++k) put(out.bytes, at + 2 * k, 2, mix[k], -1, 1);
  }

  // Wheel angles as fractions of a turn, wrapping forwards.
  for (int at : {AT_FRONT_WHEEL, AT_REAR_WHEEL}) {
    double a = p.bytes[at] / 255.0, c = q.bytes[at] / 255.0;
    if (c < a - 0.125) a -= 1;
    else if (c > a + 0.875) c -= 1;
    double turn = a + t * (c - a);
    if (turn < 0) turn += 1;
    out.bytes[at] = static_cast<uint8_t>(quantise(std::clamp(turn, 0.0, 1.0), 0, 1, 8));
  }

  int low_p = p.bytes[AT_STATE] & 15, low_q = q.bytes[AT_STATE] & 15;
  int low = static_cast<int>(low_p + t * (low_q - low_p));
  out.bytes[AT_STATE] = static_cast<uint8_t>((p.bytes[AT_STATE] & 0xF0) | (low & 15));
  return out;
}
