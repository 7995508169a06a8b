// The running order of the race, the final result with its cutting
// penalties, and the time trial's lap records.
#pragma once

#include <cstdint>

#include "race/race_setup.h"

struct Bike;

struct StandingsEntry {
  int32_t slot;
  int32_t gates_passed;
  int32_t last_tick;  // tick of the last credited crossing; 0 when none
};

struct RaceResults {
  StandingsEntry standings[RACE_SLOTS] = {};
  int standings_count = 0;
  StandingsEntry final_standings[RACE_SLOTS] = {};
  int final_standings_count = 0;
  bool results_final = false;  // the result is declared and frozen
  int32_t time_trial_best_lap = 0;  // ticks, 0 = none
  int32_t time_trial_last_lap = 0;
};

// More gates first, then the earlier last crossing, then the lower slot.
bool standings_before(const StandingsEntry& a, const StandingsEntry& b);

// Recomputes the live standings, fixes the laps of a timed race and
// declares the result once every rider has finished.
void update_standings();

// The typical ticks over the field from position s to position e (60 s
// when nobody rode that stretch cleanly).
int32_t stretch_reference(int s, int e);

// Applies the cutting penalties to one final entry: time, and whole laps
// when the time exceeds the rider's best lap.
void apply_cutting_penalty(StandingsEntry& entry, const Bike& b);

// Clears the standings and the declared result (a new race).
void reset_standings();
