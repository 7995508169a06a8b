// bermline-data OUT: writes the complete default game data into OUT.
#include <cstdio>
#include <string>

#include "data_kit.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bermline-data OUT\n");
    return 2;
  }
  std::string root = argv[1];
  if (root.empty() || root.back() != '/') root += '/';
  bool ok = write_identity_archive(root) && write_tracks(root) && write_art(root);
  return ok ? 0 : 1;
}
