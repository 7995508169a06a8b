// The riders as the layers above the race see them: a copy of each slot
// taken once per tick.
#include <gtest/gtest.h>

#include "autopilot/coach.h"
#include "physics/bike_controls.h"
#include "physics/rider.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/rider_snapshot.h"
#include "race_kit.h"

namespace {

using RiderSnapshots = race_kit::FlatsRace;

TEST_F(RiderSnapshots, EachTickCopiesEveryRiderAndClearsEmptySlots) {
  ASSERT_EQ(start_race(flats_race({SLOT_HUMAN, SLOT_EMPTY, SLOT_ROBOT})), 1);
  EXPECT_TRUE(rider_snapshot(0).present);  // published by the start already
  EXPECT_FALSE(rider_snapshot(1).present);
  for (int t = 0; t < 20 * 128; ++t) {
    drive_coaches();
    race_tick();
  }
  const Bike& b = *race.slot_bike[0];
  const RiderSnapshot& s = rider_snapshot(0);
  EXPECT_EQ(s.control, CONTROL_LOCAL);
  EXPECT_EQ(rider_snapshot(2).control, CONTROL_AUTOPILOT);
  for (int k = 0; k < BODY_COUNT; ++k) {
    EXPECT_EQ(length(s.position[k] - body_position(bike_body(b, k))), 0) << k;
    const dReal* q = dBodyGetQuaternion(bike_body(b, k));
    for (int i = 0; i < 4; ++i) EXPECT_EQ(s.orientation[k][i], q[i]) << k;
  }
  EXPECT_GT(s.gates_passed, 0) << "the coach is on its way round";
  EXPECT_EQ(s.gates_passed, b.gates_passed);
  EXPECT_EQ(s.laps, completed_laps(b));
  EXPECT_DOUBLE_EQ(s.engine_rpm, engine_rpm(b));
  EXPECT_EQ(s.gear, b.controls.gear);
  EXPECT_DOUBLE_EQ(s.controls.throttle, b.controls.throttle);
  EXPECT_GT(length(s.velocity), 5);

  // A copy, not a view: the next tick shows what happened since.
  throw_rider(*race.slot_bike[0]);
  EXPECT_FALSE(rider_snapshot(0).crashed);
  race_tick();
  EXPECT_TRUE(rider_snapshot(0).crashed);

  // The next race's empty slots read empty.
  ASSERT_EQ(start_race(flats_race({SLOT_ROBOT})), 1);
  EXPECT_TRUE(rider_snapshot(0).present);
  EXPECT_FALSE(rider_snapshot(2).present);
}

}  // namespace
