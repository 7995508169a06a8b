// Riding without a line: a section nobody has a line for is ridden from
// gate to gate, and a robot well into a later section's line than its
// timing allows heads back to the gate it missed; one that merely picked
// ahead through short sections keeps its path.
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/gate_path.h"
#include "autopilot/line_sections.h"
#include "autopilot/robot_path.h"
#include "autopilot_kit.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "race/race_session.h"

using namespace autopilot_kit;

namespace {

// The four-section track's gates stand at x = 0, 100 and 200 ft on z = 0,
// passed toward +x. Section 1 holds positions 1 and 2 (gates 1 and 2).
struct Point {
  float x, z;
};

void expect_samples(const LineSample* samples, int count, const std::vector<Point>& want) {
  ASSERT_EQ(count, static_cast<int>(want.size()));
  for (int k = 0; k < count; ++k) {
    SCOPED_TRACE(k);
    EXPECT_FLOAT_EQ(samples[k].x, want[static_cast<size_t>(k)].x);
    EXPECT_FLOAT_EQ(samples[k].z, want[static_cast<size_t>(k)].z);
    EXPECT_GT(samples[k].speed, 0);
  }
}

TEST(GatePath, RunsThroughTheRestOfTheSectionFromJustBeforeTheFirstGate) {
  use_four_sections();
  EXPECT_EQ(first_position(1), 1);
  EXPECT_EQ(first_position(2), 3);
  LineSample out[MOST_GATE_SAMPLES];
  {
    SCOPED_TRACE("the whole section");
    expect_samples(out, gate_path(first_position(1), out), {{90, 0}, {100, 0}, {200, 0}});
  }
  {
    SCOPED_TRACE("from its last gate");
    expect_samples(out, gate_path(2, out), {{190, 0}, {200, 0}});
  }
  forget_sections();
}

class RidingWithoutALine : public RobotBikeTest {
 protected:
  void SetUp() override {
    RobotBikeTest::SetUp();
    use_four_sections();
    clear_lines();
    set_personality(*bike, "birch");
    race.start_signal_tick = 0;
    race.gate_drop_tick = 0;
    race_clock = 20 * TICKS_PER_SECOND;  // long after the start
  }
  void TearDown() override {
    forget_sections();
    RobotBikeTest::TearDown();
  }

  RiderLines& lines() { return rider_lines(*bike); }

  // A straight line of `count` samples along z = `z` from x = `from`.
  static std::vector<LineSample> straight(float from, float z, int count) {
    std::vector<LineSample> samples;
    for (int k = 0; k < count; ++k) samples.push_back(sample(from + 10.0f * k, z));
    return samples;
  }
};

TEST_F(RidingWithoutALine, ASectionWithoutLinesIsRiddenGateToGate) {
  RiderLines& r = lines();
  r.pick_counter = 1;
  ASSERT_TRUE(pick_next_line(*bike));
  EXPECT_EQ(r.pick_counter, 2);
  expect_samples(r.path.data(), static_cast<int>(r.path.size()), {{90, 0}, {100, 0}, {200, 0}});
  EXPECT_EQ(ridden_section(r).section, 1);
}

TEST_F(RidingWithoutALine, WellIntoALaterSectionsLineTheRobotHeadsBackToTheGateItMissed) {
  struct Case {
    const char* what;
    int gates_passed;
    double along;  // on a path of section 1's line (samples 0-9) then section 2's (10-29)
    bool sent_back;
  };
  const Case cases[] = {
      {"still on the owed section's line", 1, 8, false},
      {"just into the next section's line", 1, 12, false},
      {"a second into the next section's line", 1, 14.5, true},
      {"its timing caught up", 3, 20, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RiderLines& r = lines();
    clear_path(r);
    append_line(r, straight(100, 300, 10), 1);
    append_line(r, straight(200, 300, 20), 2);
    r.pick_counter = 3;  // picked ahead: the path runs short soon
    r.along = c.along;
    r.target = static_cast<int>(c.along) + 2;
    bike->gates_passed = c.gates_passed;
    autopilot_tick(*bike);
    if (c.sent_back) {
      // Back to gate 1, from just before its line, then on through gate 2.
      ASSERT_GE(r.path.size(), 3u);
      EXPECT_FLOAT_EQ(r.path[0].x, 90);
      EXPECT_FLOAT_EQ(r.path[0].z, 0);
      EXPECT_FLOAT_EQ(r.path[2].x, 200);
      EXPECT_EQ(ridden_section(r).section, 1);
    } else {
      EXPECT_FLOAT_EQ(r.path[0].z, 300);
    }
  }
}

TEST_F(RidingWithoutALine, DroppingSamplesBehindKeepsTrackOfWhichSectionIsRidden) {
  RiderLines& r = lines();
  append_line(r, straight(0, 0, 40), 0);
  append_line(r, straight(400, 0, 10), 1);
  // Far along: the next line drops the samples long behind the target.
  r.target = 45;
  r.along = 44;
  append_line(r, straight(500, 0, 10), 2);
  EXPECT_EQ(r.path.size(), 60u - (45 - KEPT_BEHIND_TARGET));
  const RiddenSection riding = ridden_section(r);
  EXPECT_EQ(riding.section, 1);
  EXPECT_DOUBLE_EQ(riding.into, 4);
  r.along = static_cast<double>(r.path.size()) - 3;
  EXPECT_EQ(ridden_section(r).section, 2);
}

}  // namespace
