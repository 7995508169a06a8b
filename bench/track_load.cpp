// LoadTrack of the default track ("rabbithill") from the generated game
// data: the first load (textures decoded) and a reload (textures cached,
// as between races).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "core/run_settings.h"
#include "data/data_dirs.h"
#include "testkit.h"
#include "track/track.h"
#include "track/track_load.h"

namespace {

void use_game_data() {
  static bool done = false;
  if (done) return;
  done = true;
  setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  setenv("BL_USER_HOME", (testkit::game_dir() + "../bench-home/").c_str(), 1);
  reset_data_layer();
  list_data_files();  // the data index is built once at start-up
}

void load_default_track(benchmark::State& state) {
  use_game_data();
  for (auto _ : state) {
    if (LoadTrack("rabbithill") != 1) {
      state.SkipWithError("the default track did not load");
      return;
    }
    state.PauseTiming();
    UnloadTrack();
    state.ResumeTiming();
  }
}

void BM_LoadTrackFirst(benchmark::State& state) { load_default_track(state); }
BENCHMARK(BM_LoadTrackFirst)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_LoadTrackAgain(benchmark::State& state) { load_default_track(state); }
BENCHMARK(BM_LoadTrackAgain)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
