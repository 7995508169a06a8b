// "map.png": the overview map the heads-up display shows. The picture spans
// the whole height field (pixel column x / extent, row z / extent), so a
// rider's place on it follows from his position; the course is a light band
// with a dark rim on a clear background, the lap line and the starting gate
// marked.
#pragma once

#include "kit/image.h"
#include "tracks/course.h"
#include "tracks/timing.h"

namespace tracks {

kit::Image overview_map(const SampledCourse& course, const TimingLayout& timing, double extent, int size);

}  // namespace tracks
