// The scenery readers (billboards, statues, flaggers, decals; the first
// byte picks one) over arbitrary bytes, on a small field so that heights,
// frames and buckets are computed.
#include <cmath>
#include <cstdint>

#include "track/scenery.h"
#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "track_fuzz_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  use_empty_data_folders();
  if (size == 0) return 0;
  if (track().terrain.heights.empty()) {
    track().terrain.grid_shift = 1;
    track().terrain.grid_size = 5;
    track().terrain.spacing = 25.0f;
    track().terrain.extent = 100.0f;
    track().terrain.heights = {0, 1, 2, 3, 4, 1, 2, 3, 4, 5, 2, 3, 4, 5, 6, 3, 4, 5, 6, 7, 4, 5, 6, 7, 8};
  }
  clear_scenery();
  clear_timing_gates();
  track().timing.gates.resize(data[0] >> 4);
  track().terrain.decals.clear();
  for (auto& bucket : track().terrain.decal_buckets) bucket.clear();
  DataFile* file = open_input(data + 1, size - 1);
  if (!file) return 0;
  switch (data[0] % 4) {
    case 0: read_billboards(file); break;
    case 1: read_statues(file); break;
    case 2: read_flaggers(file); break;
    case 3: read_decals(track().terrain, file); break;
  }
  df_close(file);
  rebuild_scenery_buckets();
  if (track().scenery.billboard_draw_list.size() != 2 * track().scenery.billboards.size()) __builtin_trap();
  for (const Flagger& f : track().scenery.flaggers)
    for (int section : f.sections)
      if (section < -1 || (section != -1 && section >= static_cast<int>(track().timing.gates.size()))) __builtin_trap();
  for (const auto& bucket : track().terrain.decal_buckets)
    for (size_t k = 1; k < bucket.size(); ++k)
      if (bucket[k - 1] >= bucket[k]) __builtin_trap();  // increasing order
  billboards_file_text();
  statues_file_text();
  decals_file_text(track().terrain);
  return 0;
}
