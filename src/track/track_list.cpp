#include "track/track_list.h"

#include <algorithm>
#include <utility>

#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "platform/base/log.h"

std::vector<std::string> track_dirs;
std::vector<std::string> track_titles;
int selected_track = 0;

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
  track_dirs.clear();
  track_titles.clear();
  for (const std::string& name : list_data_files()) {
    if (!ends_with(name, "/terrain.hf") && !ends_with(name, "/terrain.hf.gz")) continue;
    std::string dir = name.substr(0, name.rfind('/'));
    // A track stored both plain and compressed is listed once.
    if (std::find(track_dirs.begin(), track_dirs.end(), dir) != track_dirs.end()) continue;
    track_dirs.push_back(dir);
  }
  if (track_dirs.empty()) return false;
  for (const std::string& dir : track_dirs) track_titles.push_back(read_track_title(dir));
  sort_tracks_by_title(&track_dirs, &track_titles);
  if (run_settings.debug_level > 0)
    for (size_t i = 0; i < track_dirs.size(); ++i)
      voxa_log("%s -> %s\n", track_dirs[i].c_str(), track_titles[i].c_str());
  return true;
}

void select_track(const std::string& dir) {
  const std::string& wanted = dir.empty() ? std::string("rabbithill") : dir;
  selected_track = 0;
  for (size_t i = 0; i < track_dirs.size(); ++i) {
    if (track_dirs[i] != wanted) continue;
    for (size_t j = 0; j < track_titles.size(); ++j) {
      if (track_titles[j] == track_titles[i]) {
        selected_track = static_cast<int>(j);
        return;
      }
    }
  }
}
