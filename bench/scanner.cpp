// df_scanf over a 1 MB text of mixed numbers, as track and model files are.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "core/mt19937.h"
#include "data/data_file.h"
#include "data/scanner.h"
#include "testkit.h"

namespace {

// Lines like "12 -3.25 1.5e-3 0x1F name\n" until the text reaches 1 MB.
std::string mixed_numbers(size_t bytes) {
  Mt19937 random(7);
  std::string text;
  char line[128];
  while (text.size() < bytes) {
    uint32_t a = mt_next(random), b = mt_next(random);
    std::snprintf(line, sizeof line, "%d %.4f %.3e %d.%02u\n", static_cast<int>(a % 2000) - 1000,
                  static_cast<double>(b % 100000) / 37.0 - 1000.0, static_cast<double>(a) * 1e-7,
                  static_cast<int>(b % 512), a % 100);
    text += line;
  }
  return text;
}

void BM_ScanMixedNumbers(benchmark::State& state) {
  std::string path = testkit::scratch_dir("bench-scanner") + "numbers.txt";
  std::string text = mixed_numbers(1 << 20);
  testkit::write_file(path, text);
  for (auto _ : state) {
    DataFile* file = df_open(path.c_str(), "rb");
    int i = 0;
    float f = 0, g = 0, h = 0;
    double sum = 0;
    while (df_scanf(file, "%d %f %f %f", &i, &f, &g, &h) == 4) sum += i + f + g + h;
    df_close(file);
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ScanMixedNumbers)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
