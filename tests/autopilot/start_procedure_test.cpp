// A robot at the starting gate: blipping the throttle while the field lines
// up, then letting the clutch out after a reaction time that depends on its
// personality.
#include <algorithm>
#include <string>
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/personality.h"
#include "autopilot/start_procedure.h"
#include "autopilot_kit.h"
#include "core/mt19937.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "race/race_session.h"

using namespace autopilot_kit;

namespace {

constexpr int32_t DROP = 13 * TICKS_PER_SECOND + 37;

// The controls of every tick from the race reset to the launch.
struct StartTrace {
  std::vector<double> throttle, clutch, front_brake;
  int32_t launch = -1;  // the first tick the clutch engages
};

class StartingGate : public RobotBikeTest {
 protected:
  StartTrace start(const char* name, uint32_t seed) {
    mt_seed(game_random, seed);
    set_personality(*bike, name);
    race.start_signal_tick = START_SIGNAL_TICKS;
    race.gate_drop_tick = DROP;
    StartTrace trace;
    for (race_clock = 0; race_clock < DROP + 5 * TICKS_PER_SECOND; ++race_clock) {
      EXPECT_TRUE(start_procedure(*bike, rider_lines(*bike))) << race_clock;
      trace.throttle.push_back(bike->controls.throttle);
      trace.clutch.push_back(bike->controls.clutch);
      trace.front_brake.push_back(bike->controls.front_brake);
      if (bike->controls.clutch > 0) {
        trace.launch = race_clock;
        break;
      }
    }
    return trace;
  }

  static double seconds_after_drop(int32_t tick) { return (tick - DROP) * dt; }
};

TEST_F(StartingGate, LaunchComesAfterThePersonalitysReactionTime) {
  struct Case {
    const char* name;
    double earliest, latest;  // s after the drop
  };
  const Case cases[] = {
      {"alder", 0, 0.1},
      {"birch", 0.2, 0.4},
      {"cedar", 0.2, 0.4},
      {"tester", 0.2, 0.4},
      {"no such robot", 0.2, 0.4},  // rides as birch
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<double> launches;
    for (uint32_t seed = 1; seed <= 8; ++seed) {
      const StartTrace trace = start(c.name, seed * 7919);
      ASSERT_GE(trace.launch, DROP) << "seed " << seed;
      // The clutch is in on the first tick after the reaction time.
      const double after = seconds_after_drop(trace.launch);
      EXPECT_GT(after, c.earliest) << "seed " << seed;
      EXPECT_LE(after, c.latest + dt) << "seed " << seed;
      launches.push_back(after);
    }
    // Reactions differ from start to start.
    EXPECT_GT(*std::max_element(launches.begin(), launches.end()), *std::min_element(launches.begin(), launches.end()));
  }
}

TEST_F(StartingGate, TheEngineBlipsBeforeTheSignalAndIsHeldHighForTheDrop) {
  for (uint32_t seed : {3u, 99u, 2024u}) {
    SCOPED_TRACE(testing::Message() << "seed " << seed);
    const StartTrace trace = start("birch", seed);
    ASSERT_GT(trace.launch, DROP);
    // Before the signal: short bursts of full throttle with the engine
    // left alone in between.
    std::vector<int> starts, ends;
    for (int32_t t = 0; t < START_SIGNAL_TICKS; ++t) {
      const bool on = trace.throttle[static_cast<size_t>(t)] > 0;
      const bool was_on = t > 0 && trace.throttle[static_cast<size_t>(t) - 1] > 0;
      if (on && !was_on) starts.push_back(t);
      if (!on && was_on) ends.push_back(t);
    }
    ASSERT_GE(starts.size(), 1u);
    EXPECT_LT(starts[0], 2 * TICKS_PER_SECOND);
    for (size_t k = 0; k < ends.size(); ++k) EXPECT_LT(ends[k] - starts[k], TICKS_PER_SECOND) << "blip " << k;
    for (size_t k = 1; k < starts.size(); ++k) EXPECT_GE(starts[k] - ends[k - 1], TICKS_PER_SECOND) << "pause " << k;
    for (int32_t t = 0; t < START_SIGNAL_TICKS; ++t) {
      const double throttle = trace.throttle[static_cast<size_t>(t)];
      EXPECT_TRUE(throttle == 0 || throttle == 1) << t << ": " << throttle;
    }
    // Quiet at the signal, full throttle for the drop.
    EXPECT_EQ(trace.throttle[START_SIGNAL_TICKS], 0);
    EXPECT_EQ(trace.throttle[DROP - 1], 1);
    EXPECT_EQ(trace.throttle[static_cast<size_t>(trace.launch)], 1);
    // Until the launch the lever is pulled and the brakes hold the bike.
    for (int32_t t = 0; t < trace.launch; ++t) {
      ASSERT_EQ(trace.clutch[static_cast<size_t>(t)], 0) << t;
      ASSERT_EQ(trace.front_brake[static_cast<size_t>(t)], 1) << t;
    }
    EXPECT_EQ(trace.front_brake[static_cast<size_t>(trace.launch)], 0);
  }
}

TEST(Personality, UnknownNamesRideAsBirch) {
  EXPECT_EQ(find_personality("birch"), 1);
  EXPECT_STREQ(personality(find_personality("alder")).name, "alder");
  for (const char* name : {"no such robot", "", static_cast<const char*>(nullptr)}) EXPECT_EQ(find_personality(name), 0);
}

TEST_F(StartingGate, SettingAPersonalityStartsTheRobotAfresh) {
  for (const char* name : {"cedar", "oak", static_cast<const char*>(nullptr)}) {
    SCOPED_TRACE(name ? name : "null");
    RiderLines& r = rider_lines(*bike);
    r.path.assign(12, sample(0, 0));
    r.target = 5;
    r.recovery = 2;
    r.launch_time = 3.5;
    r.along = 4.25;
    r.last_advance = 900;
    remember_pick(*bike, 2, 77);
    set_personality(*bike, name);
    EXPECT_EQ(r.personality, find_personality(name && std::string(name) == "cedar" ? "cedar" : "birch"));
    EXPECT_TRUE(is_robot(*bike));
    EXPECT_TRUE(r.path.empty());
    EXPECT_EQ(r.target, 0);
    EXPECT_EQ(r.recovery, 0);
    EXPECT_EQ(r.launch_time, 0);
    EXPECT_EQ(r.along, 0);
    EXPECT_EQ(r.last_advance, 0);
    EXPECT_EQ(remembered_pick(*bike, 2), 0);
  }
}

}  // namespace
