// Recording the race into a demo file. The header is written to a
// temporary file that replaces the old demo only once it is complete; then
// every tick appends one frame per recorded rider in a single write, and a
// background thread pushes the file to the disk once a second, so a crash
// or a power loss leaves the header and every complete tick readable.
#pragma once

#include <string>

// Starts recording the race as set up now into `path`, a data path ("@" =
// the home folder) or a plain file: every bike ridden here (the player and
// the robots; not demo riders or ghosts). Nothing is recorded when the
// file cannot be written.
void start_demo_recording(const std::string& path);

// Appends this tick's frames; does nothing when not recording.
void record_demo_tick();

// Finishes the file (pushed to the disk) and closes it.
void stop_demo_recording();

bool demo_recording_active();

// The file on disk that a write to a path goes to: "@name" lies in the
// home folder ("" when there is none); other paths stay as they are.
std::string home_file(const std::string& path);

// The virtual path of a time trial's recording or ghost on a track
// ("lastlap.bldemo", "fastlap.bldemo").
std::string track_demo_path(const std::string& track, const char* name);

// Where a race is recorded unless a file is named.
inline constexpr const char* DEFAULT_DEMO_PATH = "@demos/default.bldemo";
