// "bermline-data --check DIR": loads everything a data folder ships with the
// game's own loaders and says what it found.
#pragma once

#include <string>

namespace check {

// Checks the folder `dir` (ends in "/"): every track, shape, model and
// series. Prints a summary per track and every problem to `report`; true
// when nothing failed and nothing warned.
bool check_data_folder(const std::string& dir, std::string* report);

}  // namespace check
