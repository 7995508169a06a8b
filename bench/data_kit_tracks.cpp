// How long the data kit takes to make the tracks: all of them written to a
// folder as bermline-data does (on every core), each track's folder on its
// own, and one ground tile.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "data_kit.h"
#include "kit/image.h"
#include "tracks/ground_textures.h"
#include "tracks/track_build.h"

namespace {

void BM_WriteAllTracks(benchmark::State& state) {
  std::string out = (std::filesystem::temp_directory_path() / "bench_data_kit_tracks/").string();
  for (auto _ : state) {
    std::filesystem::remove_all(out);
    if (!write_tracks(out)) state.SkipWithError("writing the tracks failed");
  }
  uintmax_t bytes = 0;
  size_t files = 0;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(out))
    if (entry.is_regular_file()) bytes += entry.file_size(), ++files;
  state.counters["files"] = static_cast<double>(files);
  state.counters["MB"] = bytes / 1e6;
  std::filesystem::remove_all(out);
}
BENCHMARK(BM_WriteAllTracks)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_BuildTrack(benchmark::State& state) {
  const tracks::TrackDesign design = tracks::track_designs()[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(tracks::build_track(design).files.size());
  state.SetLabel(design.folder);
}
BENCHMARK(BM_BuildTrack)->DenseRange(0, 2)->Unit(benchmark::kSecond)->Iterations(1);

void BM_TransitionTile(benchmark::State& state) {
  tracks::TileKind kind{tracks::Ground::Loam, tracks::Ground::Grass, 6, 0};
  for (auto _ : state) benchmark::DoNotOptimize(kit::to_png(tracks::tile_picture(kind), 3));
}
BENCHMARK(BM_TransitionTile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
