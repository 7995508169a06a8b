// Tile codes from texture names. A kind named "<base>.<ext>" is plain; a
// kind "<base>-<overlay>-<mask>.<ext>" is the transition from base to
// overlay whose corner mask (four "0"/"1" digits, low x low z first) says
// which corners show the overlay; "<base>-alt<digit>..." is a variant of the
// base kind.
#include <string>

#include "track/terrain.h"

namespace {

// The part of a texture path that names a kind: without a leading "@",
// from the last "/" on ("/" included).
std::string kind_name(const std::string& path) {
  std::string name = !path.empty() && path[0] == '@' ? path.substr(1) : path;
  size_t slash = name.rfind('/');
  return slash == std::string::npos ? name : name.substr(slash);
}

// The first kind whose name is exactly `stem` + "." + more text; -1 if none.
int kind_named(const std::vector<std::string>& names, const std::string& stem) {
  for (size_t k = 0; k < names.size(); ++k) {
    const std::string& n = names[k];
    if (n.size() > stem.size() + 1 && n.compare(0, stem.size(), stem) == 0 && n[stem.size()] == '.')
      return static_cast<int>(k);
  }
  return -1;
}

int plain_code(int k) { return (k << 16) | (k << 8); }

int tile_code_of(const std::vector<std::string>& names, int k) {
  const std::string& n = names[static_cast<size_t>(k)];
  size_t dash = n.find('-');
  if (dash == std::string::npos) return plain_code(k);
  int base = kind_named(names, n.substr(0, dash));
  if (base < 0) return plain_code(k);
  std::string rest = n.substr(dash + 1);
  if (rest.size() > 3 && rest.compare(0, 3, "alt") == 0 && rest[3] >= '0' && rest[3] <= '9') return plain_code(base);
  size_t next_dash = rest.find('-');
  if (next_dash == std::string::npos) return -256;
  // The overlay is looked up in the same folder as the base kind.
  std::string folder = n[0] == '/' ? "/" : "";
  int overlay = kind_named(names, folder + rest.substr(0, next_dash));
  if (overlay < 0) return -256;
  std::string digits = rest.substr(next_dash + 1, 4);
  int mask = 0;
  for (char c : digits) {
    if (c != '0' && c != '1') return (base << 16) | (overlay << 8);
    mask = mask << 1 | (c - '0');
  }
  if (digits.size() != 4) return (base << 16) | (overlay << 8);
  return (base << 16) | (overlay << 8) | mask;
}

}  // namespace

void DeriveTileCodes(Terrain& t) {
  std::vector<std::string> names;
  for (int k = 0; k < t.tile_count; ++k) names.push_back(kind_name(t.tile_texture_name[static_cast<size_t>(k)]));
  for (int k = 0; k < t.tile_count; ++k) t.tile_code[static_cast<size_t>(k)] = tile_code_of(names, k);
}
