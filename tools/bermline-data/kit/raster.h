// A small software renderer for preview pictures of the kit's models: the
// game's conventions (counter-clockwise front faces, image-space texture
// coordinates, alpha test at 0.5), a z-buffer, one sun and ambient light.
#pragma once

#include <vector>

#include "kit/image.h"
#include "kit/mesh.h"

namespace kit {

struct Camera {
  Vec3 eye{0, 2, -10};
  Vec3 target{0, 2, 0};
  Vec3 up{0, 1, 0};
  double fov_degrees = 30;  // vertical
};

struct Canvas {
  Image colour;
  std::vector<float> depth;
  Canvas(int width, int height, Colour background);
};

// Draws `model` placed by rotation then offset, with `texture` (or white).
// Back faces are culled, as in the game.
void render_model(Canvas& canvas, const Camera& camera, const Model& model, const Image* texture,
                  const Mat3& rotation = {}, Vec3 offset = {}, Vec3 sun = {0.4, 0.8, -0.45});

}  // namespace kit
