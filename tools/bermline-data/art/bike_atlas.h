// The layout of a bike texture ("@crf250.png" and its liveries): one
// 1024 x 1024 picture with a region per kind of surface. The models map
// their parts into these regions and the painter fills them, so both read
// the layout from here.
#pragma once

#include "kit/mesh.h"

namespace art::atlas {

inline constexpr int SIZE = 1024;

inline kit::UvRect px(double x0, double y0, double x1, double y1) { return kit::pixel_rect(SIZE, x0, y0, x1, y1); }

// Painted bodywork: right-side pictures (the left side mirrors them so
// lettering still reads), top views and fenders.
inline const kit::UvRect SHROUD = px(0, 0, 512, 256);
inline const kit::UvRect TANK = px(512, 0, 768, 256);
inline const kit::UvRect FRONT_FENDER = px(768, 0, 1024, 256);
inline const kit::UvRect SIDE_PANEL = px(0, 256, 512, 512);
inline const kit::UvRect REAR_FENDER = px(512, 256, 1024, 512);
// The seat cover all round: u runs along the seat, v around it from the
// right side over the top, down the left and under the pan.
inline const kit::UvRect SEAT = px(0, 512, 1024, 640);

// Hardware.
inline const kit::UvRect FRAME_METAL = px(0, 640, 256, 768);
inline const kit::UvRect ENGINE_CASE = px(256, 640, 512, 768);
inline const kit::UvRect CYLINDER = px(512, 640, 768, 768);
inline const kit::UvRect RADIATOR = px(768, 640, 1024, 768);
inline const kit::UvRect EXHAUST_PIPE = px(0, 768, 256, 896);
inline const kit::UvRect SILENCER = px(256, 768, 640, 896);
inline const kit::UvRect FORK_OUTER = px(640, 768, 768, 896);
inline const kit::UvRect FORK_INNER = px(768, 768, 832, 896);
inline const kit::UvRect FORK_GUARD = px(832, 768, 1024, 896);

// Plain patches for small parts.
inline const kit::UvRect RUBBER = px(4, 900, 60, 1020);
inline const kit::UvRect ALUMINIUM = px(68, 900, 188, 1020);
inline const kit::UvRect GRIP = px(192, 896, 256, 1024);
inline const kit::UvRect CHAIN = px(256, 896, 384, 1024);
inline const kit::UvRect SWINGARM_METAL = px(384, 896, 640, 1024);
inline const kit::UvRect SHOCK_SPRING = px(644, 900, 700, 1020);
inline const kit::UvRect SHOCK_BODY = px(708, 900, 764, 1020);
inline const kit::UvRect PLASTIC = px(772, 900, 828, 1020);
inline const kit::UvRect PLASTIC_ALT = px(836, 900, 892, 1020);
inline const kit::UvRect ACCENT = px(900, 900, 956, 1020);
inline const kit::UvRect BLACK_PLASTIC = px(964, 900, 1020, 1020);

}  // namespace art::atlas
