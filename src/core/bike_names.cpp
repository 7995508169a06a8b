#include "core/bike_names.h"

#include <cstring>

const char* const BIKE_CHOICES[BIKE_CHOICE_COUNT] = {
    "crf250(2009)", "kx250f(2009)", "rmz250(2009)", "yz250f(2009)", "crf250(2008)",
    "kx250f(2008)", "rmz250(2008)", "yz250f(2008)", "crf250(2007)", "kx250f(2007)",
    "rmz250(2007)", "yz250f(2007)", "yz250f_se(2006)", "cr125", "kx125", "rm125", "yz125"};

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
