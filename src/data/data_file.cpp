#include "data/data_file.h"

#include <sys/stat.h>
#include <zlib.h>

#include <cstdarg>
#include <cstring>
#include <string>

#include "data/data_dirs.h"
#include "platform/base/fatal.h"

struct DataFile {
  FILE* host = nullptr;
  int32_t base = 0;
  int32_t length = DF_WHOLE_FILE;
  int32_t position = 0;
  int32_t pushed_back = -1;
  bool compressed = false;
  int32_t compressed_length = 0;  // compressed bytes the host may still give
  bool end_of_stream = false;
  bool inflater_ready = false;
  z_stream inflater{};
  unsigned char input[16384];
  unsigned char output[1024];
  unsigned char* output_next = output;
  size_t output_left = 0;
};

namespace {

constexpr size_t PATH_LIMIT = 1024;
constexpr size_t VIRTUAL_PATH_LIMIT = 511;

bool read_only(const char* mode) {
  return std::strchr(mode, 'r') != nullptr && std::strchr(mode, '+') == nullptr;
}

DataFile* new_handle(FILE* host) {
  DataFile* file = new (std::nothrow) DataFile;
  if (!file) fatal_out_of_memory();
  file->host = host;
  return file;
}

// Reads more compressed bytes into the input buffer; false when none are left.
bool refill_input(DataFile* file) {
  size_t want = sizeof file->input;
  if (static_cast<size_t>(file->compressed_length) < want) want = static_cast<size_t>(file->compressed_length);
  if (want == 0) return false;
  size_t got = std::fread(file->input, 1, want, file->host);
  file->compressed_length -= static_cast<int32_t>(got);
  file->inflater.next_in = file->input;
  file->inflater.avail_in = static_cast<uInt>(got);
  return got > 0;
}

// Parses the gzip header at the start of the compressed data and readies
// the raw-deflate inflater behind it.
bool start_gzip(DataFile* file) {
  file->compressed = true;
  file->compressed_length = file->length;
  file->length = DF_WHOLE_FILE;
  if (!refill_input(file)) return false;
  const unsigned char* bytes = file->input;
  size_t size = file->inflater.avail_in;
  if (size < 10 || bytes[0] != 0x1F || bytes[1] != 0x8B || bytes[2] != 8 || bytes[3] >= 32) return false;
  unsigned flags = bytes[3];
  size_t at = 10;
  if (flags & 4) {
    if (at + 2 > size) return false;
    at += 2 + (bytes[at] | (bytes[at + 1] << 8));
  }
  for (unsigned text_flag : {8u, 16u}) {
    if (!(flags & text_flag)) continue;
    while (at < size && bytes[at] != 0) ++at;
    ++at;
  }
  if (flags & 2) at += 2;
  if (at > size) return false;
  file->inflater.next_in = file->input + at;
  file->inflater.avail_in = static_cast<uInt>(size - at);
  if (inflateInit2(&file->inflater, -15) != Z_OK) return false;
  file->inflater_ready = true;
  return true;
}

// Fills the output buffer; false when the stream has nothing more.
bool inflate_more(DataFile* file) {
  if (file->end_of_stream) return false;
  file->output_next = file->output;
  file->output_left = 0;
  while (file->output_left == 0) {
    if (file->inflater.avail_in == 0 && !refill_input(file)) {
      file->end_of_stream = true;  // truncated stream: end with a short read
      return false;
    }
    file->inflater.next_out = file->output;
    file->inflater.avail_out = sizeof file->output;
    int result = inflate(&file->inflater, Z_NO_FLUSH);
    file->output_left = sizeof file->output - file->inflater.avail_out;
    if (result == Z_STREAM_END) {
      file->end_of_stream = true;
      break;
    }
    if (result != Z_OK && result != Z_BUF_ERROR) {
      file->end_of_stream = true;  // corrupt data
      break;
    }
    if (result == Z_BUF_ERROR && file->output_left == 0 && file->inflater.avail_in != 0) {
      file->end_of_stream = true;  // no progress possible
      break;
    }
  }
  return file->output_left > 0;
}

// Delivers up to `count` bytes from the data, honouring the length.
int read_bytes(DataFile* file, unsigned char* out, int count) {
  int32_t room = file->length - file->position;
  if (count > room) count = room;
  if (count <= 0) return 0;
  int done = 0;
  if (file->compressed) {
    while (done < count) {
      if (file->output_left == 0 && !inflate_more(file)) break;
      size_t take = file->output_left;
      if (take > static_cast<size_t>(count - done)) take = static_cast<size_t>(count - done);
      std::memcpy(out + done, file->output_next, take);
      file->output_next += take;
      file->output_left -= take;
      done += static_cast<int>(take);
    }
  } else {
    done = static_cast<int>(std::fread(out, 1, static_cast<size_t>(count), file->host));
  }
  file->position += done;
  return done;
}

// Creates every missing parent folder of a path about to be written.
void create_parent_folders(const char* path) {
  std::string text = path;
  for (size_t at = 1; at < text.size(); ++at) {
    if (text[at] != '/' || text[at - 1] == '/') continue;
    mkdir(text.substr(0, at).c_str(), 0777);
  }
}

DataFile* plain_open(const char* path, const char* mode) {
  bool reading = read_only(mode);
  if (!reading && std::strlen(path) < PATH_LIMIT) create_parent_folders(path);
  FILE* host = std::fopen(path, mode);
  bool compressed = false;
  if (!host && reading && std::strlen(path) < PATH_LIMIT - 4) {
    std::string twin = std::string(path) + ".gz";
    host = std::fopen(twin.c_str(), mode);
    compressed = host != nullptr;
  }
  if (!host) return nullptr;
  struct stat info;
  if (fstat(fileno(host), &info) == 0 && S_ISDIR(info.st_mode)) {  // a folder is not a file
    std::fclose(host);
    return nullptr;
  }
  DataFile* file = new_handle(host);
  if (compressed && !start_gzip(file)) {
    df_close(file);
    return nullptr;
  }
  return file;
}

DataFile* open_index_entry(const char* name) {
  bool compressed = false;
  const DataEntry* entry = find_data_entry(name, &compressed);
  if (!entry) return nullptr;
  FILE* host = std::fopen(entry->host_path.c_str(), "rb");
  if (!host) return nullptr;
  if (std::fseek(host, entry->offset, SEEK_SET) != 0) {
    std::fclose(host);
    return nullptr;
  }
  DataFile* file = new_handle(host);
  file->base = entry->offset;
  file->length = entry->size;
  if (compressed && !start_gzip(file)) {
    df_close(file);
    return nullptr;
  }
  return file;
}

}  // namespace

DataFile* df_open(const char* path, const char* mode) {
  if (!path || !mode) return nullptr;
  data_index();
  if (path[0] != '@') return plain_open(path, mode);
  const char* rest = path + 1;
  for (int n = 0; const char* dir = data_dir(n); ++n) {
    std::string joined = std::string(dir) + rest;
    if (joined.size() > VIRTUAL_PATH_LIMIT) joined.resize(VIRTUAL_PATH_LIMIT);
    if (DataFile* file = plain_open(joined.c_str(), mode)) return file;
  }
  if (!read_only(mode)) return nullptr;
  return open_index_entry(rest);
}

DataFile* df_open_stream(FILE* stream, bool gzip) {
  if (!stream) return nullptr;
  DataFile* file = new_handle(stream);
  if (gzip && !start_gzip(file)) {
    df_close(file);
    return nullptr;
  }
  return file;
}

void df_close(DataFile* file) {
  if (!file) return;
  if (file->inflater_ready) inflateEnd(&file->inflater);
  if (file->host) std::fclose(file->host);
  delete file;
}

int df_getc(DataFile* file) {
  if (file->pushed_back >= 0) {
    int byte = file->pushed_back;
    file->pushed_back = -1;
    return byte;
  }
  if (file->position >= file->length) return -1;
  if (!file->compressed) {
    int byte = getc_unlocked(file->host);
    if (byte == EOF) return -1;
    ++file->position;
    return byte;
  }
  unsigned char byte;
  return read_bytes(file, &byte, 1) == 1 ? byte : -1;
}

void df_ungetc(DataFile* file, int byte) { file->pushed_back = byte >= 0 ? (byte & 0xFF) : -1; }

char* df_gets(DataFile* file, char* buffer, int size) {
  if (size <= 0) return nullptr;
  int used = 0;
  while (used < size - 1) {
    int byte = df_getc(file);
    if (byte < 0) break;
    buffer[used++] = static_cast<char>(byte);
    if (byte == '\n') break;
  }
  buffer[used] = 0;
  return used > 0 ? buffer : nullptr;
}

int df_read(DataFile* file, void* buffer, int count) {
  if (count <= 0) return 0;
  unsigned char* out = static_cast<unsigned char*>(buffer);
  int done = 0;
  if (file->pushed_back >= 0) {
    out[done++] = static_cast<unsigned char>(file->pushed_back);
    file->pushed_back = -1;
  }
  return done + read_bytes(file, out + done, count - done);
}

int df_putc(DataFile* file, int byte) { return std::fputc(byte, file->host) == EOF ? 0 : 1; }

int df_puts(DataFile* file, const char* text) { return std::fputs(text, file->host); }

int df_write(DataFile* file, const void* data, int count) {
  if (count <= 0) return 0;
  return static_cast<int>(std::fwrite(data, 1, static_cast<size_t>(count), file->host));
}

int df_printf(DataFile* file, const char* format, ...) {
  va_list args;
  va_start(args, format);
  int written = std::vfprintf(file->host, format, args);
  va_end(args);
  return written;
}

int df_flush(DataFile* file) { return std::fflush(file->host); }

int df_seek(DataFile* file, int32_t offset) {
  if (file->compressed || offset < 0 || offset >= file->length) return 0;
  if (std::fseek(file->host, static_cast<long>(file->base) + offset, SEEK_SET) != 0) return 0;
  file->pushed_back = -1;
  file->position = offset;  // member reads keep stopping at the member's end
  return 1;
}

int32_t df_position(const DataFile* file) { return file->position; }

bool df_at_end(DataFile* file) {
  int byte = df_getc(file);
  if (byte < 0) return true;
  df_ungetc(file, byte);
  return false;
}
