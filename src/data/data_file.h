// The game's file layer: every file is opened through df_open by a plain
// path or by a virtual path "@name", which is looked up in the home folder,
// then the data folder, then the index of all game data (plain files and
// members of ".saf" archives). Gzip-compressed data (".gz" twins and
// members) is inflated on the fly; writes go to the home folder.
#pragma once

#include <cstdint>
#include <cstdio>

struct DataFile;

constexpr int32_t DF_WHOLE_FILE = 0x7FFFFFFF;

// Opens a file; mode is a stdio mode ("rb", "wb"). Null on failure.
DataFile* df_open(const char* path, const char* mode);
void df_close(DataFile* file);

// Wraps an open stream (taken over: df_close closes it). With `gzip` the
// stream holds gzip data that is inflated on reading; null when its header
// is bad. Used for in-memory data (fmemopen) in tools, tests and fuzzers.
DataFile* df_open_stream(FILE* stream, bool gzip = false);

int df_getc(DataFile* file);  // 0..255, or -1 at the end
// Gives one byte back to be read next (the scanner's look-ahead).
void df_ungetc(DataFile* file, int byte);
// Reads up to a LF (kept) or size - 1 bytes; null when nothing was read.
char* df_gets(DataFile* file, char* buffer, int size);
int df_read(DataFile* file, void* buffer, int count);

int df_putc(DataFile* file, int byte);  // 1 on success, 0 on failure
int df_puts(DataFile* file, const char* text);
int df_write(DataFile* file, const void* data, int count);
int df_printf(DataFile* file, const char* format, ...) __attribute__((format(printf, 2, 3)));
int df_flush(DataFile* file);

// Moves to a byte offset of an uncompressed file; 1 on success, 0 for
// compressed files and offsets past the data.
int df_seek(DataFile* file, int32_t offset);

// Bytes delivered so far.
int32_t df_position(const DataFile* file);
// True when no more bytes can be read.
bool df_at_end(DataFile* file);

// RAII owner for a DataFile.
struct DataFileCloser {
  void operator()(DataFile* file) const { df_close(file); }
};
