// Runs the data scanner (df_scanf) over a piece of text: the line-based
// track files (tileinfo, texturelist, lighting) read a line, then scan it.
#pragma once

#include <initializer_list>
#include <string>

// As df_scanf; an empty text is the end of input (-1).
int scan_text(const std::string& text, const char* format, ...);

// Whether every number read is finite: a value too large for a float is
// treated like one that did not match.
bool all_finite(std::initializer_list<float> values);

// A keyword line: the characters of `leading_skip` skipped, the keyword up
// to the first space, tab or line end, the argument after spaces and tabs
// up to the line end. False for a line with no keyword (an empty line).
struct KeywordLine {
  std::string keyword;
  std::string argument;
};
bool split_keyword_line(const char* line, const char* leading_skip, KeywordLine* out);
