#include "autopilot/racing_lines.h"

#include <algorithm>

#include "autopilot/line_sections.h"

LineSet line_set;

namespace {

// Room kept in every slot: the path of a 32-second section.
constexpr size_t SLOT_ROOM = 128;
constexpr int GOOD_LINES_SPARED = 23;
constexpr float SAME_START = 2;  // ft

int32_t id_counter = 0;

float distance_squared(const LineSample& a, const LineSample& b) {
  float dx = a.x - b.x, dy = a.y - b.y, dz = a.z - b.z;
  return dx * dx + dy * dy + dz * dz;
}

}  // namespace

void clear_line(RacingLine& line) {
  std::vector<LineSample> samples = std::move(line.samples);
  samples.clear();
  line = RacingLine{};
  line.samples = std::move(samples);  // keeps its room
}

void size_line_tables() {
  index_sections();
  const size_t wanted = static_cast<size_t>(first_lap_sections() + normal_lap_sections());
  if (line_set.tables.size() != wanted) {
    line_set.tables.clear();
    line_set.tables.resize(wanted);
  }
  line_set.first_sections = first_lap_sections();
  line_set.normal_sections = normal_lap_sections();
  for (LineTable& table : line_set.tables)
    for (RacingLine& line : table.lines) line.samples.reserve(SLOT_ROOM);
}

int32_t new_line_id() { return ++id_counter; }

RacingLine* find_line(int table, int32_t id) {
  if (id == 0 || table < 0 || table >= static_cast<int>(line_set.tables.size())) return nullptr;
  for (RacingLine& line : line_set.tables[static_cast<size_t>(table)].lines)
    if (line.id == id && !line.empty()) return &line;
  return nullptr;
}

int64_t line_score(const RacingLine& line) {
  const int64_t tested = std::max(line.tested, 0), failures = std::max(line.failures, 0);
  if (tested > 0) return line.sum_2 / tested + FIVE_SECONDS * failures / (tested + failures);
  return static_cast<int64_t>(line.own_time_2) * 5 / 4 + (failures >= 1 ? FIVE_SECONDS : 0);
}

int line_count(const LineTable& table) {
  int n = 0;
  for (const RacingLine& line : table.lines) n += !line.empty();
  return n;
}

int eviction_victim(const LineTable& table) {
  int64_t score[LINES_PER_SECTION];
  int good = 0;
  for (int k = 0; k < LINES_PER_SECTION; ++k) {
    const RacingLine& line = table.lines[k];
    if (line.empty()) continue;
    score[k] = line_score(line);
    bool shared_start = false;
    for (int j = 0; j < LINES_PER_SECTION && !shared_start; ++j)
      shared_start = j != k && !table.lines[j].empty() &&
                     distance_squared(table.lines[j].samples[0], line.samples[0]) <= SAME_START * SAME_START;
    if (!shared_start) score[k] = score[k] * 3 / 4;
    good += line.failures < line.tested;
  }
  const bool spare_good = good < GOOD_LINES_SPARED;
  int victim = -1;
  for (int k = 0; k < LINES_PER_SECTION; ++k) {
    const RacingLine& line = table.lines[k];
    if (line.empty() || (spare_good && line.failures < line.tested)) continue;
    if (victim < 0 || score[k] > score[victim]) victim = k;
  }
  return victim;
}
