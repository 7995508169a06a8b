// What stands around a track: billboards (trees, fans, banners), statues
// (hay bales, tuff blocks, the tower) with their collision shapes, the
// flaggers (the starter, the lap board and the corner flaggers) and decals
// painted on the ground; the files that hold them; and the shadows they
// cast, for baking into the ground's light.
#pragma once

#include <string>
#include <vector>

#include "tracks/course.h"
#include "tracks/ground_shape.h"
#include "tracks/timing.h"

namespace tracks {

struct BillboardPlace {
  double x = 0, lift = 0, z = 0;
  double height = 0, aspect = 1;
  std::string texture;  // with "@"
};

struct StatuePlace {
  double x = 0, lift = 0, z = 0;
  double heading = 0;
  std::string model, texture, shape;  // shape "null" for none
};

struct DecalPlace {
  double x = 0, z = 0;
  double angle = 0;
  double size = 0, aspect = 1;
  std::string texture;
};

struct CornerFlagger {
  Vec3 position;
  double height = 9.0, aspect = 0.5;  // the picture; the person in it is 5.6 ft
  int watched[4] = {-1, -1, -1, -1};
};

// Something that shades the ground: a soft blob of `radius` whose middle
// stands `height` above the ground at (x, z), as dark as `density`.
struct ShadowCaster {
  double x = 0, z = 0;
  double height = 0;
  double radius = 0;
  double density = 0.6;
};

struct Scenery {
  std::vector<BillboardPlace> billboards;
  std::vector<StatuePlace> statues;
  std::vector<DecalPlace> decals;
  // The starter walks from `start_rest` to `start_end` after the signal.
  // Flagger positions stand on the ground: their y is the lift above it.
  Vec3 start_rest, start_end;
  Vec3 lap_board;
  std::vector<CornerFlagger> flaggers;
  std::vector<ShadowCaster> shadows;
};

std::string billboards_file(const Scenery& scenery);
std::string statues_file(const Scenery& scenery);
std::string decals_file(const Scenery& scenery);
std::string flaggers_file(const Scenery& scenery);

// ---- placing ----------------------------------------------------------------

// Distance from every place of the ground to the nearest track edge (up
// to 150 feet; negative on the track), on a grid of 4-foot cells.
struct Clearance {
  double cell = 4;
  int size = 0;
  std::vector<float> edge;
  double at(double x, double z) const;
};

Clearance course_clearance(const SampledCourse& course, double extent);

// The starting gate's surroundings: the concrete pad under the places,
// the starter, the tower beside the straight, banners and fans. The lap
// line gets its painted line, the lap board and a finish banner. Nothing
// goes where another part of the track passes.
void place_start_and_finish(const SampledCourse& course, const TimingLayout& timing, const Clearance& clearance,
                            Scenery& scenery);

// Corner flaggers beside the blind spots of the lap: each obstacle's
// landing, on the side with more room, watching the gates from its takeoff
// to past the landing.
void place_corner_flaggers(const SampledCourse& course, const TimingLayout& timing, const Clearance& clearance,
                           Scenery& scenery);

// Hay bales along the outside of berms, clear of the racing surface.
void line_berms_with_hay(const SampledCourse& course, Scenery& scenery);

// Fans behind the tape at the obstacles and the tightest turns.
void place_fans(const SampledCourse& course, const Clearance& clearance, uint32_t seed, Scenery& scenery);


}  // namespace tracks
