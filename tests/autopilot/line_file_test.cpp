// The lines file: what is written reads back the same, damaged files keep
// what came before the damage, statistics are brought into range, and
// saving never spoils the copy already there.
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot_kit.h"
#include "core/run_settings.h"
#include "data/safe_write.h"
#include "race/race_session.h"

using namespace autopilot_kit;

namespace {

// A line entry of a file with two samples; `tag` is its own time and marks
// its first sample, so that a test can tell which entries were kept.
std::string entry(int tag) {
  return "2 " + std::to_string(tag) + " 900 0 1000000 1000000 0 0 0\n[" + std::to_string(tag) + ".000000 1.500000 -2.250000] 30.500000 0.125000\n[" +
         std::to_string(tag) + ".000000 1.500000 -12.250000] -31.000000 -0.250000\n";
}

// The own times of a table's slots, 0 for an empty slot, without the
// empty slots at the end.
std::vector<int> tags(int table) {
  std::vector<int> out;
  for (const RacingLine& l : line_set.tables[static_cast<size_t>(table)].lines) out.push_back(l.empty() ? 0 : l.own_time);
  while (!out.empty() && out.back() == 0) out.pop_back();
  return out;
}

class LineFile : public LineTablesTest {
 protected:
  void SetUp() override {
    LineTablesTest::SetUp();
    dir = testkit::scratch_dir();
  }

  // Loads the text as a lines file of skill 1.
  void load_text(const std::string& text) {
    testkit::write_file(dir + "lines", text);
    load_lines((dir + "lines").c_str(), 1);
  }

  std::string dir;
};

TEST_F(LineFile, WrittenTablesReadBackTheSame) {
  ASSERT_EQ(line_set.tables.size(), 4u);
  RacingLine a = line_through({{1.5f, -2.25f}, {3.0f, -12.5f}, {4.75f, -22.0f}}, 1200, 7, 8400, 2);
  a.own_time = 610;
  a.best = 1150;
  a.best_2 = 1180;
  a.sum = 4300;
  a.samples[1].speed = -28.5f;  // airborne
  a.samples[2].roll = -0.375f;
  a.samples[0].y = 12.125f;
  RacingLine b = line_through({{-40, 8}, {-41, -2}}, 1500);
  RacingLine c = line_through({{250, 250}, {260, 250}}, 700, 1, 700, 0);
  line_set.tables[0].lines[0] = a;
  line_set.tables[0].lines[1] = b;
  line_set.tables[3].lines[17] = c;  // a slot after gaps
  const std::string text = lines_file_text();
  EXPECT_EQ(text.rfind("ct03 4\n2\n", 0), 0u) << text;

  load_text(text);
  EXPECT_EQ(line_set.skill, 1);
  EXPECT_EQ(tags(0), (std::vector<int>{610, 750}));
  EXPECT_EQ(tags(1), std::vector<int>{});
  EXPECT_EQ(tags(2), std::vector<int>{});
  EXPECT_EQ(tags(3), std::vector<int>{350});  // the gaps close up
  const RacingLine& r = line_set.tables[0].lines[0];
  EXPECT_EQ(r.own_time_2, 1200);
  EXPECT_EQ(r.tested, 7);
  EXPECT_EQ(r.best, 1150);
  EXPECT_EQ(r.best_2, 1180);
  EXPECT_EQ(r.sum, 4300);
  EXPECT_EQ(r.sum_2, 8400);
  EXPECT_EQ(r.failures, 2);
  ASSERT_EQ(r.count(), 3);
  for (int k = 0; k < 3; ++k) {
    const LineSample &got = r.samples[static_cast<size_t>(k)], &want = a.samples[static_cast<size_t>(k)];
    EXPECT_EQ(got.x, want.x) << k;
    EXPECT_EQ(got.y, want.y) << k;
    EXPECT_EQ(got.z, want.z) << k;
    EXPECT_EQ(got.speed, want.speed) << k;
    EXPECT_EQ(got.roll, want.roll) << k;
  }
  // Every line read gets an id of its own.
  std::set<int32_t> ids;
  for (int t : {0, 3})
    for (const RacingLine& l : line_set.tables[static_cast<size_t>(t)].lines)
      if (!l.empty()) {
        EXPECT_NE(l.id, 0);
        ids.insert(l.id);
        EXPECT_EQ(find_line(t, l.id), &l);
      }
  EXPECT_EQ(ids.size(), 3u);
  // Written again, the text is the same.
  EXPECT_EQ(lines_file_text(), text);
}

TEST_F(LineFile, DamageKeepsWhatCameBeforeIt) {
  const std::string whole = "ct03 4\n2\n" + entry(1) + entry(2) + "1\n" + entry(3) + "0\n1\n" + entry(4);
  struct Case {
    const char* what;
    std::string text;
    std::vector<std::vector<int>> tables;
  };
  const std::vector<Case> cases = {
      {"an undamaged file", whole, {{1, 2}, {3}, {}, {4}}},
      {"fewer sections than the track", "ct03 3\n2\n" + entry(1) + entry(2) + "1\n" + entry(3) + "0\n", {{}, {}, {}, {}}},
      {"more sections than the track", "ct03 5\n2\n" + entry(1) + entry(2) + "1\n" + entry(3) + "0\n1\n" + entry(4) + "0\n",
       {{}, {}, {}, {}}},
      {"another format", "ct02 4\n2\n" + entry(1) + entry(2) + "1\n" + entry(3) + "0\n1\n" + entry(4), {{}, {}, {}, {}}},
      {"a line with eight statistics", "ct03 4\n2\n" + entry(1) + "2 2 900 0 1000000 1000000 0 0\n[2 0 0] 30 0\n[2 0 -10] 30 0\n1\n" + entry(3),
       {{1}, {}, {}, {}}},
      {"a sample that does not read", "ct03 4\n2\n" + entry(1) + "2 2 900 0 1000000 1000000 0 0 0\n[2 0 0] 30 0\n[2 0 x] 30 0\n1\n" + entry(3),
       {{1}, {}, {}, {}}},
      {"a file ending inside a line", "ct03 4\n2\n" + entry(1) + "3 2 900 0 1000000 1000000 0 0 0\n[2 0 0] 30 0\n[2 0 -10] 30 0\n",
       {{1}, {}, {}, {}}},
      {"a file ending before a table's last line", "ct03 4\n2\n" + entry(1) + entry(2) + "2\n" + entry(3), {{1, 2}, {3}, {}, {}}},
      {"a missing line count", "ct03 4\n2\n" + entry(1) + entry(2) + "x\n" + entry(3), {{1, 2}, {}, {}, {}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // What an earlier load left must not survive.
    load_text(whole);
    load_text(c.text);
    for (size_t t = 0; t < 4; ++t) EXPECT_EQ(tags(static_cast<int>(t)), c.tables[t]) << "table " << t;
  }
}

TEST_F(LineFile, AFailedLineLeavesItsSlotEmpty) {
  load_text("ct03 4\n2\n" + entry(1) + "2 2 900 0 1000000 1000000 0 0 0\n[2 0 0] 30 0\n[2 0 x] 30 0\n");
  const RacingLine& failed = line_set.tables[0].lines[1];
  EXPECT_TRUE(failed.empty());
  EXPECT_EQ(failed.own_time, NO_TIME);
  EXPECT_EQ(failed.id, 0);
  EXPECT_EQ(line_count(line_set.tables[0]), 1);
}

TEST_F(LineFile, LinesBeyondATablesRoomAreReadAndDropped) {
  std::string text = "ct03 4\n50\n";
  for (int k = 1; k <= 50; ++k) text += entry(k);
  text += "1\n" + entry(100) + "0\n1\n" + entry(200);
  load_text(text);
  std::vector<int> first45;
  for (int k = 1; k <= 45; ++k) first45.push_back(k);
  EXPECT_EQ(tags(0), first45);
  // The five dropped lines were read past: the next tables are whole.
  EXPECT_EQ(tags(1), std::vector<int>{100});
  EXPECT_EQ(tags(2), std::vector<int>{});
  EXPECT_EQ(tags(3), std::vector<int>{200});
}

TEST_F(LineFile, StatisticsAreBroughtIntoRange) {
  struct Case {
    int tested, sum, sum_2, failures;  // as in the file
    int want_tested, want_sum, want_sum_2, want_failures;
  };
  const Case cases[] = {
      {10, 1000, 2000, 3, 10, 1000, 2000, 3},  // already in range
      // Sum 2 too large: one halving of the tested count, failures halve too.
      {10, 50000000, 150000000, 3, 5, 25000000, 75000000, 1},
      // Tested too large: halved twice, the sums kept as averages.
      {200000, 1000000, 2000000, 0, 50000, 250000, 500000, 0},
      // Too many failures of an untested line: halved four times.
      {0, 0, 0, 1000000, 0, 0, 0, 62500},
      // A single test cannot be halved: sixteen rounds, then the cap.
      {1, 5000, 2000000000, 0, 1, 5000, 100000000, 0},
      {2, 4000, 2000000000, 9, 1, 2000, 100000000, 0},
      // Only sum 2 starts the halving; a large sum is capped.
      {4, 2000000000, 4000, 0, 4, 100000000, 4000, 0},
      // Halving stops once everything is in range, not at the cap.
      {70000, 700000, 1400000, 70000, 35000, 350000, 700000, 35000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.tested << " " << c.sum << " " << c.sum_2 << " " << c.failures);
    load_text("ct03 4\n1\n2 500 1000 " + std::to_string(c.tested) + " 400 800 " + std::to_string(c.sum) + " " +
              std::to_string(c.sum_2) + " " + std::to_string(c.failures) + "\n[0 0 0] 30 0\n[0 0 -10] 30 0\n0\n0\n0\n");
    const RacingLine& l = line_set.tables[0].lines[0];
    ASSERT_FALSE(l.empty());
    EXPECT_EQ(l.tested, c.want_tested);
    EXPECT_EQ(l.sum, c.want_sum);
    EXPECT_EQ(l.sum_2, c.want_sum_2);
    EXPECT_EQ(l.failures, c.want_failures);
    EXPECT_EQ(l.own_time, 500);
    EXPECT_EQ(l.best_2, 800);
  }
}

class SavedLines : public LineTablesTest {
 protected:
  void SetUp() override {
    LineTablesTest::SetUp();
    folders = std::make_unique<testkit::DataFolders>();
    load_lines("@flats/lines_2", 2);  // no file yet: empty tables
    file = folders->home + "flats/lines_2";
  }
  void TearDown() override {
    folders.reset();
    LineTablesTest::TearDown();
  }

  std::unique_ptr<testkit::DataFolders> folders;
  std::string file;
};

TEST_F(SavedLines, SaveWritesTheTablesToTheHomeFolder) {
  ASSERT_EQ(line_set.path, "@flats/lines_2");
  line_set.tables[1].lines[4] = line_through({{5, 5}, {5, -5}, {6, -15}}, 1100, 3, 3000, 1);
  save_lines();
  ASSERT_TRUE(testkit::file_exists(file));
  EXPECT_EQ(testkit::read_file(file), lines_file_text());
  // Only the file itself: the temporary copy was renamed over it.
  int files = 0;
  for (const auto& e : std::filesystem::directory_iterator(folders->home + "flats")) {
    ++files;
    EXPECT_EQ(e.path().filename(), "lines_2");
  }
  EXPECT_EQ(files, 1);

  load_lines("@flats/lines_2", 2);
  EXPECT_EQ(line_count(line_set.tables[1]), 1);
  EXPECT_EQ(line_set.tables[1].lines[0].sum_2, 3000);
}

TEST_F(SavedLines, AFailedWriteKeepsTheOldFile) {
  const std::string old = "ct03 4\n0\n0\n0\n0\n";
  testkit::write_file(file, old);
  // The temporary file cannot be made: a folder has its name.
  std::filesystem::create_directories(temporary_path_for(file));
  line_set.tables[0].lines[0] = line_through({{0, 0}, {0, -10}}, 900);
  save_lines();
  EXPECT_EQ(testkit::read_file(file), old);
}

TEST_F(SavedLines, NothingIsSavedWithoutLearning) {
  race.learning = false;
  line_set.tables[0].lines[0] = line_through({{0, 0}, {0, -10}}, 900);
  save_lines();
  EXPECT_FALSE(testkit::file_exists(file));

  const std::string old = "ct03 4\n0\n0\n0\n0\n";
  testkit::write_file(file, old);
  save_lines();
  EXPECT_EQ(testkit::read_file(file), old);
}

}  // namespace
