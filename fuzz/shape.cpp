// The ".shp" shape reader over arbitrary bytes.
#include <cmath>
#include <cstdint>

#include "track/shape.h"
#include "track_fuzz_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  DataFile* file = open_input(data, size);
  if (!file) return 0;
  Shape shape;
  bool ok = read_shape(file, &shape);
  df_close(file);
  if (!ok) return 0;
  for (const ShapeSphere& s : shape.spheres) {
    float reach = std::sqrt(s.centre[0] * s.centre[0] + s.centre[1] * s.centre[1] + s.centre[2] * s.centre[2]) + s.radius;
    if (!std::isfinite(s.radius) || reach > shape.bound * 1.0001f + 1e-6f) __builtin_trap();
  }
  return 0;
}
