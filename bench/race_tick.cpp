// race_tick on the default track ("rabbithill") with 1, 10 and 40 bikes,
// every one ridden by bermline-sim's coach (the robots' auto pilot is
// replaced by it), measured from three seconds after the gate drop: ticks
// per second and the real-time factor (simulated seconds per second). And
// the cost of recording a tick of a 40-rider demo.
//
// The game data comes from the build's game folder, or from BL_HOME when set.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>

#include "coach.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "physics/physics_world.h"
#include "race/demo_recording.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
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
  select_track("rabbithill");
  static const AutopilotHooks coach_rides_robots = [] {
    AutopilotHooks h{};
    h.autopilot_tick = coach_tick;
    return h;
  }();
  set_autopilot_hooks(&coach_rides_robots);
  start_physics();
  clear_race_session();
  ready = true;
  return true;
}

void drive_local_riders() {
  for (int slot = 0; slot < RACE_SLOTS; ++slot)
    if (race.slot_bike[slot] && race.slot_control[slot] == CONTROL_LOCAL) coach_tick(*race.slot_bike[slot]);
}

// A race of `bikes` riders (the first the player's slot), some seconds past the drop.
bool start_riding(int bikes, bool record) {
  if (!set_up_game()) return false;
  int32_t lineup[RACE_SLOTS] = {};
  lineup[0] = SLOT_HUMAN;
  for (int k = 1; k < bikes; ++k) lineup[k] = SLOT_ROBOT;
  race_clock = 0;
  reset_coaches();
  if (!start_race(lineup, 0, record, 0, 100, 0)) return false;
  while (race_clock < race.gate_drop_tick + 3 * TICKS_PER_SECOND) {
    drive_local_riders();
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
    drive_local_riders();
    race_tick();
  }
  state.counters["ticks_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  state.counters["realtime"] = benchmark::Counter(static_cast<double>(state.iterations()) * dt, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_RaceTick)->Arg(1)->Arg(10)->Arg(40)->Unit(benchmark::kMicrosecond)->MinTime(5);

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
