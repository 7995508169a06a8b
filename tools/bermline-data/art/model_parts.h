// Shared helpers for the bike and rider models: detail levels, materials,
// side-view placement and the cross sections bodywork is lofted from.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "kit/mesh.h"
#include "kit/primitives.h"

namespace art {

using kit::Frame;
using kit::Mesh;
using kit::Model;
using kit::UvRect;
using kit::Vec2;
using kit::Vec3;

// 0: the full model; 1 and 2: the distance versions ("_lod5", "_lod7").
struct Detail {
  int level = 0;
  // A segment count reduced for distance, never below `least`.
  int n(int full, int least = 3) const { return std::max(least, full >> level); }
  bool full() const { return level == 0; }
  bool far() const { return level >= 2; }
};

// The distance versions written beside each model: "_lod5" is used from
// 32 feet and "_lod7" from 128 feet at the default model detail.
inline constexpr int LOD_DIGITS[2] = {5, 7};

// Materials: shiny paint and plastic, metal, satin hardware, rubber and
// cloth.
kit::Material paint_material();
kit::Material metal_material();
kit::Material satin_material();
kit::Material rubber_material();

// A frame for drawing in side view at lateral position x: its 2D x runs
// toward the front of the bike (-z), 2D y is up, and extrusions go along x.
// Seen from the right side the front face reads left to right.
Frame side_frame(double x);

// A frame at `at` whose z axis follows `tangent`, whose x axis is as close
// to `side` as possible, and whose y axis completes them (sections of
// lofts along a spine).
Frame spine_frame(Vec3 at, Vec3 tangent, Vec3 side = {1, 0, 0});

// Moves every vertex from `first` on by `offset(position)` and then
// recomputes the normals of the moved part (bending flat panels).
void bend(Mesh& mesh, size_t first, const std::function<Vec3(Vec3)>& offset);

// A closed arch-shaped section (fenders, guards): the outer arc from
// (w, 0) over (0, h) to (-w, 0), skirts hanging `skirt` below, and the
// inner arc `thickness` inside.
std::vector<Vec2> arch_section(double half_width, double height, double thickness, double skirt, int steps);

// Adds the mesh built by `build` twice: as it is (the right side) and
// mirrored to the left, the texture mirrored within `region` (if given).
void add_both_sides(Mesh& mesh, const std::function<void(Mesh&)>& build, const UvRect* region = nullptr);

// A part model from meshes built in bike space, moved into its body's
// coordinates; near versions also get the environment-mapped gloss over
// `glossy` (the highlight layer comes last, as the renderer wants).
Model body_part(std::vector<Mesh> meshes, Vec3 body_centre, Detail detail, const Mesh* glossy = nullptr,
                double gloss = 0);

// Maps a flat face's bounding box (in the plane spanned by `s_axis` and
// `t_axis`) onto the unit square without distortion, centred: the number
// plates show the square number texture at its own proportions.
void fit_square_uv(Mesh& mesh, size_t first, Vec3 s_axis, Vec3 t_axis);

}  // namespace art
