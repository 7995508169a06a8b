// The shipped tracks as the game loads them, beside the designs they were
// built from: the track tests ride, measure and paint what the data kit
// wrote into the game folder.
#pragma once

#include <string>
#include <vector>

#include "tracks/course.h"
#include "tracks/track_design.h"

namespace shipped {

// Every shipped track's design (folder, title, course...).
const std::vector<tracks::TrackDesign>& designs();
std::vector<std::string> folders();
const tracks::TrackDesign& design(const std::string& folder);

// Points the data layer at the game folder (with a scratch home) and loads
// the track with the game's own loader; false when it fails.
bool load(const std::string& folder);

// The course's centre line, sampled as the designer described it.
tracks::SampledCourse course(const std::string& folder);

}  // namespace shipped
