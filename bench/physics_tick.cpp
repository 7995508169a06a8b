// The 40-bike physics tick on the default track ("rabbithill"): ground and
// body-shape contacts, bike-pair contacts, step_bike and the world step
// with its contact group emptied. Two cases: the full field standing at the
// starting gate, and the first four seconds after the gate drops (full
// throttle, the pack jostling). Counters: ticks per second, the real-time
// factor (simulated seconds per second on one core) and the share of the
// tick spent in ODE's own dWorldStep.
//
// Instructions per tick: run a case under callgrind, collecting only inside
// measured_ticks, and divide by the measured ticks it prints; the share of
// dWorldStep is its inclusive count against the total:
//   valgrind --tool=callgrind --toggle-collect='*measured_ticks*'
//     build/<release>/bench/bench_physics_tick --benchmark_filter=Racing
//     --benchmark_min_time=0.01
#include <benchmark/benchmark.h>

#include <time.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "core/race_clock.h"
#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "physics/bike_controls.h"
#include "physics/bike_load.h"
#include "physics/bike_step.h"
#include "physics/bike_tick.h"
#include "physics/ground_contact.h"
#include "physics/physics_world.h"
#include "testkit.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track/track_load.h"

namespace {

constexpr int FIELD = 40;
constexpr int RACE_TICKS = 4 * 128;
const char* const MODELS[] = {"crf250(2009)", "kx250f(2009)", "rmz250(2008)", "yz250f(2007)", "cr125", "kx125", "rm125", "125sx"};

Bike* field[FIELD];
double world_step_seconds = 0;

// This thread's processor time: other work on the machine does not count.
double cpu_seconds() {
  timespec now;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + now.tv_nsec * 1e-9;
}

bool set_up_field() {
  static bool ready = false, ok = false;
  if (ready) return ok;
  ready = true;
  setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  setenv("BL_USER_HOME", (testkit::game_dir() + "../bench-home/").c_str(), 1);
  reset_data_layer();
  if (LoadTrack("rabbithill") != 1) return false;
  start_physics();
  for (int k = 0; k < FIELD; ++k) {
    field[k] = load_bike(MODELS[k % 8], k, "1", nullptr, nullptr, nullptr, nullptr);
    field[k]->flags |= 0x3E;  // the robots' assists
  }
  ok = true;
  return ok;
}

// Lines the field up behind the starting gate, rows of riders 10 ft apart.
void line_up() {
  int gates = static_cast<int>(track().timing.start_positions.size());
  for (int k = 0; k < FIELD; ++k) {
    double x = track().terrain.extent * 0.5 + 5 * k, z = track().terrain.extent * 0.5, heading = 0;
    if (gates > 0) {
      const StartPosition& p = track().timing.start_positions[static_cast<size_t>(k % gates)];
      double row = k / gates + 0.0625;
      x = p.x + std::sin(p.heading) * row * 10;
      z = p.z + std::cos(p.heading) * row * 10;
      heading = p.heading;
    }
    place_bike(*field[k], x, z, heading);
  }
  race_clock = 0;
}

void hold_at_gate(Bike& b) {
  set_clutch(b, 1);
  set_throttle(b, 0.2);
  set_front_brake(b, 1);
}

void race(Bike& b) {
  set_clutch(b, 0);
  set_throttle(b, 1);
  set_front_brake(b, 0);
}

// One tick of the field, timing ODE's world step on its own.
void tick(void (*controls)(Bike&)) {
  Bike* order[FIELD];
  for (Bike* b : field) controls(*b);
  for (Bike* b : field) collide_bike_ground(*b);
  collide_bike_pairs(field, FIELD, order);
  double start = cpu_seconds();
  step_physics_world();
  world_step_seconds += cpu_seconds() - start;
  for (Bike* b : field) step_bike(*b, true);
  ++race_clock;
}

// Ticks that set a scene up, and ticks that are measured.
__attribute__((noipa)) void ride_ticks(int ticks, void (*controls)(Bike&)) {
  for (int t = 0; t < ticks; ++t) tick(controls);
}
__attribute__((noipa)) void measured_ticks(int ticks, void (*controls)(Bike&)) {
  for (int t = 0; t < ticks; ++t) tick(controls);
}

// Figures from this thread's processor time over the measured ticks.
void report(benchmark::State& state, long ticks, double seconds) {
  state.counters["us_per_tick"] = seconds / ticks * 1e6;
  state.counters["ticks_per_s"] = ticks / seconds;
  state.counters["realtime_x"] = ticks / seconds / 128;
  state.counters["step_us_per_tick"] = world_step_seconds / ticks * 1e6;
  state.counters["tick_over_step"] = seconds / world_step_seconds;
}

void BM_StandingAtTheGate(benchmark::State& state) {
  if (!set_up_field()) return state.SkipWithError("the default track did not load");
  line_up();
  ride_ticks(256, hold_at_gate);  // settle
  world_step_seconds = 0;
  long ticks = 0;
  double start = cpu_seconds();
  for (auto _ : state) {
    measured_ticks(1, hold_at_gate);
    ++ticks;
  }
  report(state, ticks, cpu_seconds() - start);
  std::printf("standing: %ld ticks measured\n", ticks);
}
BENCHMARK(BM_StandingAtTheGate)->Unit(benchmark::kMicrosecond);

void BM_RacingOffTheGate(benchmark::State& state) {
  if (!set_up_field()) return state.SkipWithError("the default track did not load");
  long ticks = 0;
  double seconds = 0, world = 0;
  for (auto _ : state) {
    state.PauseTiming();
    line_up();
    ride_ticks(128, hold_at_gate);
    world_step_seconds = 0;
    state.ResumeTiming();
    double start = cpu_seconds();
    measured_ticks(RACE_TICKS, race);
    seconds += cpu_seconds() - start;
    world += world_step_seconds;
    ticks += RACE_TICKS;
  }
  world_step_seconds = world;
  report(state, ticks, seconds);
  int contacts = 0;
  for (Bike* b : field) contacts += b->last_bike_collision_tick >= 0;
  std::printf("racing: %ld ticks measured (%d of %d bikes touched another)\n", ticks, contacts, FIELD);
}
BENCHMARK(BM_RacingOffTheGate)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
