// The tile-kind readers (tileinfo, and texturelist when the first byte is
// odd) over arbitrary bytes.
#include <cstdint>

#include "track/terrain.h"
#include "track/tile_kinds.h"
#include "track_fuzz_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  use_empty_data_folders();
  if (size == 0) return 0;
  DataFile* file = open_input(data + 1, size - 1);
  if (!file) return 0;
  static Terrain t;
  if (data[0] & 1) ReadTexturelist(t, file);
  else ReadTileinfo(t, file);
  df_close(file);
  if (t.tile_count < 0 || t.tile_count > MAX_TILE_KINDS) __builtin_trap();
  for (int k = 0; k < t.tile_count; ++k) {
    const TileMaterial& m = t.materials[static_cast<size_t>(k)];
    for (int p = 0; p < MATERIAL_POINTS; ++p)
      if (m.friction_value[p] < 0 || m.roll_a[p] < 0 || m.roll_b[p] < 0) __builtin_trap();
    for (float speed : {0.0f, 1.0f, 13.0f, 1e6f}) {
      float f = FrictionAt(m, speed);
      RollResist r = RollResistAt(m, speed);
      if (!(f >= 0) || !(r.a >= 0) || !(r.b >= 0)) __builtin_trap();  // finite and never negative
    }
  }
  return 0;
}
