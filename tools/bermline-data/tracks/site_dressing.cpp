#include "tracks/site_dressing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kit/noise.h"

namespace tracks {

namespace {

// Each tree kind's picture: height range in feet and width over height.
struct TreeShape {
  const char* texture;
  double low, high, aspect;
};

TreeShape tree_shape(const std::string& texture) {
  static const TreeShape shapes[] = {{"@tree-oak.png", 26, 40, 1.0},    {"@tree-pine.png", 34, 52, 0.5},
                                     {"@tree-birch.png", 24, 36, 1.0},  {"@tree-dunepine.png", 20, 32, 1.0},
                                     {"@bush.png", 4, 7, 2.0},          {"@beachgrass.png", 2.5, 4, 2.0}};
  for (const TreeShape& shape : shapes)
    if (texture == shape.texture) return shape;
  return {"", 20, 30, 1.0};
}

// A slightly varied shade of the picture, as a billboard colour prefix.
std::string tinted(const std::string& texture, kit::Dice& dice) {
  int r = static_cast<int>(dice.uniform(215, 255)), g = static_cast<int>(dice.uniform(225, 255));
  int b = static_cast<int>(dice.uniform(205, 245));
  char prefix[16];
  std::snprintf(prefix, sizeof prefix, "#%02x%02x%02x#", r, g, b);
  return prefix + texture;
}

}  // namespace

void scatter_trees(const TrackSite& site, double (*density)(double x, double z),
                   const std::vector<std::string>& kinds, uint32_t seed, Scenery& scenery, double clear) {
  kit::Dice dice(seed);
  const double cell = 24, extent = site.ground.extent();
  for (double cz = 0; cz < extent; cz += cell)
    for (double cx = 0; cx < extent; cx += cell) {
      double x = cx + dice.uniform(2, cell - 2), z = cz + dice.uniform(2, cell - 2);
      double roll = dice.uniform(), pick = dice.uniform(), size = dice.uniform();
      if (roll >= density(x, z) || site.clearance.at(x, z) < clear) continue;
      // The first kind half the time, the others sharing the rest.
      size_t others = kinds.size() - 1;
      size_t which = pick < 0.55 || others == 0 ? 0 : 1 + std::min(others - 1, static_cast<size_t>((pick - 0.55) / 0.45 * others));
      const std::string& texture = kinds[which];
      TreeShape shape = tree_shape(texture);
      double height = shape.low + (shape.high - shape.low) * size;
      scenery.billboards.push_back({x, -0.5, z, height, shape.aspect, tinted(texture, dice)});
      scenery.shadows.push_back({x, z, height * 0.6, height * shape.aspect * 0.38, 0.6});
    }
}

void scatter_bushes(const TrackSite& site, const std::string& kind, double chance, uint32_t seed,
                    Scenery& scenery) {
  kit::Dice dice(seed);
  TreeShape shape = tree_shape(kind);
  const std::vector<CourseSample>& loop = site.course.loop;
  const double step = site.course.loop_length / loop.size();
  for (size_t k = 0; k < loop.size(); k += static_cast<size_t>(30 / step)) {
    if (dice.uniform() >= chance) continue;
    const CourseSample& c = loop[k];
    double side = dice.uniform() < 0.5 ? -1 : 1;
    Vec2 p = c.p + c.left() * (side * (c.half_width + dice.uniform(14, 30)));
    if (site.clearance.at(p.x, p.y) < 10) continue;
    double height = shape.low + (shape.high - shape.low) * dice.uniform();
    scenery.billboards.push_back({p.x, -0.2, p.y, height, shape.aspect, tinted(kind, dice)});
    scenery.shadows.push_back({p.x, p.y, height * 0.4, height * shape.aspect * 0.35, 0.45});
  }
}

}  // namespace tracks
