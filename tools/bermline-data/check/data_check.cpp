#include "check/data_check.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "check/series_reader.h"
#include "data/data_dirs.h"
#include "kit/jm_format.h"
#include "track/shape.h"
#include "track/track_list.h"
#include "tracks/track_check.h"

namespace check {

namespace {

bool ends_with(const std::string& text, const char* tail) {
  size_t n = std::char_traits<char>::length(tail);
  return text.size() >= n && text.compare(text.size() - n, n, tail) == 0;
}

std::string read_whole(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool check_series(const std::string& dir, const std::string& name, std::string* report) {
  Series series;
  if (!read_series(read_whole(dir + name), &series)) {
    *report += name + ": does not read as a series\n";
    return false;
  }
  bool ok = true;
  for (const SeriesEvent& event : series.events) {
    if (std::find(track_list.dirs.begin(), track_list.dirs.end(), event.track) == track_list.dirs.end()) {
      *report += name + ": event \"" + event.name + "\" names the unknown track \"" + event.track + "\"\n";
      ok = false;
    }
  }
  *report += name + " \"" + series.title + "\": " + std::to_string(series.riders.size()) + " riders, " +
             std::to_string(series.events.size()) + " events\n";
  return ok;
}

}  // namespace

bool check_data_folder(const std::string& dir, std::string* report) {
  // The folder is both the data and the home folder: nothing else is seen.
  setenv("BL_HOME", dir.c_str(), 1);
  setenv("BL_USER_HOME", dir.c_str(), 1);
  reset_data_layer();
  bool ok = true;

  if (!build_track_list()) {
    *report += "no tracks found\n";
    ok = false;
  }
  for (size_t i = 0; i < track_list.dirs.size(); ++i) ok = tracks::check_track(track_list.dirs[i], track_list.titles[i], report) && ok;

  int shapes = 0, models = 0, series = 0;
  for (const std::string& name : list_data_files()) {
    if (ends_with(name, ".shp")) {
      ++shapes;
      if (!load_shape(("@" + name).c_str())) {
        *report += name + ": shape does not load\n";
        ok = false;
      }
    } else if (ends_with(name, ".jm")) {
      ++models;
      kit::Model model;
      std::string error;
      if (!kit::read_jm_file(dir + name, &model, &error)) {
        *report += name + ": " + error + "\n";
        ok = false;
      }
    } else if (ends_with(name, ".series")) {
      ++series;
      ok = check_series(dir, name, report) && ok;
    }
  }
  *report += std::to_string(track_list.dirs.size()) + " tracks, " + std::to_string(shapes) + " shapes, " +
             std::to_string(models) + " models, " + std::to_string(series) + " series: " +
             (ok ? "all good" : "problems found") + "\n";
  return ok;
}

}  // namespace check
