#include "tracks/track_map.h"

#include <algorithm>

#include "kit/paint.h"

namespace tracks {

using namespace kit;

namespace {

// Segment by segment, so each stroke only touches the pixels near it.
void draw_path(Image& image, const std::vector<CourseSample>& path, bool closed, double scale, double width,
               Colour colour) {
  std::vector<Vec2> points;
  for (size_t k = 0; k < path.size(); k += 8) points.push_back(path[k].p * scale);
  points.push_back(closed ? points.front() : path.back().p * scale);
  for (size_t k = 0; k + 1 < points.size(); ++k) draw_line(image, points[k], points[k + 1], width, colour);
}

}  // namespace

Image overview_map(const SampledCourse& course, const TimingLayout& timing, double extent, int size) {
  Image image(size, size, {0, 0, 0, 0});
  const double scale = size / extent;
  const double band = std::max(3.0, size / 75.0);
  // Rim first, then the band over it, so crossings read cleanly.
  draw_path(image, course.start, false, scale, band + 3, hex(0x1a1a1a));
  draw_path(image, course.loop, true, scale, band + 3, hex(0x1a1a1a));
  draw_path(image, course.start, false, scale, band, hex(0xb8b0a0));
  draw_path(image, course.loop, true, scale, band, hex(0xf2ead8));

  // The lap line: a short chequered bar across the track.
  const CourseSample& finish = course.loop[course.loop_index(course.finish_s)];
  Vec2 across = finish.left() * (band * 1.4 / scale);
  draw_line(image, (finish.p - across) * scale, (finish.p + across) * scale, band * 0.9, hex(0x111111));
  for (int k = -2; k <= 2; k += 2) {
    Vec2 at = finish.p + finish.left() * (k * band * 0.3 / scale);
    fill_rect(image, at.x * scale - band * 0.3, at.y * scale - band * 0.3, at.x * scale + band * 0.3,
              at.y * scale + band * 0.3, hex(0xffffff));
  }
  // The starting gate: a red bar along its places.
  if (!timing.places.empty()) {
    const Vec3& a = timing.places.front().position;
    const Vec3& b = timing.places.back().position;
    draw_line(image, {a.x * scale, a.z * scale}, {b.x * scale, b.z * scale}, band * 0.8, hex(0xd02020));
  }
  return image;
}

}  // namespace tracks
