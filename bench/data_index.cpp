// Building the data index over 10,000 small files (100 folders of 100).
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "data/data_dirs.h"
#include "testkit.h"

namespace {

void BM_BuildDataIndex(benchmark::State& state) {
  std::string root = testkit::scratch_dir("bench-index");
  std::string data = root + "data/";
  for (int folder = 0; folder < 100; ++folder)
    for (int file = 0; file < 100; ++file)
      testkit::write_file(data + "track" + std::to_string(folder) + "/file" + std::to_string(file), "x");
  setenv("BL_USER_HOME", (root + "home/").c_str(), 1);
  setenv("BL_HOME", data.c_str(), 1);
  size_t names = 0;
  for (auto _ : state) {
    reset_data_layer();
    names = list_data_files().size();
  }
  state.counters["files"] = static_cast<double>(names);
}
BENCHMARK(BM_BuildDataIndex)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
