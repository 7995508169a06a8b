// The fork bodies' models and the front number plate.
#include <cmath>

#include "art/bike_atlas.h"
#include "art/bike_geometry.h"
#include "art/bike_models.h"

namespace art {

namespace {

using kit::add_box;
using kit::add_cylinder;
using kit::add_extrusion;
using kit::add_tube;

// A frame across the fork at `s` feet up the steering axis: x to the right,
// y forward and up (square to the axis), z up the axis.
Frame clamp_frame(double s) { return spine_frame(on_steering_axis(s), steering_axis()); }

Vec3 leg(double side) { return {side * FORK_LEG_SPACING / 2, 0, 0}; }

// Points of the lower fork `s` feet along the axis from its centre.
Vec3 on_lower_fork(double s) { return FORK_LOWER_CENTRE + steering_axis() * s; }

void add_clamps(Mesh& metal, Detail d) {
  int corners = d.n(6, 2);
  add_extrusion(metal, clamp_frame(0.55), kit::rounded_rect_outline(1.1, 0.34, 0.15, corners), 0.09, atlas::ALUMINIUM,
                atlas::ALUMINIUM);
  add_extrusion(metal, clamp_frame(-0.3), kit::rounded_rect_outline(1.14, 0.4, 0.17, corners), 0.13, atlas::ALUMINIUM,
                atlas::ALUMINIUM);
  add_cylinder(metal, on_steering_axis(0.6), on_steering_axis(0.66), 0.07, 0.06, d.n(10, 5), atlas::ALUMINIUM);
}

void add_outer_tubes(Mesh& metal, Detail d) {
  int sides = d.n(12, 6);
  for (double side : {-1.0, 1.0}) {
    Vec3 x = leg(side);
    add_cylinder(metal, on_steering_axis(0.64) + x, on_steering_axis(-0.9) + x, 0.105, 0.105, sides, atlas::FORK_OUTER, false);
    add_cylinder(metal, on_steering_axis(-0.9) + x, on_steering_axis(-1.0) + x, 0.115, 0.112, sides, atlas::BLACK_PLASTIC);
    add_cylinder(metal, on_steering_axis(0.63) + x, on_steering_axis(0.69) + x, 0.085, 0.08, sides, atlas::ALUMINIUM);
  }
}

// The handlebar from the left end to the right end.
std::vector<Vec3> handlebar_path(int per_segment) {
  const Vec3 right[] = {{0.35, 3.63, 2.52}, {0.62, 3.82, 2.68}, {0.85, 4.0, 2.86}, grip_point(1), {1.3, 4.07, 2.94}};
  std::vector<Vec3> points;
  for (int i = 4; i >= 0; --i) points.push_back(mirror(right[i], -1));
  points.push_back({0, 3.6, 2.48});
  for (const Vec3& p : right) points.push_back(p);
  return kit::smooth_path(points, per_segment);
}

void add_handlebar(Mesh& metal, Mesh& rubber, Detail d) {
  add_tube(metal, handlebar_path(d.n(3, 1)), 0.045, d.n(8, 5), atlas::ALUMINIUM);
  for (double side : {-1.0, 1.0}) {
    // Risers from the top clamp to the bar.
    Vec3 base = on_steering_axis(0.6) + Vec3{0.17 * side, 0, 0};
    add_cylinder(metal, base, {0.17 * side, 3.6, 2.48}, 0.05, 0.045, d.n(8, 4), atlas::ALUMINIUM);
    // Grips.
    Vec3 inner{0.86 * side, 4.005, 2.865}, outer{1.3 * side, 4.07, 2.94};
    add_cylinder(rubber, inner, outer, 0.068, 0.07, d.n(10, 5), atlas::GRIP);
    if (d.far()) continue;
    // Lever perches and levers: clutch on the left, front brake on the right.
    add_box(metal, kit::frame_looking({0.74 * side, 3.99, 2.83}, {0, 0, 1}), {0.06, 0.05, 0.06}, atlas::SHOCK_BODY);
    add_tube(metal, {{0.78 * side, 3.97, 2.76}, {1.0 * side, 3.97, 2.66}, {1.24 * side, 3.98, 2.62}},
             std::vector<Vec2>{{0.018, 0.03}}, 6, atlas::ALUMINIUM);
  }
  if (d.far()) return;
  add_box(metal, kit::frame_looking({0.64, 4.05, 2.76}, {0, 0, 1}), {0.07, 0.045, 0.05}, atlas::SHOCK_BODY);
  // Crossbar pad in the bike's colour.
  Mesh pad;
  kit::add_ellipsoid(pad, spine_frame({0, 3.63, 2.49}, {1, 0, 0}, {0, 1, 0}), {0.075, 0.08, 0.26}, d.n(8, 4),
                     d.n(12, 6), atlas::PLASTIC);
  rubber.append(pad);
}

void add_front_fender(Mesh& paint, Detail d) {
  struct Station {
    double z, y, w;
  };
  const Station stations[] = {{-0.2, 2.33, 0.17}, {0.3, 2.6, 0.26}, {0.9, 2.73, 0.3},
                              {1.5, 2.72, 0.3},   {1.95, 2.6, 0.28}, {2.35, 2.36, 0.22}};
  std::vector<std::vector<Vec3>> rings;
  int count = static_cast<int>(std::size(stations));
  for (int i = 0; i < count; ++i) {
    const Station &s = stations[i], &next = stations[std::min(i + 1, count - 1)], &prev = stations[std::max(i - 1, 0)];
    rings.push_back(kit::place_section(spine_frame({0, s.y, s.z}, {0, next.y - prev.y, next.z - prev.z}),
                                       arch_section(s.w, 0.09, 0.025, 0.04, d.n(10, 3))));
  }
  size_t first = paint.vertices.size();
  kit::RingOptions caps;
  caps.cap_start = caps.cap_end = true;
  kit::add_rings(paint, rings, atlas::FRONT_FENDER, caps);
  kit::project_uv(paint, {0.32, 0, -0.25}, {0, 0, 1 / 2.65}, {-1 / 0.64, 0, 0}, atlas::FRONT_FENDER, first);
}

}  // namespace

Model fork_upper_model(Detail d) {
  Mesh paint, metal, rubber;
  paint.material = paint_material();
  metal.material = metal_material();
  rubber.material = satin_material();
  add_clamps(metal, d);
  add_outer_tubes(metal, d);
  add_handlebar(metal, rubber, d);
  add_front_fender(paint, d);
  add_box(metal, kit::frame_looking(on_steering_axis(-0.4), steering_axis()), {0.16, 0.1, 0.05}, atlas::BLACK_PLASTIC);
  return body_part({metal, rubber, paint}, FORK_UPPER_CENTRE, d, &paint, 0.2);
}

Model fork_lower_model(Detail d) {
  Mesh metal, guards;
  metal.material = metal_material();
  guards.material = paint_material();
  int sides = d.n(12, 6);
  Vec3 a = steering_axis();
  for (double side : {-1.0, 1.0}) {
    Vec3 x = leg(side);
    add_cylinder(metal, on_lower_fork(0.7) + x, on_lower_fork(-0.56) + x, 0.08, 0.08, sides, atlas::FORK_INNER);
    // Axle lug: holds the axle a little ahead of the leg.
    add_cylinder(metal, on_lower_fork(-0.5) + x, on_lower_fork(-0.74) + x, 0.095, 0.1, sides, atlas::ALUMINIUM);
    add_box(metal, spine_frame(Vec3{x.x, FRONT_AXLE.y, FRONT_AXLE.z + 0.07}, a), {0.075, 0.13, 0.12}, atlas::ALUMINIUM);
    // Guard over the front of the leg.
    std::vector<std::vector<Vec3>> rings;
    for (double s : {-0.62, -0.45, 0.0, 0.18})
      rings.push_back(kit::place_section(spine_frame(on_lower_fork(s) + x, a),
                                         arch_section(0.13, s > 0.1 ? 0.1 : 0.15, 0.02, 0.03, d.n(8, 3))));
    kit::RingOptions caps;
    caps.cap_start = caps.cap_end = true;
    kit::add_rings(guards, rings, atlas::FORK_GUARD, caps);
  }
  add_cylinder(metal, FRONT_AXLE + Vec3{-0.5, 0, 0}, FRONT_AXLE + Vec3{0.5, 0, 0}, 0.035, 0.035, d.n(8, 4), atlas::ALUMINIUM);
  // Front brake caliper on the left, over the disc's rear edge.
  Vec3 caliper_at = FRONT_AXLE + Vec3{FRONT_DISC_X - 0.05, 0.27, 0.32};
  add_box(metal, kit::frame_looking(caliper_at, {0, 0.32, -0.27}), {0.06, 0.1, 0.15}, atlas::SHOCK_BODY);
  return body_part({metal, guards}, FORK_LOWER_CENTRE, d);
}

Model front_plate_model(Detail d) {
  Vec3 forward = kit::cross(steering_axis(), Vec3{1, 0, 0});  // square to the axis, ahead and up
  Vec3 centre = on_steering_axis(0.08) + forward * 0.3;
  Frame frame = spine_frame(centre, forward, {-1, 0, 0});  // x to the viewer's right, y up the fork
  int steps = d.n(5, 1);
  std::vector<Vec2> outline;
  auto corner = [&](Vec2 c, double r, double from) {
    for (int i = 0; i <= steps; ++i) outline.push_back(c + Vec2{std::cos(from + i * kit::PI / 2 / steps), std::sin(from + i * kit::PI / 2 / steps)} * r);
  };
  corner({0.36, -0.3}, 0.1, -kit::PI / 2);
  corner({0.38, 0.3}, 0.09, 0);
  corner({-0.38, 0.3}, 0.09, kit::PI / 2);
  corner({-0.36, -0.3}, 0.1, kit::PI);
  Mesh plate;
  plate.material = satin_material();
  add_extrusion(plate, frame, outline, 0.03, {}, {});
  // Wrap the sides back round the fork tubes.
  bend(plate, 0, [&](Vec3 p) {
    double x = kit::dot(p - centre, frame.x);
    return forward * (-0.28 * x * x);
  });
  fit_square_uv(plate, 0, frame.x, frame.y);
  for (kit::Vertex& v : plate.vertices)
    if (kit::dot(v.normal, forward) < 0.5) v.u = v.v = 0.02;  // back and edges: plain plate colour
  return body_part({plate}, FORK_UPPER_CENTRE, d);
}

}  // namespace art
