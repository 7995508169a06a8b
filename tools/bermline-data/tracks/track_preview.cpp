#include "tracks/track_preview.h"

#include <algorithm>
#include <cmath>

#include "kit/paint.h"
#include "tracks/timing.h"

namespace tracks {

using namespace kit;

namespace {

Colour elevation_tint(double t) {
  // Low green bottom land to brown hill tops.
  Colour low = hex(0x5f8a46), mid = hex(0x9a9a58), high = hex(0x9b7a55);
  return t < 0.5 ? mix(low, mid, static_cast<float>(t * 2)) : mix(mid, high, static_cast<float>(t * 2 - 1));
}

}  // namespace

kit::Image track_relief(const Heightfield& ground, const SampledCourse& course, const TimingLayout* timing, int size) {
  Image image(size, size, {0, 0, 0, 1});
  const double scale = ground.extent() / size;  // feet per pixel
  const double low = ground.min_height(), high = ground.max_height();
  const Vec3 light = normalized(Vec3{-0.6, 1.0, -0.5});
  for (int y = 0; y < size; ++y)
    for (int x = 0; x < size; ++x) {
      double wx = (x + 0.5) * scale, wz = (y + 0.5) * scale;
      double h = ground.height_at(wx, wz);
      Vec3 n = ground.normal_at(wx, wz);
      double lit = std::clamp(0.35 + 0.75 * dot(n, light), 0.0, 1.3);
      Colour c = scaled(elevation_tint((h - low) / std::max(1.0, high - low)), static_cast<float>(lit));
      // Contour every 5 feet.
      double band = std::fmod(h, 5.0);
      if (band < 0.25 * scale) c = scaled(c, 0.8f);
      image.at(x, y) = with_alpha(c, 1);
    }

  auto pixel = [&](Vec2 p) { return Vec2{p.x / scale, p.y / scale}; };
  auto draw_edges = [&](const std::vector<CourseSample>& path, Colour colour) {
    for (size_t k = 0; k + 1 < path.size(); k += 4) {
      const CourseSample& a = path[k];
      const CourseSample& b = path[std::min(path.size() - 1, k + 4)];
      for (double side : {-1.0, 1.0}) {
        draw_line(image, pixel(a.p + a.left() * (side * a.half_width)), pixel(b.p + b.left() * (side * b.half_width)),
                  1.2, colour);
      }
      Colour centre = a.obstacle >= 0 ? hex(0xff5a2a) : (std::fabs(a.bank) > 0.5 ? hex(0x3aa0ff) : hex(0xf0e0b0));
      draw_line(image, pixel(a.p), pixel(b.p), a.obstacle >= 0 ? 3.0 : 1.5, centre);
    }
  };
  draw_edges(course.start, hex(0xffffff));
  draw_edges(course.loop, hex(0x222222));

  if (timing) {
    for (const PlacedGate& g : timing->gates) {
      Vec2 across{g.direction.y, -g.direction.x};
      Colour colour = g.boundary ? hex(0x00ff66) : hex(0xffee00);
      draw_line(image, pixel(g.centre + across * g.radius), pixel(g.centre - across * g.radius), 1.5, colour);
    }
    for (const StartPlace& p : timing->places)
      fill_circle(image, p.position.x / scale, p.position.z / scale, 1.5, hex(0xff2020));
  }
  return image;
}

}  // namespace tracks
