#include "check/series_reader.h"

#include <cstdio>
#include <memory>

#include "data/data_file.h"
#include "data/scanner.h"

namespace check {

namespace {

// A string of the series format: a double-quoted text or one word.
bool read_series_string(DataFile* file, std::string* out) {
  char text[1024];
  df_skip_comments(file);
  int c = df_getc(file);
  if (c == '"') {
    if (df_scanf(file, "%1023[^\"]", text) != 1 || df_getc(file) != '"') return false;
  } else {
    df_ungetc(file, c);
    if (df_scanf(file, "%1023s", text) != 1) return false;
  }
  *out = text;
  return true;
}

}  // namespace

bool read_series(const std::string& bytes, Series* series) {
  if (bytes.empty()) return false;
  std::string copy = bytes;
  std::unique_ptr<DataFile, DataFileCloser> file(df_open_stream(fmemopen(copy.data(), copy.size(), "rb")));
  if (!file) return false;
  int riders = 0, events = 0;
  char skill[1024];
  if (!read_series_string(file.get(), &series->title) || df_scanf(file.get(), "%d %1023s", &riders, skill) != 2)
    return false;
  if (riders < 0 || riders + 1 > 40) return false;
  series->skill = skill;
  for (int i = 0; i < riders; ++i) {
    int number;
    if (df_scanf(file.get(), "%d", &number) != 1) return false;
    series->riders.push_back(number);
  }
  if (df_scanf(file.get(), "%d", &events) != 1 || events < 0) return false;
  for (int e = 0; e < events; ++e) {
    SeriesEvent event;
    if (!read_series_string(file.get(), &event.name) || !read_series_string(file.get(), &event.track) ||
        df_scanf(file.get(), "%d %d", &event.minutes, &event.laps) != 2)
      return false;
    for (auto* table : {&event.moto, &event.championship})
      for (int& points : *table)
        if (df_scanf(file.get(), "%d", &points) != 1) return false;
    series->events.push_back(event);
  }
  return true;
}

}  // namespace check
