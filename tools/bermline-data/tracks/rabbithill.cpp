// "rabbithill": the default track. An outdoor motocross course on a
// grassy hillside: a wide start straight on the flat bottom land, a climb
// with a step-up, off-camber turns along the slope, the big downhill
// tabletop off the top of the hill, a muddy creek bottom with whoops, and a
// rhythm section back to the finish.
#include <cmath>

#include "kit/noise.h"
#include "tracks/site_dressing.h"
#include "tracks/track_design.h"

namespace tracks {

using kit::fbm;

namespace {

double smoothstep(double edge0, double edge1, double x) {
  double t = (x - edge0) / (edge1 - edge0);
  t = t < 0 ? 0 : (t > 1 ? 1 : t);
  return t * t * (3 - 2 * t);
}

// Low land in the south rising to the north, the hill itself in the
// north-east, a creek bed winding down the west side, and gentle rolls.
double hillside(double x, double z) {
  double rise = 38 * smoothstep(1900, 300, z);
  double hx = x - 1400, hz = z - 520;
  double hill = 62 * std::exp(-(hx * hx + hz * hz) / (2 * 300.0 * 300.0));
  double creek_line = 400 + 50 * std::sin(z / 180.0);
  double creek = -10 * std::exp(-std::pow((x - creek_line) / 80.0, 2)) * smoothstep(400, 800, z) *
                 smoothstep(1500, 1250, z);
  double rolls = 7 * fbm(x / 300.0, z / 300.0, 11, 4);
  double bumps = 0.6 * fbm(x / 35.0, z / 35.0, 12, 3);
  return 20 + rise + hill + creek + rolls + bumps;
}

// Loam on the track, packed hard on the start straight and over the top of
// the hill, mud in the creek bottom, grass everywhere else with a few bare
// patches.
Ground paint_hillside(const GroundSpot& spot) {
  const CourseCover& cover = *spot.cover;
  double patch = fbm(spot.x / 70.0, spot.z / 70.0, 31, 3);
  bool creek = spot.x < 560 && spot.z > 760 && spot.z < 1180;
  if (cover.sample && cover.edge <= 0) {
    if (spot.on_start) return Ground::Hardpack;
    if (creek && patch > -0.35) return Ground::Mud;
    // The sun-baked hilltop is hard packed.
    return spot.height + 25 * patch > 88 ? Ground::Hardpack : Ground::Loam;
  }
  if (cover.sample && cover.edge < 2.5 + 3 * (patch + 0.5)) return creek ? Ground::Mud : Ground::Loam;
  if (creek && cover.sample && cover.edge < 14) return Ground::Mud;
  return fbm(spot.x / 90.0, spot.z / 90.0, 37, 3) > 0.7 ? Ground::Loam : Ground::Grass;
}

// Woods on the far side of the hill and along the creek, lone trees over
// the meadows, bushes near the track.
double tree_density(double x, double z) {
  double woods = 0.75 * smoothstep(700, 350, x) * smoothstep(800, 450, z);            // north-west
  double far_side = 0.8 * smoothstep(300, 120, z) + 0.6 * smoothstep(1800, 1950, x);  // beyond the hill
  double creek = 0.45 * std::exp(-std::pow((x - (400 + 50 * std::sin(z / 180.0))) / 120.0, 2));
  double meadow = 0.05 + 0.1 * (fbm(x / 250.0, z / 250.0, 41, 3) > 0.3);
  return std::min(0.9, woods + far_side + creek + meadow);
}

void dress_hillside(const TrackSite& site, Scenery& scenery) {
  scatter_trees(site, tree_density, {"@tree-oak.png", "@tree-pine.png", "@tree-birch.png"}, 5, scenery);
  scatter_bushes(site, "@bush.png", 0.35, 6, scenery);
}

}  // namespace

TrackDesign rabbithill_design() {
  TrackDesign d;
  d.folder = "rabbithill";
  d.title = "Rabbit Hill";
  d.grid_shift = 9;
  d.spacing = 2;
  d.land = hillside;

  CourseDescription& c = d.course;
  c.max_grade = 0.22;
  c.berm_angle = 32;
  c.nodes = {
      {600, 1560, 32, 0},   // 0 finish straight, southwards
      {680, 1730, 34, 0},   // 1 the flat turn onto the start straight
      {860, 1790, 34, 0.3}, // 2
      {1080, 1800, 34},     // 3
      {1260, 1750, 32},     // 4 turn 1
      {1330, 1620, 30},     // 5
      {1340, 1440, 30},     // 6 the climb
      {1300, 1300, 30},     // 7
      {1360, 1190, 30},     // 8
      {1520, 1130, 28},     // 9 along the slope
      {1680, 1060, 28},     // 10
      {1760, 930, 28},      // 11 up the east side
      {1760, 760, 30},      // 12
      {1700, 600, 30},      // 13
      {1600, 470, 28},      // 14
      {1470, 400, 28},      // 15 over the top
      {1330, 430, 28},      // 16
      {1280, 560, 28},      // 17
      {1180, 700, 30},      // 18 down the hill
      {1020, 780, 30},      // 19
      {860, 760, 30},       // 20
      {700, 640, 28},       // 21
      {540, 600, 28},       // 22
      {420, 700, 28},       // 23
      {400, 860, 30},       // 24 the creek bottom
      {420, 1060, 30},      // 25
      {480, 1200, 28},      // 26
      {640, 1230, 28},      // 27
      {800, 1140, 28},      // 28 rhythm lane
      {960, 1060, 28},      // 29
      {1080, 1100, 28},     // 30
      {1060, 1240, 28},     // 31
      {900, 1320, 28},      // 32
      {700, 1340, 30},      // 33
      {610, 1420, 30},      // 34
  };
  c.start = {2, 0, 340};
  c.finish = {34, 40};
  c.obstacles = {
      {ObstacleKind::Tabletop, 5, 40, 5, 16, 24, 20},
      {ObstacleKind::StepUp, 6, 20, 4.5, 12, 26, 30, 7},
      {ObstacleKind::Tabletop, 9, 30, 5, 15, 26, 22},
      {ObstacleKind::Tabletop, 11, 60, 5, 14, 36, 22},  // climbing: a table, never a gap
      {ObstacleKind::Roller, 13, 30, 3, 0, 40, 0},
      {ObstacleKind::Tabletop, 17, 60, 6, 18, 40, 30},
      {ObstacleKind::StepDown, 20, 20, 5, 30, 20, 34},
      {ObstacleKind::Whoops, 24, 0, 2.2, 0, 12, 0, 0, 10},
      {ObstacleKind::Rhythm, 28, 0, 3.5, 9, 6, 10, 0, 4},
      {ObstacleKind::Roller, 33, 60, 2.5, 0, 36, 0},
  };
  d.materials = {Ground::Loam, Ground::Hardpack, Ground::Mud, Ground::Grass};
  d.paint = paint_hillside;
  d.light.sun_vector = {0, 0.62, -0.78};  // over the hill, in the north
  d.light.sky.seed = 3;
  d.dress = dress_hillside;
  return d;
}

}  // namespace tracks
