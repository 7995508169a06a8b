// "ironworks": a stadium supercross track. A flat dirt floor walled in by
// the stands; the start straight along the north side with the finish line
// on it, turn 1 at the east end, then lanes snaking back and forth: a
// tabletop and a double, a rhythm lane, the whoops and the sand, and tight
// berms at every end, the lanes kept apart by tuff blocks.
#include <algorithm>
#include <cmath>

#include "kit/noise.h"
#include "tracks/site_dressing.h"
#include "tracks/track_design.h"

namespace tracks {

namespace {

constexpr double FLOOR_X0 = 30, FLOOR_X1 = 610, FLOOR_Z0 = 95, FLOOR_Z1 = 525;
constexpr double FLOOR_HEIGHT = 10;

double smoothstep(double edge0, double edge1, double x) {
  double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// How far outside the floor a point lies (0 on it), rounded at the corners.
double outside_floor(double x, double z) {
  const double r = 40;
  double dx = std::max({FLOOR_X0 + r - x, 0.0, x - (FLOOR_X1 - r)});
  double dz = std::max({FLOOR_Z0 + r - z, 0.0, z - (FLOOR_Z1 - r)});
  return std::max(0.0, std::hypot(dx, dz) - r);
}

// The floor, a low wall, then the tiers of the stands.
double arena(double x, double z) {
  double d = outside_floor(x, z);
  double wall = 4 * smoothstep(0, 5, d);
  double tiers = 0;
  if (d > 8) {
    double rows = (d - 8) / 4;
    double whole = std::floor(rows);
    tiers = 1.5 * (whole + smoothstep(0.35, 0.95, rows - whole));
  }
  return FLOOR_HEIGHT + wall + tiers;
}

bool on_sand_section(double x, double z) { return z > 455 && z < 510 && x > 170 && x < 330; }

// Groomed clay on the track and the start, sand in its section, a packed
// floor between the lanes, concrete stands.
Ground paint_arena(const GroundSpot& spot) {
  const CourseCover& cover = *spot.cover;
  if (spot.height > FLOOR_HEIGHT + 2.5 && outside_floor(spot.x, spot.z) > 3) return Ground::Concrete;
  if (cover.sample && cover.edge <= 1) return on_sand_section(spot.x, spot.z) ? Ground::Sand : Ground::Clay;
  return Ground::Hardpack;
}

// Tuff blocks end to end along both sides of every lane, where they stand
// clear of the other lanes and of the start.
void line_lanes_with_blocks(const TrackSite& site, Scenery& scenery) {
  const std::vector<CourseSample>& loop = site.course.loop;
  const double step = site.course.loop_length / loop.size();
  const int stride = static_cast<int>(6.4 / step);
  for (size_t k = 0; k < loop.size(); k += stride) {
    const CourseSample& c = loop[k];
    if (c.obstacle >= 0) continue;  // jump sides fall away under them
    for (double side : {-1.0, 1.0}) {
      Vec2 p = c.p + c.left() * (side * (c.half_width + 3));
      if (site.clearance.at(p.x, p.y) < 1.8 || outside_floor(p.x, p.y) > 0) continue;
      scenery.statues.push_back({p.x, 0, p.y, heading_along(c.t), "@tuffblock.jm", "@tuffblock.png", "@tuffblock.shp"});
      scenery.shadows.push_back({p.x, p.y, 1.0, 2.2, 0.45});
    }
  }
}

// A crowd on every tier all the way round, and banners on the wall.
void fill_stands(const TrackSite& site, Scenery& scenery) {
  kit::Dice dice(57);
  const char* crowds[] = {"@fans-1.png", "@fans-2.png", "@fans-3.png"};
  const char* banners[] = {"@banner-bermline.png", "@banner-race.png", "@banner-moto.png"};
  const double extent = site.ground.extent();
  for (double x = 4; x < extent; x += 6)
    for (double z = 4; z < extent; z += 6) {
      double d = outside_floor(x, z);
      if (d < 9 || d > 60) continue;
      // Keep to the rows: one billboard per row and 13 feet of it.
      double row = (d - 8) / 4;
      if (row - std::floor(row) > 0.3 || dice.uniform() > 0.36) continue;
      scenery.billboards.push_back({x, 0, z, 6.0, 2.0, crowds[dice.below(3)]});
    }
  int n = 0;
  for (double x = FLOOR_X0 + 40; x < FLOOR_X1 - 40; x += 26, ++n)
    for (double z : {FLOOR_Z0 - 1.0, FLOOR_Z1 + 1.0}) scenery.billboards.push_back({x, 0, z, 3.0, 4.0, banners[n % 3]});
  line_lanes_with_blocks(site, scenery);
}

}  // namespace

TrackDesign stadium_design() {
  TrackDesign d;
  d.folder = "ironworks";
  d.title = "Ironworks Arena Supercross";
  d.grid_shift = 8;
  d.spacing = 1.25;
  d.land = arena;

  CourseDescription& c = d.course;
  c.max_grade = 0.1;
  c.berm_angle = 36;
  c.side_slope = 0.95;
  c.gate_share = 0.1;
  c.funnel = 0.5;
  c.nodes = {
      {330, 181, 24, 0},  // 0 the finish lane has joined the start straight
      {420, 180, 24, 0},  // 1 end of the start straight
      {505, 182, 24},     // 2
      {566, 204, 24},     // 3 turn 1
      {578, 266, 24},     // 4
      {530, 352, 22},     // 5 lane B, westwards
      {390, 355, 22},     // 6
      {250, 355, 22},     // 7
      {150, 360, 22},     // 8
      {108, 390, 22},     // 9
      {140, 420, 22},     // 10 lane C, eastwards
      {290, 420, 22},     // 11
      {440, 420, 22},     // 12
      {545, 430, 22},     // 13
      {552, 478, 22},     // 14
      {470, 488, 22},     // 15 lane D, westwards: whoops and sand
      {320, 488, 22},     // 16
      {170, 488, 22},     // 17
      {78, 470, 22},      // 18
      {62, 400, 22},      // 19 up the west side
      {68, 322, 22},      // 20
      {105, 290, 22},     // 21 the finish lane
      {195, 288, 22},     // 22
      {265, 250, 24, 0},  // 23
  };
  c.start = {1, 0, 300};
  c.finish = {22, 10};
  c.obstacles = {
      {ObstacleKind::Tabletop, 5, 40, 5, 13, 30, 18},
      {ObstacleKind::Double, 6, 30, 5, 13, 42, 18, 5.5},
      {ObstacleKind::Roller, 8, -30, 2.5, 0, 22, 0},
      {ObstacleKind::Rhythm, 10, 40, 3.5, 8, 2, 8, 0, 6},
      {ObstacleKind::Tabletop, 12, -20, 4.5, 12, 26, 16},
      {ObstacleKind::Whoops, 15, 10, 2.0, 0, 10, 0, 0, 12},
      {ObstacleKind::Roller, 17, 0, 2.0, 0, 24, 0},
      {ObstacleKind::Tabletop, 19, 10, 3.5, 10, 16, 14},
      {ObstacleKind::Roller, 22, 45, 2.0, 0, 20, 0},
  };

  d.materials = {Ground::Clay, Ground::Sand, Ground::Hardpack, Ground::Concrete};
  d.paint = paint_arena;
  d.hay_on_berms = false;
  d.light.sun_vector = {0, 0.45, -0.9};  // low evening sun over the north stands
  d.light.sun_colour = {1.0, 0.88, 0.72};
  d.light.ambient = {0.44, 0.44, 0.5};
  d.light.fog_colour = {0.78, 0.72, 0.66};
  d.light.fog_density = 0.0006;
  d.light.sky = {0x4a6aa8, 0xe8c8a0, 0x3c3a40, 0.25, 0.45, 2.2, 17};
  d.light.sky_prefix = "@ironworks/sky-";
  d.light.sky_suffix = ".png";
  d.dress = fill_stands;
  return d;
}

}  // namespace tracks
