// The race session: who rides in each of the 40 slots and on which bike,
// how each slot is driven, and the race's marks in time. One session at a
// time; start_race builds it, race_tick advances it by one tick.
#pragma once

#include <cstdint>
#include <string>

#include "effects/roost.h"
#include "race/demo_playback.h"
#include "race/race_setup.h"
#include "race/standings.h"
#include "track/timing_gates.h"

struct Bike;

// How a slot's bike is driven.
enum ControlKind { CONTROL_LOCAL = 0, CONTROL_EXTERNAL = 1, CONTROL_AUTOPILOT = 2 };

// finish_lap and halfway_lap of a timed race before they are known.
constexpr int32_t LAP_NOT_YET_KNOWN = 1000000;
constexpr int32_t START_SIGNAL_TICKS = 5 * 128;
// A time trial's clock starts here, long after any gate drop.
constexpr int32_t TIME_TRIAL_START_TICKS = 300 * 128;

struct RaceSession {
  Bike* slot_bike[RACE_SLOTS] = {};
  int slot_control[RACE_SLOTS];
  RiderIdentity slot_rider[RACE_SLOTS];
  int32_t lineup[RACE_SLOTS] = {};

  int32_t start_signal_tick = START_SIGNAL_TICKS;
  int32_t gate_drop_tick = 0;
  int32_t race_length_ticks = 0;  // 0: a race by laps
  int32_t race_laps = 0;          // timed race: laps added after the time runs out
  int32_t halfway_lap = 0;
  int32_t finish_lap = 0;
  int skill = 0;  // the robots' line set: 0 novice, 1 amateur, 2 expert
  bool practice = false;
  bool learning = true;  // the robots' lines are saved when the session ends

  RaceResults results;    // the running order and the final result
  DemoPlayback playback;  // the demo being played, if any
  RoostPool roost;        // the dirt in the air

  // The slot the camera and the heads-up display follow when the race
  // starts (the viewer picks others from there).
  int first_viewed_slot = 0;
  bool time_trial = false;
  float gate_bar_state[MAX_START_POSITIONS] = {};  // 1 = up, 0 = down

  RaceSession();
};

extern RaceSession race;

// Tears the previous session down and builds the one set up. Returns 1
// when the session stands, 0 when the track failed to load (the previous
// session is gone then).
int start_race(const RaceSetup& setup);

// Advances the session by one tick of dt.
void race_tick();

// The tick's roost: every bike emits, in an order that turns with the
// clock so no bike always comes first for the pool's last entries.
void emit_race_roost();

// Puts the time-trial rider back before the lap line and drops the ghost.
void restart_time_trial_attempt();

// Jumps a pure demo playback by `seconds` (negative: back).
void seek_playback(float seconds);

// Every slot empty, no bikes (start-up).
void clear_race_session();
// Frees every bike and closes the demo files (shut-down).
void end_race_session();

// Frees the bike of a slot (with its engine voice) and leaves the slot empty.
void free_slot(int slot);

// The bikes in slot order; returns how many.
int race_bikes(Bike* out[RACE_SLOTS]);
