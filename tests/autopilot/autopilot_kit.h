// Shared set-up of the auto pilot tests: a lap sequence that gives the
// racing lines their tables, hand-made lines, and a bike standing on a flat
// field for the robot's path following and starting-gate procedure.
#pragma once

#include <memory>
#include <vector>

#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"
#include "physics/bike.h"
#include "race/race_session.h"
#include "testkit.h"

namespace autopilot_kit {

// Timing gates whose first lap has two racing-line sections (a gate that
// does not start a section between them) and whose normal lap has two:
// four tables, the first two for the first lap.
void use_four_sections();
// No timing gates, no tables, learning back on.
void forget_sections();

LineSample sample(float x, float z, float speed = 30, float y = 0);
// A line through the given points (x, z), with the statistics given.
RacingLine line_through(const std::vector<std::pair<float, float>>& points, int32_t own_time_2 = 1000, int32_t tested = 0,
                        int32_t sum_2 = 0, int32_t failures = 0);

// Racing-line tests: the four-section track, emptied tables before and after.
class LineTablesTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
};

// A bike of slot 0 standing on a flat field, the only bike of the race,
// the rider slots fresh and the race clock at 0.
class RobotBikeTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Stands the bike at (x, z) facing `heading` (0 faces -z).
  void stand_at(double x, double z, double heading = 0);
  // Another bike of the race, in slot `slot`, standing at (x, z).
  Bike* add_bike(int slot, double x, double z, double heading = 0);
  Vec3 at() const;       // the frame's position
  Vec3 forward() const;  // the frame's heading

  std::unique_ptr<testkit::DataFolders> folders;
  Bike* bike = nullptr;
  std::vector<Bike*> others;
  int32_t saved_signal = 0, saved_drop = 0;
  Bike* saved_bikes[RACE_SLOTS] = {};
};

}  // namespace autopilot_kit
