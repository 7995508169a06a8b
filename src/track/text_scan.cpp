#include "track/text_scan.h"

#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "data/data_file.h"
#include "data/scanner.h"

int scan_text(const std::string& text, const char* format, ...) {
  if (text.empty()) return -1;
  std::string copy = text;
  DataFile* file = df_open_stream(fmemopen(copy.data(), copy.size(), "rb"));
  if (!file) return -1;
  va_list args;
  va_start(args, format);
  int stored = df_vscanf(file, format, args);
  va_end(args);
  df_close(file);
  return stored;
}

bool all_finite(std::initializer_list<float> values) {
  for (float v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

bool split_keyword_line(const char* line, const char* leading_skip, KeywordLine* out) {
  const char* at = line + std::strspn(line, leading_skip);
  size_t keyword_length = std::strcspn(at, " \t\r\n");
  if (keyword_length == 0) return false;
  out->keyword.assign(at, keyword_length);
  at += keyword_length;
  at += std::strspn(at, " \t");
  out->argument.assign(at, std::strcspn(at, "\r\n"));
  return true;
}
