#include "tracks/timing.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace tracks {

namespace {

constexpr double GATE_MARGIN = 4;      // radius beyond the track's half width
constexpr double MAX_GATE_GAP = 110;   // feet between gates on a straight
constexpr double TURN_PER_GATE = 0.5;  // radians of turning between gates
constexpr double MIN_SECTION = 220;    // feet between racing-line sections

// A rider's path over one lap: the centre line in riding order with the
// distance ridden, and where along it each entry of the lap's sequence
// lies. The first lap starts at the starting gate, every later lap at the
// lap line.
struct RiddenPath {
  std::vector<const CourseSample*> samples;
  std::vector<double> distance;        // per sample, from the path's start
  std::vector<double> entry_distance;  // per lap entry
  std::vector<int> entry_gate;         // per lap entry, flag removed
};

double forward(const SampledCourse& course, double from, double to) {
  double d = std::fmod(to - from, course.loop_length);
  return d < 0 ? d + course.loop_length : d;
}

PlacedGate gate_at(const CourseSample& c, bool on_start) {
  PlacedGate g;
  g.centre = c.p;
  g.y = c.surface(0);
  g.direction = c.t;
  g.radius = c.half_width + GATE_MARGIN;
  g.on_start = on_start;
  g.s = c.s;
  return g;
}

// Whether a rider riding straight from a to b is in the gate anywhere.
bool segment_in_gate(const PlacedGate& gate, Vec2 a, Vec2 b) {
  Vec2 d = gate.direction;
  double da = (a.x - gate.centre.x) * d.x + (a.y - gate.centre.y) * d.y;
  double db = (b.x - gate.centre.x) * d.x + (b.y - gate.centre.y) * d.y;
  if (da < 0 && db < 0) return false;
  // The part of the segment on the exit side of the gate line.
  double t0 = 0, t1 = 1;
  if (da < 0) t0 = da / (da - db);
  if (db < 0) t1 = da / (da - db);
  Vec2 p = a + (b - a) * t0, q = a + (b - a) * t1;
  Vec2 pq = q - p, pc = gate.centre - p;
  double len2 = pq.x * pq.x + pq.y * pq.y;
  double t = len2 > 0 ? std::clamp((pc.x * pq.x + pc.y * pq.y) / len2, 0.0, 1.0) : 0.0;
  Vec2 nearest = p + pq * t;
  return std::hypot(nearest.x - gate.centre.x, nearest.y - gate.centre.y) <= gate.radius;
}

double point_segment_distance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 ab = b - a, ap = p - a;
  double len2 = ab.x * ab.x + ab.y * ab.y;
  double t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0, 1.0) : 0.0;
  Vec2 q = ap - ab * t;
  return std::hypot(q.x, q.y);
}

// A shortcut: a straight line between two places of the path that saves
// real distance, leaves the track on the way, and passes every gate in
// between. Returns the path sample furthest off the line, or -1.
int find_shortcut(const RiddenPath& path, const std::vector<PlacedGate>& gates) {
  const int stride = 16;  // samples between tested places (8 ft)
  const int n = static_cast<int>(path.samples.size());
  for (int i = 0; i < n; i += stride)
    for (int j = i + 2 * stride; j < n; j += stride) {
      Vec2 a = path.samples[i]->p, b = path.samples[j]->p;
      double chord = std::hypot(b.x - a.x, b.y - a.y);
      double ridden = path.distance[j] - path.distance[i];
      if (chord > 300 || ridden < chord + 25) continue;
      bool misses_one = false;
      for (size_t e = 0; e < path.entry_distance.size() && !misses_one; ++e) {
        double at = path.entry_distance[e];
        if (at > path.distance[i] && at < path.distance[j] && !segment_in_gate(gates[path.entry_gate[e]], a, b))
          misses_one = true;
      }
      if (misses_one) continue;
      int furthest = -1;
      double worst = 0;
      for (int k = i; k <= j; ++k) {
        const CourseSample* c = path.samples[k];
        double off = point_segment_distance(c->p, a, b) - c->half_width - GATE_MARGIN;
        if (off > worst) {
          worst = off;
          furthest = k;
        }
      }
      if (furthest >= 0) return furthest;
    }
  return -1;
}

void order_laps(const SampledCourse& course, TimingLayout& timing) {
  std::vector<PlacedGate>& gates = timing.gates;
  std::stable_sort(gates.begin(), gates.end(), [&](const PlacedGate& a, const PlacedGate& b) {
    if (a.on_start != b.on_start) return a.on_start;
    if (a.on_start) return a.s < b.s;
    return forward(course, course.merge_s, a.s) < forward(course, course.merge_s, b.s);
  });
  timing.first_lap.clear();
  timing.normal_lap.clear();
  auto entry = [&](size_t g) { return static_cast<int>(g) + (gates[g].boundary ? 0 : GATE_FLAG); };
  double to_finish = forward(course, course.merge_s, course.finish_s);
  std::vector<std::pair<double, size_t>> normal;
  for (size_t g = 0; g < gates.size(); ++g) {
    if (gates[g].on_start) {
      timing.first_lap.push_back(entry(g));
      continue;
    }
    if (forward(course, course.merge_s, gates[g].s) <= to_finish) timing.first_lap.push_back(entry(g));
    double after_finish = forward(course, course.finish_s, gates[g].s);
    normal.push_back({after_finish == 0 ? course.loop_length : after_finish, g});
  }
  std::sort(normal.begin(), normal.end());
  for (const auto& [distance, g] : normal) timing.normal_lap.push_back(entry(g));
}

// Section boundaries on the normal lap: the lap line, then every
// MIN_SECTION or so the calmest gate, one on straight ground away from
// obstacles and berms, where a racing line can start whatever the line
// before it did.
void choose_boundaries(const SampledCourse& course, TimingLayout& timing) {
  const int n = static_cast<int>(course.loop.size());
  const double step = course.loop_length / n;
  // Calmness of a gate: feet to the nearest obstacle or berm (up to 60),
  // or -1 where the track turns too tightly to start a line.
  auto calmness = [&](const PlacedGate& g) {
    int centre = course.loop_index(g.s);
    if (std::fabs(course.loop[centre].curvature) > 1.0 / 60) return -1.0;
    for (int k = 0; k <= static_cast<int>(60 / step); ++k)
      for (int side : {-1, 1}) {
        const CourseSample& c = course.loop[((centre + side * k) % n + n) % n];
        if (c.obstacle >= 0 || std::fabs(c.bank) > 0.5) return k * step;
      }
    return 60.0;
  };
  const double section = std::min(MIN_SECTION, course.loop_length / 8);
  std::vector<std::pair<double, PlacedGate*>> along;
  for (int entry : timing.normal_lap) {
    PlacedGate& g = timing.gates[entry % GATE_FLAG];
    double at = forward(course, course.finish_s, g.s);
    along.push_back({at == 0 ? course.loop_length : at, &g});
  }
  double last = 0;
  for (size_t k = 0; k < along.size(); ++k) {
    if (along[k].first < last + section) continue;
    // The calmest gate within the next section's length.
    size_t best = along.size();
    double best_calm = 12;  // at least this far from any obstacle
    for (size_t m = k; m < along.size() && along[m].first < along[k].first + section; ++m) {
      double calm = calmness(*along[m].second);
      if (calm > best_calm && course.loop_length - along[m].first >= section * 0.6) {
        best_calm = calm;
        best = m;
      }
    }
    if (best == along.size()) continue;
    along[best].second->boundary = true;
    last = along[best].first;
    k = best;
  }
  along.back().second->boundary = true;  // the lap line
}

}  // namespace

double heading_along(Vec2 t) { return std::atan2(-t.x, -t.y); }

namespace {

RiddenPath path_between(const SampledCourse& course, const TimingLayout& timing, bool first_lap) {
  RiddenPath path;
  double ridden = 0;
  auto add = [&](const CourseSample* c) {
    if (!path.samples.empty()) ridden += std::hypot(c->p.x - path.samples.back()->p.x, c->p.y - path.samples.back()->p.y);
    path.samples.push_back(c);
    path.distance.push_back(ridden);
  };
  const int n = static_cast<int>(course.loop.size());
  double from = course.finish_s;
  if (first_lap) {
    for (const CourseSample& c : course.start)
      if (c.s >= 0) add(&c);
    from = course.merge_s;
  }
  int first = course.loop_index(from);
  int count = static_cast<int>(std::lround(forward(course, from, course.finish_s) / (course.loop_length / n)));
  if (!first_lap || count == 0) count = count == 0 ? n : count;
  for (int k = 0; k <= count; ++k) add(&course.loop[(first + k) % n]);

  // Each lap entry lies where the path passes its gate's centre.
  const std::vector<int>& entries = first_lap ? timing.first_lap : timing.normal_lap;
  size_t cursor = 0;
  for (int entry : entries) {
    int g = entry % GATE_FLAG;
    const PlacedGate& gate = timing.gates[g];
    size_t best = cursor;
    double best_d = 1e18;
    for (size_t k = cursor; k < path.samples.size(); ++k) {
      double d = std::hypot(path.samples[k]->p.x - gate.centre.x, path.samples[k]->p.y - gate.centre.y);
      if (d < best_d) {
        best_d = d;
        best = k;
      }
      if (best_d < 0.5 && d > 20) break;
    }
    cursor = best;
    path.entry_distance.push_back(path.distance[best]);
    path.entry_gate.push_back(g);
  }
  return path;
}

RiddenPath first_lap_path(const SampledCourse& course, const TimingLayout& timing) {
  return path_between(course, timing, true);
}

RiddenPath normal_lap_path(const SampledCourse& course, const TimingLayout& timing) {
  return path_between(course, timing, false);
}

}  // namespace

TimingLayout lay_out_timing(const SampledCourse& course, const Heightfield& ground) {
  TimingLayout timing;

  // The starting gate: 40 places across the straight, the first on the
  // inside of the first turn.
  const CourseSample* gate_line = nullptr;
  for (const CourseSample& c : course.start)
    if (!gate_line && c.s >= 0) gate_line = &c;
  double first_turn = 0;
  for (const CourseSample& c : course.loop)
    if (forward(course, course.merge_s, c.s) < 400 && std::fabs(c.curvature) > std::fabs(first_turn))
      first_turn = c.curvature;
  double inside = first_turn >= 0 ? 1 : -1;
  for (int k = 0; k < GATE_PLACES; ++k) {
    double lateral = inside * ((GATE_PLACES - 1) / 2.0 - k) * GATE_PLACE_WIDTH;
    Vec2 p = gate_line->p + gate_line->left() * lateral;
    timing.places.push_back({{p.x, ground.height_at(p.x, p.y), p.y}, heading_along(gate_line->t)});
  }

  // Gates on the start straight.
  double straight = course.start.back().s;
  for (double s = 100; s < straight - 60; s += 120)
    for (const CourseSample& c : course.start)
      if (std::fabs(c.s - s) < COURSE_STEP / 2) timing.gates.push_back(gate_at(c, true));

  // Gates around the lap: the lap line, then wherever the track has turned
  // enough or run long enough since the last one.
  const int n = static_cast<int>(course.loop.size());
  const int start = course.loop_index(course.finish_s);
  timing.gates.push_back(gate_at(course.loop[start], false));
  double run = 0, turned = 0;
  const double step = course.loop_length / n;
  for (int k = 1; k < n - static_cast<int>(30 / step); ++k) {
    const CourseSample& c = course.loop[(start + k) % n];
    run += step;
    turned += std::fabs(c.curvature) * step;
    if (run >= MAX_GATE_GAP || (turned >= TURN_PER_GATE && run >= 30)) {
      timing.gates.push_back(gate_at(c, false));
      run = turned = 0;
    }
  }
  order_laps(course, timing);

  // Close every shortcut with a gate where the track strays furthest from it.
  for (int round = 0; round < 200; ++round) {
    bool added = false;
    for (bool first : {true, false}) {
      RiddenPath path = first ? first_lap_path(course, timing) : normal_lap_path(course, timing);
      int k = find_shortcut(path, timing.gates);
      if (k < 0) continue;
      timing.gates.push_back(gate_at(*path.samples[k], false));
      order_laps(course, timing);
      added = true;
      break;
    }
    if (!added) break;
    if (round == 199) {
      std::fprintf(stderr, "bermline-data: shortcuts remain after 200 extra gates\n");
      std::abort();  // a course description fault, found while designing
    }
  }
  choose_boundaries(course, timing);
  order_laps(course, timing);
  return timing;
}

std::string timing_gates_file(const TimingLayout& timing) {
  std::string out = "startinggate:\n";
  char line[256];
  for (const StartPlace& p : timing.places) {
    std::snprintf(line, sizeof line, "[%f %f %f] %f\n", p.position.x, p.position.y, p.position.z, p.heading);
    out += line;
  }
  out += "checkpoints:\n";
  for (const PlacedGate& g : timing.gates) {
    std::snprintf(line, sizeof line, "%f [%f %f %f] [%f %f %f]\n", g.radius, g.centre.x, g.y, g.centre.y,
                  g.direction.x, 0.0, g.direction.y);
    out += line;
  }
  auto lap = [&](const char* title, const std::vector<int>& entries) {
    out += title;
    for (int e : entries) out += std::to_string(e) + " ";
    out += "\n";
  };
  lap("firstlap:\n", timing.first_lap);
  lap("normallap:\n", timing.normal_lap);
  return out;
}

}  // namespace tracks
