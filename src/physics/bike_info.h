// The built-in bike models: one BikeInfo per model, a constant table in the
// source. Positions are design-pose positions in bike space (feet): x is
// lateral (the axles point along x), y is up, z points to the rear.
#pragma once

#include <string>
#include <vector>

constexpr int GEAR_COUNT = 6;
constexpr int TORQUE_ENTRIES = 50;     // torque tables: entry i at i * 500 rpm
constexpr double TORQUE_RPM_STEP = 500;

// Points and lengths of the rider's limbs in body coordinates: used by the
// crash handling and for drawing. Left-hand points mirror these at -x.
struct RiderGeometry {
  double head[3];      // head point on the rider body
  double shoulder[3];  // right shoulder on the rider body
  double hip[3];       // right hip on the rider body
  double grip[3];      // right handlebar grip on fork_upper
  double peg[3];       // right footpeg on the frame
  double elbow_bend[3];  // which way elbows bend, rider body coordinates
  double knee_bend[3];   // which way knees bend, rider body coordinates
  double upper_arm, forearm, thigh, shin;
  double first_person_eye[3];  // the lower of the two first-person eye points
  double dab_foot_drop;        // height of a dabbing foot below the rider body centre
};

struct BikeInfo {
  std::string name;  // e.g. "crf250(2009)"

  double front_wheel[3];  // front axle centre, also the front axle anchor
  double front_rim_radius, front_tyre_radius, front_tyre_mass, front_hub_radius, front_hub_mass;
  double rear_wheel[3];
  double rear_rim_radius, rear_tyre_radius, rear_tyre_mass, rear_hub_radius, rear_hub_mass;

  double frame_position[3];
  double frame_mass;  // without wheels, fork, swingarm and rider
  double frame_box[3];
  double fork_upper_position[3];  // also the steering-head anchor
  double swingarm_position[3];
  double swingarm_pivot[3];
  double fork_lower_position[3];
  double fork_leg_spacing, fork_leg_length, fork_mass;
  double fork_spring_rate[2], fork_preload[2], fork_air_gap[2];  // adjustment ranges
  double fork_compression_damping, fork_rebound_damping;         // base values
  double fork_travel;

  double swingarm_mass;
  double shock_spring_rate[2], shock_preload[2];
  double shock_compression_damping, shock_rebound_damping;
  double swingarm_travel;  // rad, full extension to full compression
  double linkage_ratio_extended, linkage_ratio_compressed;

  double primary_ratio;
  double front_sprocket, rear_sprocket;
  double gear_ratios[GEAR_COUNT];  // <= 0: the gear does not exist
  double engine_inertia;
  double closed_torque[TORQUE_ENTRIES];  // ft*lbf at throttle 0
  double full_torque[TORQUE_ENTRIES];    // ft*lbf at throttle 1
  double auto_downshift_rpm, auto_upshift_rpm;
  double max_rpm;
  int two_stroke;

  double rider_position[3];  // centre of the rider body; its y is the rider_mount height
  double rider_mass;

  std::string frame_model, frame_shape, bike_texture;
  std::string fork_upper_model, fork_upper_shape;
  std::string fork_lower_model, fork_lower_shape;
  std::string swingarm_model, swingarm_shape;
  std::string front_wheel_model, front_wheel_shape;
  std::string rear_wheel_model, rear_wheel_shape;
  std::string wheel_texture;
  std::string rider_head_model, rider_head_texture;
  std::string rider_body_model, rider_body_fp_model;
  std::string rider_shape;
  std::string rider_body_texture;
  std::string side_plates_model, front_plate_model;
  std::string rider_plate_model;

  RiderGeometry rider;
};

// The 18 models in table order.
const std::vector<BikeInfo>& bike_table();

// Exact name match over the table; null when no model has that name.
const BikeInfo* find_bike_info(const char* name);

// The model a bike of this name is built from: the exact match, else the
// first model whose name contains "125" (for names containing "125") or
// "250f" (all others), else the first model. A fallback is logged.
const BikeInfo& choose_bike_info(const char* name);

// The full-throttle curve of one model, filled out from its known points
// (see torque_curves.cpp).
void fill_full_throttle_curve(const std::string& model, double table[TORQUE_ENTRIES]);
void fill_closed_throttle_curve(bool two_stroke, double table[TORQUE_ENTRIES]);
