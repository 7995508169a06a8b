// "Analyzing lines...": a first-lap table crowded with lines that cross
// each other loses the most tangled line and its worst one, two at a time,
// until at most 43 remain.
#include "autopilot/autopilot.h"
#include "autopilot/racing_lines.h"

namespace {

constexpr int CROWDED = 43;

// Which side of the line through a and b the point p lies on.
double side(const LineSample& a, const LineSample& b, const LineSample& p) {
  return (b.x - a.x) * static_cast<double>(p.z - a.z) - (b.z - a.z) * static_cast<double>(p.x - a.x);
}

bool segments_cross(const LineSample& a, const LineSample& b, const LineSample& c, const LineSample& d) {
  return side(a, b, c) * side(a, b, d) < 0 && side(c, d, a) * side(c, d, b) < 0;
}

bool lines_cross(const RacingLine& a, const RacingLine& b) {
  for (int i = 0; i + 1 < a.count(); ++i)
    for (int j = 0; j + 1 < b.count(); ++j)
      if (segments_cross(a.samples[i], a.samples[i + 1], b.samples[j], b.samples[j + 1])) return true;
  return false;
}

// The better of two equally tangled lines to give up: the later one wins
// when it is tested and faster on average (or the first is untested), or
// when both are untested and it was recorded faster.
bool later_goes_instead(const RacingLine& first, const RacingLine& later) {
  if (later.tested > 0) return first.tested == 0 || later.sum_2 / later.tested < first.sum_2 / first.tested;
  return first.tested == 0 && later.own_time_2 < first.own_time_2;
}

int most_tangled(const LineTable& table) {
  int crossings[LINES_PER_SECTION] = {};
  for (int a = 0; a < LINES_PER_SECTION; ++a)
    for (int b = a + 1; b < LINES_PER_SECTION; ++b)
      if (table.lines[a].count() >= 2 && table.lines[b].count() >= 2 && lines_cross(table.lines[a], table.lines[b])) {
        ++crossings[a];
        ++crossings[b];
      }
  int chosen = -1;
  for (int k = 0; k < LINES_PER_SECTION; ++k) {
    if (crossings[k] == 0) continue;
    if (chosen < 0 || crossings[k] > crossings[chosen] ||
        (crossings[k] == crossings[chosen] && later_goes_instead(table.lines[chosen], table.lines[k])))
      chosen = k;
  }
  return chosen;
}

}  // namespace

void prune_lines() {
  for (int t = 0; t < line_set.first_sections && t < static_cast<int>(line_set.tables.size()); ++t) {
    LineTable& table = line_set.tables[static_cast<size_t>(t)];
    while (line_count(table) > CROWDED) {
      const int tangled = most_tangled(table);
      if (tangled >= 0) clear_line(table.lines[tangled]);
      const int victim = eviction_victim(table);
      if (victim >= 0) clear_line(table.lines[victim]);
      if (tangled < 0 && victim < 0) break;
    }
  }
}
