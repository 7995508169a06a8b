// The loaded track, one record: its name, ground, timing gates, scenery,
// lighting, identity digest and overview map. LoadTrack (track_load.h)
// fills it in its fixed order; UnloadTrack clears it as a whole.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "track/lighting.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"

struct Track {
  std::string name;  // the track folder; "" when none is loaded
  Terrain terrain;
  TrackTiming timing;
  TrackScenery scenery;
  Lighting lighting;
  // RIPEMD-160 over the files that decide how the track rides (multiplayer
  // compares it with the server's).
  std::array<uint8_t, 20> hash{};
  int map_texture = 0;  // the overview map for the heads-up display (0 = none)
};

// The one loaded track.
Track& track();
