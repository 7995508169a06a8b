#include "core/bike_names.h"

#include <cstring>

namespace {
struct BikeAlias {
  const char* old_name;
  const char* model;
};
constexpr BikeAlias BIKE_ALIASES[] = {{"crf250", "crf250(2008)"},
                                      {"kx250f", "kx250f(2008)"},
                                      {"rmz250", "rmz250(2008)"},
                                      {"yz250f", "yz250f(2008)"}};
}  // namespace

const char* apply_bike_alias(const char* name) {
  for (const BikeAlias& alias : BIKE_ALIASES)
    if (std::strcmp(name, alias.old_name) == 0) return alias.model;
  return name;
}

std::string bike_texture_prefix(const std::string& bike) {
  return bike.substr(0, bike.find('(')) + "-";
}
