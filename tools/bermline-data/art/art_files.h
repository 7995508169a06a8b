// The list of files the art writes: each with its name in the data folder
// and the function that makes its bytes, so files are made one at a time
// (and tests can make and check single files).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "art/series.h"

namespace art {

struct ArtFile {
  std::string name;
  std::function<std::string()> make;
};
using ArtFiles = std::vector<ArtFile>;

// Everything outside the tracks; the series run over `tracks`.
ArtFiles art_files(const std::vector<TrackEntry>& tracks);

// The bytes of every file, made in parallel (in the list's order; empty
// where one could not be made).
std::vector<std::string> make_art_files(const ArtFiles& files);

// Makes and writes each file below `root`; false after a message when one
// can't be made or written.
bool write_art_files(const std::string& root, const ArtFiles& files);

}  // namespace art
