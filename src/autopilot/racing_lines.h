// The racing lines of the loaded track: per track section a table of up to
// 45 recorded paths with the statistics robots gathered riding them, the
// whole-lap plans made from them, and the rules that rank them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One point of a path, every 32 ticks: the frame body's position, its
// speed (negative while neither wheel touches the ground) and roll.
struct LineSample {
  float x, y, z;
  float speed;
  float roll;
};

constexpr int LINES_PER_SECTION = 45;
constexpr int SAMPLE_TICKS = 32;
constexpr int32_t NO_TIME = 1000000;           // a time not yet known
constexpr int32_t FIVE_SECONDS = 5 * 128;      // ticks
constexpr int32_t LONG_AGO = -1000000;         // a last-picked tick that never blocks
constexpr int PLAN_TYPES = 3;

struct RacingLine {
  std::vector<LineSample> samples;  // empty: a free slot
  int32_t own_time = NO_TIME;   // as recorded: over its section
  int32_t own_time_2 = NO_TIME; // as recorded: over its section and the next
  int32_t tested = 0;           // robots that rode it to its end
  int32_t best = NO_TIME, best_2 = NO_TIME;
  int32_t sum = 0, sum_2 = 0;   // of the tested times
  int32_t failures = 0;
  int32_t last_picked = 0;      // tick
  int32_t id = 0;

  int count() const { return static_cast<int>(samples.size()); }
  bool empty() const { return samples.empty(); }
};

struct LineTable {
  RacingLine lines[LINES_PER_SECTION];
};

// The tables of the loaded track and skill. Tables 0 .. first_sections - 1
// belong to the first lap's sections, the rest to a normal lap's.
struct LineSet {
  std::vector<LineTable> tables;
  int first_sections = 0, normal_sections = 0;
  int skill = -1;  // the skill the set was loaded for; -1 = none
  std::string path;  // its lines file ("@track/lines_...")
  std::vector<int32_t> plans[PLAN_TYPES];  // line id per table, 0 = none
  double predicted_first_lap = 0, predicted_normal_lap = 0;  // seconds
};

extern LineSet line_set;

// Sizes the tables for the loaded track's sections (emptying them when the
// count changes) and gives every slot room for a typical section's path,
// so that recording a line while racing needs no allocation.
void size_line_tables();

// Empties one slot.
void clear_line(RacingLine& line);

// A fresh id for a line created or read.
int32_t new_line_id();

// The line with this id in a table; null when it is gone.
RacingLine* find_line(int table, int32_t id);

// Lower is better: the average over two sections plus a failure penalty,
// or for an untested line its own time with a margin.
int64_t line_score(const RacingLine& line);

// The slot a new line should take when the table is full: the worst line,
// sparing good lines while fewer than 23 are good and favouring lines
// that start where no other does. -1 when none qualifies.
int eviction_victim(const LineTable& table);

// Lines in a table (non-empty slots).
int line_count(const LineTable& table);
