// race_tick on the default track ("rabbithill") with 1, 10 and 40 bikes,
// every one ridden by bermline-sim's coach (the robots' auto pilot is
// replaced by it), measured from three seconds after the gate drop: ticks
// per second and the real-time factor (simulated seconds per second). The
// same with 40 robots riding the shipped expert lines, with the auto
// pilot's own share of the tick. And the cost of recording a tick of a
// 40-rider demo.
//
// The game data comes from the build's game folder, or from BL_HOME when set.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>

#include "autopilot/autopilot.h"
#include "autopilot/coach.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "physics/physics_world.h"
#include "race/demo_recording.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "testkit.h"
#include "track/track_list.h"

namespace {

const std::string bench_home = testkit::scratch_dir("race-bench-home");

bool set_up_game() {
  static bool ready = false;
  if (ready) return true;
  if (!std::getenv("BL_HOME")) setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  setenv("BL_USER_HOME", bench_home.c_str(), 1);
  reset_data_layer();
  reset_settings();
  if (!build_track_list()) return false;
  start_physics();
  clear_race_session();
  ready = true;
  return true;
}

void coach_rides_robots() {
  AutopilotHooks hooks;
  hooks.autopilot_tick = coach_tick;
  set_autopilot_hooks(hooks);
}

// The auto pilot, its ticks timed.
double autopilot_seconds = 0;
void timed_autopilot_tick(Bike& b) {
  const auto began = std::chrono::steady_clock::now();
  autopilot_tick(b);
  autopilot_seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
}
void robots_ride() {
  install_autopilot();
  AutopilotHooks hooks = autopilot_hooks();
  hooks.autopilot_tick = timed_autopilot_tick;
  set_autopilot_hooks(hooks);
}

// A race of `bikes` riders (the first the player's slot), some seconds past the drop.
bool start_riding(int bikes, bool record) {
  if (!set_up_game()) return false;
  coach_rides_robots();
  RaceSetup setup = player_race_setup(settings, "rabbithill", 100);
  setup.slots[0].code = SLOT_HUMAN;
  for (int k = 1; k < bikes; ++k) setup.slots[k].code = SLOT_ROBOT;
  setup.record = record;
  race_clock = 0;
  reset_coaches();
  if (!start_race(setup)) return false;
  while (race_clock < race.gate_drop_tick + 3 * TICKS_PER_SECOND) {
    drive_coaches();
    race_tick();
  }
  return true;
}

void BM_RaceTick(benchmark::State& state) {
  if (!start_riding(static_cast<int>(state.range(0)), false)) {
    state.SkipWithError("the default track did not load");
    return;
  }
  for (auto _ : state) {
    drive_coaches();
    race_tick();
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) * dt, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RaceTick)->Arg(1)->Arg(10)->Arg(40)->Unit(benchmark::kMicrosecond)->MinTime(5);

// 40 robots on the shipped expert lines, ten seconds after the drop.
bool robots_racing() {
  if (!set_up_game()) return false;
  robots_ride();
  RaceSetup setup = player_race_setup(settings, "rabbithill", 100);
  for (RaceSlot& slot : setup.slots) slot.code = SLOT_ROBOT;
  setup.skill = 2;
  race_clock = 0;
  if (!start_race(setup)) return false;
  while (race_clock < race.gate_drop_tick + 10 * TICKS_PER_SECOND) race_tick();
  return true;
}

void BM_RobotRaceTick(benchmark::State& state) {
  if (!robots_racing()) {
    state.SkipWithError("the default track did not load");
    return;
  }
  autopilot_seconds = 0;
  const auto began = std::chrono::steady_clock::now();
  for (auto _ : state) race_tick();
  const double total = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) * dt, benchmark::Counter::kIsRate);
  state.counters["autopilot_share"] = total > 0 ? autopilot_seconds / total : 0;
  state.counters["autopilot_us_per_tick"] = 1e6 * autopilot_seconds / static_cast<double>(state.iterations());
  end_race_session();
}
BENCHMARK(BM_RobotRaceTick)->Unit(benchmark::kMicrosecond)->MinTime(10);

// The roost's share of the 40-robot tick: each tick races without roost,
// then the roost of that tick (every wheel's emission and the particles'
// flight) is timed on its own; the argument is the erosion factor.
void BM_RoostTick(benchmark::State& state) {
  if (!robots_racing()) {
    state.SkipWithError("the default track did not load");
    return;
  }
  const int frequency = run_settings.roost_frequency;
  run_settings.erosion = static_cast<double>(state.range(0));
  double roost_seconds = 0, rest_seconds = 0;
  for (auto _ : state) {
    run_settings.roost_frequency = 0;
    const auto began = std::chrono::steady_clock::now();
    race_tick();
    const auto raced = std::chrono::steady_clock::now();
    run_settings.roost_frequency = frequency;
    emit_race_roost();
    update_roost(race.roost);
    const auto roosted = std::chrono::steady_clock::now();
    rest_seconds += std::chrono::duration<double>(raced - began).count();
    roost_seconds += std::chrono::duration<double>(roosted - raced).count();
  }
  const double ticks = static_cast<double>(state.iterations());
  state.counters["roost_us_per_tick"] = 1e6 * roost_seconds / ticks;
  state.counters["roost_share"] = roost_seconds / (roost_seconds + rest_seconds);
  state.counters["particles_flying"] = race.roost.active_count;
  run_settings.erosion = 0;
  end_race_session();
}
BENCHMARK(BM_RoostTick)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond)->MinTime(5);

// One tick of a 40-rider recording: packing every frame and the write.
void BM_RecordDemoTick(benchmark::State& state) {
  if (!start_riding(RACE_SLOTS, true)) {
    state.SkipWithError("the default track did not load");
    return;
  }
  for (auto _ : state) record_demo_tick();
  stop_demo_recording();
  std::filesystem::remove_all(bench_home);
}
BENCHMARK(BM_RecordDemoTick)->Iterations(20000)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
