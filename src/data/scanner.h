// The formatted reader of every text data format (tracks, bikes, models,
// series, racing lines). It follows the scanf rules closely but converts
// numbers with its own routines, so results never depend on the locale.
//
// Returns the number of stored conversions, or -1 when the input ended (or a
// literal failed to match) before anything was stored; a literal that fails
// to match gives -1 even after stores. The character that ends a conversion
// stays unread. Supported: %d %i %o %x %X %f %s %c %[set] %n %%, with "*",
// widths, "h", "l", "ll", "L", "q".
#pragma once

#include <cstdarg>

struct DataFile;

int df_scanf(DataFile* file, const char* format, ...);
int df_vscanf(DataFile* file, const char* format, va_list args);

// Skips white space and any lines starting with "#": the comment idiom of
// the text formats.
void df_skip_comments(DataFile* file);
