// The tracks found in the game data: every folder holding "terrain.hf" (or
// "terrain.hf.gz"), titled by the first line of its "desc" file and sorted
// by title. The titles are also the "Track" menu's options.
#pragma once

#include <string>
#include <vector>

// The folders and their titles in menu order, and the menu's choice.
struct TrackList {
  std::vector<std::string> dirs;
  std::vector<std::string> titles;
  int selected = 0;
};
extern TrackList track_list;

// Builds both lists from the game data; false when no track was found.
bool build_track_list();

// The first line of "@<dir>/desc" (up to CR, LF or NUL), or the directory
// itself when the file is missing or the line empty.
std::string read_track_title(const std::string& dir);

// Sorts the parallel lists by title, ignoring letter case (an exchange
// sort, so titles equal but for case keep a fixed order).
void sort_tracks_by_title(std::vector<std::string>* dirs, std::vector<std::string>* titles);

// Sets the selection to the first title of the track `dir` (or of
// "rabbithill" when `dir` is empty); 0 when there is no such track.
void select_track(const std::string& dir);
