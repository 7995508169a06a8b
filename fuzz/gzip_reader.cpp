// The gzip header parser and the inflating reader over arbitrary bytes.
#include <cstdint>
#include <cstdio>

#include "data/data_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* stream = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::tmpfile();
  DataFile* file = df_open_stream(stream, true);
  if (!file) return 0;
  char buffer[4096];
  long total = 0;
  for (int got; (got = df_read(file, buffer, sizeof buffer)) > 0;) {
    total += got;
    if (total > (64L << 20)) break;  // a bomb: stop reading, that is enough
  }
  df_close(file);
  return 0;
}
