// The ".shp" collision shape format: a sphere count, then per sphere its
// centre x, y, z in body coordinates and radius, friction, spring, damper.
#pragma once

#include <string>
#include <vector>

#include "kit/vec.h"

namespace kit {

struct ShapeSphere {
  Vec3 centre;
  double radius = 0;
  double friction = 0;
  double spring = 0;
  double damper = 0;
};

std::string write_shp(const std::vector<ShapeSphere>& spheres);

// Reads a shape through the game's file layer and scanner; false when it
// can't be opened or any number fails to read.
bool read_shp_file(const std::string& path, std::vector<ShapeSphere>* spheres);
bool read_shp_bytes(const std::string& bytes, std::vector<ShapeSphere>* spheres);

// Radius of the sphere about the body origin that encloses the shape.
double shape_bound(const std::vector<ShapeSphere>& spheres);

}  // namespace kit
