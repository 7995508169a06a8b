#include "platform/base/paths.h"

#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <vector>

std::string normalise_path(const std::string& path) {
  std::string out;
  out.reserve(path.size());
  for (char c : path) {
    if (c == '\\') c = '/';
    if (c == '/' && !out.empty() && out.back() == '/') continue;
    out += c;
  }
  return out;
}

static std::string as_folder(std::string path) {
  path = normalise_path(path);
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

std::string user_home_folder() {
  const char* override_home = std::getenv("BL_USER_HOME");
  if (override_home && *override_home) return as_folder(override_home);
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg && *xdg) return as_folder(std::string(xdg) + "/bermline");
  const char* home = std::getenv("HOME");
  if (home && *home) return as_folder(std::string(home) + "/.local/share/bermline");
  return "";
}

std::string executable_folder() {
  std::vector<char> buffer(4096);
  ssize_t length = readlink("/proc/self/exe", buffer.data(), buffer.size());
  if (length <= 0 || static_cast<size_t>(length) >= buffer.size()) return "";
  std::string path = normalise_path(std::string(buffer.data(), static_cast<size_t>(length)));
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return "";
  return path.substr(0, slash + 1);
}

bool make_folders(const std::string& path) {
  std::string normal = normalise_path(path);
  for (size_t at = 1; at <= normal.size(); ++at) {
    if (at < normal.size() && normal[at] != '/') continue;
    std::string prefix = normal.substr(0, at);
    if (mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST) return false;
  }
  struct stat info;
  return stat(normal.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool open_in_desktop(const std::string& path) {
  pid_t child = fork();
  if (child < 0) return false;
  if (child == 0) {
    execlp("xdg-open", "xdg-open", path.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  if (waitpid(child, &status, 0) < 0) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}
