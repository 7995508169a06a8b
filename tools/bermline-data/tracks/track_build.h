// Builds a track from its design: the sampled course, the shaped ground,
// the timing, the scenery, the painted tile map and the baked light, and
// the bytes of every file of the track's folder.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "tracks/track_design.h"

namespace tracks {

struct BuiltTrack {
  SampledCourse course;
  ShapedGround shaped;
  TimingLayout timing;
  Scenery scenery;
  std::vector<TileKind> kinds;
  std::string tile_map;
  // File name inside the track folder -> bytes.
  std::map<std::string, std::string> files;
};

BuiltTrack build_track(const TrackDesign& design);

}  // namespace tracks
