// The frame body's model: everything bolted to the frame.
#include <cmath>

#include "art/bike_atlas.h"
#include "art/bike_geometry.h"
#include "art/bike_models.h"

namespace art {

namespace {

using kit::add_box;
using kit::add_extrusion;
using kit::add_rings;
using kit::add_tube;

// A side-view point (z, y) in the 2D coordinates of side_frame.
Vec2 sv(double z, double y) { return {-z, y}; }

double clamp01(double t) { return std::clamp(t, 0.0, 1.0); }

// Lateral position of the radiator shrouds: tight against the tank at the
// top, flaring over the radiators below.
double shroud_x(double z, double y) { return 0.35 + 0.10 * clamp01((3.2 - y) / 1.0) + 0.03 * clamp01((2.9 - z) / 0.5); }

void add_shrouds(Mesh& paint, const BikeStyle& style, Detail d) {
  double sweep = 0.12 * style.shroud_sweep;
  std::vector<Vec2> outline = {sv(2.28, 3.34),        sv(2.33, 2.9),         sv(2.42, 2.45),
                               sv(2.62, 2.08),        sv(3.0, 2.02 - sweep), sv(3.35, 2.3),
                               sv(3.75 + sweep, 2.78), sv(3.92 + sweep, 3.05), sv(3.8, 3.24),
                               sv(3.3, 3.36),         sv(2.7, 3.4)};
  if (d.far()) outline = {sv(2.3, 3.34), sv(2.42, 2.45), sv(3.0, 2.05), sv(3.85, 3.0), sv(3.3, 3.36)};
  add_both_sides(
      paint,
      [&](Mesh& m) {
        size_t first = m.vertices.size();
        add_extrusion(m, side_frame(0), outline, 0.035, atlas::SHROUD, atlas::PLASTIC);
        bend(m, first, [](Vec3 p) { return Vec3{shroud_x(p.z, p.y), 0, 0}; });
      },
      &atlas::SHROUD);
}

void add_side_panels(Mesh& paint, Detail d) {
  // Under the seat from the tank back to the fender, its lower edge rising
  // over the silencer.
  std::vector<Vec2> outline = {sv(4.24, 3.18), sv(4.28, 2.8),  sv(4.45, 2.62), sv(4.75, 2.53),
                               sv(5.6, 2.72),  sv(6.25, 2.98), sv(6.32, 3.08), sv(6.15, 3.16)};
  if (d.far()) outline = {sv(4.24, 3.18), sv(4.4, 2.6), sv(4.75, 2.53), sv(6.3, 3.05)};
  add_both_sides(
      paint,
      [&](Mesh& m) {
        size_t first = m.vertices.size();
        add_extrusion(m, side_frame(0), outline, 0.03, atlas::SIDE_PANEL, atlas::PLASTIC_ALT);
        bend(m, first, [](Vec3 p) { return Vec3{0.31 + 0.03 * clamp01((3.1 - p.y) / 0.8), 0, 0}; });
      },
      &atlas::SIDE_PANEL);
}

// A loft along z through sections (z, centre y, half width, half height).
struct Section {
  double z, y, w, h;
};

std::vector<std::vector<Vec3>> loft_z(const std::vector<Section>& sections, double exponent, int steps) {
  std::vector<std::vector<Vec3>> rings;
  for (const Section& s : sections)
    rings.push_back(kit::place_section(spine_frame({0, s.y, s.z}, {0, 0, 1}), kit::superellipse(s.w, s.h, exponent, steps)));
  return rings;
}

void add_tank(Mesh& paint, Detail d) {
  size_t first = paint.vertices.size();
  kit::RingOptions caps;
  caps.cap_start = caps.cap_end = true;
  add_rings(paint,
            loft_z({{2.5, 3.2, 0.14, 0.13}, {2.7, 3.25, 0.27, 0.2}, {3.1, 3.25, 0.33, 0.22}, {3.55, 3.21, 0.3, 0.18},
                    {3.95, 3.2, 0.2, 0.1}},
                   2.6, d.n(20, 8)),
            atlas::TANK, caps);
  kit::project_uv(paint, {-0.36, 0, 2.45}, {1 / 0.72, 0, 0}, {0, 0, 1 / 1.55}, atlas::TANK, first);
}

void add_rear_fender(Mesh& paint, const BikeStyle& style, Detail d) {
  double kick = 0.12 * style.fender_kick;
  struct Station {
    double z, y, w;
  };
  const Station stations[] = {{5.25, 3.0, 0.3}, {5.9, 3.07, 0.31}, {6.5, 3.09 + kick / 3, 0.27}, {7.0, 3.06 + kick, 0.2},
                              {7.2, 3.03 + kick * 1.2, 0.12}};
  std::vector<std::vector<Vec3>> rings;
  for (size_t i = 0; i < std::size(stations); ++i) {
    const Station& s = stations[i];
    const Station& next = stations[std::min(i + 1, std::size(stations) - 1)];
    const Station& prev = stations[i == 0 ? 0 : i - 1];
    Vec3 tangent{0, next.y - prev.y, next.z - prev.z};
    rings.push_back(kit::place_section(spine_frame({0, s.y, s.z}, tangent),
                                       arch_section(s.w, 0.07, 0.025, 0.05, d.n(10, 3))));
  }
  size_t first = paint.vertices.size();
  kit::RingOptions caps;
  caps.cap_start = caps.cap_end = true;
  add_rings(paint, rings, atlas::REAR_FENDER, caps);
  kit::project_uv(paint, {0.34, 0, 5.2}, {0, 0, 1 / 2.05}, {-1 / 0.68, 0, 0}, atlas::REAR_FENDER, first);
}

void add_seat(Mesh& seat, Detail d) {
  kit::RingOptions options;
  options.cap_start = options.cap_end = true;
  options.along_u = true;
  add_rings(seat,
            loft_z({{3.3, 3.33, 0.08, 0.05},
                    {3.55, 3.36, 0.16, 0.09},
                    {4.0, 3.37, 0.19, 0.1},
                    {4.6, 3.34, 0.2, 0.11},
                    {5.3, 3.31, 0.2, 0.11},
                    {5.9, 3.28, 0.18, 0.1},
                    {6.3, 3.26, 0.14, 0.08},
                    {6.45, 3.25, 0.07, 0.05}},
                   3.5, d.n(20, 8)),
            atlas::SEAT, options);
}

void add_frame_tubes(Mesh& metal, const BikeStyle& style, Detail d) {
  int sides = d.n(8, 4);
  // Steering head.
  add_tube(metal, {on_steering_axis(-0.27), on_steering_axis(0.5)}, 0.1, d.n(14, 6), atlas::FRAME_METAL);
  // Main beams: tall aluminium spars, or round steel tubes.
  Vec2 spar = style.tube_frame ? Vec2{0.065, 0.065} : Vec2{0.05, 0.13};
  add_both_sides(metal, [&](Mesh& m) {
    std::vector<Vec3> path = kit::smooth_path({{0.1, 3.05, 2.28}, {0.22, 2.98, 2.7}, {0.29, 2.9, 3.2}, {0.31, 2.76, 3.7},
                                               {0.33, 2.45, 4.05}, {0.34, 2.0, 4.22}, {0.34, 1.55, 4.25}, {0.32, 1.22, 4.15}},
                                              d.n(3, 1));
    add_tube(m, path, {spar}, sides, atlas::FRAME_METAL);
    // Down tube splitting into the cradle under the engine.
    std::vector<Vec3> down = kit::smooth_path({{0.03, 2.72, 2.14}, {0.08, 2.3, 2.3}, {0.14, 1.75, 2.56}, {0.18, 1.22, 2.82},
                                               {0.2, 1.04, 3.2}, {0.22, 1.04, 3.85}, {0.27, 1.12, 4.1}, {0.32, 1.32, 4.18}},
                                              d.n(3, 1));
    add_tube(m, down, 0.055, sides, atlas::FRAME_METAL);
    // Subframe rails under the seat.
    add_tube(m, {{0.3, 2.78, 3.95}, {0.25, 2.98, 5.2}, {0.18, 3.08, 6.45}}, 0.04, d.n(8, 4), atlas::FRAME_METAL);
    add_tube(m, {{0.33, 1.95, 4.25}, {0.27, 2.5, 5.1}, {0.2, 3.0, 6.0}}, 0.035, d.n(8, 4), atlas::FRAME_METAL);
    // Swingarm pivot plate and footpeg mount.
    add_box(m, kit::frame_looking({0.35, 1.58, 4.2}, {0, 0, 1}), {0.035, 0.2, 0.16}, atlas::FRAME_METAL);
  });
}

void add_engine(Mesh& metal, const BikeStyle& style, Detail d) {
  // Crankcase, covers and skid plate.
  add_extrusion(metal, side_frame(0),
                {sv(2.85, 1.35), sv(2.92, 1.75), sv(3.05, 1.98), sv(3.55, 2.03), sv(3.95, 1.95), sv(4.12, 1.7),
                 sv(4.1, 1.3), sv(3.9, 1.1), sv(3.2, 1.05), sv(2.95, 1.15)},
                0.44, atlas::ENGINE_CASE, atlas::ENGINE_CASE);
  kit::Frame clutch = side_frame(0.22);
  clutch.origin = {0.24, 1.52, 3.58};
  kit::add_ellipsoid(metal, clutch, {0.3, 0.28, 0.06}, d.n(6, 3), d.n(14, 6), atlas::ENGINE_CASE);
  kit::Frame ignition = side_frame(-0.22);
  ignition.origin = {-0.24, 1.62, 3.3};
  kit::add_ellipsoid(metal, ignition, {0.22, 0.22, 0.05}, d.n(6, 3), d.n(14, 6), atlas::ENGINE_CASE);
  add_extrusion(metal, side_frame(0), {sv(2.8, 1.12), sv(3.1, 0.98), sv(3.95, 0.98), sv(4.1, 1.08), sv(4.05, 1.14), sv(2.85, 1.2)},
                0.5, atlas::BLACK_PLASTIC, atlas::BLACK_PLASTIC);
  // Gearbox sprocket on the left, where the chain starts, under its cover.
  kit::add_cylinder(metal, COUNTERSHAFT + Vec3{0.02, 0, 0}, COUNTERSHAFT - Vec3{0.02, 0, 0}, COUNTERSHAFT_RADIUS + 0.01,
                    COUNTERSHAFT_RADIUS + 0.01, d.n(16, 6), atlas::CHAIN);
  if (!d.far())
    add_extrusion(metal, side_frame(SPROCKET_X - 0.05),
                  {sv(3.75, 1.72), sv(3.85, 1.9), sv(4.12, 1.92), sv(4.2, 1.78), sv(4.1, 1.62), sv(3.85, 1.58)}, 0.03,
                  atlas::BLACK_PLASTIC, atlas::BLACK_PLASTIC);

  if (style.two_stroke) {
    // Finned cylinder and head, reed block and carburettor behind.
    add_extrusion(metal, side_frame(0), {sv(3.08, 1.98), sv(3.52, 1.98), sv(3.42, 2.72), sv(3.02, 2.72)}, 0.34,
                  atlas::CYLINDER, atlas::CYLINDER);
    int fins = d.far() ? 2 : 7;
    for (int i = 0; i < fins; ++i) {
      double y = 2.08 + i * (0.62 / fins), lean = (y - 2.0) * 0.12;
      add_box(metal, kit::frame_looking({0, y, 3.27 - lean}, {0, 0, 1}), {0.27, 0.014, 0.3}, atlas::CYLINDER);
    }
    kit::add_cylinder(metal, {0, 2.3, 3.5}, {0, 2.38, 3.95}, 0.1, 0.12, d.n(12, 5), atlas::ALUMINIUM);
  } else {
    // Cylinder, head and cam cover, throttle body into the airbox.
    add_extrusion(metal, side_frame(0), {sv(3.05, 1.95), sv(3.5, 2.0), sv(3.38, 2.55), sv(2.98, 2.52)}, 0.4,
                  atlas::CYLINDER, atlas::CYLINDER);
    add_extrusion(metal, side_frame(0), {sv(2.93, 2.5), sv(3.42, 2.53), sv(3.4, 2.82), sv(3.25, 2.88), sv(2.95, 2.84)}, 0.46,
                  atlas::CYLINDER, atlas::CYLINDER);
    kit::add_cylinder(metal, {0, 2.55, 3.45}, {0, 2.65, 4.3}, 0.09, 0.11, d.n(12, 5), atlas::ALUMINIUM);
  }
}

void add_exhaust(Mesh& metal, const BikeStyle& style, Detail d) {
  int sides = d.n(10, 5);
  std::vector<Vec3> pipe;
  std::vector<Vec2> radii;
  if (style.two_stroke) {
    // Expansion chamber: out of the cylinder's front, a fat belly ahead of
    // the engine, a long cone up the right side into the silencer.
    pipe = {{0.0, 2.3, 3.05}, {0.05, 2.22, 2.8}, {0.16, 1.95, 2.62}, {0.26, 1.58, 2.72}, {0.33, 1.42, 3.05},
            {0.37, 1.5, 3.5},  {0.4, 1.8, 4.1},  {0.42, 2.15, 4.55}, {0.45, 2.42, 4.92}};
    radii = {{0.06, 0.06}, {0.08, 0.08}, {0.13, 0.13}, {0.18, 0.18}, {0.19, 0.19},
             {0.17, 0.17}, {0.12, 0.12}, {0.07, 0.07}, {0.05, 0.05}};
  } else {
    // Header out of the head's front, looping down the right and back
    // along the frame into the silencer.
    pipe = {{0.0, 2.66, 2.98}, {0.06, 2.58, 2.76}, {0.17, 2.34, 2.6}, {0.28, 2.0, 2.62}, {0.35, 1.8, 2.88},
            {0.39, 1.8, 3.35}, {0.42, 1.98, 3.95}, {0.45, 2.25, 4.5}, {0.47, 2.44, 4.92}};
    radii = {{0.065, 0.065}, {0.07, 0.07}, {0.075, 0.075}, {0.08, 0.08}, {0.085, 0.085},
             {0.085, 0.085}, {0.09, 0.09}, {0.1, 0.1},     {0.1, 0.1}};
  }
  std::vector<Vec3> smooth = kit::smooth_path(pipe, d.n(3, 1));
  std::vector<Vec2> smooth_radii;
  for (size_t i = 0; i < smooth.size(); ++i) {
    double t = static_cast<double>(i) / (smooth.size() - 1) * (radii.size() - 1);
    size_t k = std::min(static_cast<size_t>(t), radii.size() - 2);
    double f = t - k;
    smooth_radii.push_back(radii[k] * (1 - f) + radii[k + 1] * f);
  }
  add_tube(metal, smooth, smooth_radii, sides, atlas::EXHAUST_PIPE, false);

  // Silencer: an oval can with a tail cap; built from the tail forwards so
  // its decal reads along it from the right.
  double length = style.two_stroke ? 1.15 : 1.5;
  Vec3 start{0.47, 2.42, 4.88}, direction = kit::normalized(Vec3{-0.02, 0.36, 1});
  Vec3 end = start + direction * length;
  kit::RingOptions options;
  options.along_u = true;
  options.cap_start = options.cap_end = true;
  add_rings(metal,
            kit::tube_rings({end, end - direction * 0.1, start + direction * 0.12, start},
                            {{0.11, 0.1}, {0.16, 0.14}, {0.16, 0.14}, {0.08, 0.08}}, d.n(14, 6), {1, 0, 0}),
            atlas::SILENCER, options);
}

void add_cooling_and_airbox(Mesh& metal, Detail d) {
  add_both_sides(metal, [&](Mesh& m) {
    kit::Frame radiator = kit::frame_looking({0.29, 2.48, 2.95}, kit::rotation({0, 1, 0}, -0.28) * Vec3{0, 0, 1});
    add_box(m, radiator, {0.05, 0.33, 0.22}, atlas::RADIATOR);
  });
  add_box(metal, kit::frame_looking({0, 2.72, 4.95}, {0, 0, 1}), {0.27, 0.33, 0.65}, atlas::BLACK_PLASTIC);
  if (!d.far()) add_tube(metal, {{0.1, 2.9, 2.55}, {0.05, 2.95, 2.75}, {0, 2.75, 3.0}}, 0.04, 6, atlas::RUBBER);
}

void add_controls(Mesh& metal, const BikeStyle& style, Detail d) {
  // Footpegs with their mounts.
  add_both_sides(metal, [&](Mesh& m) {
    Vec3 peg = peg_point(1);
    add_box(m, kit::frame_looking({peg.x - 0.04, peg.y, peg.z}, {0, 0, 1}), {0.16, 0.03, 0.075}, atlas::ALUMINIUM);
    if (!d.far()) add_box(m, kit::frame_looking({0.33, peg.y + 0.06, peg.z + 0.04}, {0, 0, 1}), {0.04, 0.09, 0.1}, atlas::FRAME_METAL);
  });
  if (d.far()) return;
  // Brake pedal (right), gear lever (left), kickstarter on the two-strokes.
  add_extrusion(metal, side_frame(0.4),
                {sv(4.08, 1.52), sv(3.7, 1.4), sv(3.45, 1.36), sv(3.42, 1.42), sv(3.7, 1.47), sv(4.05, 1.6)}, 0.04,
                atlas::FRAME_METAL, atlas::FRAME_METAL);
  add_extrusion(metal, side_frame(-0.38), {sv(3.95, 1.72), sv(3.55, 1.66), sv(3.53, 1.72), sv(3.95, 1.8)}, 0.04,
                atlas::FRAME_METAL, atlas::FRAME_METAL);
  add_tube(metal, {{-0.38, 1.69, 3.56}, {-0.5, 1.69, 3.56}}, 0.03, 6, atlas::RUBBER);
  if (style.two_stroke)
    add_extrusion(metal, side_frame(0.36), {sv(3.95, 1.62), sv(4.3, 2.02), sv(4.36, 1.98), sv(4.02, 1.58)}, 0.04,
                  atlas::FRAME_METAL, atlas::FRAME_METAL);
}

void add_shock(Mesh& metal, Detail d) {
  Vec3 top{0, 2.75, 4.42}, bottom{0, 1.5, 4.64};
  kit::add_cylinder(metal, top, bottom, 0.06, 0.05, d.n(10, 5), atlas::SHOCK_BODY);
  kit::add_cylinder(metal, {0.13, 2.68, 4.45}, {0.13, 2.25, 4.5}, 0.07, 0.07, d.n(10, 5), atlas::SHOCK_BODY);
  if (d.far()) {
    kit::add_cylinder(metal, lerp(top, bottom, 0.2), lerp(top, bottom, 0.8), 0.11, 0.11, 6, atlas::SHOCK_SPRING);
    return;
  }
  // The coil spring.
  std::vector<Vec3> coil;
  int turns = 6, per_turn = d.n(10, 6);
  Vec3 axis = kit::normalized(bottom - top), side = kit::any_perpendicular(axis), other = kit::cross(axis, side);
  for (int i = 0; i <= turns * per_turn; ++i) {
    double t = static_cast<double>(i) / (turns * per_turn), a = 2 * kit::PI * turns * t;
    coil.push_back(lerp(top, bottom, 0.18 + 0.64 * t) + side * (0.11 * std::cos(a)) + other * (0.11 * std::sin(a)));
  }
  add_tube(metal, coil, 0.024, 4, atlas::SHOCK_SPRING);
}

}  // namespace

Model frame_model(const BikeStyle& style, Detail d) {
  Mesh paint, seat, metal;
  paint.material = paint_material();
  seat.material = kit::Material{10, 0, {0.12, 0.12, 0.12}};
  metal.material = metal_material();
  add_shrouds(paint, style, d);
  add_side_panels(paint, d);
  add_tank(paint, d);
  add_rear_fender(paint, style, d);
  add_seat(seat, d);
  add_frame_tubes(metal, style, d);
  add_engine(metal, style, d);
  add_exhaust(metal, style, d);
  add_cooling_and_airbox(metal, d);
  add_controls(metal, style, d);
  add_shock(metal, d);

  return body_part({metal, seat, paint}, FRAME_CENTRE, d, &paint, 0.22);
}

}  // namespace art
