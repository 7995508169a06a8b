#include "testkit.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "data/data_dirs.h"

extern char** environ;

namespace testkit {

namespace fs = std::filesystem;

std::string scratch_dir(const std::string& label) {
  fs::path base = BL_TEST_TMP;
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = info ? std::string(info->test_suite_name()) + "." + info->name() : "outside";
  for (char& c : name)
    if (c == '/') c = '_';
  fs::path dir = base / (name + (label.empty() ? "" : "." + label));
  fs::remove_all(dir);
  fs::create_directories(dir);
  return dir.string() + "/";
}

void write_file(const std::string& path, const std::string& bytes) {
  fs::create_directories(fs::path(path).parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << path;
}

std::string read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

bool file_exists(const std::string& path) { return fs::exists(path); }

std::string gzip(const std::string& bytes) {
  z_stream stream{};
  deflateInit2(&stream, 9, Z_DEFLATED, 15 + 16, 8, Z_DEFAULT_STRATEGY);
  std::string out(deflateBound(&stream, bytes.size()) + 32, '\0');
  stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
  stream.avail_in = static_cast<uInt>(bytes.size());
  stream.next_out = reinterpret_cast<Bytef*>(out.data());
  stream.avail_out = static_cast<uInt>(out.size());
  deflate(&stream, Z_FINISH);
  out.resize(stream.total_out);
  deflateEnd(&stream);
  return out;
}

DataFolders::DataFolders() {
  std::string root = scratch_dir("folders");
  home = root + "home/";
  data = root + "data/";
  fs::create_directories(data);
  setenv("BL_USER_HOME", home.c_str(), 1);
  setenv("BL_HOME", data.c_str(), 1);
  reset_data_layer();
}

DataFolders::~DataFolders() { reset_data_layer(); }

ProcessResult run_process(const std::vector<std::string>& argv,
                          const std::map<std::string, std::string>& environment) {
  ProcessResult result;
  std::string dir = scratch_dir("process");
  std::string out_path = dir + "stdout", err_path = dir + "stderr";

  std::map<std::string, std::string> env;
  for (char** e = environ; *e; ++e) {
    std::string entry = *e;
    size_t eq = entry.find('=');
    if (eq != std::string::npos) env[entry.substr(0, eq)] = entry.substr(eq + 1);
  }
  for (const auto& [key, value] : environment) {
    if (value.empty()) env.erase(key);
    else env[key] = value;
  }
  std::vector<std::string> env_text;
  for (const auto& [key, value] : env) env_text.push_back(key + "=" + value);
  std::vector<char*> envp, args;
  for (std::string& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::vector<std::string> argv_copy = argv;
  for (std::string& a : argv_copy) args.push_back(a.data());
  args.push_back(nullptr);

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, 2, err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  pid_t child;
  int spawned = posix_spawn(&child, args[0], &actions, nullptr, args.data(), envp.data());
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return result;
  int status = 0;
  waitpid(child, &status, 0);
  if (WIFEXITED(status)) result.status = WEXITSTATUS(status);
  result.out = read_file(out_path);
  result.err = read_file(err_path);
  return result;
}

std::string game_dir() { return std::string(BL_TEST_GAME_DIR) + "/"; }

std::string fixtures_dir() { return std::string(BL_TEST_FIXTURES) + "/"; }

}  // namespace testkit
