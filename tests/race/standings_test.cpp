// Standings, cutting penalties and "results.txt", from hand-made crossing
// logs on a course whose every lap has six gates.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/results_file.h"
#include "race/standings.h"
#include "race_kit.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

using Log = std::vector<int32_t>;

constexpr int32_t SECOND = TICKS_PER_SECOND;

class Standings : public race_kit::HandTimedRace {
 protected:
  // A rider whose log is given: progress up to its end.
  Bike& rider(int slot, const Log& log) {
    Bike& b = *bike_in_slot(slot);
    b.crossing_ticks = log;
    b.gates_passed = static_cast<int>(log.size());
    return b;
  }
  // Six crossings `step` apart from `from`.
  static Log lap(int32_t from, int32_t step) {
    Log l;
    for (int k = 0; k < 6; ++k) l.push_back(from + k * step);
    return l;
  }
  static Log join(std::initializer_list<Log> parts) {
    Log all;
    for (const Log& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  }
  StandingsEntry entry_for(const Bike& b) {
    int32_t last = b.gates_passed > 0 ? crossing_tick(b, b.gates_passed - 1) : 0;
    return {b.slot, b.gates_passed, last};
  }
};

TEST_F(Standings, OrderIsGatesThenEarlierCrossingThenSlot) {
  rider(0, {10, 20});
  rider(1, {10, 20, 30});
  rider(2, {10, 19});
  rider(3, {10, 20});
  update_standings();
  ASSERT_EQ(race.results.standings_count, 4);
  int order[4];
  for (int k = 0; k < 4; ++k) order[k] = race.results.standings[k].slot;
  EXPECT_EQ(std::vector<int>(order, order + 4), (std::vector<int>{1, 2, 0, 3}));
  EXPECT_EQ(race.results.standings[0].last_tick, 30);
}

TEST_F(Standings, StretchReferenceAveragesCleanRidesOfTheField) {
  rider(0, join({lap(0, 10 * SECOND), lap(60 * SECOND, 12 * SECOND)}));  // clean
  rider(1, join({lap(0, 11 * SECOND), lap(66 * SECOND, 11 * SECOND)}));  // clean
  rider(2, {0, 5 * SECOND, -1, 30 * SECOND});                             // cut through 2
  update_standings();
  // First lap: riders 0 and 1 over positions 1 to 3, 20 s and 22 s.
  EXPECT_EQ(stretch_reference(1, 3), 21 * SECOND);
  // A later lap's stretch: every normal lap each rider rode it cleanly.
  EXPECT_EQ(stretch_reference(14, 16), (24 * SECOND + 22 * SECOND) / 2);
  // From the reset (position -1) to the first gate.
  EXPECT_EQ(stretch_reference(-1, 0), 0);
  free_slot(0);
  free_slot(1);
  update_standings();
  // Nobody rode it cleanly: a minute.
  EXPECT_EQ(stretch_reference(1, 3), 60 * SECOND);
}

TEST_F(Standings, CuttingCostsTimeAndLongPenaltiesCostWholeLaps) {
  struct Case {
    const char* what;
    Log log;
    int32_t added;  // ticks added to the last crossing
    int laps_taken;
  } cases[] = {
      // The field's clean time over 1..3 is 20 s; with 1 s more, 21 s against the 8 s taken.
      {"time", {0, 2 * SECOND, -1, 10 * SECOND, 12 * SECOND, 14 * SECOND}, 13 * SECOND, 0},
      {"slower than the field: no charge", {0, 2 * SECOND, -1, 40 * SECOND, 42 * SECOND, 44 * SECOND}, 0, 0},
      // Gate 1 cut on laps 2 to 4, a stretch nobody rode cleanly: 61 s
      // against 2 s each time, 177 s in all. The best lap (lap 3, 12 s) is
      // shorter: laps go while the penalty exceeds it, down to the first
      // lap and no further, 3 x 12 s; 141 s stay as time.
      {"laps",
       join({lap(0, SECOND), {10 * SECOND, -1, 12 * SECOND, 14 * SECOND, 16 * SECOND, 18 * SECOND},
             {22 * SECOND, -1, 24 * SECOND, 26 * SECOND, 28 * SECOND, 30 * SECOND},
             {34 * SECOND, -1, 36 * SECOND, 38 * SECOND, 40 * SECOND, 42 * SECOND}}),
       141 * SECOND, 3},
  };
  rider(0, lap(0, 10 * SECOND));  // the field: one clean lap
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    free_slot(1);
    Bike& b = rider(1, c.log);
    update_standings();
    StandingsEntry e = entry_for(b);
    const StandingsEntry before = e;
    apply_cutting_penalty(e, b);
    EXPECT_EQ(e.gates_passed, before.gates_passed - 6 * c.laps_taken);
    EXPECT_EQ(e.last_tick - before.last_tick, c.added);
  }
}

TEST_F(Standings, ResultsFileListsFinishersWithTimesAndCrossings) {
  track().name = "flats";
  race.race_laps = race.finish_lap = 2;
  race.gate_drop_tick = 100;
  auto at = [](int seconds) { return 100 + seconds * SECOND; };
  Bike& a = *bike_in_slot(0);
  Bike& b = *bike_in_slot(3);
  std::strcpy(b.number, "123");
  // a: laps of 60 s and 50 s. b: 11 s a gate, through gate 2 of lap 2
  // without touching it: it took 22 s over 7..9 where a took 20 s, so no
  // time is added. The crossings happen in the order of their times.
  struct Crossing {
    int seconds;
    Bike* bike;
    int gate;
  };
  std::vector<Crossing> crossings;
  const int a_times[12] = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 105, 110};
  for (int k = 0; k < 12; ++k) crossings.push_back({a_times[k], &a, k % 6});
  for (int k = 0; k < 12; ++k)
    if (k != 8) crossings.push_back({11 * (k + 1), &b, k % 6});
  std::stable_sort(crossings.begin(), crossings.end(), [](const Crossing& x, const Crossing& y) { return x.seconds < y.seconds; });
  for (const Crossing& c : crossings) cross(*c.bike, c.gate, at(c.seconds));
  ASSERT_TRUE(race.results.results_final);
  std::string text = testkit::read_file(home_folder() + "results.txt");
  std::vector<std::string> lines;
  for (size_t from = 0, end; (end = text.find("\r\n", from)) != std::string::npos; from = end + 2)
    lines.push_back(text.substr(from, end - from));
  ASSERT_EQ(lines.size(), 12u) << text;
  EXPECT_EQ(lines[0].substr(0, lines[0].find("Date=")), "Time=0.00|Laps=2|Track=flats|");
  EXPECT_EQ(lines[1], " No. |         Bike | Laps | Total Time | BLap |  Best Time");
  EXPECT_EQ(lines[2], "  10 | crf250(2009) |    2 |   1:50.000 |    2 |   0:50.000");
  EXPECT_EQ(lines[3], " 123 | crf250(2009) |    2 |   2:12.000 |    2 |   1:06.000");
  EXPECT_EQ(lines[4], "");
  EXPECT_EQ(lines[5], "12");
  EXPECT_EQ(lines[6], "  10.000   20.000   30.000   40.000   50.000   60.000");
  EXPECT_EQ(lines[7], "  70.000   80.000   90.000  100.000  105.000  110.000");
  EXPECT_EQ(lines[8], "");
  EXPECT_EQ(lines[11], "  77.000   88.000       -1  110.000  121.000  132.000");
}

}  // namespace
