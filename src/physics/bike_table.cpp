// The 18 built-in bike models. All share the chassis geometry, wheels,
// suspension ranges and rider; they differ in masses, gearing, shift points
// and torque curves.
#include <cstring>

#include "physics/bike_info.h"
#include "platform/base/log.h"

namespace {

// What distinguishes one model from another.
struct ModelRow {
  const char* name;
  const char* prefix;   // file prefix of models and the default texture
  const char* texture;  // default bike texture, when not prefix + ".png"
  double frame_mass, fork_mass, swingarm_mass;
  double primary_ratio, front_sprocket, rear_sprocket;
  double gears[GEAR_COUNT];
  double downshift_rpm, upshift_rpm, max_rpm;
  int two_stroke;
};

constexpr double FOUR_STROKE_MASSES[3] = {4.24, 0.703125, 0.504375};
constexpr double TWO_STROKE_MASSES[3] = {3.65375, 0.739688, 0.541875};

#define FOUR_STROKE FOUR_STROKE_MASSES[0], FOUR_STROKE_MASSES[1], FOUR_STROKE_MASSES[2]
#define TWO_STROKE TWO_STROKE_MASSES[0], TWO_STROKE_MASSES[1], TWO_STROKE_MASSES[2]
#define CRF_GEARING 3.16667, 13, 51, {2.1429, 1.75, 1.45, 1.2273, 1.0417, -1}, 8000, 12500, 13250, 0
#define KXF_GEARING 3.35, 13, 48, {2.1429, 1.7857, 1.4444, 1.2, 1.0526, -1}, 8000, 12500, 13250, 0
#define RMZ_GEARING 3.21053, 13, 48, {2.1538, 1.7647, 1.4706, 1.2381, 1.0909, -1}, 8000, 12500, 13250, 0
#define YZF_GEARING 3.35294, 13, 48, {2.1429, 1.75, 1.45, 1.2273, 1.0417, -1}, 8000, 12500, 13250, 0

const ModelRow MODELS[] = {
    {"crf250(2009)", "crf250", nullptr, FOUR_STROKE, CRF_GEARING},
    {"kx250f(2009)", "kx250f", nullptr, FOUR_STROKE, KXF_GEARING},
    {"rmz250(2009)", "rmz250", nullptr, FOUR_STROKE, RMZ_GEARING},
    {"yz250f(2009)", "yz250f", nullptr, FOUR_STROKE, YZF_GEARING},
    {"crf250(2008)", "crf250", nullptr, FOUR_STROKE, CRF_GEARING},
    {"kx250f(2008)", "kx250f", nullptr, FOUR_STROKE, KXF_GEARING},
    {"rmz250(2008)", "rmz250", nullptr, FOUR_STROKE, RMZ_GEARING},
    {"yz250f(2008)", "yz250f", nullptr, FOUR_STROKE, YZF_GEARING},
    {"cr125", "cr125", nullptr, TWO_STROKE, 3.15, 13, 52, {2.3571, 1.8667, 1.5789, 1.2941, 1.1333, -1}, 9400, 12000, 12750, 1},
    {"kx125", "kx125", nullptr, TWO_STROKE, 3.2, 13, 51, {2.3846, 1.8571, 1.5294, 1.2941, 1.125, 1.0}, 9400, 12000, 12750, 1},
    {"rm125", "rm125", nullptr, TWO_STROKE, 3.36842, 12, 50, {2.0714, 1.6875, 1.4444, 1.2, 1.0526, 0.95}, 9400, 12000, 13750, 1},
    {"yz125", "yz125", nullptr, TWO_STROKE, 3.36842, 13, 48, {2.3846, 1.9333, 1.5882, 1.3529, 1.2, 1.0952}, 9400, 12000, 12750, 1},
    {"125sx", "125sx", nullptr, TWO_STROKE, 3.04348, 13, 50, {2.4615, 2.0, 1.6471, 1.4, 1.2105, 1.0909}, 9400, 12000, 12750, 1},
    {"crf250(2007)", "crf250", nullptr, FOUR_STROKE, CRF_GEARING},
    {"kx250f(2007)", "kx250f", nullptr, FOUR_STROKE, KXF_GEARING},
    {"rmz250(2007)", "rmz250", nullptr, FOUR_STROKE, RMZ_GEARING},
    {"yz250f(2007)", "yz250f", nullptr, FOUR_STROKE, YZF_GEARING},
    {"yz250f_se(2006)", "yz250f", "@yz250f_se.png", FOUR_STROKE, YZF_GEARING},
};

#undef FOUR_STROKE
#undef TWO_STROKE
#undef CRF_GEARING
#undef KXF_GEARING
#undef RMZ_GEARING
#undef YZF_GEARING

void set3(double* out, double x, double y, double z) {
  out[0] = x;
  out[1] = y;
  out[2] = z;
}

constexpr RiderGeometry RIDER_GEOMETRY = {
    {0, 0.808383, -0.943369},       // head
    {0.556, 0.580375, -0.654514},   // shoulder
    {0.269, -0.570887, 0.670607},   // hip
    {1.097, 1.145, 0.753},          // grip
    {0.6, -0.557, 0.584},           // footpeg
    {0, 0, 1},                      // elbows bend rearwards
    {0, 0, -1},                     // knees bend forwards
    0.9, 1.15, 1.328, 1.701,        // upper arm, forearm, thigh, shin
    {0, 0.5, -0.6667},              // first-person eye, crouched
    -1.456,                         // dabbing foot
};

BikeInfo make_info(const ModelRow& row) {
  BikeInfo b{};
  b.name = row.name;

  set3(b.front_wheel, 0, 1.09, 1.11);
  b.front_rim_radius = 0.8333;
  b.front_tyre_radius = 0.3333;
  b.front_tyre_mass = 0.40625;
  b.front_hub_radius = 0.5;
  b.front_hub_mass = 0.15625;
  set3(b.rear_wheel, 0, 1.04, 6);
  b.rear_rim_radius = 0.75;
  b.rear_tyre_radius = 0.3333;
  b.rear_tyre_mass = 0.46875;
  b.rear_hub_radius = 0.5;
  b.rear_hub_mass = 0.3125;

  set3(b.frame_position, 0, 1.98, 3.6);
  b.frame_mass = row.frame_mass;
  set3(b.frame_box, 0.8333, 1.6667, 1.6667);
  set3(b.fork_upper_position, 0, 2.9, 2.16);
  set3(b.swingarm_position, 0, 1.34, 4.99);
  set3(b.swingarm_pivot, 0, 1.58, 4.17);
  set3(b.fork_lower_position, 0, 1.77, 1.59);
  b.fork_leg_spacing = 0.8333;
  b.fork_leg_length = 3;
  b.fork_mass = row.fork_mass;
  b.fork_spring_rate[0] = 510.696;
  b.fork_spring_rate[1] = 698.848;
  b.fork_preload[0] = 0;
  b.fork_preload[1] = 0.0833333;
  b.fork_air_gap[0] = 0.416667;
  b.fork_air_gap[1] = 0.25;
  b.fork_compression_damping = 60;
  b.fork_rebound_damping = 30;
  b.fork_travel = 1;

  b.swingarm_mass = row.swingarm_mass;
  b.shock_spring_rate[0] = 2217.5;
  b.shock_spring_rate[1] = 4031.81;
  b.shock_preload[0] = 0;
  b.shock_preload[1] = 0.0275;
  b.shock_compression_damping = 800;
  b.shock_rebound_damping = 600;
  b.swingarm_travel = 0.55;
  b.linkage_ratio_extended = 0.615385;
  b.linkage_ratio_compressed = 0.615385;

  b.primary_ratio = row.primary_ratio;
  b.front_sprocket = row.front_sprocket;
  b.rear_sprocket = row.rear_sprocket;
  std::memcpy(b.gear_ratios, row.gears, sizeof b.gear_ratios);
  b.engine_inertia = 0.0048828125;
  fill_closed_throttle_curve(row.two_stroke != 0, b.closed_torque);
  fill_full_throttle_curve(row.name, b.full_torque);
  b.auto_downshift_rpm = row.downshift_rpm;
  b.auto_upshift_rpm = row.upshift_rpm;
  b.max_rpm = row.max_rpm;
  b.two_stroke = row.two_stroke;

  set3(b.rider_position, 0, 4.5, 4.12);
  b.rider_mass = 4.6875;

  std::string p = std::string("@") + row.prefix;
  b.frame_model = p + "_frame.jm";
  b.frame_shape = "@generic_frame.shp";
  b.bike_texture = row.texture ? row.texture : p + ".png";
  b.fork_upper_model = p + "_fork_upper.jm";
  b.fork_upper_shape = "@generic_fork_upper.shp";
  b.fork_lower_model = p + "_fork_lower.jm";
  b.fork_lower_shape = "@generic_fork_lower.shp";
  b.swingarm_model = p + "_swingarm.jm";
  b.swingarm_shape = "@generic_swingarm.shp";
  b.front_wheel_model = "@front_wheel.jm";
  b.front_wheel_shape = "@front_wheel.shp";
  b.rear_wheel_model = "@rear_wheel.jm";
  b.rear_wheel_shape = "@rear_wheel.shp";
  b.wheel_texture = "@wheels.png";
  b.rider_head_model = "@rider_head.jm";
  b.rider_head_texture = "@rider_head.png";
  b.rider_body_model = "@rider_body.jm";
  b.rider_body_fp_model = "@rider_body_fp.jm";
  b.rider_shape = "@generic_rider.shp";
  b.rider_body_texture = "@rider_body.png";
  b.side_plates_model = p + "_side_plates.jm";
  b.front_plate_model = p + "_front_plate.jm";
  b.rider_plate_model = "@rider_plate.jm";

  b.rider = RIDER_GEOMETRY;
  return b;
}

}  // namespace

const std::vector<BikeInfo>& bike_table() {
  static const std::vector<BikeInfo> table = [] {
    std::vector<BikeInfo> rows;
    for (const ModelRow& row : MODELS) rows.push_back(make_info(row));
    return rows;
  }();
  return table;
}

const BikeInfo* find_bike_info(const char* name) {
  if (!name) return nullptr;
  const BikeInfo* found = nullptr;
  for (const BikeInfo& info : bike_table())
    if (info.name == name) found = &info;  // the last match would win
  return found;
}

const BikeInfo& choose_bike_info(const char* name) {
  if (const BikeInfo* exact = find_bike_info(name)) return *exact;
  const char* requested = name ? name : "";
  const char* pattern = std::strstr(requested, "125") ? "125" : "250f";
  const BikeInfo* chosen = &bike_table().front();
  for (const BikeInfo& info : bike_table())
    if (info.name.find(pattern) != std::string::npos) {
      chosen = &info;
      break;
    }
  voxa_log("bike info for '%.20s' not found using '%.20s' instead\n", requested, chosen->name.c_str());
  return *chosen;
}
