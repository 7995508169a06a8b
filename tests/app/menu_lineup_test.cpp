// The New Race menu's lineup between races.
#include <gtest/gtest.h>

#include "app/menu_lineup.h"
#include "core/settings.h"
#include "race/race_setup.h"

namespace {

TEST(MenuLineup, RotatesByTheGivenPlaces) {
  reset_settings();
  for (int i = 0; i < RACE_SLOTS; ++i) settings.slot[static_cast<size_t>(i)].current = i % 5;
  rotate_menu_lineup(settings, 3);
  for (int i = 0; i < RACE_SLOTS; ++i) EXPECT_EQ(settings.slot[static_cast<size_t>((3 + i) % RACE_SLOTS)].current, i % 5) << i;
  rotate_menu_lineup(settings, -3);  // back
  for (int i = 0; i < RACE_SLOTS; ++i) EXPECT_EQ(settings.slot[static_cast<size_t>(i)].current, i % 5) << i;
}

}  // namespace
