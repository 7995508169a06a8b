// People for billboards: the flaggers, the starter and the crowd, drawn
// upright on a clear background with their feet on the bottom row.
#pragma once

#include "kit/image.h"
#include "tracks/ground_types.h"

namespace tracks {

// What a person wears and holds, and how the arms and legs are set.
struct Figure {
  kit::Colour skin, shirt, pants, cap;
  bool vest = false;  // a high-visibility vest over the shirt
  // Angles in degrees from hanging straight down, positive outwards and
  // up; the elbow bends on from the shoulder's direction.
  double left_shoulder = 10, left_elbow = 10, right_shoulder = 10, right_elbow = 10;
  double stride = 0;  // legs apart when walking, 0..1
  double height = 396;  // pixels, feet to the top of the head
};

// Where the hands ended up, for whatever they hold.
struct Hands {
  Vec2 left, right;
};

// Paints the figure standing with its feet at (x, ground) on the image.
Hands paint_figure(kit::Image& image, const Figure& figure, double x, double ground);

// A flag on a stick held at `hand`: the stick points at `angle_deg` from
// straight up (positive to the right); `wave` 0 hangs the cloth limp, 1
// flies it out. The cloth is painted by `pattern` (0 plain, 1 chequered).
void paint_flag(kit::Image& image, Vec2 hand, double angle_deg, double length, double wave, kit::Colour cloth,
                int pattern);

}  // namespace tracks
