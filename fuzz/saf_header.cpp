// The ".saf" archive header reader over arbitrary bytes.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "data/saf_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  FILE* stream = size ? fmemopen(const_cast<uint8_t*>(data), size, "rb") : std::tmpfile();
  if (!stream) return 0;
  std::vector<SafMember> members;
  if (read_saf_header(stream, &members)) {
    int64_t end = 0;
    for (const SafMember& member : members) {
      if (member.size < 0 || member.offset < end) __builtin_trap();  // offsets only grow
      end = static_cast<int64_t>(member.offset) + member.size;
    }
  } else if (!members.empty()) {
    __builtin_trap();  // a refused header contributes nothing
  }
  std::fclose(stream);
  return 0;
}
