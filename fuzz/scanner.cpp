// df_scanf with the formats the text readers use, over arbitrary input.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "data/data_file.h"
#include "data/scanner.h"

namespace {

const char* const FORMATS[] = {
    "%d %f %f %f ",  " %1[#]%*[^\n]", "%s",         "%[^\n]",   "%i %i %x %o", "%15s",
    "%lf %Lf %hd",   "%c%3c",         "%d,%d%n",    "%[a-z-]%%", "%f %f %f %[^\n]", "ANIM1 %d %d",
};
constexpr size_t FORMAT_COUNT = sizeof FORMATS / sizeof FORMATS[0];

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const char* format = FORMATS[data[0] % FORMAT_COUNT];
  FILE* stream = size > 1 ? fmemopen(const_cast<uint8_t*>(data + 1), size - 1, "rb") : std::tmpfile();
  DataFile* file = df_open_stream(stream);
  if (!file) return 0;
  // Text destinations hold the whole input, as unlimited "%s" may take it all.
  std::vector<char> a(size + 16), b(size + 16);
  int i = 0, j = 0, k = 0, n = 0;
  double d = 0;
  long double e = 0;
  int16_t h = 0;
  float f = 0, g = 0, m = 0;
  for (int rounds = 0; rounds < 100000 && !df_at_end(file); ++rounds) {
    int result = 0;
    switch (data[0] % FORMAT_COUNT) {
      case 0: result = df_scanf(file, format, &i, &f, &g, &m); break;
      case 1: result = df_scanf(file, format, a.data()); break;
      case 2: case 3: case 5: result = df_scanf(file, format, a.data()); break;
      case 4: result = df_scanf(file, format, &i, &j, &k, &n); break;
      case 6: result = df_scanf(file, format, &d, &e, &h); break;
      case 7: result = df_scanf(file, format, a.data(), b.data()); break;
      case 8: result = df_scanf(file, format, &i, &j, &n); break;
      case 9: result = df_scanf(file, format, a.data()); break;
      case 10: result = df_scanf(file, format, &f, &g, &m, a.data()); break;
      case 11: result = df_scanf(file, format, &i, &j); break;
    }
    if (result <= 0) df_getc(file);  // step over what stopped the scan
  }
  df_close(file);
  return 0;
}
