// "dunecreek": a sand track in coastal dunes. Deep sand that sinks the
// wheels and throws big roost, long climbs over the dune ridges, jumps off
// their crests, sweeping berms that the sand builds up, and a damp creek
// bottom where the sand packs firmer.
#include <algorithm>
#include <cmath>

#include "kit/noise.h"
#include "tracks/site_dressing.h"
#include "tracks/track_design.h"

namespace tracks {

using kit::fbm;

namespace {

double smoothstep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Dune ridges across the wind (which blows towards +x): a long gentle
// windward slope and a steeper lee face; the ridges wander, run out and
// rise again, with rolling sand between them and a creek along the south.
double dunes(double x, double z) {
  double warp = 220 * fbm(z / 700.0 + 3, x / 900.0, 71, 3);
  double wavelength = 380 + 90 * fbm(x / 1000.0, z / 1000.0, 72, 2);
  double phase = (x + warp + 0.3 * z) / wavelength;
  double f = phase - std::floor(phase);
  double profile = f < 0.75 ? smoothstep(0, 0.75, f) : 1 - smoothstep(0.75, 1.0, f);
  double ridge = 6 + 20 * smoothstep(-0.35, 0.45, fbm(x / 480.0, z / 480.0, 74, 3));
  double rolls = 6 * fbm(x / 260.0, z / 260.0, 73, 3);
  double creek = -7 * std::exp(-std::pow((z - 1720 - 60 * std::sin(x / 300.0)) / 90.0, 2));
  double ripples = 0.5 * fbm(x / 40.0, z / 40.0, 75, 2);
  return 14 + ridge * profile + rolls + creek + ripples;
}

bool in_creek_bottom(double x, double z) {
  return std::fabs(z - 1720 - 60 * std::sin(x / 300.0)) < 38 + 18 * fbm(x / 120.0, z / 120.0, 78, 2);
}

// Deep sand on the track, firmer damp sand in the creek bottom, a packed
// start, beach grass over the dunes.
Ground paint_dunes(const GroundSpot& spot) {
  const CourseCover& cover = *spot.cover;
  bool creek = in_creek_bottom(spot.x, spot.z);
  if (cover.sample && cover.edge <= 0) {
    if (spot.on_start) return Ground::Hardpack;
    return creek ? Ground::WetSand : Ground::Sand;
  }
  double grass = fbm(spot.x / 60.0, spot.z / 60.0, 77, 3);
  if (cover.sample && cover.edge < 6 + 6 * (grass + 0.5)) return creek ? Ground::WetSand : Ground::Sand;
  if (creek) return Ground::WetSand;
  return grass > -0.4 ? Ground::DuneGrass : Ground::Sand;
}

double pine_density(double x, double z) {
  double stand = smoothstep(0.15, 0.45, fbm(x / 320.0, z / 320.0, 79, 3));
  double edge = smoothstep(250, 60, std::min({x, z, 2048 - x, 2048 - z}));
  return std::min(0.7, 0.04 + 0.45 * stand + 0.5 * edge);
}

void dress_dunes(const TrackSite& site, Scenery& scenery) {
  scatter_trees(site, pine_density, {"@tree-dunepine.png", "@tree-pine.png"}, 9, scenery);
  scatter_bushes(site, "@beachgrass.png", 0.8, 10, scenery);
  scatter_bushes(site, "@bush.png", 0.2, 11, scenery);
}

}  // namespace

TrackDesign sand_design() {
  TrackDesign d;
  d.folder = "dunecreek";
  d.title = "Dune Creek Sands";
  d.grid_shift = 9;
  d.spacing = 2;
  d.land = dunes;

  CourseDescription& c = d.course;
  c.max_grade = 0.2;
  c.berm_angle = 34;
  c.nodes = {
      {1120, 1790, 34, 0},  // 0 the start straight joins here
      {1250, 1775, 34},     // 1
      {1330, 1700, 32},     // 2 turn 1, left
      {1370, 1610, 32},     // 3 north over the first ridge
      {1350, 1430, 32},     // 4
      {1430, 1300, 30},     // 5
      {1580, 1250, 30},     // 6 east along a dune valley
      {1720, 1180, 30},     // 7
      {1780, 1040, 30},     // 8 left, north
      {1740, 880, 30},      // 9
      {1620, 780, 30},      // 10
      {1460, 760, 30},      // 11 west over the ridges
      {1300, 800, 30},      // 12
      {1150, 760, 30},      // 13
      {1060, 640, 30},      // 14 right, north
      {1080, 480, 30},      // 15
      {980, 370, 30},       // 16 the far hairpin
      {830, 400, 30},       // 17
      {760, 540, 30},       // 18 back south
      {700, 720, 32},       // 19
      {560, 820, 32},       // 20
      {430, 930, 30},       // 21
      {420, 1100, 30},      // 22 down through the pines
      {520, 1230, 30},      // 23
      {700, 1300, 30},      // 24
      {850, 1400, 30},      // 25
      {930, 1540, 30},      // 26 the creek bottom
      {990, 1660, 32},      // 27
      {1030, 1760, 34, 0},  // 28 onto the start straight
  };
  c.start = {0, 0, 360};
  c.finish = {26, 60};
  c.obstacles = {
      {ObstacleKind::Tabletop, 3, 40, 5.5, 16, 34, 24},
      {ObstacleKind::Roller, 5, 20, 3, 0, 40, 0},
      {ObstacleKind::Double, 7, -60, 5, 15, 48, 26, 5.5},
      {ObstacleKind::Tabletop, 9, 30, 6, 17, 40, 28},
      {ObstacleKind::Whoops, 11, 20, 2.4, 0, 14, 0, 0, 9},
      {ObstacleKind::StepUp, 13, 10, 4.5, 12, 26, 30, 7},
      {ObstacleKind::Tabletop, 15, 10, 5, 15, 30, 24},
      {ObstacleKind::StepDown, 18, 30, 5, 34, 24, 36},
      {ObstacleKind::Rhythm, 20, 30, 3.5, 9, 6, 10, 0, 4},
      {ObstacleKind::Tabletop, 22, 30, 6, 18, 38, 28},
      {ObstacleKind::Roller, 25, 20, 3, 0, 44, 0},
  };

  d.materials = {Ground::Sand, Ground::WetSand, Ground::Hardpack, Ground::DuneGrass};
  d.paint = paint_dunes;
  d.light.sun_vector = {0.78, 0.62, 0};  // summer sun in the east
  d.light.sun_colour = {1.0, 0.97, 0.9};
  d.light.ambient = {0.46, 0.47, 0.5};
  d.light.fog_colour = {0.86, 0.86, 0.84};
  d.light.fog_density = 0.00045;
  d.light.sky = {0x5a88c8, 0xdde6ee, 0xb8ae90, 0.3, 0.55, 0.6, 29};
  d.light.sky_prefix = "@dunecreek/sky-";
  d.light.sky_suffix = ".png";
  d.dress = dress_dunes;
  return d;
}

}  // namespace tracks
