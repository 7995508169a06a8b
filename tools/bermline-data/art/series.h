// The ".series" files: a 125 class and a 250F class championship, one round
// of two motos on each shipped track.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace art {

struct TrackEntry {
  std::string folder;  // the track's directory, as the series names it
  std::string title;   // its "desc" title, for the event names
};

// (file name in the data folder, bytes) of each series; none without tracks.
std::vector<std::pair<std::string, std::string>> series_files(const std::vector<TrackEntry>& tracks);

}  // namespace art
