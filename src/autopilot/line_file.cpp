// The lines file of a track and skill: "ct03 <sections>", then per table
// section the number of lines and each line's nine statistics and samples.
// Last-picked ticks and ids are not stored.
#include <cmath>
#include <cstdio>
#include <memory>

#include "autopilot/autopilot.h"
#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"
#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "data/safe_write.h"
#include "data/scanner.h"
#include "platform/base/log.h"
#include "platform/base/paths.h"
#include "race/race_session.h"

namespace {

// Longer paths are taken for damage: a section of 68 minutes.
constexpr int MOST_SAMPLES = 1 << 14;
constexpr int32_t MOST_SUM = 100000000;
constexpr int32_t MOST_COUNT = 65535;

// Brings a line read from a file into the ranges the scores assume.
void bring_into_range(RacingLine& l) {
  l.tested = std::max(l.tested, 0);
  l.failures = std::max(l.failures, 0);
  l.sum = std::max(l.sum, 0);
  l.sum_2 = std::max(l.sum_2, 0);
  for (int round = 0; round < 16 && (l.sum_2 > MOST_SUM || l.tested > MOST_COUNT || l.failures > MOST_COUNT); ++round) {
    const int32_t half = l.tested / 2;
    if (half > 0) {
      l.sum = half * (l.sum / l.tested);
      l.sum_2 = half * (l.sum_2 / l.tested);
      l.tested = half;
    }
    l.failures /= 2;
  }
  l.sum = std::min(l.sum, MOST_SUM);
  l.sum_2 = std::min(l.sum_2, MOST_SUM);
  l.tested = std::min(l.tested, MOST_COUNT);
  l.failures = std::min(l.failures, MOST_COUNT);
}

bool finite(const LineSample& s) {
  return std::isfinite(s.x) && std::isfinite(s.y) && std::isfinite(s.z) && std::isfinite(s.speed) && std::isfinite(s.roll);
}

// Reads one line into `line` (a scratch record when it is thrown away).
// False when the file is damaged here: reading stops.
bool read_line(DataFile* file, RacingLine& line) {
  int count = 0;
  RacingLine& l = line;
  int got = df_scanf(file, " %d %d %d %d %d %d %d %d %d ", &count, &l.own_time, &l.own_time_2, &l.tested, &l.best, &l.best_2,
                     &l.sum, &l.sum_2, &l.failures);
  if (got < 9 || count < 0 || count > MOST_SAMPLES) return false;
  for (int k = 0; k < count; ++k) {
    LineSample s;
    if (df_scanf(file, " [ %f %f %f ] %f %f ", &s.x, &s.y, &s.z, &s.speed, &s.roll) != 5 || !finite(s)) return false;
    l.samples.push_back(s);
  }
  return true;
}

void read_tables(DataFile* file) {
  RacingLine spare;
  for (size_t t = 0; t < line_set.tables.size(); ++t) {
    int lines = 0;
    if (df_scanf(file, " %d ", &lines) != 1) return;
    int kept = 0;
    for (int k = 0; k < lines; ++k) {
      RacingLine& line = k < LINES_PER_SECTION ? line_set.tables[t].lines[k] : spare;
      clear_line(line);
      if (!read_line(file, line)) {
        clear_line(line);
        return;
      }
      if (line.empty()) continue;
      bring_into_range(line);
      line.id = new_line_id();
      kept += &line != &spare;
    }
    clear_line(spare);
    if (run_settings.debug_level >= 1) voxa_log("%d: %d\n", static_cast<int>(t), kept);
  }
}

}  // namespace

void load_lines(const char* path, int skill) {
  size_line_tables();
  clear_lines();
  reset_rider_lines();
  line_set.skill = skill;
  line_set.path = path ? path : "";
  std::unique_ptr<DataFile, DataFileCloser> file(path ? df_open(path, "rb") : nullptr);
  if (!file) return;
  int sections = -1;
  if (df_scanf(file.get(), "ct03 %d ", &sections) != 1 || sections != static_cast<int>(line_set.tables.size())) return;
  read_tables(file.get());
}

std::string lines_file_text() {
  std::string text;
  char buffer[160];
  std::snprintf(buffer, sizeof buffer, "ct03 %d\n", static_cast<int>(line_set.tables.size()));
  text += buffer;
  for (const LineTable& table : line_set.tables) {
    std::snprintf(buffer, sizeof buffer, "%d\n", line_count(table));
    text += buffer;
    for (const RacingLine& l : table.lines) {
      if (l.empty()) continue;
      std::snprintf(buffer, sizeof buffer, "%d %d %d %d %d %d %d %d %d\n", l.count(), l.own_time, l.own_time_2, l.tested, l.best,
                    l.best_2, l.sum, l.sum_2, l.failures);
      text += buffer;
      for (const LineSample& s : l.samples) {
        std::snprintf(buffer, sizeof buffer, "[%f %f %f] %f %f\n", s.x, s.y, s.z, s.speed, s.roll);
        text += buffer;
      }
    }
  }
  return text;
}

void save_lines() {
  if (!race.learning || line_set.skill < 0 || line_set.path.size() < 2 || line_set.path[0] != '@') return;
  const std::string home = home_folder();
  if (home.empty()) return;
  const std::string path = home + line_set.path.substr(1);
  // A file that cannot be written is skipped; the previous copy stays.
  if (!make_folders(path.substr(0, path.rfind('/')))) return;
  write_file_safely(path, lines_file_text());
}
