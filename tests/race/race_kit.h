// Shared set-up of the race tests: a small flat track written into scratch
// data folders ("flats", 512 ft square, with starting places and a loop of
// timing gates that the test may replace), the bike shapes, the physics
// world, and helpers that move a bike's front wheel through gates by hand.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "physics/bike.h"
#include "race/race_session.h"
#include "testkit.h"
#include "track/track.h"

namespace race_kit {

// The default "flats" gates: four on a square loop around the middle, the
// fourth the lap line; eight starting places in a row facing -z.
extern const char* const FLATS_TIMING_GATES;

class RaceTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Writes the track "flats" with these timing gates (before start()).
  void write_track(const std::string& gates_file = FLATS_TIMING_GATES);
  // Builds the track list and selects "flats".
  void select_flats();
  // A lineup of the given codes, the rest empty.
  static std::vector<int32_t> lineup(std::vector<int32_t> codes);
  // A race on the flats by laps, from these slot codes (the rest empty),
  // the player riding as the settings say.
  static RaceSetup flats_race(std::vector<int32_t> codes, int32_t laps = 3);

  std::unique_ptr<testkit::DataFolders> folders;
};

// A race on the flats, its riders' coaches fresh.
class FlatsRace : public RaceTest {
 protected:
  void SetUp() override;
};

// Timing without a race: six gates along +x, 100 ft apart, radius 10,
// facing +x; every lap (the first too) passes all six, the last the lap
// line. Bikes are put in slots by hand and their front wheels moved through
// the gates; the race is one of ten laps from a gate drop at tick 0.
class HandTimedRace : public RaceTest {
 protected:
  void SetUp() override;
  // A bike in a slot (not placed anywhere in particular).
  static Bike* bike_in_slot(int slot);
  // Puts the front wheel just beyond gate `gate`'s line, runs process_gates
  // stamped `tick`, then takes the wheel away from every gate.
  static void cross(Bike& b, int gate, int32_t tick);
};

// Writes the bike shapes the physics fixtures use into a data folder.
void write_bike_shapes(const std::string& data);

// Makes the loaded terrain a level field of 512 ft at height 0, one
// ground material (no track files).
void use_flat_terrain();

}  // namespace race_kit
