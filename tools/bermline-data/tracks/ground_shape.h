// The track's ground: the natural land of the site with the course cut and
// filled into it. The track bed follows the land along the centre line,
// smoothed and held to a steepest grade; obstacles and berms stand on the
// bed; shoulders blend every edge back into the land no steeper than a
// rider could roll.
#pragma once

#include <functional>
#include <vector>

#include "tracks/course.h"

namespace tracks {

// A square height field laid out as the game's terrain: vertex (i, j) at
// (i * spacing, h, j * spacing), P = 2^(shift + 1) + 1 vertices per side.
struct Heightfield {
  int grid_shift = 0;
  int size = 0;
  double spacing = 1;
  std::vector<double> heights;  // vertex (i, j) at i + size * j
  // The height range the terrain file states; every height is
  // low + k * (high - low) / 65535 once quantised.
  double low = 0, high = 1;

  Heightfield() = default;
  Heightfield(int shift, double spacing);
  double extent() const { return spacing * (size - 1); }
  double& at(int i, int j) { return heights[static_cast<size_t>(j) * size + i]; }
  double at(int i, int j) const;  // clamped to the grid
  // Height under (x, z) on the same triangles the game uses.
  double height_at(double x, double z) const;
  // Unit upward normal of the ground around (x, z).
  Vec3 normal_at(double x, double z) const;
  double min_height() const;
  double max_height() const;
};

// Natural ground height of a site at (x, z).
using LandFunction = std::function<double(double x, double z)>;

// Which cross section of the course covers a point of the ground.
struct CourseCover {
  const CourseSample* sample = nullptr;  // nearest section, null off the course
  double lateral = 0;   // offset to the rider's left of the centre line
  double edge = 0;      // distance beyond the track edge (negative inside)
  double shoulder = 0;  // width of the shoulder there
};

struct ShapedGround {
  Heightfield ground;
  // The course cover of every vertex (same indexing as the heights).
  std::vector<CourseCover> cover;
};

// Shapes the ground and fills in the course's bed heights. The heights come
// out quantised to the 16 bits per sample the terrain file keeps.
ShapedGround shape_ground(const LandFunction& land, SampledCourse& course, const CourseDescription& description,
                          int grid_shift, double spacing);

// The terrain file: "N spacing min max" and the samples inline.
std::string terrain_file(const Heightfield& ground);

}  // namespace tracks
