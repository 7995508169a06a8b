// How long the data kit takes to make the art (bikes, riders, wheels,
// fonts, interface pictures): the whole set on every core as bermline-data
// makes it, and its heaviest single items.
#include <benchmark/benchmark.h>

#include "art/art_files.h"
#include "art/bike_models.h"
#include "art/bike_textures.h"
#include "kit/jm_format.h"

namespace {

void BM_MakeAllArt(benchmark::State& state) {
  art::ArtFiles files = art::art_files({{"rabbithill", "Rabbit Hill"}});
  size_t bytes = 0;
  for (auto _ : state) {
    bytes = 0;
    for (const std::string& made : art::make_art_files(files)) bytes += made.size();
  }
  state.counters["files"] = static_cast<double>(files.size());
  state.counters["MB"] = bytes / 1e6;
}
BENCHMARK(BM_MakeAllArt)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

void BM_BikeTexture(benchmark::State& state) {
  const art::BikeStyle& style = art::bike_styles().front();
  for (auto _ : state) benchmark::DoNotOptimize(kit::to_png(art::paint_bike_texture(style, style.liveries[0]), 3));
}
BENCHMARK(BM_BikeTexture)->Unit(benchmark::kMillisecond);

void BM_BikeModels(benchmark::State& state) {
  const art::BikeStyle& style = art::bike_styles().front();
  art::Detail detail{static_cast<int>(state.range(0))};
  for (auto _ : state)
    for (const kit::Model& model : {art::frame_model(style, detail), art::fork_upper_model(detail),
                                    art::fork_lower_model(detail), art::swingarm_model(detail)})
      benchmark::DoNotOptimize(kit::write_jm(model));
}
BENCHMARK(BM_BikeModels)->Arg(0)->Arg(2)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
