#include "kit/shp_format.h"

#include <algorithm>
#include <cstdio>
#include <memory>

#include "data/data_file.h"
#include "data/scanner.h"
#include "kit/number_text.h"

namespace kit {

std::string write_shp(const std::vector<ShapeSphere>& spheres) {
  std::string out = std::to_string(spheres.size()) + "\n";
  for (const ShapeSphere& s : spheres)
    out += number_text(s.centre.x, 4) + " " + number_text(s.centre.y, 4) + " " + number_text(s.centre.z, 4) + "  " +
           number_text(s.radius, 4) + " " + number_text(s.friction, 3) + " " + number_text(s.spring, 1) + " " +
           number_text(s.damper, 1) + "\n";
  return out;
}

namespace {
bool read_shape(DataFile* file, std::vector<ShapeSphere>* spheres) {
  spheres->clear();
  int count;
  if (df_scanf(file, "%d", &count) != 1 || count < 0) return false;
  for (int i = 0; i < count; ++i) {
    ShapeSphere s;
    if (df_scanf(file, "%lf", &s.centre.x) != 1 || df_scanf(file, "%lf", &s.centre.y) != 1 ||
        df_scanf(file, "%lf", &s.centre.z) != 1 ||
        df_scanf(file, "%lf %lf %lf %lf", &s.radius, &s.friction, &s.spring, &s.damper) != 4) {
      spheres->clear();
      return false;
    }
    spheres->push_back(s);
  }
  return true;
}
}  // namespace

bool read_shp_file(const std::string& path, std::vector<ShapeSphere>* spheres) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  return file && read_shape(file.get(), spheres);
}

bool read_shp_bytes(const std::string& bytes, std::vector<ShapeSphere>* spheres) {
  std::string copy = bytes.empty() ? std::string(" ") : bytes;
  FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
  if (!stream) return false;
  std::unique_ptr<DataFile, DataFileCloser> file(df_open_stream(stream));
  return file && read_shape(file.get(), spheres);
}

double shape_bound(const std::vector<ShapeSphere>& spheres) {
  double bound = 0;
  for (const ShapeSphere& s : spheres) bound = std::max(bound, length(s.centre) + s.radius);
  return bound;
}

}  // namespace kit
