// The ".jm" model text format. Version 1 ("JM1") holds rigid meshes;
// version 2 ("JM2") adds the bone count and a rig word after the header and
// one weight per bone to every vertex. Each mesh is a line
// "shininess reflection specular-r g b vertex-count triangle-count", the
// vertices "x y z nx ny nz u v [weights]" and the triangles "a b c".
#pragma once

#include <string>

#include "kit/mesh.h"

namespace kit {

// The file bytes; the same model always gives the same bytes.
std::string write_jm(const Model& model);

// Reads a model back through the game's file layer and scanner, following
// the loader's rules (versions 0, 1 and 2; a mesh whose numbers run out ends
// the list; weights normalised to sum 1, all-zero weights become 1/B).
// Texture v comes back in image space. False, with a reason, when the file
// can't be opened, has another version or holds no readable mesh.
bool read_jm_file(const std::string& path, Model* model, std::string* error = nullptr);
bool read_jm_bytes(const std::string& bytes, Model* model, std::string* error = nullptr);

}  // namespace kit
