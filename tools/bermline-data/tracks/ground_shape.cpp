#include "tracks/ground_shape.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "tracks/smoothing.h"

namespace tracks {

namespace {

// The narrowest shoulder.
constexpr double MIN_SHOULDER = 6;

double smoothstep(double t) {
  t = std::clamp(t, 0.0, 1.0);
  return t * t * (3 - 2 * t);
}

// Holds a closed or open run of heights to a steepest grade per step: each
// sample may differ from its neighbours by at most `rise`.
void limit_grade(std::vector<double>& bed, double rise, bool closed) {
  const int n = static_cast<int>(bed.size());
  for (int round = 0; round < 6; ++round) {
    for (int i = 1; i < n + (closed ? n / 8 : 0); ++i) {
      double& h = bed[i % n];
      double prev = bed[(i - 1) % n];
      h = std::clamp(h, prev - rise, prev + rise);
    }
    for (int i = n - 2 + (closed ? 1 : 0); i >= 0; --i) {
      double& h = bed[i];
      double next = bed[(i + 1) % n];
      h = std::clamp(h, next - rise, next + rise);
    }
  }
}

// Track bed along the lap: the land under the centre line, smoothed so the
// track rolls with the site instead of copying every bump.
void lay_loop_bed(const LandFunction& land, SampledCourse& course, double max_grade) {
  const int n = static_cast<int>(course.loop.size());
  const double step = course.loop_length / n;
  std::vector<double> bed(n);
  for (int i = 0; i < n; ++i) bed[i] = land(course.loop[i].p.x, course.loop[i].p.y);
  bed = smooth_closed(bed, 30 / step);
  limit_grade(bed, max_grade * step, true);
  bed = smooth_closed(bed, 8 / step);
  for (int i = 0; i < n; ++i) course.loop[i].bed = bed[i];
}

// The start straight is laid almost level and meets the lap's bed exactly
// where it joins it.
void lay_start_bed(const LandFunction& land, SampledCourse& course) {
  const int n = static_cast<int>(course.start.size());
  if (n == 0) return;
  std::vector<double> bed(n);
  for (int i = 0; i < n; ++i) bed[i] = land(course.start[i].p.x, course.start[i].p.y);
  bed = smooth_open(bed, 40 / COURSE_STEP);
  limit_grade(bed, 0.05 * COURSE_STEP, false);
  // The gate stands on level ground: the first 60 feet are flat.
  double gate_bed = bed[static_cast<int>(30 / COURSE_STEP)];
  double target = course.loop[course.loop_index(course.merge_s)].bed;
  double length = course.start.back().s;
  for (int i = 0; i < n; ++i) {
    double s = course.start[i].s;
    double level = s < 30 ? gate_bed : bed[i];
    if (s >= 30) level = gate_bed + (bed[i] - gate_bed) * smoothstep((s - 30) / 40);
    course.start[i].bed = level + (target - level) * smoothstep((s - 0.45 * length) / (0.55 * length));
  }
}

// Shoulder width of each section: wide enough that the drop from the track
// edge to the land beside it is no steeper than `slope` at its steepest.
std::vector<double> shoulder_widths(const LandFunction& land, const std::vector<CourseSample>& path, bool closed,
                                    double step, double slope) {
  const int n = static_cast<int>(path.size());
  std::vector<double> width(n);
  for (int i = 0; i < n; ++i) {
    const CourseSample& c = path[i];
    double needed = MIN_SHOULDER;
    for (double side : {-1.0, 1.0}) {
      Vec2 edge = c.p + c.left() * (side * c.half_width);
      double drop = std::fabs(c.surface(side * c.half_width) - land(edge.x, edge.y));
      needed = std::max(needed, 1.5 * drop / slope);
    }
    width[i] = needed;
  }
  // Neighbouring sections must not disagree much, or the shoulder's foot
  // would zigzag along the track.
  int radius = static_cast<int>(10 / step);
  if (closed) {
    width = smooth_closed(dilate_closed(width, radius), radius / 2.0);
  } else {
    std::vector<double> wider(width);
    for (int i = 0; i < n; ++i)
      for (int k = std::max(0, i - radius); k <= std::min(n - 1, i + radius); ++k) wider[i] = std::max(wider[i], width[k]);
    width = smooth_open(wider, radius / 2.0);
  }
  return width;
}

// How far a point lies past either end of an open path, measured along
// the path's direction there (0 within it, and always 0 on a closed one).
double path_overrun(const std::vector<CourseSample>& path, bool closed, Vec2 point) {
  if (closed) return 0;
  const CourseSample& first = path.front();
  const CourseSample& last = path.back();
  double before = (first.p.x - point.x) * first.t.x + (first.p.y - point.y) * first.t.y;
  double after = (point.x - last.p.x) * last.t.x + (point.y - last.p.y) * last.t.y;
  return std::max({0.0, before, after});
}

struct Claim {
  double edge = std::numeric_limits<double>::infinity();
  int path = -1;  // 0 the lap, 1 the start straight
  int index = -1;
};

// Every vertex within reach of a section learns which section it lies
// closest to the edge of (most inside wins, so a wide start straight keeps
// its surface where it overlaps the lap).
void claim_vertices(const std::vector<CourseSample>& path, const std::vector<double>& shoulders, int path_id,
                    const Heightfield& ground, std::vector<Claim>& claims) {
  const double sp = ground.spacing;
  for (size_t k = 0; k < path.size(); ++k) {
    const CourseSample& c = path[k];
    double reach = c.half_width + shoulders[k];
    int i0 = std::max(0, static_cast<int>(std::floor((c.p.x - reach) / sp)));
    int i1 = std::min(ground.size - 1, static_cast<int>(std::ceil((c.p.x + reach) / sp)));
    int j0 = std::max(0, static_cast<int>(std::floor((c.p.y - reach) / sp)));
    int j1 = std::min(ground.size - 1, static_cast<int>(std::ceil((c.p.y + reach) / sp)));
    for (int j = j0; j <= j1; ++j)
      for (int i = i0; i <= i1; ++i) {
        double dx = i * sp - c.p.x, dz = j * sp - c.p.y;
        double dist = std::sqrt(dx * dx + dz * dz);
        if (dist > reach) continue;
        Claim& claim = claims[static_cast<size_t>(j) * ground.size + i];
        double edge = dist - c.half_width;
        double beyond = path_overrun(path, path_id == 0, {i * sp, j * sp});
        if (beyond > 0) edge = std::max(edge, beyond);
        if (edge < claim.edge) claim = {edge, path_id, static_cast<int>(k)};
      }
  }
}

// A section between sample k and its neighbour, weighted by how far along
// the track the point lies, so the surface has no steps between samples.
CourseSample blended_section(const std::vector<CourseSample>& path, const std::vector<double>& shoulders, int k,
                             bool closed, Vec2 point, double* shoulder) {
  const int n = static_cast<int>(path.size());
  const CourseSample& c = path[k];
  double along = (point.x - c.p.x) * c.t.x + (point.y - c.p.y) * c.t.y;
  int other = along >= 0 ? k + 1 : k - 1;
  if (closed) other = (other + n) % n;
  if (other < 0 || other >= n) {
    *shoulder = shoulders[k];
    return c;
  }
  const CourseSample& o = path[other];
  double gap = std::hypot(o.p.x - c.p.x, o.p.y - c.p.y);
  double f = std::clamp(std::fabs(along) / std::max(gap, 1e-9), 0.0, 1.0);
  CourseSample mixed = c;
  mixed.p = c.p + (o.p - c.p) * f;
  mixed.half_width += (o.half_width - c.half_width) * f;
  mixed.bed += (o.bed - c.bed) * f;
  mixed.profile += (o.profile - c.profile) * f;
  mixed.bank += (o.bank - c.bank) * f;
  *shoulder = shoulders[k] + (shoulders[other] - shoulders[k]) * f;
  return mixed;
}

// Rounds every height to the 16-bit samples of the terrain file and fixes
// the range the file states.
void quantise(Heightfield& ground) {
  // The range is printed with six decimals and read back by the game, so
  // whole feet keep the printed and the used values equal.
  ground.low = std::floor(ground.min_height());
  ground.high = std::max(ground.low + 1, std::ceil(ground.max_height()));
  for (double& h : ground.heights) {
    long sample = std::clamp(std::lround((h - ground.low) / (ground.high - ground.low) * 65535), 0L, 65535L);
    h = ground.low + sample * (ground.high - ground.low) / 65535;
  }
}

}  // namespace

Heightfield::Heightfield(int shift, double spacing_)
    : grid_shift(shift), size((2 << shift) + 1), spacing(spacing_), heights(static_cast<size_t>(size) * size, 0.0) {}

double Heightfield::at(int i, int j) const {
  i = std::clamp(i, 0, size - 1);
  j = std::clamp(j, 0, size - 1);
  return heights[static_cast<size_t>(j) * size + i];
}

double Heightfield::height_at(double x, double z) const {
  double u = x / spacing, v = z / spacing;
  int i = static_cast<int>(std::floor(u)), j = static_cast<int>(std::floor(v));
  double fu = u - i, fv = v - j;
  if ((i + j) % 2 != 0) {
    if (fu + fv <= 1) return at(i, j) + fu * (at(i + 1, j) - at(i, j)) + fv * (at(i, j + 1) - at(i, j));
    return at(i + 1, j + 1) + (1 - fu) * (at(i, j + 1) - at(i + 1, j + 1)) +
           (1 - fv) * (at(i + 1, j) - at(i + 1, j + 1));
  }
  if ((1 - fu) + fv <= 1)
    return at(i + 1, j) + (1 - fu) * (at(i, j) - at(i + 1, j)) + fv * (at(i + 1, j + 1) - at(i + 1, j));
  return at(i, j + 1) + fu * (at(i + 1, j + 1) - at(i, j + 1)) + (1 - fv) * (at(i, j) - at(i, j + 1));
}

Vec3 Heightfield::normal_at(double x, double z) const {
  double d = spacing;
  double dx = height_at(x + d, z) - height_at(x - d, z);
  double dz = height_at(x, z + d) - height_at(x, z - d);
  return normalized(Vec3{-dx, 2 * d, -dz});
}

double Heightfield::min_height() const { return *std::min_element(heights.begin(), heights.end()); }
double Heightfield::max_height() const { return *std::max_element(heights.begin(), heights.end()); }

ShapedGround shape_ground(const LandFunction& land, SampledCourse& course, const CourseDescription& description,
                          int grid_shift, double spacing) {
  ShapedGround shaped;
  Heightfield& ground = shaped.ground;
  ground = Heightfield(grid_shift, spacing);
  for (int j = 0; j < ground.size; ++j)
    for (int i = 0; i < ground.size; ++i) ground.at(i, j) = land(i * spacing, j * spacing);

  lay_loop_bed(land, course, description.max_grade);
  lay_start_bed(land, course);
  const double loop_step = course.loop_length / course.loop.size();
  const double slope = description.side_slope;
  std::vector<double> loop_shoulders = shoulder_widths(land, course.loop, true, loop_step, slope);
  std::vector<double> start_shoulders = shoulder_widths(land, course.start, false, COURSE_STEP, slope);

  std::vector<Claim> claims(ground.heights.size());
  claim_vertices(course.loop, loop_shoulders, 0, ground, claims);
  claim_vertices(course.start, start_shoulders, 1, ground, claims);

  shaped.cover.resize(ground.heights.size());
  for (int j = 0; j < ground.size; ++j)
    for (int i = 0; i < ground.size; ++i) {
      size_t v = static_cast<size_t>(j) * ground.size + i;
      const Claim& claim = claims[v];
      if (claim.path < 0) continue;
      bool closed = claim.path == 0;
      const std::vector<CourseSample>& path = closed ? course.loop : course.start;
      const std::vector<double>& shoulders = closed ? loop_shoulders : start_shoulders;
      Vec2 point{i * spacing, j * spacing};
      double shoulder = 0;
      CourseSample c = blended_section(path, shoulders, claim.index, closed, point, &shoulder);
      Vec2 left = c.left();
      double lateral = (point.x - c.p.x) * left.x + (point.y - c.p.y) * left.y;
      double edge = std::fabs(lateral) - c.half_width;
      // Beyond the ends of the start straight the ground falls back to the
      // land as it does beside the track.
      double beyond = path_overrun(path, closed, point);
      if (beyond > 0) edge = std::hypot(std::max(edge, 0.0), beyond);
      CourseCover& cover = shaped.cover[v];
      cover = {&path[claim.index], lateral, edge, shoulder};
      if (edge <= 0) {
        ground.at(i, j) = c.surface(lateral);
      } else {
        double rim = c.surface(lateral < 0 ? -c.half_width : c.half_width);
        double natural = ground.at(i, j);
        ground.at(i, j) = natural + (rim - natural) * (1 - smoothstep(edge / shoulder));
      }
    }

  quantise(ground);
  return shaped;
}

std::string terrain_file(const Heightfield& ground) {
  char header[160];
  std::snprintf(header, sizeof header, "%d %f %f %f\n:", ground.grid_shift, ground.spacing, ground.low, ground.high);
  std::string bytes = header;
  bytes.reserve(bytes.size() + ground.heights.size() * 2);
  for (double h : ground.heights) {
    long sample = std::clamp(std::lround((h - ground.low) / (ground.high - ground.low) * 65535), 0L, 65535L);
    bytes += static_cast<char>(sample & 0xFF);
    bytes += static_cast<char>(sample >> 8);
  }
  return bytes;
}

}  // namespace tracks
