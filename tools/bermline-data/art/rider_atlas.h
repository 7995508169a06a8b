// Texture layouts of the riding gear (1024 x 1024) and the helmet
// (512 x 512), shared by the rider models and their painter.
#pragma once

#include "kit/mesh.h"

namespace art::rider_atlas {

inline constexpr int BODY_SIZE = 1024;
inline constexpr int HEAD_SIZE = 512;

inline kit::UvRect body(double x0, double y0, double x1, double y1) {
  return kit::pixel_rect(BODY_SIZE, x0, y0, x1, y1);
}
inline kit::UvRect head(double x0, double y0, double x1, double y1) {
  return kit::pixel_rect(HEAD_SIZE, x0, y0, x1, y1);
}

// Torso: u round the body from the right side (0) over the chest (0.25),
// the left side (0.5) and the back (0.75); v from the collar (top of the
// region) down to the seat of the pants (bottom).
inline const kit::UvRect TORSO = body(0, 0, 1024, 384);
// Limbs: u round the limb, v from the root joint (top) to the end.
inline const kit::UvRect UPPER_SLEEVE = body(0, 384, 512, 512);
inline const kit::UvRect LOWER_SLEEVE = body(512, 384, 1024, 512);
inline const kit::UvRect GLOVE = body(0, 512, 256, 640);
inline const kit::UvRect KNEE = body(256, 512, 512, 640);
inline const kit::UvRect THIGH = body(0, 640, 512, 832);
inline const kit::UvRect SHIN = body(512, 640, 1024, 832);  // pants over the boot top, then the boot
inline const kit::UvRect BOOT_FOOT = body(0, 832, 512, 960);
inline const kit::UvRect SOLE = body(512, 832, 640, 960);

// Helmet shell: u round from the face (0) by the left (0.25), the back
// (0.5) and the right (0.75); v from the rim (top of the region) to the
// crown (bottom).
inline const kit::UvRect SHELL = head(0, 0, 512, 320);
inline const kit::UvRect CHIN_BAR = head(0, 320, 256, 384);
inline const kit::UvRect VISOR = head(256, 320, 512, 384);
inline const kit::UvRect LENS = head(0, 384, 256, 448);
inline const kit::UvRect GOGGLE_FRAME = head(256, 384, 512, 448);
inline const kit::UvRect STRAP = head(0, 448, 512, 512);

}  // namespace art::rider_atlas
