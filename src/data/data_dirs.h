// The data directories, the index of all game data, and the home folder.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One file of game data: a plain file or a member of a ".saf" archive.
struct DataEntry {
  std::string host_path;  // the file on disk holding the data
  std::string name;       // virtual name, "/"-separated
  int32_t offset = 0;     // byte offset inside the host file
  int32_t size = 0;
  int32_t source = 0;     // data directory number, or dirs + archive ordinal
};

// The n-th data directory (ending in "/"), or null when n is out of range.
// Directory 0 is the home folder when one can be determined.
const char* data_dir(int n);
int data_dir_count();

// The folder written files go to: the first data directory ("" when there
// is none), normally the home folder.
std::string home_folder();

// Every virtual name of the game data, sorted, without duplicates.
const std::vector<std::string>& list_data_files();

// The whole index, sorted by (name, source).
const std::vector<DataEntry>& data_index();

// The first index entry whose name equals `name` or `name` + ".gz",
// ignoring letter case; null when none. `compressed` (may be null) tells
// which of the two it is.
const DataEntry* find_data_entry(const std::string& name, bool* compressed);

// Creates the home folder with its parents and opens it in the desktop.
void open_home_folder();

// Forgets the directories and the index, so the next use reads the
// environment and walks the folders again. For tests and tools.
void reset_data_layer();
