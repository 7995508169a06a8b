// Loading a whole track in its fixed order, releasing it, and the track
// hash: a RIPEMD-160 digest over the files that decide how the track rides
// (terrain, tile kinds, tile map, timing gates, statues and the statues'
// model files), which multiplayer compares with the server's.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// Hooks of the layers above the track; each starts as a call that does nothing.
struct TrackLoadHooks {
  void (*show_loading)() = [] {};    // draws "Loading track..." once, when a window exists
  void (*editor_prepare)() = [] {};  // the track editor's own state for this track
  void (*editor_release)() = [] {};
  void (*release_racing_lines)() = [] {};
};
void set_track_load_hooks(const TrackLoadHooks& hooks);

// Loads the track folder `name` into the track record (track/track.h).
// 1 on success; 0 when the terrain fails, with the record's name cleared.
int LoadTrack(const std::string& name);
// Releases everything LoadTrack built and clears the record.
void UnloadTrack();

// "savetrackinfo": writes "@<track>.trackinfo" (directory, title, lap
// counts, hash) and posts where. False when no track is loaded or the file
// cannot be written.
bool save_track_info();
