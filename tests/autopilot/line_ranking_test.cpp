// Ranking lines by what robots learned of them: the score, which line a
// full table gives up for a new one, and the pruning of crowded tables.
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot_kit.h"

using namespace autopilot_kit;

namespace {

RacingLine stats(int32_t tested, int32_t sum_2, int32_t failures, int32_t own_time_2) {
  return line_through({{0, 0}, {0, -10}}, own_time_2, tested, sum_2, failures);
}

TEST(LineScore, AveragePlusFailurePenaltyOrOwnTimeWithMargin) {
  struct Case {
    int32_t tested, sum_2, failures, own_time_2;
    int64_t score;
  };
  const Case cases[] = {
      {4, 4000, 0, 9999, 1000},              // the average over two sections
      {3, 1000, 1, 9999, 333 + 640 / 4},     // integer average, penalty by share of failures
      {1, 500, 3, 9999, 500 + 640 * 3 / 4},
      {2, 2000, 2, 9999, 1000 + 320},
      {0, 0, 0, 1001, 1251},                 // untested: own time and a quarter
      {0, 0, 2, 800, 1000 + 640},            // one full penalty however many failures
      {0, 0, 1, 800, 1000 + 640},
      {0, 0, 0, NO_TIME, NO_TIME / 4 * 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tested << " " << c.sum_2 << " " << c.failures << " " << c.own_time_2);
    EXPECT_EQ(line_score(stats(c.tested, c.sum_2, c.failures, c.own_time_2)), c.score);
  }
}

// A line starting at (x, y, z) and heading -z, untested with this own time.
RacingLine starting_at(float x, float y, float z, int32_t own_time_2, int32_t tested = 0, int32_t sum_2 = 0,
                       int32_t failures = 0) {
  RacingLine l = line_through({{x, z}, {x, z - 10}}, own_time_2, tested, sum_2, failures);
  for (LineSample& s : l.samples) s.y = y;
  return l;
}

TEST(EvictionVictim, TheWorstLineGoesTiesToTheLowerSlot) {
  LineTable table;
  EXPECT_EQ(eviction_victim(table), -1);
  // All starting together (within 2 ft of another's start, counted in 3D).
  table.lines[2] = starting_at(0, 0, 0, 800);
  table.lines[5] = starting_at(1, 0, 0, 1000);
  table.lines[9] = starting_at(0, 1.5f, 0, 900);
  EXPECT_EQ(eviction_victim(table), 5);
  table.lines[3] = starting_at(0, 0, 1, 1000);  // as bad, in a lower slot
  EXPECT_EQ(eviction_victim(table), 3);
}

TEST(EvictionVictim, ALineStartingAloneIsFavoured) {
  struct Case {
    float x, y;          // the last line's start
    int32_t own_time_2;  // and its own time
    int victim;
  };
  const Case cases[] = {
      {100, 0, 1300, 0},     // alone: 1625 * 3/4 = 1218 < 1250
      {100, 0, 1400, 7},     // alone: 1750 * 3/4 = 1312 > 1250
      {0.5f, 1.0f, 1300, 7}, // 1.1 ft from the first line's start: shared, 1625
      {0.5f, 3.0f, 1300, 0}, // 3 ft above it: alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << " " << c.y << " " << c.own_time_2);
    LineTable table;
    table.lines[0] = starting_at(0, 0, 0, 1000);  // scores 1250
    table.lines[1] = starting_at(1.5f, 0, 0, 800);
    table.lines[7] = starting_at(c.x, c.y, 0, c.own_time_2);
    EXPECT_EQ(eviction_victim(table), c.victim);
  }
}

TEST(EvictionVictim, GoodLinesAreSparedWhileFewerThan23AreGood) {
  // Good lines (fewer failures than tests) with poor averages, and one
  // line that failed as often as it was tested but averages well.
  auto table_with_good = [](int good) {
    LineTable table;
    for (int k = 0; k < good; ++k) table.lines[k] = starting_at(0.05f * k, 0, 0, 9999, 2, 10000 + 100 * k, 1);
    table.lines[good] = starting_at(0, 0, 0.5f, 9999, 1, 800, 1);
    return table;
  };
  EXPECT_EQ(eviction_victim(table_with_good(1)), 1);
  EXPECT_EQ(eviction_victim(table_with_good(22)), 22);
  // With 23 good lines the worst good line may go.
  EXPECT_EQ(eviction_victim(table_with_good(23)), 22);

  // Only good lines, too few to give any up.
  LineTable only_good = table_with_good(5);
  clear_line(only_good.lines[5]);
  EXPECT_EQ(eviction_victim(only_good), -1);
}

class Pruning : public LineTablesTest {
 protected:
  // 45 lines: 43 parallel lines 1.5 ft apart heading -z (line `worst` the
  // slowest of them); in slot 43 a diagonal crossing all of them, or one
  // more parallel line, the second slowest; in slot 44 a slow line starting
  // far from the rest.
  static LineTable crowded(int worst, bool with_diagonal) {
    LineTable table;
    for (int k = 0; k < 43; ++k)
      table.lines[k] = line_through({{1.5f * k, 0}, {1.5f * k, -50}, {1.5f * k, -100}}, k == worst ? 1100 : 1000);
    if (with_diagonal) table.lines[43] = line_through({{-5, -10}, {35, -50}, {70, -90}}, 700);
    else table.lines[43] = line_through({{0.5f, 0}, {0.5f, -50}, {0.5f, -100}}, 1080);
    table.lines[44] = line_through({{-50, 0}, {-50, -50}, {-50, -100}}, 1400);  // 1750 * 3/4 = 1312
    return table;
  }
};

TEST_F(Pruning, TheMostTangledAndTheWorstLineGo) {
  line_set.tables[0] = crowded(17, true);
  line_set.tables[1] = crowded(17, true);
  line_set.tables[2] = crowded(17, true);  // a normal lap's tables stay as they are
  prune_lines();
  const LineTable& t = line_set.tables[0];
  EXPECT_EQ(line_count(t), 43);
  EXPECT_TRUE(t.lines[43].empty()) << "the diagonal";
  EXPECT_TRUE(t.lines[17].empty()) << "the worst line";
  EXPECT_FALSE(t.lines[44].empty()) << "the line starting alone";
  EXPECT_EQ(line_count(line_set.tables[1]), 43);
  EXPECT_EQ(line_count(line_set.tables[2]), 45);
}

TEST_F(Pruning, UntangledTablesLoseTheirWorstLinesDownTo43) {
  line_set.tables[0] = crowded(17, false);  // slot 43 is the second worst (1080)
  prune_lines();
  const LineTable& t = line_set.tables[0];
  EXPECT_EQ(line_count(t), 43);
  EXPECT_TRUE(t.lines[17].empty());
  EXPECT_TRUE(t.lines[43].empty());
  EXPECT_FALSE(t.lines[44].empty());

  // 43 lines are not crowded, tangled or not.
  line_set.tables[1] = crowded(17, true);
  clear_line(line_set.tables[1].lines[0]);
  clear_line(line_set.tables[1].lines[1]);
  prune_lines();
  EXPECT_EQ(line_count(line_set.tables[1]), 43);
  EXPECT_FALSE(line_set.tables[1].lines[43].empty());
}

}  // namespace
