// Bone weights for skinned models, from the distance of each vertex to the
// bones: each bone is a capsule (a segment with a radius), a vertex inside
// or near one capsule follows that bone, and vertices between capsules
// (elbows, knees, shoulders) blend smoothly.
#pragma once

#include <vector>

#include "kit/mesh.h"

namespace kit {

struct BoneCapsule {
  int bone;
  Vec3 a, b;
  double radius;
};

// Sets the weights of the vertices from `first` on (the mesh's weight rows
// are created for every vertex, `bone_count` each). Each vertex is weighted
// among `capsules` only; `blend` (feet) sets how far blending reaches.
void skin_to_capsules(Mesh& mesh, int bone_count, size_t first, const std::vector<BoneCapsule>& capsules,
                      double blend);

}  // namespace kit
