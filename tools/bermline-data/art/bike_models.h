// The bike part models, each in its physics body's coordinates (see
// bike_geometry.h) and textured by the bike texture layout (bike_atlas.h).
// The number plates are textured by the game's number-plate texture
// instead: their faces map it undistorted and centred.
#pragma once

#include "art/bike_styles.h"
#include "art/model_parts.h"

namespace art {

// Frame body: frame, engine, exhaust, radiators, tank, shrouds, seat, side
// panels, rear fender, footpegs, shock, levers.
Model frame_model(const BikeStyle& style, Detail detail);
// Upper fork body: clamps, outer fork tubes, handlebar with controls,
// front fender.
Model fork_upper_model(Detail detail);
// Lower fork body: inner tubes, axle lugs, guards, front brake caliper.
Model fork_lower_model(Detail detail);
// Swingarm body: arms, chain and guides, rear brake caliper.
Model swingarm_model(Detail detail);
// Number plates: on both side panels (frame body) and on the front of the
// upper fork.
Model side_plates_model(Detail detail);
Model front_plate_model(Detail detail);

}  // namespace art
