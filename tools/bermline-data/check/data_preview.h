// "bermline-data --preview DIR OUT": pictures of a data folder for people
// to judge.
#pragma once

#include <string>

namespace check {

// Writes "track-<folder>.png" per track of `dir` and the art sheets into
// `out` (both end in "/"). False after a message on any failure.
bool write_previews(const std::string& dir, const std::string& out);

}  // namespace check
