#include "tracks_shipped.h"

#include <cstdlib>

#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "testkit.h"
#include "track/track.h"
#include "track/track_load.h"

namespace shipped {

const std::vector<tracks::TrackDesign>& designs() {
  static const std::vector<tracks::TrackDesign> all = tracks::track_designs();
  return all;
}

std::vector<std::string> folders() {
  std::vector<std::string> names;
  for (const tracks::TrackDesign& d : designs()) names.push_back(d.folder);
  return names;
}

const tracks::TrackDesign& design(const std::string& folder) {
  for (const tracks::TrackDesign& d : designs())
    if (d.folder == folder) return d;
  return designs().front();
}

bool load(const std::string& folder) {
  std::string home = testkit::scratch_dir("home");
  setenv("BL_USER_HOME", home.c_str(), 1);
  setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  reset_data_layer();
  return LoadTrack(folder) == 1;
}

tracks::SampledCourse course(const std::string& folder) { return tracks::sample_course(design(folder).course); }

}  // namespace shipped
