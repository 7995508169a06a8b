#include "autopilot/personality.h"

#include <cstring>

namespace {

constexpr Personality PERSONALITIES[PERSONALITY_COUNT] = {
    {"empty", 0, 0, 0, 0, 0},
    {"birch", 0, 0, 1.0, 0.2, 0.4},
    {"cedar", 2, 1, 10.0, 0.2, 0.4},
    {"alder", 1, 0, 10.0, 0, 0.1},
    {"tester", 3, 3, 1.0, 0.2, 0.4},
};

}  // namespace

const Personality& personality(int index) { return PERSONALITIES[index >= 0 && index < PERSONALITY_COUNT ? index : 0]; }

int find_personality(const char* name) {
  for (int k = 1; k < PERSONALITY_COUNT; ++k)
    if (name && std::strcmp(name, PERSONALITIES[k].name) == 0) return k;
  return 0;
}
