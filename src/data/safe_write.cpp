#include "data/safe_write.h"

#include <cstdio>
#include <unistd.h>

std::string temporary_path_for(const std::string& path) {
  return path + ".tmp" + std::to_string(static_cast<long>(getpid()));
}

bool replace_with_temporary(const std::string& temporary, const std::string& path) {
  if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

bool write_file_safely(const std::string& path, const std::string& bytes) {
  std::string temporary = temporary_path_for(path);
  FILE* out = std::fopen(temporary.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
  ok = std::fflush(out) == 0 && ok;
  ok = fsync(fileno(out)) == 0 && ok;
  ok = std::fclose(out) == 0 && ok;
  if (!ok) {
    std::remove(temporary.c_str());
    return false;
  }
  return replace_with_temporary(temporary, path);
}
