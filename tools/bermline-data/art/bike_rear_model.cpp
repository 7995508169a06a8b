// The swingarm body's model and the side number plates.
#include <cmath>

#include "art/bike_atlas.h"
#include "art/bike_geometry.h"
#include "art/bike_models.h"

namespace art {

namespace {

using kit::add_box;
using kit::add_cylinder;
using kit::add_tube;

// The chain loop: over the top of both sprockets and back underneath.
std::vector<Vec3> chain_path(int arc_steps) {
  std::vector<Vec3> points;
  auto arc = [&](Vec3 centre, double radius, double from, double to) {
    for (int i = 0; i <= arc_steps; ++i) {
      double a = from + (to - from) * i / arc_steps;
      points.push_back(centre + Vec3{0, radius * std::cos(a), radius * std::sin(a)});
    }
  };
  Vec3 rear{SPROCKET_X, REAR_AXLE.y, REAR_AXLE.z};
  arc(rear, REAR_SPROCKET_RADIUS, 0, kit::PI);                // top, round the back, to the bottom
  arc(COUNTERSHAFT, COUNTERSHAFT_RADIUS, kit::PI, 2 * kit::PI);  // bottom, round the front, to the top
  points.push_back(points.front());
  return points;
}

}  // namespace

Model swingarm_model(Detail d) {
  Mesh metal;
  metal.material = metal_material();
  int sides = d.n(10, 4);
  for (double side : {-1.0, 1.0}) {
    std::vector<Vec3> arm = kit::smooth_path({{0.33 * side, 1.6, 4.22}, {0.37 * side, 1.42, 4.8}, {0.41 * side, 1.2, 5.5},
                                              {0.42 * side, 1.04, 6.05}, {0.42 * side, 1.02, 6.2}},
                                             d.n(3, 1));
    add_tube(metal, arm, {{0.05, 0.13}, {0.05, 0.12}, {0.045, 0.1}, {0.04, 0.08}, {0.04, 0.07}}, sides, atlas::SWINGARM_METAL);
    add_box(metal, kit::frame_looking({0.42 * side, REAR_AXLE.y, REAR_AXLE.z + 0.08}, {0, 0, 1}), {0.055, 0.07, 0.12},
            atlas::ALUMINIUM);
  }
  add_box(metal, kit::frame_looking({0, 1.5, 4.5}, {0, 0.2, 1}), {0.34, 0.08, 0.11}, atlas::SWINGARM_METAL);
  add_cylinder(metal, SWINGARM_PIVOT + Vec3{-0.4, 0, 0}, SWINGARM_PIVOT + Vec3{0.4, 0, 0}, 0.075, 0.075, d.n(10, 5),
               atlas::ALUMINIUM);
  add_cylinder(metal, REAR_AXLE + Vec3{-0.5, 0, 0}, REAR_AXLE + Vec3{0.5, 0, 0}, 0.035, 0.035, d.n(8, 4), atlas::ALUMINIUM);
  add_box(metal, kit::frame_looking({0, 1.26, 4.78}, {0, 0.1, 1}), {0.09, 0.07, 0.2}, atlas::SHOCK_BODY);
  // Chain, its slider on the arm and the guide under it.
  add_tube(metal, chain_path(d.n(12, 3)), std::vector<Vec2>{{0.035, 0.022}}, d.n(6, 4), atlas::CHAIN, false, {1, 0, 0});
  if (!d.far()) {
    add_box(metal, kit::frame_looking({SPROCKET_X - 0.02, 1.68, 4.45}, {0, -0.3, 1}), {0.05, 0.05, 0.28}, atlas::RUBBER);
    add_box(metal, kit::frame_looking({SPROCKET_X, 0.82, 5.45}, {0, -0.35, 1}), {0.05, 0.09, 0.18}, atlas::BLACK_PLASTIC);
    // Rear brake caliper on the right, under the arm.
    add_box(metal, kit::frame_looking(REAR_AXLE + Vec3{REAR_DISC_X + 0.04, -0.27, -0.2}, {0, -0.27, 0.2}), {0.05, 0.09, 0.13},
            atlas::SHOCK_BODY);
  }
  return body_part({metal}, SWINGARM_CENTRE, d);
}

Model side_plates_model(Detail d) {
  auto sv = [](double z, double y) { return Vec2{-z, y}; };
  std::vector<Vec2> outline = {sv(4.5, 3.1),  sv(4.52, 2.8),  sv(4.66, 2.66), sv(4.9, 2.62),
                               sv(5.72, 2.8), sv(5.98, 2.95), sv(5.96, 3.1)};
  const UvRect whole{0, 0, 1, 1};
  Mesh plates;
  plates.material = satin_material();
  add_both_sides(
      plates,
      [&](Mesh& m) {
        kit::add_extrusion(m, side_frame(0), outline, 0.02, {}, {});
        bend(m, 0, [](Vec3 p) { return Vec3{0.345 + 0.03 * std::clamp((3.1 - p.y) / 0.8, 0.0, 1.0), 0, 0}; });
        fit_square_uv(m, 0, {0, 0, -1}, {0, 1, 0});
        for (kit::Vertex& v : m.vertices)
          if (v.normal.x < 0.5) v.u = v.v = 0.02;  // inside and edges: plain plate colour
      },
      &whole);
  return body_part({plates}, FRAME_CENTRE, d);
}

}  // namespace art
