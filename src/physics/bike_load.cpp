#include "physics/bike_load.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "physics/bike_art.h"
#include "physics/physics_world.h"
#include "physics/shape_contact.h"

namespace {

constexpr double RIDER_MOUNT_AHEAD = 50;  // the rider_mount anchor lies this far ahead of the bike
constexpr double LOAD_RIDER_SHARE = 1.0 / 3.0;

Vec3 v3(const double* p) { return {p[0], p[1], p[2]}; }

void rotation_about_x(double angle, dMatrix3 r) { dRFromAxisAndAngle(r, 1, 0, 0, angle); }

// Hub sphere plus a ring of 16 small spheres at the rim.
dMass wheel_mass(double hub_mass, double hub_radius, double tyre_mass, double tyre_radius, double rim_radius) {
  dMass total;
  dMassSetSphereTotal(&total, hub_mass, hub_radius);
  dMatrix3 step;
  rotation_about_x(M_PI / 8, step);
  dMass ring_sphere_at[16];
  for (int k = 0; k < 16; ++k) {
    dMass& m = ring_sphere_at[k];
    if (k == 0) {
      dMassSetSphereTotal(&m, tyre_mass / 16, tyre_radius);
      dMassTranslate(&m, 0, rim_radius, 0);
    } else {
      m = ring_sphere_at[k - 1];
      dMassRotate(&m, step);
    }
    dMassAdd(&total, &m);
  }
  // The ring is symmetric: what is left of its centre is rounding.
  total.c[0] = total.c[1] = total.c[2] = 0;
  return total;
}

// Two legs of the fork, turned to the rake of the steering axis.
dMass fork_mass(const BikeInfo& i) {
  dMass legs, leg;
  double length = i.fork_leg_length * 2 / 3, radius = i.fork_leg_spacing / 8;
  dMassSetCylinderTotal(&legs, i.fork_mass / 2, 2, radius, length);
  dMassTranslate(&legs, i.fork_leg_spacing / 2, 0, 0);
  dMassSetCylinderTotal(&leg, i.fork_mass / 2, 2, radius, length);
  dMassTranslate(&leg, -i.fork_leg_spacing / 2, 0, 0);
  dMassAdd(&legs, &leg);
  double rake = std::atan((i.fork_lower_position[2] - i.fork_upper_position[2]) /
                          (i.fork_lower_position[1] - i.fork_upper_position[1]));
  dMatrix3 r;
  rotation_about_x(rake, r);
  dMassRotate(&legs, r);
  return legs;
}

// Two arms from the pivot to the rear axle, one on each side.
dMass swingarm_mass(const BikeInfo& i) {
  Vec3 arm = v3(i.rear_wheel) - v3(i.swingarm_pivot);
  double side = i.frame_box[0] / 4, half_width = i.frame_box[0] / 2;
  dMass arms, other;
  dMassSetBoxTotal(&arms, i.swingarm_mass, side, side, length(arm));
  dMassTranslate(&arms, half_width, 0, 0);
  dMassSetBoxTotal(&other, i.swingarm_mass, side, side, length(arm));
  dMassTranslate(&other, -half_width, 0, 0);
  dMassAdd(&arms, &other);
  dMatrix3 r;
  rotation_about_x(-std::atan(arm.y / arm.z), r);
  dMassRotate(&arms, r);
  return arms;
}

void create_bodies(Bike& b) {
  const BikeInfo& i = b.info;
  dBodyID* bodies[BODY_COUNT] = {&b.frame, &b.front_wheel, &b.rear_wheel, &b.fork_upper, &b.fork_lower, &b.swingarm, &b.rider};
  for (dBodyID* body : bodies) *body = dBodyCreate(physics.world);
  dBodySetFiniteRotationMode(b.front_wheel, 1);
  dBodySetFiniteRotationMode(b.rear_wheel, 1);

  dMass m;
  dMassSetBoxTotal(&m, i.frame_mass + (1 - LOAD_RIDER_SHARE) * i.rider_mass, i.frame_box[0], i.frame_box[1], i.frame_box[2]);
  dBodySetMass(b.frame, &m);
  dMassSetSphereTotal(&m, LOAD_RIDER_SHARE * i.rider_mass, 1);
  dBodySetMass(b.rider, &m);
  m = wheel_mass(i.front_hub_mass, i.front_hub_radius, i.front_tyre_mass, i.front_tyre_radius, i.front_rim_radius);
  dBodySetMass(b.front_wheel, &m);
  m = wheel_mass(i.rear_hub_mass, i.rear_hub_radius, i.rear_tyre_mass, i.rear_tyre_radius, i.rear_rim_radius);
  dBodySetMass(b.rear_wheel, &m);
  m = fork_mass(i);
  dBodySetMass(b.fork_upper, &m);
  dBodySetMass(b.fork_lower, &m);
  m = swingarm_mass(i);
  dBodySetMass(b.swingarm, &m);
}

dJointID make_hinge(dBodyID b1, dBodyID b2, const Vec3& anchor, const Vec3& axis) {
  dJointID j = dJointCreateHinge(physics.world, nullptr);
  dJointAttach(j, b1, b2);
  dJointSetHingeAnchor(j, anchor.x, anchor.y, anchor.z);
  dJointSetHingeAxis(j, axis.x, axis.y, axis.z);
  return j;
}

// Joints are made with the bodies in their design pose.
void create_joints(Bike& b) {
  const BikeInfo& i = b.info;
  Vec3 steering_axis = v3(i.fork_upper_position) - v3(i.fork_lower_position);

  b.front_axle = make_hinge(b.fork_lower, b.front_wheel, v3(i.front_wheel), {1, 0, 0});
  b.rear_axle = make_hinge(b.swingarm, b.rear_wheel, v3(i.rear_wheel), {1, 0, 0});

  b.steering_head = make_hinge(b.fork_upper, b.frame, v3(i.fork_upper_position), steering_axis);
  dJointSetHingeParam(b.steering_head, dParamLoStop, -M_PI / 4);
  dJointSetHingeParam(b.steering_head, dParamHiStop, M_PI / 4);

  b.fork_slide = dJointCreateSlider(physics.world, nullptr);
  dJointAttach(b.fork_slide, b.fork_upper, b.fork_lower);
  dJointSetSliderAxis(b.fork_slide, steering_axis.x, steering_axis.y, steering_axis.z);
  dJointSetSliderParam(b.fork_slide, dParamBounce, 0);
  dJointSetSliderParam(b.fork_slide, dParamLoStop, -i.fork_travel);
  dJointSetSliderParam(b.fork_slide, dParamHiStop, 0);

  b.swingarm_pivot = make_hinge(b.swingarm, b.frame, v3(i.swingarm_pivot), {1, 0, 0});
  dJointSetHingeParam(b.swingarm_pivot, dParamBounce, 0);
  dJointSetHingeParam(b.swingarm_pivot, dParamLoStop, -i.swingarm_travel);
  dJointSetHingeParam(b.swingarm_pivot, dParamHiStop, 0);

  // Hung from a point far ahead, the rider moves almost straight up and
  // down against the frame when he turns about axis 2.
  b.rider_mount = dJointCreateHinge2(physics.world, nullptr);
  dJointAttach(b.rider_mount, b.rider, b.frame);
  dJointSetHinge2Anchor(b.rider_mount, 0, i.rider_position[1], -RIDER_MOUNT_AHEAD);
  const dReal axis1[3] = {0, 1, 1}, axis2[3] = {1, 0, 0};
  dJointSetHinge2Axes(b.rider_mount, axis1, axis2);
  dJointSetHinge2Param(b.rider_mount, dParamLoStop, 0);
  dJointSetHinge2Param(b.rider_mount, dParamHiStop, 0);

  for (int k = 0; k < JOINT_COUNT; ++k) dJointSetFeedback(bike_joint(b, k), &b.feedback[k]);
}

void init_wheel_contacts(Bike& b) {
  const BikeInfo& i = b.info;
  b.wheel[WHEEL_FRONT].body = b.front_wheel;
  b.wheel[WHEEL_FRONT].rim_radius = i.front_rim_radius;
  b.wheel[WHEEL_FRONT].tyre_radius = i.front_tyre_radius;
  b.wheel[WHEEL_REAR].body = b.rear_wheel;
  b.wheel[WHEEL_REAR].rim_radius = i.rear_rim_radius;
  b.wheel[WHEEL_REAR].tyre_radius = i.rear_tyre_radius;
}

void load_shapes(Bike& b) {
  const BikeInfo& i = b.info;
  const std::string* paths[BODY_COUNT] = {&i.frame_shape, &i.front_wheel_shape, &i.rear_wheel_shape, &i.fork_upper_shape,
                                          &i.fork_lower_shape, &i.swingarm_shape, &i.rider_shape};
  for (int k = 0; k < BODY_COUNT; ++k) {
    copy_shape(paths[k]->c_str(), &b.shapes[k]);
    b.shape_balls[k] = enclosing_ball(b.shapes[k]);
  }
}

double design_position(const Bike& b, int body, int axis) {
  const BikeInfo& i = b.info;
  const double* positions[BODY_COUNT] = {i.frame_position, i.front_wheel, i.rear_wheel, i.fork_upper_position,
                                         i.fork_lower_position, i.swingarm_position, i.rider_position};
  return positions[body][axis];
}

}  // namespace

Bike* load_bike(const char* model, int slot, const char* number, const char* rider_body_texture,
                const char* rider_head_texture, const char* bike_texture, const char* wheel_texture) {
  Bike* b = new Bike();
  b->info = choose_bike_info(model);
  load_shapes(*b);
  choose_bike_art(*b, rider_body_texture, rider_head_texture, bike_texture, wheel_texture);
  std::strncpy(b->number, number ? number : "", NUMBER_TEXT_MAX);
  b->engine_inertia = b->info.engine_inertia;

  create_bodies(*b);
  for (int k = 0; k < BODY_COUNT; ++k) {
    dBodyID body = bike_body(*b, k);
    dBodySetPosition(body, design_position(*b, k, 0), design_position(*b, k, 1), design_position(*b, k, 2));
  }
  create_joints(*b);
  init_wheel_contacts(*b);
  apply_default_setup(*b);

  b->total_mass = 0;
  for (int k = 0; k < BODY_COUNT; ++k) {
    dMass m;
    dBodyGetMass(bike_body(*b, k), &m);
    b->total_mass += m.mass;
  }
  b->contact_reach = bike_contact_reach(*b);
  reset_bike_pose(*b);
  b->slot = slot;
  return b;
}

void free_bike(Bike* b) {
  if (!b) return;
  for (int k = 0; k < JOINT_COUNT; ++k) dJointDestroy(bike_joint(*b, k));
  for (int k = 0; k < BODY_COUNT; ++k) dBodyDestroy(bike_body(*b, k));
  delete b;
}

void reset_bike_pose(Bike& b) {
  dMatrix3 identity;
  dRFromAxisAndAngle(identity, 0, 0, 1, 0);
  for (int k = 0; k < BODY_COUNT; ++k) {
    dBodyID body = bike_body(b, k);
    dBodySetPosition(body, design_position(b, k, 0), design_position(b, k, 1), design_position(b, k, 2));
    dBodySetRotation(body, identity);
    dBodySetLinearVel(body, 0, 0, 0);
    dBodySetAngularVel(body, 0, 0, 0);
    // Forces gathered for a step that will not come (the last tick's, or a
    // placement's trial contacts) must not push the new pose.
    dBodySetForce(body, 0, 0, 0);
    dBodySetTorque(body, 0, 0, 0);
  }
  dJointAttach(b.rider_mount, b.rider, b.frame);

  b.controls = BikeControls{};
  b.engine_speed = 0;
  b.drive_angle = 0;
  b.crash_timer = 0;
  b.body_touched_ground = 0;
  b.landing_multiplier = 1;
  b.steps_since_reset = 0;
  for (CrashPoint& p : b.crash_points) p = CrashPoint{};
  for (Vec3& v : b.velocity_history) v = Vec3{};
  for (WheelContact& w : b.wheel) {
    w.point = w.velocity = w.normal = Vec3{};
    w.depth = 0;
    w.kind = 0;
  }
  b.last_bike_collision_tick = -1;
}

void move_bike(Bike& b, double dx, double dy, double dz) {
  for (int k = 0; k < BODY_COUNT; ++k) {
    dBodyID body = bike_body(b, k);
    const dReal* p = dBodyGetPosition(body);
    dBodySetPosition(body, p[0] + dx, p[1] + dy, p[2] + dz);
  }
}

void rotate_bike(Bike& b, double axis_x, double axis_y, double axis_z, double angle) {
  dMatrix3 r;
  dRFromAxisAndAngle(r, axis_x, axis_y, axis_z, angle);
  for (int k = 0; k < BODY_COUNT; ++k) {
    dBodyID body = bike_body(b, k);
    const dReal* p = dBodyGetPosition(body);
    dVector3 turned;
    dMultiply0_331(turned, r, p);
    dBodySetRotation(body, r);
    dBodySetPosition(body, turned[0], turned[1], turned[2]);
  }
}

void apply_default_setup(Bike& b) {
  const BikeInfo& i = b.info;
  BikeSetup& s = b.setup;
  b.final_drive_ratio = std::max(i.rear_sprocket, 3.0) / std::max(i.front_sprocket, 3.0);
  s.fork_compression_damping = i.fork_compression_damping;
  s.fork_rebound_damping = i.fork_rebound_damping;
  s.shock_compression_damping = i.shock_compression_damping;
  s.shock_rebound_damping = i.shock_rebound_damping;
  s.fork_air_gap = i.fork_air_gap[0];
  s.fork_spring_rate = (i.fork_spring_rate[0] + i.fork_spring_rate[1]) / 2;
  s.fork_preload = (i.fork_preload[0] + i.fork_preload[1]) / 2;
  s.shock_spring_rate = (i.shock_spring_rate[0] + i.shock_spring_rate[1]) / 2;
  s.shock_preload = (i.shock_preload[0] + i.shock_preload[1]) / 2;
  s.rider_forward_spring = s.rider_forward_damping = s.rider_vertical_spring = s.rider_vertical_damping = 0.5;

  s.roll_damping = 60;
  s.leveling = 20;
  s.roll_limit_factor = 10;
  s.roll_limit_angle = M_PI / 4;
  s.steering_damping = 45;
  s.steering_strength = 75;
  s.max_steering_force = 400;
  s.direct_steering = 1.0;
  s.slow_damping_speed = 0;
  s.slow_damping_factor = 1.0;
  s.landing_damping_falloff = 0.25;
  s.landing_damping_factor = 2.0;
  s.auto_clutch_rpm = 5000;
  s.front_braking_torque = 250;
  s.rear_braking_torque = 250;
  double base = DAB_SPEED_BASE;
  s.max_dab_speed = base + 1 > 30 ? base + 1 : std::min(base + 15, 30.0);
  b.flags = DEFAULT_OPTIONS;
}

void set_rider_mass_distribution(Bike& b, double x) {
  // ODE needs a positive mass on both bodies.
  x = std::isfinite(x) ? std::clamp(x, 1.0 / 64, 1.0) : LOAD_RIDER_SHARE;
  const BikeInfo& i = b.info;
  dMass m;
  dMassSetBoxTotal(&m, i.frame_mass + (1 - x) * i.rider_mass, i.frame_box[0], i.frame_box[1], i.frame_box[2]);
  dBodySetMass(b.frame, &m);
  dMassSetSphereTotal(&m, x * i.rider_mass, 1);
  dBodySetMass(b.rider, &m);
}
