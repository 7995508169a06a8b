// Races run headless on the flats with the coach, recorded as demos and
// played back: the replay matches the race, seeking lands on the right
// tick, a recording survives a crash, and a running race allocates nothing.
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <csignal>

#include "allocation_counter.h"
#include "autopilot/coach.h"
#include "core/messages.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "race/demo_frame.h"
#include "race/demo_header.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/standings.h"
#include "race_kit.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

class DemoRace : public race_kit::FlatsRace {
 protected:
  // Ticks the race with the coach on the local bikes, noting every
  // bike's frame body after each tick.
  void ride(int ticks, std::vector<std::vector<Vec3>>* track = nullptr) {
    for (int t = 0; t < ticks; ++t) {
      drive_coaches();
      race_tick();
      if (track) track->push_back(frames());
    }
  }
  std::vector<Vec3> frames() {
    std::vector<Vec3> at;
    for (Bike* b : race.slot_bike)
      if (b) at.push_back(body_position(b->frame));
    return at;
  }
  std::string demo_file() { return home_folder() + "demos/default.bldemo"; }
  // A race of three laps recorded into the default demo.
  static RaceSetup recorded_race(std::vector<int32_t> codes) {
    RaceSetup setup = flats_race(std::move(codes));
    setup.record = true;
    return setup;
  }
  void start_playback() {
    RaceSetup play = flats_race({}, 10);
    play.playback_path = DEFAULT_DEMO_PATH;
    ASSERT_EQ(start_race(play), 1);
    ASSERT_NE(race.playback.input, nullptr);
  }
};

TEST_F(DemoRace, ReplayPutsEveryFrameBodyWithinItsQuantisation) {
  const RaceSetup setup = recorded_race({SLOT_HUMAN, SLOT_ROBOT});
  ASSERT_EQ(start_race(setup), 1);
  std::vector<std::vector<Vec3>> recorded{frames()};
  ride(60 * TICKS_PER_SECOND, &recorded);
  const std::vector<int32_t> crossings = race.slot_bike[0]->crossing_ticks;
  ASSERT_GE(completed_laps(*race.slot_bike[0]), 1) << "the coach should have ridden a lap";
  const int32_t drop = race.gate_drop_tick;

  start_playback();
  EXPECT_EQ(race.gate_drop_tick, drop);
  EXPECT_EQ(race.slot_control[0], CONTROL_EXTERNAL);
  EXPECT_EQ(race.slot_control[1], CONTROL_EXTERNAL);
  const double step = track().terrain.extent / 16777215.0;
  std::vector<std::vector<Vec3>> replayed{frames()};
  ride(60 * TICKS_PER_SECOND, &replayed);
  ASSERT_EQ(replayed.size(), recorded.size());
  for (size_t tick = 0; tick < recorded.size(); ++tick)
    for (size_t k = 0; k < 2; ++k) {
      const Vec3 d = replayed[tick][k] - recorded[tick][k];
      ASSERT_TRUE(std::fabs(d.x) <= step && std::fabs(d.y) <= step && std::fabs(d.z) <= step)
          << "tick " << tick << " rider " << k << " off by " << length(d);
    }
  // The replayed rider is timed as the rider was.
  EXPECT_EQ(race.slot_bike[0]->crossing_ticks, crossings);
  EXPECT_FLOAT_EQ(race.playback.visibility[0], 1.0f);

  // Past the end of the file the riders vanish where they stand.
  const Vec3 last = body_position(race.slot_bike[0]->frame);
  ride(2);
  EXPECT_FLOAT_EQ(race.playback.visibility[0], 0.0f);
  EXPECT_FLOAT_EQ(race.playback.visibility[1], 0.0f);
  EXPECT_NEAR(length(body_position(race.slot_bike[0]->frame) - last), 0, 1e-9);
}

TEST_F(DemoRace, SeekingForwardAndBackLandsOnTheRightTick) {
  const RaceSetup setup = recorded_race({SLOT_HUMAN});
  ASSERT_EQ(start_race(setup), 1);
  std::vector<std::vector<Vec3>> recorded{frames()};
  ride(30 * TICKS_PER_SECOND, &recorded);

  start_playback();
  const double step = track().terrain.extent / 16777215.0;
  auto expect_at_recorded_tick = [&] {
    ASSERT_LT(static_cast<size_t>(race_clock), recorded.size());
    const Vec3 d = body_position(race.slot_bike[0]->frame) - recorded[static_cast<size_t>(race_clock)][0];
    EXPECT_LE(std::max({std::fabs(d.x), std::fabs(d.y), std::fabs(d.z)}), step) << "at tick " << race_clock;
  };
  seek_playback(20);
  EXPECT_EQ(race_clock, 20 * TICKS_PER_SECOND);
  expect_at_recorded_tick();
  ride(1);
  expect_at_recorded_tick();
  seek_playback(-12.5f);
  EXPECT_EQ(race_clock, 20 * TICKS_PER_SECOND + 1 - 1600);
  expect_at_recorded_tick();
  seek_playback(-60);  // not before the start
  EXPECT_EQ(race_clock, 1);
  expect_at_recorded_tick();

  run_settings.accurate_skip = true;
  seek_playback(3);  // ridden through, tick by tick
  EXPECT_EQ(race_clock, 1 + 3 * TICKS_PER_SECOND);
  expect_at_recorded_tick();
  EXPECT_EQ(run_settings.roost_frequency, RunSettings().roost_frequency);

  // Not while anyone rides: a recording or a rider of our own blocks it.
  RaceSetup against = flats_race({SLOT_HUMAN}, 10);
  against.playback_path = DEFAULT_DEMO_PATH;
  ASSERT_EQ(start_race(against), 1);
  const int32_t before = race_clock;
  seek_playback(5);
  EXPECT_EQ(race_clock, before);
}

TEST_F(DemoRace, RecordingKeepsEveryCompleteTickAfterACrash) {
  const std::string path = demo_file();
  EXPECT_DEATH(
      {
        start_race(recorded_race({SLOT_HUMAN, SLOT_ROBOT, SLOT_ROBOT}));
        ride(100);
        std::abort();
      },
      "");
  DataFile* f = df_open(path.c_str(), "rb");
  ASSERT_NE(f, nullptr);
  DemoHeader header;
  ASSERT_TRUE(read_demo_header(f, &header));
  EXPECT_EQ(header.riders.size(), 3u);
  df_close(f);
  const std::string bytes = testkit::read_file(path);
  // The start's frame and one per tick, each whole.
  EXPECT_EQ(bytes.size() - static_cast<size_t>(header.size), 101u * 3 * DEMO_FRAME_BYTES);
}

// Files may grow to `bytes` while it lives (writes beyond fail, even for root).
struct FileSizeLimit {
  rlimit saved{};
  explicit FileSizeLimit(rlim_t bytes) {
    signal(SIGXFSZ, SIG_IGN);
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit limited = saved;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved); }
};

TEST_F(DemoRace, FailedRecordingKeepsTheOldDemoAndAFullDiskEndsItCleanly) {
  testkit::write_file(demo_file(), "an older demo");
  const RaceSetup setup = recorded_race({SLOT_HUMAN});
  {
    FileSizeLimit tiny(20);  // not even the header fits
    ASSERT_EQ(start_race(setup), 1);
  }
  EXPECT_FALSE(demo_recording_active());
  EXPECT_EQ(testkit::read_file(demo_file()), "an older demo");

  ASSERT_EQ(start_race(setup), 1);
  ASSERT_TRUE(demo_recording_active());
  const size_t header = testkit::read_file(demo_file()).size() - DEMO_FRAME_BYTES;
  {
    FileSizeLimit room(header + 10 * DEMO_FRAME_BYTES + 20);  // ten ticks and a bit
    ride(20);
  }
  EXPECT_FALSE(demo_recording_active());
  EXPECT_NE(std::string(message_line(0)).find("Demo recording stopped"), std::string::npos);
  EXPECT_EQ(testkit::read_file(demo_file()).size(), header + 10 * DEMO_FRAME_BYTES + 20);
  ride(5);  // the race goes on
}

TEST_F(DemoRace, RunningRaceAllocatesNothing) {
  const RaceSetup setup = recorded_race({SLOT_HUMAN, SLOT_ROBOT, SLOT_ROBOT, SLOT_ROBOT});
  ASSERT_EQ(start_race(setup), 1);
  ride(16 * TICKS_PER_SECOND);  // through the gate drop and away
  allocation_counter::start();
  ride(10 * TICKS_PER_SECOND);
  const long allocations = allocation_counter::stop();
  EXPECT_GT(race.slot_bike[0]->gates_passed, 0) << "the coach should be riding";
  EXPECT_EQ(allocations, 0);
}

}  // namespace
