#include "tracks/track_check.h"

#include <cstdarg>
#include <cstdio>
#include <set>

#include "core/messages.h"
#include "core/ripemd160.h"
#include "core/run_settings.h"
#include "kit/jm_format.h"
#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_load.h"

namespace tracks {

namespace {

std::string line(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string line(const char* format, ...) {
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return std::string(text) + "\n";
}

}  // namespace

bool check_track(const std::string& dir, const std::string& title, std::string* report) {
  clear_messages();
  if (LoadTrack(dir) != 1) {
    *report += line("%s: does not load (%s)", dir.c_str(), message_line(0) ? message_line(0) : "no message");
    return false;
  }
  std::string problems;
  // Everything the loader said is a warning.
  for (int age = 0; message_line(age); ++age) problems += line("  warning: %s", message_line(age));
  if (track().timing.gates.empty()) problems += "  no accepted timing gates\n";
  if (track().timing.start_positions.size() != MAX_START_POSITIONS)
    problems += line("  %zu starting places, not %d", track().timing.start_positions.size(), MAX_START_POSITIONS);
  for (int kind = 0; kind < track().terrain.tile_count; ++kind) {
    if (track().terrain.tile_code[kind] == -256) problems += line("  tile kind %d has no materials", kind);
    if (track().terrain.tile_texture[kind] == 0) problems += line("  tile kind %d has no texture", kind);
  }
  std::set<std::string> models_read;
  for (size_t k = 0; k < track().scenery.statues.size(); ++k) {
    const Statue& s = track().scenery.statues[k];
    kit::Model model;
    std::string error;
    if (!models_read.count(s.model_file) && !kit::read_jm_file(s.model_file, &model, &error))
      problems += line("  statue %zu: model %s: %s", k, s.model_file.c_str(), error.c_str());
    models_read.insert(s.model_file);
    if (s.texture == 0) problems += line("  statue %zu has no texture", k);
    if (!s.shape) problems += line("  statue %zu has no shape", k);
  }
  for (size_t k = track().scenery.first_track_billboard; k < track().scenery.billboards.size(); ++k)
    if (track().scenery.billboards[k].texture == 0) problems += line("  billboard %zu has no texture", k);

  *report += line("%s \"%s\" hash %s: %zu gates, first lap %d (%d sections), normal lap %d (%d sections), "
                  "%d tile kinds, %zu billboards, %zu statues, %zu flaggers",
                  dir.c_str(), title.c_str(), Ripemd160::hex(track().hash).c_str(), track().timing.gates.size(),
                  track().timing.first_lap_count, track().timing.first_lap_real_count, track().timing.normal_lap_count, track().timing.normal_lap_real_count, track().terrain.tile_count,
                  track().scenery.billboards.size() - track().scenery.first_track_billboard, track().scenery.statues.size(), track().scenery.flaggers.size());
  *report += problems;
  UnloadTrack();
  return problems.empty();
}

}  // namespace tracks
