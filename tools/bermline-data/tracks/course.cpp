#include "tracks/course.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "tracks/smoothing.h"

namespace tracks {

namespace {

// ---- obstacle profiles ----------------------------------------------------

enum class Ease { Face, Landing, Smooth, Flat, Bump };

// One piece of an obstacle's long section: over `length` feet the height
// goes from where the previous piece ended to `to` (a Bump returns to where
// it started after rising by `to`).
struct Piece {
  Ease ease;
  double length;
  double to;
};

double smoothstep(double t) { return t * t * (3 - 2 * t); }

double ease_value(Ease ease, double t) {
  switch (ease) {
    case Ease::Face: return std::pow(t, 1.5);  // steepest at the lip
    case Ease::Landing:                          // rounded over the top, flat at the bottom
    case Ease::Smooth: return smoothstep(t);
    case Ease::Flat: return 0;
    case Ease::Bump: return 0.5 - 0.5 * std::cos(2 * PI * t);
  }
  return 0;
}

std::vector<Piece> obstacle_pieces(const Obstacle& o) {
  const double h = o.height;
  std::vector<Piece> pieces;
  switch (o.kind) {
    case ObstacleKind::Tabletop:
      pieces = {{Ease::Face, o.face, h}, {Ease::Flat, o.top, h}, {Ease::Landing, o.landing, 0}};
      break;
    case ObstacleKind::Double: {
      // `top` is the gap from the takeoff lip to the landing's crest.
      double h2 = o.second_height > 0 ? o.second_height : h;
      double back = h / 0.55, front = h2 / 0.5;
      double floor = std::max(2.0, o.top - back - front);
      pieces = {{Ease::Face, o.face, h},     {Ease::Smooth, back, 0},  {Ease::Flat, floor, 0},
                {Ease::Smooth, front, h2},   {Ease::Flat, 3, h2},      {Ease::Landing, o.landing, 0}};
      break;
    }
    case ObstacleKind::StepUp: {
      // A short trough after the lip, then the deck to land on, which runs
      // back down over `landing` feet.
      double deck = o.second_height > 0 ? o.second_height : h + 2;
      double trough = h * 0.4, back = (h - trough) / 0.5, wall = (deck - trough) / 0.55;
      double floor = std::max(2.0, o.top - back - wall);
      pieces = {{Ease::Face, o.face, h},      {Ease::Smooth, back, trough}, {Ease::Flat, floor, trough},
                {Ease::Smooth, wall, deck},   {Ease::Flat, 30, deck},       {Ease::Landing, o.landing, 0}};
      break;
    }
    case ObstacleKind::StepDown:
      // `face` is the gentle climb to the plateau, `top` its length; a small
      // kicker at its end throws the rider down the long landing.
      pieces = {{Ease::Smooth, o.face, h},
                {Ease::Flat, o.top, h},
                {Ease::Face, 4, h + 0.8},
                {Ease::Landing, o.landing, 0}};
      break;
    case ObstacleKind::Whoops:
      for (int i = 0; i < o.count; ++i) pieces.push_back({Ease::Bump, o.top, h});
      break;
    case ObstacleKind::Rhythm:
      for (int i = 0; i < o.count; ++i) {
        pieces.push_back({Ease::Face, o.face, h});
        pieces.push_back({Ease::Flat, 1.5, h});
        pieces.push_back({Ease::Landing, o.landing, 0});
        if (i + 1 < o.count && o.top > 0) pieces.push_back({Ease::Flat, o.top, 0});
      }
      break;
    case ObstacleKind::Roller:
      pieces = {{Ease::Bump, o.top, h}};
      break;
  }
  return pieces;
}

// ---- centre line ------------------------------------------------------------

struct PathPoint {
  Vec2 p;
  double width;
  double berm;
};

// Centripetal Catmull-Rom through the closed list of nodes, `steps` points
// per span; also reports at which point index each node lies.
std::vector<PathPoint> spline_through(const std::vector<CourseNode>& nodes, int steps,
                                      std::vector<size_t>* node_points) {
  const size_t n = nodes.size();
  std::vector<PathPoint> out;
  auto at = [&](size_t i) { return nodes[i % n]; };
  for (size_t i = 0; i < n; ++i) {
    node_points->push_back(out.size());
    CourseNode k0 = at(i + n - 1), k1 = at(i), k2 = at(i + 1), k3 = at(i + 2);
    Vec2 p0{k0.x, k0.z}, p1{k1.x, k1.z}, p2{k2.x, k2.z}, p3{k3.x, k3.z};
    auto knot = [](Vec2 a, Vec2 b) {
      Vec2 d = b - a;
      return std::max(1e-6, std::sqrt(std::sqrt(d.x * d.x + d.y * d.y)));
    };
    double t0 = 0, t1 = t0 + knot(p0, p1), t2 = t1 + knot(p1, p2), t3 = t2 + knot(p2, p3);
    for (int k = 0; k < steps; ++k) {
      double u = static_cast<double>(k) / steps;
      double t = t1 + (t2 - t1) * u;
      Vec2 a1 = p0 * ((t1 - t) / (t1 - t0)) + p1 * ((t - t0) / (t1 - t0));
      Vec2 a2 = p1 * ((t2 - t) / (t2 - t1)) + p2 * ((t - t1) / (t2 - t1));
      Vec2 a3 = p2 * ((t3 - t) / (t3 - t2)) + p3 * ((t - t2) / (t3 - t2));
      Vec2 b1 = a1 * ((t2 - t) / (t2 - t0)) + a2 * ((t - t0) / (t2 - t0));
      Vec2 b2 = a2 * ((t3 - t) / (t3 - t1)) + a3 * ((t - t1) / (t3 - t1));
      Vec2 c = b1 * ((t2 - t) / (t2 - t1)) + b2 * ((t - t1) / (t2 - t1));
      double w = k1.width + (k2.width - k1.width) * smoothstep(u);
      double berm = k1.berm + (k2.berm - k1.berm) * smoothstep(u);
      out.push_back({c, w, berm});
    }
  }
  return out;
}

double distance(Vec2 a, Vec2 b) { return std::hypot(b.x - a.x, b.y - a.y); }

Vec2 unit(Vec2 v) {
  double l = std::hypot(v.x, v.y);
  return l > 1e-12 ? Vec2{v.x / l, v.y / l} : Vec2{1, 0};
}

double wrap_angle(double a) {
  while (a > PI) a -= 2 * PI;
  while (a < -PI) a += 2 * PI;
  return a;
}

// Bank angle of a berm for a turn of radius r: the tightest turns get the
// full angle, wide sweepers none.
double berm_angle_for(double radius, double full_degrees) {
  const double tight = 30, open = 220;
  double k = std::clamp((open - radius) / (open - tight), 0.0, 1.0);
  return full_degrees * PI / 180 * k;
}

// Length of an obstacle along the track, and its height above the bed at
// distance x from its start.
double obstacle_length(const Obstacle& obstacle) {
  double total = 0;
  for (const Piece& piece : obstacle_pieces(obstacle)) total += piece.length;
  return total;
}

double obstacle_height(const Obstacle& obstacle, double x) {
  double start = 0, from = 0;
  for (const Piece& piece : obstacle_pieces(obstacle)) {
    if (x < start + piece.length) {
      double t = std::clamp((x - start) / piece.length, 0.0, 1.0);
      if (piece.ease == Ease::Bump) return from + piece.to * ease_value(piece.ease, t);
      if (piece.ease == Ease::Flat) return from;
      return from + (piece.to - from) * ease_value(piece.ease, t);
    }
    start += piece.length;
    if (piece.ease != Ease::Bump) from = piece.to;
  }
  return 0;
}

}  // namespace

double CourseSample::surface(double d) const {
  double hw = half_width;
  double h = bed + profile;
  if (bank != 0) {
    double outward = bank > 0 ? -d : d;  // the outside of a left turn is on the right
    double u = std::clamp((outward + hw) / (2 * hw), 0.0, 1.0);
    h += std::fabs(bank) * u * u;
  }
  return h;
}

int SampledCourse::loop_index(double s) const {
  const int n = static_cast<int>(loop.size());
  double step = loop_length / n;
  int i = static_cast<int>(std::lround(s / step)) % n;
  return i < 0 ? i + n : i;
}

SampledCourse sample_course(const CourseDescription& description) {
  SampledCourse course;
  std::vector<size_t> node_points;
  std::vector<PathPoint> dense = spline_through(description.nodes, 96, &node_points);

  // Distance along the dense path, then even resampling.
  std::vector<double> along(dense.size() + 1, 0.0);
  for (size_t i = 0; i < dense.size(); ++i)
    along[i + 1] = along[i] + distance(dense[i].p, dense[(i + 1) % dense.size()].p);
  course.loop_length = along.back();
  for (size_t k : node_points) course.node_s.push_back(along[k]);

  const int n = static_cast<int>(std::lround(course.loop_length / COURSE_STEP));
  const double step = course.loop_length / n;
  course.loop.resize(n);
  std::vector<double> berm_scale(n);
  size_t seg = 0;
  for (int i = 0; i < n; ++i) {
    double s = i * step;
    while (seg + 1 < dense.size() && along[seg + 1] <= s) ++seg;
    double f = (s - along[seg]) / std::max(1e-9, along[seg + 1] - along[seg]);
    const PathPoint& a = dense[seg];
    const PathPoint& b = dense[(seg + 1) % dense.size()];
    CourseSample& c = course.loop[i];
    c.s = s;
    c.p = a.p + (b.p - a.p) * f;
    c.half_width = 0.5 * (a.width + (b.width - a.width) * f);
    berm_scale[i] = a.berm + (b.berm - a.berm) * f;
  }

  // Direction and curvature.
  std::vector<double> heading(n), curvature(n);
  for (int i = 0; i < n; ++i) {
    Vec2 d = course.loop[(i + 1) % n].p - course.loop[(i + n - 1) % n].p;
    course.loop[i].t = unit(d);
    heading[i] = std::atan2(course.loop[i].t.y, course.loop[i].t.x);
  }
  for (int i = 0; i < n; ++i) {
    // Heading measured from +x towards +z turns the rider to the right, so
    // a left turn has a falling heading.
    double turn = wrap_angle(heading[(i + 1) % n] - heading[(i + n - 1) % n]);
    curvature[i] = -turn / (2 * step);
  }
  curvature = smooth_closed(curvature, 4.0 / step);
  for (int i = 0; i < n; ++i) course.loop[i].curvature = curvature[i];

  // Obstacles along the lap.
  std::vector<double> profile(n, 0.0);
  std::vector<double> obstacle_mask(n, 0.0);
  for (size_t k = 0; k < description.obstacles.size(); ++k) {
    const Obstacle& o = description.obstacles[k];
    double start = course.node_s[o.node % course.node_s.size()] + o.offset;
    double length = obstacle_length(o);
    for (double x = 0; x <= length; x += step) {
      int i = course.loop_index(start + x);
      if (course.loop[i].obstacle >= 0 && course.loop[i].obstacle != static_cast<int>(k)) {
        std::fprintf(stderr, "bermline-data: obstacles %d and %zu overlap at %.0f ft\n",
                     course.loop[i].obstacle, k, course.loop[i].s);
        std::abort();  // a course description fault, found while designing
      }
      course.loop[i].obstacle = static_cast<int>(k);
      profile[i] = obstacle_height(o, x);
      obstacle_mask[i] = 1;
    }
  }
  profile = smooth_closed(profile, 0.75 / step);
  // Berms fade out well before an obstacle so no jump leaves at an angle.
  obstacle_mask = smooth_closed(dilate_closed(obstacle_mask, static_cast<int>(12 / step)), 6 / step);

  // Berms: banked for the radius, grown and faded smoothly along the turn.
  std::vector<double> bank(n);
  for (int i = 0; i < n; ++i) {
    double k = curvature[i];
    double radius = std::fabs(k) > 1e-6 ? 1 / std::fabs(k) : 1e6;
    double angle = berm_angle_for(radius, description.berm_angle);
    double height = berm_scale[i] * std::min(5.5, course.loop[i].half_width * std::tan(angle));
    bank[i] = k > 0 ? height : -height;
  }
  bank = smooth_closed(bank, 10 / step);
  for (int i = 0; i < n; ++i) {
    course.loop[i].profile = profile[i];
    course.loop[i].bank = bank[i] * (1 - std::clamp(obstacle_mask[i], 0.0, 1.0));
  }

  // The start straight, from a little behind the gate to the merge.
  const StartStraight& st = description.start;
  course.merge_s = std::fmod(course.node_s[st.merge_node % course.node_s.size()] + st.merge_offset +
                                 course.loop_length, course.loop_length);
  course.finish_s = std::fmod(course.node_s[description.finish.node % course.node_s.size()] +
                                  description.finish.offset + course.loop_length, course.loop_length);
  // Both places sit exactly on a sample, so gates there compare equal.
  course.merge_s = course.loop[course.loop_index(course.merge_s)].s;
  course.finish_s = course.loop[course.loop_index(course.finish_s)].s;
  const CourseSample& merge = course.loop[course.loop_index(course.merge_s)];
  const double gate_half = 0.5 * GATE_PLACES * GATE_PLACE_WIDTH + 8;
  const double behind = 30;
  for (double s = -behind; s <= st.length + 1e-9; s += COURSE_STEP) {
    CourseSample c;
    c.s = s;
    c.t = merge.t;
    c.p = merge.p - merge.t * (st.length - s);
    // Full gate width first, then a smooth funnel.
    double f = std::clamp((s - description.gate_share * st.length) / (description.funnel * st.length), 0.0, 1.0);
    c.half_width = gate_half + (merge.half_width - gate_half) * smoothstep(f);
    course.start.push_back(c);
  }
  return course;
}

}  // namespace tracks
