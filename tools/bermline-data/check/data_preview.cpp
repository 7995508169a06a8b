#include "check/data_preview.h"

#include <cstdio>
#include <cstdlib>

#include "art/art_preview.h"
#include "data/data_dirs.h"
#include "platform/base/paths.h"
#include "track/track_list.h"
#include "tracks/track_preview.h"

namespace check {

bool write_previews(const std::string& dir, const std::string& out) {
  setenv("BL_HOME", dir.c_str(), 1);
  setenv("BL_USER_HOME", dir.c_str(), 1);
  reset_data_layer();
  if (!make_folders(out)) {
    std::fprintf(stderr, "bermline-data: can't make '%s'\n", out.c_str());
    return false;
  }
  bool ok = build_track_list();
  if (!ok) std::fprintf(stderr, "bermline-data: no tracks in '%s'\n", dir.c_str());
  for (const std::string& track : track_list.dirs) {
    std::string name = track;
    for (char& c : name)
      if (c == '/') c = '-';
    ok = tracks::write_track_preview(track, out + "track-" + name + ".png") && ok;
  }
  return art::write_art_preview(out) && ok;
}

}  // namespace check
