#include "tracks/scenery.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "kit/noise.h"

namespace tracks {

namespace {

std::string format(const char* pattern, double a, double b, double c, double d, double e, double f = 0,
                   double g = 0) {
  char line[256];
  std::snprintf(line, sizeof line, pattern, a, b, c, d, e, f, g);
  return line;
}

// Angle of a decal whose length runs along the ground direction `along`
// (a turn about the up axis, as statues turn).
double decal_angle(Vec2 along) { return std::atan2(-along.y, along.x); }

const CourseSample& start_sample(const SampledCourse& course, double s) {
  for (const CourseSample& c : course.start)
    if (c.s >= s) return c;
  return course.start.back();
}

std::vector<double> loop_gate_distances(const SampledCourse& course, const TimingLayout& timing,
                                        std::vector<int>* indices) {
  std::vector<std::pair<double, int>> loop;
  for (size_t g = 0; g < timing.gates.size(); ++g)
    if (!timing.gates[g].on_start) loop.push_back({timing.gates[g].s, static_cast<int>(g)});
  std::sort(loop.begin(), loop.end());
  std::vector<double> at;
  for (const auto& [s, g] : loop) {
    at.push_back(s);
    indices->push_back(g);
  }
  (void)course;
  return at;
}

void add_billboard(Scenery& scenery, Vec2 p, double height, double aspect, const std::string& texture,
                   double shadow_density = 0) {
  scenery.billboards.push_back({p.x, 0, p.y, height, aspect, texture});
  if (shadow_density > 0)
    scenery.shadows.push_back({p.x, p.y, height * 0.55, height * aspect * 0.4, shadow_density});
}

}  // namespace

std::string billboards_file(const Scenery& scenery) {
  std::string out;
  for (const BillboardPlace& b : scenery.billboards)
    out += format("[%f %f %f] %f %f ", b.x, b.lift, b.z, b.height, b.aspect) + b.texture + "\n";
  return out;
}

std::string statues_file(const Scenery& scenery) {
  std::string out;
  for (const StatuePlace& s : scenery.statues)
    out += format("[%f %f %f] %f ", s.x, s.lift, s.z, s.heading, 0) + s.model + " " + s.texture + " " + s.shape + "\n";
  return out;
}

std::string decals_file(const Scenery& scenery) {
  std::string out;
  for (const DecalPlace& d : scenery.decals)
    out += format("[%f %f] %f %f %f ", d.x, d.z, d.angle, d.size, d.aspect) + d.texture + "\n";
  return out;
}

std::string flaggers_file(const Scenery& scenery) {
  std::string out;
  const Vec3& r = scenery.start_rest;
  const Vec3& e = scenery.start_end;
  out += format("[%f %f %f] ", r.x, r.y, r.z, 0, 0) + format("[%f %f %f] %f %f %f\n", e.x, e.y, e.z, 9.0, 0.5, 2.5);
  out += "@starter-1.png @starter-2.png @starter-3.png @starter-walk.png @starter-done.png\n";
  const Vec3& l = scenery.lap_board;
  out += format("[%f %f %f] %f %f\n", l.x, l.y, l.z, 9.0, 0.5);
  out += "@lapboard.png @lapboard-halfway.png @lapboard-last.png @lapboard-finish.png\n";
  for (const CornerFlagger& f : scenery.flaggers) {
    out += format("[%f %f %f] %f %f ", f.position.x, f.position.y, f.position.z, f.height, f.aspect);
    char sections[64];
    std::snprintf(sections, sizeof sections, "%d %d %d %d\n", f.watched[0], f.watched[1], f.watched[2],
                  f.watched[3]);
    out += sections;
    out += "@flagger.png @flagger-caution.png\n";
  }
  return out;
}

double Clearance::at(double x, double z) const {
  double u = std::clamp(x / cell, 0.0, size - 1.0), v = std::clamp(z / cell, 0.0, size - 1.0);
  int i = std::min(size - 2, static_cast<int>(u)), j = std::min(size - 2, static_cast<int>(v));
  double fu = u - i, fv = v - j;
  auto e = [&](int a, int b) { return static_cast<double>(edge[static_cast<size_t>(b) * size + a]); };
  return (e(i, j) * (1 - fu) + e(i + 1, j) * fu) * (1 - fv) + (e(i, j + 1) * (1 - fu) + e(i + 1, j + 1) * fu) * fv;
}

Clearance course_clearance(const SampledCourse& course, double extent) {
  Clearance clearance;
  clearance.cell = 4;
  clearance.size = static_cast<int>(extent / clearance.cell) + 2;
  const float far = 150;
  clearance.edge.assign(static_cast<size_t>(clearance.size) * clearance.size, far);
  auto splat = [&](const std::vector<CourseSample>& path) {
    for (size_t k = 0; k < path.size(); k += 4) {
      const CourseSample& c = path[k];
      double reach = c.half_width + far;
      int i0 = std::max(0, static_cast<int>((c.p.x - reach) / clearance.cell));
      int i1 = std::min(clearance.size - 1, static_cast<int>((c.p.x + reach) / clearance.cell) + 1);
      int j0 = std::max(0, static_cast<int>((c.p.y - reach) / clearance.cell));
      int j1 = std::min(clearance.size - 1, static_cast<int>((c.p.y + reach) / clearance.cell) + 1);
      for (int j = j0; j <= j1; ++j)
        for (int i = i0; i <= i1; ++i) {
          double d = std::hypot(i * clearance.cell - c.p.x, j * clearance.cell - c.p.y) - c.half_width;
          float& e = clearance.edge[static_cast<size_t>(j) * clearance.size + i];
          e = std::min(e, static_cast<float>(d));
        }
    }
  };
  splat(course.loop);
  splat(course.start);
  return clearance;
}

void place_start_and_finish(const SampledCourse& course, const TimingLayout& timing, const Clearance& clearance,
                            Scenery& scenery) {
  // Banners stand just off the track, fans further back.
  auto banner_at = [&](Vec2 p, const char* texture) {
    if (clearance.at(p.x, p.y) >= 3) add_billboard(scenery, p, 3.0, 4.0, texture);
  };
  auto fans_at = [&](Vec2 p, const char* texture) {
    if (clearance.at(p.x, p.y) >= 12) add_billboard(scenery, p, 6.5, 2.0, texture, 0.25);
  };
  const CourseSample& line = start_sample(course, 0);
  const Vec2 t = line.t, left = line.left();
  const double gate_half = 0.5 * GATE_PLACES * GATE_PLACE_WIDTH;
  // Which side turn 1 goes: the first place stands on its inside.
  Vec2 first = {timing.places.front().position.x, timing.places.front().position.z};
  double inside = ((first.x - line.p.x) * left.x + (first.y - line.p.y) * left.y) >= 0 ? 1 : -1;

  // The concrete pad the riders wait on, the starter in front of the gate.
  Vec2 pad = line.p - t * 11;
  scenery.decals.push_back({pad.x, pad.y, decal_angle(left), 22, (2 * gate_half + 10) / 22, "@decal-startpad.png"});
  Vec2 rest = line.p + t * 16;
  Vec2 end = line.p + t * 24 + left * (inside * (line.half_width + 16));
  scenery.start_rest = {rest.x, 0, rest.y};
  scenery.start_end = {end.x, 0, end.y};

  // The tower on the outside, looking down the straight.
  Vec2 tower = line.p - t * 14 - left * (inside * (line.half_width + 34));
  scenery.statues.push_back({tower.x, 0, tower.y, heading_along(left * inside), "@tower.jm", "@tower.png",
                             "@tower.shp"});
  scenery.shadows.push_back({tower.x, tower.y, 16, 9, 0.75});

  // Banners along both sides of the straight, fans behind them.
  const char* banners[] = {"@banner-bermline.png", "@banner-race.png", "@banner-moto.png"};
  int n = 0;
  for (double s = 10; s < course.start.back().s - 50; s += 36, ++n) {
    const CourseSample& c = start_sample(course, s);
    for (double side : {-1.0, 1.0}) {
      banner_at(c.p + c.left() * (side * (c.half_width + 6)), banners[(n + (side > 0)) % 3]);
      if (n % 2 == 0) fans_at(c.p + c.left() * (side * (c.half_width + 18)), n % 4 == 0 ? "@fans-1.png" : "@fans-2.png");
    }
  }

  // The lap line: painted across the track, the lap board beside it.
  const CourseSample& finish = course.loop[course.loop_index(course.finish_s)];
  scenery.decals.push_back({finish.p.x, finish.p.y, decal_angle(finish.left()), 4,
                            (2 * finish.half_width + 4) / 4, "@decal-finishline.png"});
  double outside = finish.bank > 0 ? -1 : 1;
  Vec2 board = finish.p - finish.t * 6 + finish.left() * (outside * (finish.half_width + 7));
  scenery.lap_board = {board.x, 0, board.y};
  for (double side : {-1.0, 1.0})
    for (int k = 0; k < 3; ++k) {
      if (side == outside && k == 1) continue;  // the lap board stands there
      Vec2 along = finish.p + finish.t * (k * 12.0 - 18);
      banner_at(along + finish.left() * (side * (finish.half_width + 6)), k == 1 ? "@banner-finish.png" : banners[k]);
      fans_at(along + finish.left() * (side * (finish.half_width + 18)), k % 2 ? "@fans-3.png" : "@fans-1.png");
    }
}

void place_corner_flaggers(const SampledCourse& course, const TimingLayout& timing, const Clearance& clearance,
                           Scenery& scenery) {
  std::vector<int> gate_index;
  std::vector<double> gate_s = loop_gate_distances(course, timing, &gate_index);
  // One flagger per obstacle, beside its landing, on the side with room.
  std::map<int, double> obstacle_end;
  for (const CourseSample& c : course.loop)
    if (c.obstacle >= 0) obstacle_end[c.obstacle] = std::max(obstacle_end[c.obstacle], c.s);
  for (const auto& [obstacle, end_s] : obstacle_end) {
    double begin_s = end_s;
    for (const CourseSample& c : course.loop)
      if (c.obstacle == obstacle) begin_s = std::min(begin_s, c.s);
    const CourseSample& c = course.loop[course.loop_index(end_s - 10)];
    CornerFlagger f;
    Vec2 p = c.p + c.left() * (c.half_width + 12);
    Vec2 q = c.p - c.left() * (c.half_width + 12);
    Vec2 use = clearance.at(p.x, p.y) >= clearance.at(q.x, q.y) ? p : q;
    f.position = {use.x, 0, use.y};
    // Watch the gates from the takeoff to just past the landing.
    int watched = 0;
    for (size_t k = 0; k < gate_s.size() && watched < 4; ++k) {
      double ahead = std::fmod(gate_s[k] - begin_s + course.loop_length, course.loop_length);
      if (ahead < (end_s - begin_s) + 80) f.watched[watched++] = gate_index[k];
    }
    scenery.flaggers.push_back(f);
  }
}

void line_berms_with_hay(const SampledCourse& course, Scenery& scenery) {
  const double step = course.loop_length / course.loop.size();
  const int stride = std::max(1, static_cast<int>(7 / step));
  for (size_t k = 0; k < course.loop.size(); k += stride) {
    const CourseSample& c = course.loop[k];
    if (std::fabs(c.bank) < 2.5) continue;
    double outside = c.bank > 0 ? -1 : 1;
    Vec2 p = c.p + c.left() * (outside * (c.half_width + 3.5));
    scenery.statues.push_back({p.x, 0, p.y, heading_along(c.t), "@haybale.jm", "@haybale.png", "@haybale.shp"});
    scenery.shadows.push_back({p.x, p.y, 1.0, 2.0, 0.5});
  }
}

void place_fans(const SampledCourse& course, const Clearance& clearance, uint32_t seed, Scenery& scenery) {
  kit::Dice dice(seed);
  const char* crowds[] = {"@fans-1.png", "@fans-2.png", "@fans-3.png"};
  int last_obstacle = -1;
  for (const CourseSample& c : course.loop) {
    if (c.obstacle < 0 || c.obstacle == last_obstacle) continue;
    last_obstacle = c.obstacle;
    for (int k = 0; k < 4; ++k) {
      const CourseSample& at = course.loop[course.loop_index(c.s + 10 + 14 * k)];
      double side = dice.uniform() < 0.5 ? -1 : 1;
      Vec2 p = at.p + at.left() * (side * (at.half_width + 24 + dice.uniform(0, 8)));
      if (clearance.at(p.x, p.y) < 18) continue;
      add_billboard(scenery, p, 6.5, 2.0, crowds[dice.below(3)], 0.25);
    }
  }
}

}  // namespace tracks
