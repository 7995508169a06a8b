#include "autopilot/robot_path.h"

#include <algorithm>
#include <cmath>

#include "core/race_clock.h"
#include "physics/bike.h"

namespace {

constexpr int JOIN_SAMPLES = 5;
constexpr double JOIN_REACH = 20;      // ft: wider gaps are not smoothed
constexpr double BACKWARDS_REACH = 4;  // ft: closer than this the target moves on anyway
constexpr double SHORTEST_SEGMENT = 1; // ft

double smoothstep(double t) { return t * t * (3 - 2 * t); }

// Notes that the path holds `section`'s line from sample `start` on,
// forgetting the oldest note when all are taken.
void note_section(RiderLines& r, int start, int section) {
  if (r.section_count == RiderLines::KEPT_SECTIONS) {
    std::copy(r.sections + 1, r.sections + RiderLines::KEPT_SECTIONS, r.sections);
    --r.section_count;
  }
  r.sections[r.section_count++] = {start, section};
}

}  // namespace

void clear_path(RiderLines& r) {
  r.path.clear();
  r.target = 0;
  r.along = 0;
  r.section_count = 0;
}

RiddenSection ridden_section(const RiderLines& r) {
  for (int k = r.section_count - 1; k >= 0; --k)
    if (r.sections[k].start <= r.along) return {r.sections[k].section, r.along - r.sections[k].start};
  return {};
}

void append_line(RiderLines& r, const LineSample* line, int count, int section) {
  std::vector<LineSample>& path = r.path;
  if (r.target > KEPT_BEHIND_TARGET) {
    const int dropped = r.target - KEPT_BEHIND_TARGET;
    path.erase(path.begin(), path.begin() + dropped);
    r.target = KEPT_BEHIND_TARGET;
    r.along = std::max(0.0, r.along - dropped);
    for (int k = 0; k < r.section_count; ++k) r.sections[k].start = std::max(r.sections[k].start - dropped, 0);
  }
  const int old = static_cast<int>(path.size());
  path.insert(path.end(), line, line + count);
  note_section(r, old, section);
  if (old < 2 || count == 0) return;
  // Where the old path was heading against where the line starts: a small
  // gap is closed gradually over the old path's last samples. (A line far
  // away, after a section without lines, is simply headed for.)
  const LineSample &last = path[static_cast<size_t>(old) - 1], &before = path[static_cast<size_t>(old) - 2];
  const double gap_x = line[0].x - (2.0 * last.x - before.x), gap_z = line[0].z - (2.0 * last.z - before.z);
  if (gap_x * gap_x + gap_z * gap_z > JOIN_REACH * JOIN_REACH) return;
  for (int k = 1; k <= JOIN_SAMPLES; ++k) {
    const int index = old - 1 - JOIN_SAMPLES + k;
    if (index < 0) continue;
    const double share = smoothstep(static_cast<double>(k) / (JOIN_SAMPLES + 1));
    path[static_cast<size_t>(index)].x += static_cast<float>(gap_x * share);
    path[static_cast<size_t>(index)].z += static_cast<float>(gap_z * share);
  }
}

void advance_target(const Bike& b, RiderLines& r) {
  if (r.path.empty()) return;
  const Vec3 at = body_position(b.frame);
  const LineSample& p = r.path[static_cast<size_t>(r.target)];
  const double dx = p.x - at.x, dz = p.z - at.z;
  const double reach = r.recovery >= RECOVERING ? RECOVERY_LOOK_AHEAD : LOOK_AHEAD;
  const double distance = std::hypot(dx, dz);
  if (distance >= reach) return;
  if (distance > BACKWARDS_REACH && r.target > 0) {
    const LineSample& q = r.path[static_cast<size_t>(r.target) - 1];
    const double sx = p.x - q.x, sz = p.z - q.z;
    const Vec3 forward = -body_axis(b.frame, 2);
    if (std::hypot(sx, sz) > SHORTEST_SEGMENT && sx * forward.x + sz * forward.z < 0) return;
  }
  ++r.target;
  r.last_advance = race_clock;
  if (r.recovery > 0) --r.recovery;
  if (r.target >= static_cast<int>(r.path.size())) clear_path(r);
}

double project_on_path(const Bike& b, const RiderLines& r) {
  const int n = static_cast<int>(r.path.size());
  if (n < 2) return 0;
  const Vec3 at = body_position(b.frame);
  const int from = std::clamp(static_cast<int>(r.along) - 1, 0, n - 2);
  const int to = std::clamp(std::max(r.target, from + 1), 1, n - 1);
  double best_distance = 1e30, best = r.along;
  for (int k = from; k < to; ++k) {
    const LineSample &p = r.path[static_cast<size_t>(k)], &q = r.path[static_cast<size_t>(k) + 1];
    const double sx = q.x - p.x, sz = q.z - p.z, ax = at.x - p.x, az = at.z - p.z;
    const double l2 = sx * sx + sz * sz;
    const double t = l2 > 0 ? std::clamp((ax * sx + az * sz) / l2, 0.0, 1.0) : 1.0;
    const double ex = ax - t * sx, ez = az - t * sz;
    const double d = ex * ex + ez * ez;
    if (d < best_distance) {
      best_distance = d;
      best = k + t;
    }
  }
  return best;
}

LineSample path_point(const std::vector<LineSample>& path, double along) {
  const int n = static_cast<int>(path.size());
  if (n == 0) return LineSample{};
  along = std::clamp(along, 0.0, static_cast<double>(n - 1));
  const int k = std::min(static_cast<int>(along), n - 2 < 0 ? 0 : n - 2);
  if (n == 1) return path[0];
  const float t = static_cast<float>(along - k);
  const LineSample &p = path[static_cast<size_t>(k)], &q = path[static_cast<size_t>(k) + 1];
  auto mix = [t](float a, float b) { return a + (b - a) * t; };
  return {mix(p.x, q.x), mix(p.y, q.y), mix(p.z, q.z), mix(std::fabs(p.speed), std::fabs(q.speed)), mix(p.roll, q.roll)};
}
