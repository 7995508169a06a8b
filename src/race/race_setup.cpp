#include "race/race_setup.h"

#include "core/settings.h"

namespace {

std::string texture_choice(const SettingItem& item) {
  if (item.current < 0 || item.current >= static_cast<int>(item.option_values.size())) return "";
  return item.option_values[static_cast<size_t>(item.current)];
}

}  // namespace

RiderIdentity player_identity(const Settings& s) {
  RiderIdentity p;
  p.bike = s.bike.choice();
  p.number = s.number.text.empty() ? "999" : s.number.text;
  p.body_texture = texture_choice(s.rider_texture);
  p.head_texture = texture_choice(s.head_texture);
  p.bike_texture = texture_choice(s.bike_texture);
  p.wheel_texture = texture_choice(s.wheel_texture);
  return p;
}

RaceSetup player_race_setup(const Settings& s, const std::string& track, int32_t laps) {
  RaceSetup setup;
  setup.track = track;
  const int32_t empty[RACE_SLOTS] = {};
  setup.set_lineup(empty, player_identity(s));
  setup.race_laps = laps;
  setup.player_settings = &s;
  return setup;
}

void RaceSetup::set_lineup(const int32_t* codes, const RiderIdentity& player) {
  for (int k = 0; k < RACE_SLOTS; ++k) slots[k] = {codes[k], player};
}
