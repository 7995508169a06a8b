#include "data/saf_archive.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "data/safe_write.h"

namespace {

constexpr int SAF_LINE_BUFFER = 1024;

std::string collapse_slashes(const char* text, size_t length) {
  std::string out;
  out.reserve(length);
  for (size_t i = 0; i < length; ++i) {
    if (text[i] == '/' && !out.empty() && out.back() == '/') continue;
    out += text[i];
  }
  return out;
}

}  // namespace

bool read_saf_header(FILE* stream, std::vector<SafMember>* members) {
  members->clear();
  char line[SAF_LINE_BUFFER];
  int64_t header_bytes = 0;
  while (std::fgets(line, sizeof line, stream)) {
    size_t length = std::strlen(line);
    header_bytes += static_cast<int64_t>(length);
    if (length == 0 || line[length - 1] != '\n') break;  // cut or unterminated line
    line[--length] = 0;
    char* after_number = nullptr;
    errno = 0;
    long size = std::strtol(line, &after_number, 10);
    if (after_number == line) {
      if (std::strcmp(line, "-") != 0) break;
      int64_t offset = header_bytes;
      for (SafMember& member : *members) {
        if (offset > INT32_MAX) {
          members->clear();
          return false;
        }
        member.offset = static_cast<int32_t>(offset);
        offset += member.size;
      }
      return true;
    }
    // One separator character, then the name.
    if (errno == ERANGE || size < 0 || size > INT32_MAX || *after_number == 0 || after_number[1] == 0)
      break;
    const char* name = after_number + 1;
    members->push_back({collapse_slashes(name, std::strlen(name)), 0, static_cast<int32_t>(size)});
  }
  members->clear();
  return false;
}

bool read_saf_header_file(const char* path, std::vector<SafMember>* members) {
  FILE* stream = std::fopen(path, "rb");
  if (!stream) return false;
  bool ok = read_saf_header(stream, members);
  std::fclose(stream);
  return ok;
}

bool write_saf_archive(const char* path,
                       const std::vector<std::pair<std::string, std::string>>& members) {
  std::string bytes;
  for (const auto& [name, data] : members) bytes += std::to_string(data.size()) + " " + name + "\n";
  bytes += "-\n";
  for (const auto& member : members) bytes += member.second;
  return write_file_safely(path, bytes);
}
