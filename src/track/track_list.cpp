#include "track/track_list.h"

#include <algorithm>
#include <utility>

#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "platform/base/log.h"

TrackList track_list;

namespace {

bool ends_with(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

int compare_ignoring_case(const std::string& a, const std::string& b) {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    int ca = static_cast<unsigned char>(a[i]), cb = static_cast<unsigned char>(b[i]);
    if (ca >= 'A' && ca <= 'Z') ca += 'a' - 'A';
    if (cb >= 'A' && cb <= 'Z') cb += 'a' - 'A';
    if (ca != cb) return ca - cb;
  }
  return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

}  // namespace

std::string read_track_title(const std::string& dir) {
  std::string title;
  if (DataFile* desc = df_open(("@" + dir + "/desc").c_str(), "rb")) {
    for (int c = df_getc(desc); c > 0 && c != '\r' && c != '\n'; c = df_getc(desc))
      title += static_cast<char>(c);
    df_close(desc);
  }
  return title.empty() ? dir : title;
}

void sort_tracks_by_title(std::vector<std::string>* dirs, std::vector<std::string>* titles) {
  for (size_t i = 0; i < titles->size(); ++i) {
    for (size_t j = i + 1; j < titles->size(); ++j) {
      if (compare_ignoring_case((*titles)[j], (*titles)[i]) < 0) {
        std::swap((*titles)[i], (*titles)[j]);
        std::swap((*dirs)[i], (*dirs)[j]);
      }
    }
  }
}

bool build_track_list() {
  track_list.dirs.clear();
  track_list.titles.clear();
  for (const std::string& name : list_data_files()) {
    if (!ends_with(name, "/terrain.hf") && !ends_with(name, "/terrain.hf.gz")) continue;
    std::string dir = name.substr(0, name.rfind('/'));
    // A track stored both plain and compressed is listed once.
    if (std::find(track_list.dirs.begin(), track_list.dirs.end(), dir) != track_list.dirs.end()) continue;
    track_list.dirs.push_back(dir);
  }
  if (track_list.dirs.empty()) return false;
  for (const std::string& dir : track_list.dirs) track_list.titles.push_back(read_track_title(dir));
  sort_tracks_by_title(&track_list.dirs, &track_list.titles);
  if (run_settings.debug_level > 0)
    for (size_t i = 0; i < track_list.dirs.size(); ++i)
      voxa_log("%s -> %s\n", track_list.dirs[i].c_str(), track_list.titles[i].c_str());
  return true;
}

void select_track(const std::string& dir) {
  const std::string& wanted = dir.empty() ? std::string("rabbithill") : dir;
  track_list.selected = 0;
  for (size_t i = 0; i < track_list.dirs.size(); ++i) {
    if (track_list.dirs[i] != wanted) continue;
    for (size_t j = 0; j < track_list.titles.size(); ++j) {
      if (track_list.titles[j] == track_list.titles[i]) {
        track_list.selected = static_cast<int>(j);
        return;
      }
    }
  }
}
