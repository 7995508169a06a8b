// Collision shapes (".shp"): a named set of spheres in body coordinates.
// Bikes carry one per body; statues may carry one for solid scenery.
// Loaded shapes are cached by path for the whole run.
#pragma once

#include <string>
#include <vector>

struct DataFile;

struct ShapeSphere {
  float centre[3];
  float radius;
  float friction;
  float spring;
  float damper;
};

struct Shape {
  std::string name;  // the path it was loaded from
  std::vector<ShapeSphere> spheres;
  float bound = 0;  // radius about the body origin enclosing every sphere
  // For a per-bike copy: the cached shape with the body-space centres
  // (the copy's centres are overwritten with world positions).
  const Shape* source = nullptr;
};

// The cached shape for a path, loading it on first use; null when the file
// cannot be opened or any read fails.
const Shape* load_shape(const char* path);
// A private copy of the cached shape (false when it does not load).
bool copy_shape(const char* path, Shape* copy);

// Parses an open ".shp" file: a count, then per sphere three centre
// coordinates and radius, friction, spring and damper.
bool read_shape(DataFile* file, Shape* shape);
