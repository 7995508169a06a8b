// What a race starts from: the track, who rides each of the 40 gates, the
// race's length, the robots' skill, a demo to play or record, and how the
// player rides. Every way into a race (start-up, the menus, a series
// event, the server, the tools and tests) fills one for start_race.
#pragma once

#include <cstdint>
#include <string>

struct Settings;

constexpr int RACE_SLOTS = 40;

// Lineup slot codes.
constexpr int32_t SLOT_EMPTY = 0;
constexpr int32_t SLOT_HUMAN = 1;
constexpr int32_t SLOT_ROBOT = 2;
constexpr int32_t SLOT_ROBOT_2_STROKE = 3;  // a robot on a "125"
constexpr int32_t SLOT_ROBOT_4_STROKE = 4;  // a robot on a "250"
constexpr int32_t SLOT_REMOTE = 5;          // another client's rider
constexpr int32_t SLOT_ROBOT_NUMBER_BASE = 1000;  // + n: the robot wearing number n

// What a rider's bike was loaded from: model, textures ("" = the model's
// default) and number. Demo headers carry the same fields.
struct RiderIdentity {
  std::string bike, body_texture, head_texture, bike_texture, wheel_texture, number;
};

// Who rides a gate: the slot code, and for the local player (and, online,
// for a remote rider) the rider's bike, textures and number. Robots come
// from the roster and demo riders from the demo's header.
struct RaceSlot {
  int32_t code = SLOT_EMPTY;
  RiderIdentity rider;
};

// Everything a race starts from. Every way into a race (start-up, the
// menus, a series event, the server, the tools and tests) fills one.
struct RaceSetup {
  std::string track;         // track folder; a demo that plays names its own
  bool time_trial = false;   // the player alone against the clock (slots unused)
  RaceSlot slots[RACE_SLOTS];
  int32_t race_length_ticks = 0;  // 0: a race by laps
  int32_t race_laps = 0;          // a timed race: laps added after the time runs out
  int skill = 0;                  // the robots' lines: 0 novice, 1 amateur, 2 expert
  std::string playback_path;      // a demo to play ("" = none)
  bool record = false;            // record the race as a demo
  std::string record_path;        // where ("" = "@demos/default.bldemo")
  // A race of the game server: the track is reloaded when its ground was
  // changed since it was loaded, and locked, so every client rides the
  // same ground. Offline, a race on the loaded track rides the ruts the
  // last one left.
  bool online = false;
  bool practice = false;          // robots explore untried lines ("tester")
  bool learning = true;           // what the robots learn is saved
  // The player's bike setup and riding aids, applied to a local bike that
  // the camera follows; null leaves the model's defaults.
  const Settings* player_settings = nullptr;

  // Sets every slot's code from 40 codes, the player's identity in each.
  void set_lineup(const int32_t* codes, const RiderIdentity& player);
};

// The player's bike, number (default "999") and the four texture choices.
RiderIdentity player_identity(const Settings& s);

// A setup on `track` with the player's identity and bike setup from `s`;
// every gate empty, a race by laps of `laps`.
RaceSetup player_race_setup(const Settings& s, const std::string& track, int32_t laps);
