#include "kit/skinning.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {
double segment_distance(Vec3 p, Vec3 a, Vec3 b) {
  Vec3 ab = b - a;
  double len2 = dot(ab, ab);
  double t = len2 > 0 ? std::clamp(dot(p - a, ab) / len2, 0.0, 1.0) : 0.0;
  return length(p - (a + ab * t));
}
}  // namespace

void skin_to_capsules(Mesh& mesh, int bone_count, size_t first, const std::vector<BoneCapsule>& capsules,
                      double blend) {
  mesh.weights.resize(mesh.vertices.size() * bone_count, 0.0);
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    double* row = &mesh.weights[i * bone_count];
    std::fill(row, row + bone_count, 0.0);
    double total = 0;
    for (const BoneCapsule& c : capsules) {
      double outside = std::max(0.0, segment_distance(mesh.vertices[i].position, c.a, c.b) - c.radius);
      double w = std::pow(blend / (outside + blend), 6);
      row[c.bone] += w;
      total += w;
    }
    // Drop negligible influences so each vertex follows one or two bones.
    double kept = 0;
    for (int b = 0; b < bone_count; ++b) {
      if (row[b] < total * 0.02) row[b] = 0;
      kept += row[b];
    }
    for (int b = 0; b < bone_count; ++b) row[b] /= kept;
  }
}

}  // namespace kit
