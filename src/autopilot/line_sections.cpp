#include "autopilot/line_sections.h"

#include <vector>

#include "track/timing_gates.h"
#include "track/track.h"

namespace {

// Boundaries among the first k entries of each lap.
std::vector<int> first_before, normal_before;

bool boundary_entry(int32_t entry) { return entry < GATE_NO_SEGMENT; }

}  // namespace

void index_sections() {
  first_before.assign(1, 0);
  normal_before.assign(1, 0);
  if (track().timing.lap_sequence.empty() || track().timing.first_lap_count <= 0 || track().timing.normal_lap_count <= 0) return;
  for (int k = 0; k < track().timing.first_lap_count; ++k) first_before.push_back(first_before.back() + boundary_entry(track().timing.lap_sequence[static_cast<size_t>(k)]));
  for (int k = 0; k < track().timing.normal_lap_count; ++k)
    normal_before.push_back(normal_before.back() + boundary_entry(track().timing.lap_sequence[static_cast<size_t>(track().timing.first_lap_count + k)]));
}

int first_lap_sections() { return first_before.empty() ? 0 : first_before.back(); }
int normal_lap_sections() { return normal_before.empty() ? 0 : normal_before.back(); }

bool is_section_boundary(int position) {
  return position >= 0 && !track().timing.lap_sequence.empty() && boundary_entry(sequence_entry(position));
}

int section_index(int position) {
  if (position <= 0 || first_before.size() < 2 || normal_before.size() < 2) return 0;
  const int f = track().timing.first_lap_count, n = track().timing.normal_lap_count;
  if (position <= f) return first_before[static_cast<size_t>(position)];
  const int past = position - f;
  return first_lap_sections() + (past / n) * normal_lap_sections() + normal_before[static_cast<size_t>(past % n)];
}

int section_table(int section) {
  const int s1 = first_lap_sections(), s2 = normal_lap_sections();
  if (section < 0 || s1 + s2 == 0) return -1;
  if (section < s1) return section;
  if (s2 == 0) return -1;
  return s1 + (section - s1) % s2;
}

int previous_boundary(int position) {
  for (int p = position - 1; p >= 0; --p)
    if (is_section_boundary(p)) return p;
  return -1;
}
