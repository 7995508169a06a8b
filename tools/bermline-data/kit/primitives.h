// Building blocks for models: everything is made of rings of points swept
// along a path (tubes, lathed parts, lofted bodywork), flat boxes and
// extruded outlines. Each adds to a Mesh with texture coordinates mapped
// into a region of the texture.
#pragma once

#include <array>
#include <vector>

#include "kit/mesh.h"

namespace kit {

// A placement: origin and three unit axes.
struct Frame {
  Vec3 origin;
  Vec3 x{1, 0, 0}, y{0, 1, 0}, z{0, 0, 1};
  Vec3 at(double a, double b, double c = 0) const { return origin + x * a + y * b + z * c; }
  Vec3 direction(double a, double b, double c = 0) const { return x * a + y * b + z * c; }
};

// A frame at `origin` whose z axis is `forward` and whose y axis is as close
// to `up` as possible.
Frame frame_looking(Vec3 origin, Vec3 forward, Vec3 up = {0, 1, 0});

struct RingOptions {
  bool closed_around = true;  // each ring is a loop
  bool closed_along = false;  // the last ring joins the first (a torus)
  bool cap_start = false, cap_end = false;
  bool along_u = false;       // texture u runs along the path (else v does)
  bool flip = false;          // turn the surface inside out
  double u_repeat = 1, v_repeat = 1;  // times the region is repeated
};

// The surface through `rings` (all of the same point count), with smooth
// normals. Texture: the around direction spans the region once (by arc
// length), the along direction too (by the length of the ring centres).
void add_rings(Mesh& mesh, const std::vector<std::vector<Vec3>>& rings, UvRect uv, const RingOptions& options = {});

// Triangulates a simple polygon (either winding) by ear clipping.
std::vector<std::array<int, 3>> triangulate(const std::vector<Vec2>& polygon);

// A tube swept along `path` with per-point radii (x across, y up relative to
// the path's frame, which follows the path without twisting from `up`).
void add_tube(Mesh& mesh, const std::vector<Vec3>& path, const std::vector<Vec2>& radii, int sides, UvRect uv,
              bool caps = true, Vec3 up = {0, 1, 0});
// The rings of such a tube, for add_rings with options of one's own.
std::vector<std::vector<Vec3>> tube_rings(const std::vector<Vec3>& path, const std::vector<Vec2>& radii, int sides,
                                          Vec3 up = {0, 1, 0});
void add_tube(Mesh& mesh, const std::vector<Vec3>& path, double radius, int sides, UvRect uv, bool caps = true);
// A cylinder (or cone) between two points.
void add_cylinder(Mesh& mesh, Vec3 a, Vec3 b, double radius_a, double radius_b, int sides, UvRect uv,
                  bool caps = true);

// A surface of revolution: `profile` points are (radius, height along the
// frame's z axis); the frame's x axis is angle 0.
void add_lathe(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& profile, int sides, UvRect uv,
               const RingOptions& options = {});

// An ellipsoid with semi-axes along the frame's axes.
void add_ellipsoid(Mesh& mesh, const Frame& frame, Vec3 radii, int rings, int sides, UvRect uv);

// A box of half sizes along the frame axes; every face maps the whole region.
void add_box(Mesh& mesh, const Frame& frame, Vec3 half, UvRect uv);

// A flat outline (in the frame's x-y plane) extruded `depth` along the
// frame's z axis, centred on the plane. The faces map the outline's bounding
// box onto `face_uv`; the sides map onto `side_uv`.
void add_extrusion(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& outline, double depth, UvRect face_uv,
                   UvRect side_uv);

// A flat ring (inner radius r0, outer r1) in the frame's x-y plane,
// `thickness` deep along z, with both faces mapping the square `face_uv`
// from -r1..r1 (so a painted disc lines up) and the rims mapping `edge_uv`.
void add_annulus(Mesh& mesh, const Frame& frame, double r0, double r1, double thickness, int segments,
                 UvRect face_uv, UvRect edge_uv);

// Outline helpers (counter-clockwise): a rounded rectangle, a circle.
std::vector<Vec2> rounded_rect_outline(double width, double height, double radius, int corner_steps);
std::vector<Vec2> circle_outline(double radius, int steps);
// A closed cross-section for lofts: a superellipse |x/a|^n + |y/b|^n = 1
// (n = 2 an ellipse; larger n squarer).
std::vector<Vec2> superellipse(double a, double b, double exponent, int steps);
// Places a 2D section in the plane of `frame` (x, y) as 3D points.
std::vector<Vec3> place_section(const Frame& frame, const std::vector<Vec2>& section);

// Points along a Catmull-Rom curve through `points`, `per_segment` each.
std::vector<Vec3> smooth_path(const std::vector<Vec3>& points, int per_segment);

}  // namespace kit
