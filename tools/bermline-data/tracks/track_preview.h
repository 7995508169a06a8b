// Pictures of a built track for people to judge: the height field as a
// shaded relief with the course, its obstacles, the timing gates and the
// starting gate drawn on it.
#pragma once

#include <vector>

#include "kit/image.h"
#include "tracks/course.h"
#include "tracks/ground_shape.h"

namespace tracks {

struct TimingLayout;

// A relief picture of `size` pixels per side.
kit::Image track_relief(const Heightfield& ground, const SampledCourse& course, const TimingLayout* timing, int size);

}  // namespace tracks
