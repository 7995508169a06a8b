// Dressing a site with plants: trees scattered by a density over the land,
// bushes near the track, always clear of the course and its shoulders.
#pragma once

#include <string>
#include <vector>

#include "tracks/track_design.h"

namespace tracks {

// Trees on a jittered 24-foot grid, each cell planted with the chance the
// density gives at its place (0..1); picks among `kinds` (the first the most
// often), varies their size and tint, and keeps `clear` feet beyond any
// track edge free.
void scatter_trees(const TrackSite& site, double (*density)(double x, double z),
                   const std::vector<std::string>& kinds, uint32_t seed, Scenery& scenery, double clear = 26);

// Low plants a little off the track edges, `chance` per 30 feet of edge.
void scatter_bushes(const TrackSite& site, const std::string& kind, double chance, uint32_t seed,
                    Scenery& scenery);

}  // namespace tracks
