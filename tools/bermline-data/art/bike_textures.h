// The bike texture of one livery, in the layout of bike_atlas.h.
#pragma once

#include "art/bike_styles.h"
#include "kit/image.h"

namespace art {

kit::Image paint_bike_texture(const BikeStyle& style, const Livery& livery);

}  // namespace art
