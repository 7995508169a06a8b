// Everything that makes one track different from another: the site, the
// course, the ground materials and how they are laid, the light and the
// scenery. The track builder (track_build.h) turns a design into the
// track's folder.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tracks/course.h"
#include "tracks/ground_shape.h"
#include "tracks/lighting.h"
#include "tracks/materials.h"
#include "tracks/scenery.h"
#include "tracks/timing.h"

namespace tracks {

// What the ground painter knows about a place.
struct GroundSpot {
  double x = 0, z = 0;
  double height = 0;
  double slope = 0;            // rise over run
  const CourseCover* cover;    // the course section covering it (sample null off the course)
  bool on_start = false;       // the covering section is on the start straight
};

// A track as built so far, for the design's own scenery.
struct TrackSite {
  const SampledCourse& course;
  const Heightfield& ground;
  const TimingLayout& timing;
  const Clearance& clearance;
};

struct TrackDesign {
  std::string folder;  // the track's directory in the game data
  std::string title;   // first line of "desc"
  int grid_shift = 9;  // 2^(shift+1) + 1 vertices per side
  double spacing = 2;  // feet between vertices
  LandFunction land;
  CourseDescription course;
  // The track's materials, most important first (it wins where three
  // meet), and the material at each tile corner.
  std::vector<Ground> materials;
  std::function<Ground(const GroundSpot&)> paint;
  LightingSpec light;
  // Trees, fans, barriers and whatever else the site has, beyond what every
  // track gets around its start, finish, berms and obstacles.
  std::function<void(const TrackSite&, Scenery&)> dress;
  bool hay_on_berms = true;
};

TrackDesign rabbithill_design();
TrackDesign stadium_design();
TrackDesign sand_design();

// All shipped track designs, in the order they are written.
std::vector<TrackDesign> track_designs();

}  // namespace tracks
