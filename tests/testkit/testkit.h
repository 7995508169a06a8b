// Helpers shared by the test suites: scratch folders, whole-file reads and
// writes, a data layer pointed at scratch folders, and running programs.
#pragma once

#include <map>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace testkit {

// A fresh, empty folder for the running test (ends in "/").
std::string scratch_dir(const std::string& label = "");

void write_file(const std::string& path, const std::string& bytes);
std::string read_file(const std::string& path);
bool file_exists(const std::string& path);

// gzip-compresses bytes (for ".gz" fixtures).
std::string gzip(const std::string& bytes);

// Points the data layer at a scratch home folder and a scratch data
// folder (BL_USER_HOME, BL_HOME) and forgets any index built before.
struct DataFolders {
  std::string home;
  std::string data;
  DataFolders();
  ~DataFolders();
};

struct ProcessResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
};

// Runs a program with extra (or, with an empty value, removed) environment
// variables, and collects its output.
ProcessResult run_process(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& environment = {});

// The folder of the generated game data and of hand-made fixtures.
std::string game_dir();
std::string fixtures_dir();

}  // namespace testkit
