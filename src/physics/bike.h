// One rider's bike: seven ODE bodies and six joints in the shared world,
// the collision shapes and the names of the models and textures that draw
// it, the rider's setup and controls, and the engine and rider state that
// step_bike carries from tick to tick.
//
// Bike space: x is lateral (the axles point along x; +x is the rider's
// right), y is up, z points to the rear, so forward travel is along -z.
// Units: feet, slugs, seconds, pounds-force, radians.
#pragma once

#include <ode/ode.h>

#include <cstdint>
#include <string>
#include <vector>

#include "physics/bike_info.h"
#include "physics/vec3.h"
#include "track/shape.h"

enum BikeBodyIndex { BODY_FRAME, BODY_FRONT_WHEEL, BODY_REAR_WHEEL, BODY_FORK_UPPER, BODY_FORK_LOWER, BODY_SWINGARM, BODY_RIDER, BODY_COUNT };
enum BikeJointIndex { JOINT_FRONT_AXLE, JOINT_REAR_AXLE, JOINT_STEERING_HEAD, JOINT_FORK_SLIDE, JOINT_SWINGARM_PIVOT, JOINT_RIDER_MOUNT, JOINT_COUNT };
enum WheelIndex { WHEEL_FRONT, WHEEL_REAR, WHEEL_COUNT };

// Option bits of Bike::flags.
constexpr uint8_t OPTION_STEER_IN_AIR = 0x01;          // keep the direct steering part while airborne
constexpr uint8_t OPTION_CUT_WHEELIE_DRIVE = 0x02;     // cut engine drive while wheelieing
constexpr uint8_t OPTION_FRONT_BRAKE_RELEASE = 0x04;   // free the front brake while the rear wheel is airborne
constexpr uint8_t OPTION_FRONT_ANTILOCK = 0x08;
constexpr uint8_t OPTION_REAR_ANTILOCK = 0x10;
constexpr uint8_t OPTION_AUTO_SHIFT = 0x20;
constexpr uint8_t OPTION_DAB_WHEN_STOPPED = 0x40;
constexpr uint8_t OPTION_ARCADE = 0x80;
constexpr uint8_t DEFAULT_OPTIONS = 0x0D;

constexpr int CRASH_TICKS = 512;       // a thrown rider's crash_timer
constexpr double DAB_SPEED_BASE = 15;  // ft/s
constexpr int NUMBER_TEXT_MAX = 7;

// A ball enclosing a shape's spheres, tighter than the shape's bound about
// the body origin; it only ever skips tests that could not touch.
struct ShapeBall {
  Vec3 centre;  // body coordinates
  double radius = 0;
};

// The rider's inputs, written through the setters of bike_controls.h.
struct BikeControls {
  double throttle = 0;     // 0 .. 1
  double clutch = 0;       // engagement, 1 = fully engaged
  double front_brake = 0;  // 0 .. 1
  double rear_brake = 0;   // 0 .. 1
  double steer = 0;        // -1 .. 1, positive turns right
  double dab = 0;          // 0 .. 1: sit / put a foot down
  double dab_timer = 0;    // 0 .. 1: how far the drawn leg is out
  double back_up = 0;      // 0 .. 1
  double lean = 0;         // -1 .. 1, positive toward the rear
  int gear = 0;            // 0 = first gear; there is no neutral
  int last_shift = 0;      // previous shift input
};

// Suspension, rider and assist tuning in physical units.
struct BikeSetup {
  double fork_compression_damping, fork_rebound_damping;
  double fork_spring_rate, fork_preload, fork_air_gap;
  double shock_compression_damping, shock_rebound_damping;
  double shock_spring_rate, shock_preload;
  double rider_vertical_spring, rider_vertical_damping, rider_forward_spring, rider_forward_damping;
  double roll_damping, leveling, roll_limit_factor, roll_limit_angle;
  double steering_damping, steering_strength, max_steering_force, direct_steering;
  double slow_damping_speed, slow_damping_factor;
  double landing_damping_falloff, landing_damping_factor;
  double auto_clutch_rpm;
  double front_braking_torque, rear_braking_torque;
  double max_dab_speed;
};

// One tyre's contact with the ground, refreshed every tick.
struct WheelContact {
  dBodyID body = nullptr;
  Vec3 axle{1, 0, 0};  // in the wheel's own coordinates
  double rim_radius = 0, tyre_radius = 0;
  Vec3 point;     // on the ground
  Vec3 velocity;  // of the wheel body at the point: the tyre's sliding velocity
  Vec3 normal;    // unit, out of the ground
  double depth = 0;  // 0 = not touching
  int kind = 0;      // ground material under the point
  dJointFeedback feedback{};  // forces of this tick's tyre contact joint
};

// A foot of a thrown rider, in world space.
struct CrashPoint {
  Vec3 position;
  Vec3 velocity;
};

// Names of the models and textures that draw the bike. They are attached to
// the renderer's caches when those exist; until then they stay names.
struct BikeArt {
  std::string frame, side_plates, fork_upper, front_plate, fork_lower, swingarm;
  std::string front_wheel, rear_wheel;
  std::string rider_plate, rider_body, rider_body_fp, rider_head;
  // Textures, each with its normal and specular map ("" = none).
  struct Texture {
    std::string name, normal_map, specular_map;
  };
  Texture bike, wheels, rider_body_texture, rider_head_texture;
  int number_plate_texture = 0;  // rendered by the drawing layer
};

struct Bike {
  BikeInfo info;  // the model's values, changeable per bike

  dBodyID frame = nullptr, front_wheel = nullptr, rear_wheel = nullptr, fork_upper = nullptr,
          fork_lower = nullptr, swingarm = nullptr, rider = nullptr;
  dJointID front_axle = nullptr, rear_axle = nullptr, steering_head = nullptr, fork_slide = nullptr,
           swingarm_pivot = nullptr, rider_mount = nullptr;
  dJointFeedback feedback[JOINT_COUNT] = {};
  WheelContact wheel[WHEEL_COUNT];

  BikeControls controls;
  double engine_speed = 0;  // crankshaft, rad/s
  double engine_inertia = 0;
  double final_drive_ratio = 1;
  double drive_angle = 0;  // engine side of the chain, at the rear wheel, (-pi, pi]
  BikeSetup setup{};
  uint8_t flags = DEFAULT_OPTIONS;

  // Rider state.
  int crash_timer = 0;
  CrashPoint crash_points[2];  // left foot, right foot
  Vec3 velocity_history[4];    // rider body velocity, slot = tick mod 4
  double landing_multiplier = 1;
  int body_touched_ground = 0;
  int steps_since_reset = 0;

  double total_mass = 0;
  // Own copies of the collision shapes, by BikeBodyIndex; their centres are
  // overwritten with world positions whenever they are tested. A shape
  // without a source failed to load: that body doesn't collide.
  Shape shapes[BODY_COUNT];
  // Quick rejection for the contact tests: a ball enclosing each shape (body
  // coordinates), and how far from the frame any body or tyre can reach.
  ShapeBall shape_balls[BODY_COUNT];
  double contact_reach = 0;
  BikeArt art;
  char number[NUMBER_TEXT_MAX + 1] = {};
  int slot = 0;
  // The auto pilot's picks of the last four race sections; the race has it
  // forget them when the bike collides.
  int32_t line_state[4] = {};

  // Race bookkeeping the physics reads or writes.
  int32_t last_bike_collision_tick = -1;
  int gates_passed = 0;  // sequence position of the next timing gate
  // Race tick of each sequence position's crossing, -1 = missed.
  std::vector<int32_t> crossing_ticks;
  bool finished = false;  // sticky for the rest of the race
};

// Body and joint handles by index.
inline dBodyID bike_body(const Bike& b, int index) {
  static constexpr dBodyID Bike::* members[BODY_COUNT] = {&Bike::frame, &Bike::front_wheel, &Bike::rear_wheel, &Bike::fork_upper,
                                                          &Bike::fork_lower, &Bike::swingarm, &Bike::rider};
  return b.*members[index];
}
inline dJointID bike_joint(const Bike& b, int index) {
  static constexpr dJointID Bike::* members[JOINT_COUNT] = {&Bike::front_axle, &Bike::rear_axle, &Bike::steering_head,
                                                            &Bike::fork_slide, &Bike::swingarm_pivot, &Bike::rider_mount};
  return b.*members[index];
}

inline bool bike_crashed(const Bike& b) { return b.crash_timer != 0; }
inline bool wheel_down(const Bike& b, int w) { return b.wheel[w].depth > 0; }
// A tyre slides when its contact point moves faster than 2 ft/s over the ground.
inline bool wheel_slides(const Bike& b, int w) { return length_squared(b.wheel[w].velocity) > 4; }
inline double bike_speed(const Bike& b) { return length(body_velocity(b.frame)); }
