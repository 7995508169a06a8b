// The lighting reader over arbitrary bytes.
#include <cmath>
#include <cstdint>

#include "track/lighting.h"
#include "track/track.h"
#include "track_fuzz_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  use_empty_data_folders();
  DataFile* file = open_input(data, size);
  if (!file) return 0;
  read_lighting(file);
  df_close(file);
  for (const LensFlare& flare : track().lighting.flares)
    if (flare.element_count < 0 || flare.element_count > FLARE_ELEMENTS || (flare.kind != 0 && flare.kind != 1))
      __builtin_trap();
  return 0;
}
