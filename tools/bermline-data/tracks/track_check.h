// Checking a track of a data folder with the game's own loaders: it loads
// without a warning, its timing is accepted with forty starting places,
// every tile kind resolves, every statue's model, texture and shape and
// every billboard's picture load. A one-line summary says what it holds.
#pragma once

#include <string>

namespace tracks {

// Loads the track folder `track` (from the data the data layer points at)
// and appends its summary, then one line per problem, to `report`. True
// when there is no problem.
bool check_track(const std::string& track, const std::string& title, std::string* report);

}  // namespace tracks
