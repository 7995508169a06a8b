// The race session: who rides in each of the 40 slots and on which bike,
// how each slot is driven, and the race's marks in time. One session at a
// time; start_race builds it, race_tick advances it by one tick.
#pragma once

#include <cstdint>
#include <string>

#include "physics/vec3.h"
#include "track/timing_gates.h"

struct Bike;

constexpr int RACE_SLOTS = 40;

// Lineup slot codes.
constexpr int32_t SLOT_EMPTY = 0;
constexpr int32_t SLOT_HUMAN = 1;
constexpr int32_t SLOT_ROBOT = 2;
constexpr int32_t SLOT_ROBOT_2_STROKE = 3;  // a robot on a "125"
constexpr int32_t SLOT_ROBOT_4_STROKE = 4;  // a robot on a "250"
constexpr int32_t SLOT_REMOTE = 5;          // another client's rider
constexpr int32_t SLOT_ROBOT_NUMBER_BASE = 1000;  // + n: the robot wearing number n

// How a slot's bike is driven.
enum ControlKind { CONTROL_LOCAL = 0, CONTROL_EXTERNAL = 1, CONTROL_AUTOPILOT = 2 };

// finish_lap and halfway_lap of a timed race before they are known.
constexpr int32_t LAP_NOT_YET_KNOWN = 1000000;
constexpr int32_t START_SIGNAL_TICKS = 5 * 128;
// A time trial's clock starts here, long after any gate drop.
constexpr int32_t TIME_TRIAL_START_TICKS = 300 * 128;

// What a rider's bike was loaded from: model, textures ("" = the model's
// default) and number. Demo headers carry the same fields.
struct RiderIdentity {
  std::string bike, body_texture, head_texture, bike_texture, wheel_texture, number;
};

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

  int viewed_slot = 0;
  bool time_trial = false;
  float gate_bar_state[MAX_START_POSITIONS] = {};  // 1 = up, 0 = down
  Vec3 camera_position;  // where the camera starts for this race

  RaceSession();
};

extern RaceSession race;

// Builds a session: `lineup` points at 40 slot codes, or is null for a time
// trial. Returns 1 when the session stands, 0 when the track failed to load
// (the previous session is gone then).
int start_race(const int32_t* lineup, int play_demo, int record_demo, int32_t race_length_ticks,
               int32_t race_laps, int skill);

// Advances the session by one tick of dt.
void race_tick();

// Puts the time-trial rider back before the lap line and drops the ghost.
void restart_time_trial_attempt();

// Jumps a pure demo playback by `seconds` (negative: back).
void seek_playback(float seconds);

// Every slot empty, no bikes (start-up).
void clear_race_session();
// Frees every bike and closes the demo files (shut-down).
void end_race_session();

// "--rotate-lineup" n, after a New Race start: the New Race menu's code of
// slot i moves to slot (n + i) mod 40 for the next race.
void rotate_menu_lineup(int n);

// Frees the bike of a slot (with its engine voice) and leaves the slot empty.
void free_slot(int slot);

// The bikes in slot order; returns how many.
int race_bikes(Bike* out[RACE_SLOTS]);
