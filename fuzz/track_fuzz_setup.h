// Shared by the track fuzz targets: an input as a data file, and an empty
// scratch data folder so that texture and shape look-ups find nothing.
#pragma once

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "data/data_file.h"
#include "data/data_dirs.h"

inline void use_empty_data_folders() {
  static bool done = false;
  if (done) return;
  done = true;
  char pattern[] = "/tmp/bermline-fuzz-XXXXXX";
  const char* dir = mkdtemp(pattern);
  if (!dir) return;
  setenv("BL_HOME", dir, 1);
  setenv("BL_USER_HOME", dir, 1);
  reset_data_layer();
}

inline DataFile* open_input(const uint8_t* data, size_t size) {
  FILE* stream = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::tmpfile();
  return df_open_stream(stream);
}
