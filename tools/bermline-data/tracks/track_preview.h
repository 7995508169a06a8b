// Pictures of a track for people to judge, drawn from the files as the game
// loads them: the ground seen from above (each tile in its material's
// colour under the baked light), the timing gates across the track (section
// boundaries green, flagged gates yellow), the starting places in red, and
// the statues and billboards as dots.
#pragma once

#include <string>

#include "kit/image.h"

namespace tracks {

// The track loaded now (LoadTrack), `size` pixels per side.
kit::Image loaded_track_preview(int size);

// Loads the track folder `track` from the game data the data layer points
// at and writes its preview as a PNG to `out_png`; false (with a message)
// when the track does not load or the picture cannot be written.
bool write_track_preview(const std::string& track, const std::string& out_png);

}  // namespace tracks
