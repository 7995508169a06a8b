// Reading ".series" files as the points-series menu reads them, so the kit
// can check what it ships.
#pragma once

#include <array>
#include <string>
#include <vector>

namespace check {

struct SeriesEvent {
  std::string name, track;
  int minutes = 0, laps = 0;
  std::array<int, 40> moto{}, championship{};
};

struct Series {
  std::string title, skill;
  std::vector<int> riders;
  std::vector<SeriesEvent> events;
};

// Reads a series from its bytes; false where the game would skip the file
// as damaged (a count or a table entry that does not read, an incomplete
// event).
bool read_series(const std::string& bytes, Series* series);

}  // namespace check
