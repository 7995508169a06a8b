#include "race/race_session.h"

#include <algorithm>

#include "physics/bike.h"
#include "physics/bike_load.h"
#include "race/demo_playback.h"
#include "race/standings.h"

RaceSession race;

RaceSession::RaceSession() { std::fill(std::begin(slot_control), std::end(slot_control), static_cast<int>(CONTROL_EXTERNAL)); }

void free_slot(int slot) {
  // The slot's engine voice is released here (effects issue).
  free_bike(race.slot_bike[slot]);
  race.slot_bike[slot] = nullptr;
  race.slot_control[slot] = CONTROL_EXTERNAL;
  race.slot_rider[slot] = RiderIdentity{};
}

void clear_race_session() {
  for (int slot = 0; slot < RACE_SLOTS; ++slot) free_slot(slot);
  std::fill(std::begin(race.lineup), std::end(race.lineup), SLOT_EMPTY);
}

void end_race_session() {
  reset_standings();
  for (int slot = 0; slot < RACE_SLOTS; ++slot) free_slot(slot);
  close_demo_files();
}

int race_bikes(Bike* out[RACE_SLOTS]) {
  int count = 0;
  for (Bike* b : race.slot_bike)
    if (b) out[count++] = b;
  return count;
}
