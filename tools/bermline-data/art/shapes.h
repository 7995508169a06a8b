// The collision shapes of every bike: "@generic_frame.shp" and the other
// generic body shapes, and the two wheel shapes, in body coordinates.
#pragma once

#include <string>
#include <vector>

#include "kit/shp_format.h"

namespace art {

struct NamedShape {
  std::string file;  // name in the data folder
  std::vector<kit::ShapeSphere> spheres;
};

std::vector<NamedShape> bike_shapes();

}  // namespace art
