// Terrain queries and ruts on a 513 x 513 field: TerrainHeightAt (report
// items_per_second as queries a second) and DeformTerrain (time per call).
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "core/mt19937.h"
#include "track/lighting.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

Terrain rolling_field() {
  Terrain t;
  t.grid_shift = 8;
  t.grid_size = 513;
  t.spacing = 4.0f;
  t.tile_size = 8.0f;
  t.extent = 2048.0f;
  size_t n = 513u * 513u;
  t.heights.resize(n);
  for (int j = 0; j < 513; ++j)
    for (int i = 0; i < 513; ++i)
      t.heights[static_cast<size_t>(i + 513 * j)] = 20.0f * std::sin(i * 0.05f) * std::cos(j * 0.04f) + 0.3f * ((i * 7 + j * 3) % 5);
  t.min_height = -21.0f;
  t.max_height = 21.0f;
  t.shading.assign(n * 3, 100);
  t.shadow.assign(n, 0);
  return t;
}

std::vector<float> random_points(size_t count, float extent) {
  Mt19937 random(11);
  std::vector<float> points(count * 2);
  for (float& c : points) c = static_cast<float>(mt_next(random) % 1000000) / 1000000.0f * extent;
  return points;
}

void BM_TerrainHeightAt(benchmark::State& state) {
  Terrain t = rolling_field();
  std::vector<float> points = random_points(1 << 16, t.extent);
  size_t at = 0;
  float sum = 0;
  for (auto _ : state) {
    sum += TerrainHeightAt(t, points[at], points[at + 1]);
    at = (at + 2) & ((1 << 17) - 1);
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TerrainHeightAt);

void BM_TerrainNormalAt(benchmark::State& state) {
  Terrain t = rolling_field();
  std::vector<float> points = random_points(1 << 16, t.extent);
  size_t at = 0;
  float n[3], sum = 0;
  for (auto _ : state) {
    TerrainNormalAt(t, points[at], points[at + 1], n);
    sum += n[0];
    at = (at + 2) & ((1 << 17) - 1);
  }
  benchmark::DoNotOptimize(sum);
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_TerrainNormalAt);

void BM_DeformTerrain(benchmark::State& state) {
  track().lighting = Lighting{};
  Terrain t = rolling_field();
  std::vector<float> points = random_points(1 << 12, t.extent);
  size_t at = 0;
  for (auto _ : state) {
    DeformTerrain(t, points[at], points[at + 1], -0.002f);
    at = (at + 2) & ((1 << 13) - 1);
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeformTerrain)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
