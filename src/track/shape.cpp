#include "track/shape.h"

#include <cmath>
#include <memory>

#include "core/grow_array.h"
#include "data/data_file.h"
#include "data/scanner.h"

namespace {

// Far more spheres than any body needs; a damaged count fails early.
constexpr int SHAPE_SPHERE_LIMIT = 4096;

// Entries are never moved once made, so handed-out pointers stay valid.
std::vector<std::unique_ptr<Shape>> shape_cache;

bool finite_sphere(const ShapeSphere& s) {
  for (float v : {s.centre[0], s.centre[1], s.centre[2], s.radius, s.friction, s.spring, s.damper})
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

bool read_shape(DataFile* file, Shape* shape) {
  int count = -1;
  if (df_scanf(file, "%d", &count) != 1 || count < 0 || count > SHAPE_SPHERE_LIMIT) return false;
  shape->spheres.clear();
  shape->bound = 0.0f;
  for (int k = 0; k < count; ++k) {
    ShapeSphere s;
    for (float& c : s.centre)
      if (df_scanf(file, "%f", &c) != 1) return false;
    if (df_scanf(file, "%f %f %f %f", &s.radius, &s.friction, &s.spring, &s.damper) != 4 || !finite_sphere(s))
      return false;
    float reach = std::sqrt(s.centre[0] * s.centre[0] + s.centre[1] * s.centre[1] + s.centre[2] * s.centre[2]) + s.radius;
    if (reach > shape->bound) shape->bound = reach;
    shape->spheres.push_back(s);
  }
  return true;
}

const Shape* load_shape(const char* path) {
  if (!path) return nullptr;
  for (const auto& cached : shape_cache)
    if (cached->name == path) return cached.get();
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path, "rb"));
  if (!file) return nullptr;
  auto shape = std::make_unique<Shape>();
  if (!read_shape(file.get(), shape.get())) return nullptr;
  shape->name = path;
  const Shape* loaded = shape.get();
  if (!grow_push(shape_cache, std::move(shape))) return nullptr;
  return loaded;
}

bool copy_shape(const char* path, Shape* copy) {
  const Shape* cached = load_shape(path);
  if (!cached) return false;
  *copy = *cached;
  copy->source = cached;
  return true;
}
