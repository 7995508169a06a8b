#include "app/menu_lineup.h"

#include "core/settings.h"
#include "race/race_setup.h"

void rotate_menu_lineup(Settings& s, int n) {
  int codes[RACE_SLOTS];
  for (int i = 0; i < RACE_SLOTS; ++i) codes[i] = s.slot[static_cast<size_t>(i)].current;
  const int turn = ((n % RACE_SLOTS) + RACE_SLOTS) % RACE_SLOTS;
  for (int i = 0; i < RACE_SLOTS; ++i) s.slot[static_cast<size_t>((turn + i) % RACE_SLOTS)].current = codes[i];
}
