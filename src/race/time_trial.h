// The time trial: one rider against the clock, the best lap's ghost riding
// along. Each lap is recorded to the track's "lastlap.bldemo" in the home
// folder; a lap that beats the ghost becomes "fastlap.bldemo", the ghost
// of the next lap.
#pragma once

#include <cstdint>

struct Bike;

// Laps of the rider (slot 0) and the ghost (slot 1) before this tick.
struct TimeTrialLaps {
  int rider = 0, ghost = 0;
};
TimeTrialLaps note_time_trial_laps();

// The ghost's and the rider's lap handling after a tick.
void time_trial_tick(const TimeTrialLaps& before);

// The ticks from one lap line to the next for the lap that ended at
// position `end_line`; 0 when a crossing of that lap is missing.
int32_t clean_lap_ticks(const Bike& b, int end_line);
