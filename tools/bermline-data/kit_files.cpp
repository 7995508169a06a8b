#include <cstdio>

#include "data/safe_write.h"
#include "data/saf_archive.h"
#include "data_kit.h"
#include "platform/base/paths.h"

bool write_kit_file(const std::string& root, const std::string& name, const std::string& bytes) {
  std::string path = root + name;
  std::string folder = path.substr(0, path.rfind('/'));
  if (!make_folders(folder) || !write_file_safely(path, bytes)) {
    std::fprintf(stderr, "bermline-data: can't write '%s'\n", path.c_str());
    return false;
  }
  return true;
}

bool write_identity_archive(const std::string& root) {
  // The game recognises its data by the digest of this file: change its
  // bytes only together with the digest the game expects.
  std::string path = root + "zzzz.saf";
  if (!make_folders(root) ||
      !write_saf_archive(path.c_str(), {{"bermline-data-version", "Bermline game data 1\n"}})) {
    std::fprintf(stderr, "bermline-data: can't write '%s'\n", path.c_str());
    return false;
  }
  return true;
}
