// bermline-data writes, checks and pictures the default game data:
//   bermline-data OUT                 write the complete data into OUT
//   bermline-data --without-lines OUT the same without training the racing lines
//   bermline-data --check DIR         load everything in DIR with the game's loaders
//   bermline-data --preview DIR OUT   write pictures of DIR's tracks and art into OUT
//   bermline-data --lines DIR         train the racing lines of DIR's tracks again
#include <cstdio>
#include <cstring>
#include <string>

#include "check/data_check.h"
#include "check/data_preview.h"
#include "data_kit.h"

namespace {

std::string as_folder(std::string path) {
  if (path.empty() || path.back() != '/') path += '/';
  return path;
}

int usage() {
  std::fprintf(stderr,
               "usage: bermline-data OUT\n"
               "       bermline-data --without-lines OUT\n"
               "       bermline-data --check DIR\n"
               "       bermline-data --preview DIR OUT\n"
               "       bermline-data --lines DIR\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::strcmp(argv[1], "--check") == 0) {
    std::string report;
    bool ok = check::check_data_folder(as_folder(argv[2]), &report);
    std::fputs(report.c_str(), stdout);
    return ok ? 0 : 1;
  }
  if (argc == 3 && std::strcmp(argv[1], "--lines") == 0) return write_racing_lines(as_folder(argv[2])) ? 0 : 1;
  if (argc == 4 && std::strcmp(argv[1], "--preview") == 0)
    return check::write_previews(as_folder(argv[2]), as_folder(argv[3])) ? 0 : 1;
  const bool lines = !(argc == 3 && std::strcmp(argv[1], "--without-lines") == 0);
  if (lines && (argc != 2 || argv[1][0] == '-')) return usage();
  std::string root = as_folder(argv[argc - 1]);
  bool ok = write_identity_archive(root) && write_tracks(root) && write_art(root) && (!lines || write_racing_lines(root));
  return ok ? 0 : 1;
}
