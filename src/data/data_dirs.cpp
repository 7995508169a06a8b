#include "data/data_dirs.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <set>
#include <unordered_map>
#include <utility>

#include "data/saf_archive.h"
#include "platform/base/paths.h"

namespace {

struct DataLayer {
  bool dirs_built = false;
  std::vector<std::string> dirs;
  bool index_built = false;
  std::vector<DataEntry> index;
  std::vector<std::string> names;
  // Lower-cased name -> position of the first entry with that name.
  std::unordered_map<std::string, size_t> first_by_folded_name;
};

DataLayer layer;

void build_dirs() {
  if (layer.dirs_built) return;
  layer.dirs_built = true;
  std::string home = user_home_folder();
  if (!home.empty()) layer.dirs.push_back(home);
  const char* data_home = std::getenv("BL_HOME");
  std::string data = data_home ? normalise_path(std::string(data_home) + "/") : executable_folder();
  if (!data.empty()) layer.dirs.push_back(data);
}

bool entry_before(const DataEntry& a, const DataEntry& b) {
  int order = std::strcmp(a.name.c_str(), b.name.c_str());
  return order != 0 ? order < 0 : a.source < b.source;
}

std::string fold_case(const std::string& text) {
  std::string folded = text;
  for (char& c : folded)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return folded;
}

// Walks one data directory recursively. Directories already visited (by
// device and inode) are skipped, so a symbolic-link loop cannot hang us.
void walk(const std::string& folder, size_t prefix_length, int source,
          std::set<std::pair<dev_t, ino_t>>& visited) {
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  std::string base = folder;
  while (!base.empty() && base.back() == '/') base.pop_back();
  base += '/';
  while (dirent* item = readdir(dir)) {
    if (std::strcmp(item->d_name, ".") == 0 || std::strcmp(item->d_name, "..") == 0) continue;
    std::string path = base + item->d_name;
    struct stat info;
    if (stat(path.c_str(), &info) != 0) continue;
    if (S_ISDIR(info.st_mode)) {
      if (visited.insert({info.st_dev, info.st_ino}).second) walk(path, prefix_length, source, visited);
      continue;
    }
    DataEntry entry;
    entry.host_path = path;
    entry.name = path.size() > prefix_length ? path.substr(prefix_length) : std::string();
    entry.offset = 0;
    entry.size = info.st_size > INT32_MAX ? INT32_MAX : static_cast<int32_t>(info.st_size);
    entry.source = source;
    layer.index.push_back(std::move(entry));
  }
  closedir(dir);
}

bool has_saf_suffix(const std::string& name) {
  return name.size() > 4 && name.compare(name.size() - 4, 4, ".saf") == 0;
}

void build_index() {
  if (layer.index_built) return;
  layer.index_built = true;
  build_dirs();
  for (size_t n = 0; n < layer.dirs.size(); ++n) {
    std::string dir = layer.dirs[n];
    std::set<std::pair<dev_t, ino_t>> visited;
    struct stat info;
    if (stat(dir.c_str(), &info) == 0) visited.insert({info.st_dev, info.st_ino});
    // The name is the path without the directory's prefix (which ends in "/").
    std::string trimmed = dir;
    while (!trimmed.empty() && trimmed.back() == '/') trimmed.pop_back();
    walk(dir, trimmed.size() + 1, static_cast<int>(n), visited);
  }
  std::sort(layer.index.begin(), layer.index.end(), entry_before);

  // Archive members join the index after the plain files are known.
  int32_t archive_source = static_cast<int32_t>(layer.dirs.size());
  size_t plain_count = layer.index.size();
  for (size_t i = 0; i < plain_count; ++i) {
    if (!has_saf_suffix(layer.index[i].name)) continue;
    std::vector<SafMember> members;
    std::string host = layer.index[i].host_path;
    if (read_saf_header_file(host.c_str(), &members)) {
      for (SafMember& member : members) {
        DataEntry entry;
        entry.host_path = host;
        entry.name = std::move(member.name);
        entry.offset = member.offset;
        entry.size = member.size;
        entry.source = archive_source;
        layer.index.push_back(std::move(entry));
      }
    }
    ++archive_source;
  }
  std::sort(layer.index.begin(), layer.index.end(), entry_before);

  for (size_t i = 0; i < layer.index.size(); ++i) {
    const std::string& name = layer.index[i].name;
    if (layer.names.empty() || layer.names.back() != name) layer.names.push_back(name);
    layer.first_by_folded_name.emplace(fold_case(name), i);
  }
}

}  // namespace

const char* data_dir(int n) {
  build_dirs();
  if (n < 0 || n >= static_cast<int>(layer.dirs.size())) return nullptr;
  return layer.dirs[static_cast<size_t>(n)].c_str();
}

int data_dir_count() {
  build_dirs();
  return static_cast<int>(layer.dirs.size());
}

std::string home_folder() {
  const char* first = data_dir(0);
  return first ? first : "";
}

const std::vector<std::string>& list_data_files() {
  build_index();
  return layer.names;
}

const std::vector<DataEntry>& data_index() {
  build_index();
  return layer.index;
}

const DataEntry* find_data_entry(const std::string& name, bool* compressed) {
  build_index();
  std::string folded = fold_case(name);
  auto plain = layer.first_by_folded_name.find(folded);
  auto packed = layer.first_by_folded_name.find(folded + ".gz");
  size_t none = layer.index.size();
  size_t plain_at = plain == layer.first_by_folded_name.end() ? none : plain->second;
  size_t packed_at = packed == layer.first_by_folded_name.end() ? none : packed->second;
  if (plain_at == none && packed_at == none) return nullptr;
  if (compressed) *compressed = packed_at < plain_at;
  return &layer.index[std::min(plain_at, packed_at)];
}

void open_home_folder() {
  std::string home = home_folder();
  if (home.empty()) return;
  make_folders(home);
  while (home.size() > 1 && home.back() == '/') home.pop_back();
  open_in_desktop(home);
}

void reset_data_layer() { layer = DataLayer(); }
