// What the auto pilot keeps for each rider slot of the race: the recorder
// that turns every rider's ride into candidate lines, and for a robot the
// path it follows and where it is on it. A robot's picks of the last four
// sections live in the bike itself (Bike::line_state, forgotten when the
// bike collides, so that a spoiled ride teaches nothing).
#pragma once

#include <cstdint>
#include <vector>

#include "autopilot/racing_lines.h"

struct Bike;

enum SlowDown { SLOW_WATCHING = 0, SLOW_JUST_SLOWED = 1, SLOW_HANDLED = 2 };

struct RiderLines {
  // Samples of the sections being ridden, by section parity; a set bit in
  // `cancelled` spoils that buffer's section.
  std::vector<LineSample> buffer[2];
  uint8_t cancelled = 0;
  int slow_down = SLOW_WATCHING;

  // Robots only (personality 0: not a robot).
  int personality = 0;
  std::vector<LineSample> path;  // the picked lines, joined
  // Where the lines appended lately begin on the path and the race section
  // each is for, oldest first: which section the robot is riding.
  static constexpr int KEPT_SECTIONS = 8;
  struct PathSection {
    int start = 0;
    int section = 0;
  };
  PathSection sections[KEPT_SECTIONS];
  int section_count = 0;
  int target = 0;                // the sample it steers for
  int32_t last_advance = 0;      // tick the target last moved
  int recovery = 0;              // 3 after being stuck, down by one per advance
  double launch_time = 0;        // s; 0 = not drawn, negative = a throttle blip until -launch_time
  int pick_counter = 0;          // the next section to pick a line for
  double along = 0;              // the bike's place on the path, a fractional sample index
  bool eased_off = false;        // slowed along its line after finishing
  int blocked = 0;               // ticks driving hard without moving
  int back_offs = 0;             // times it backed off an obstacle
  int backing_up = 0;            // ticks left walking the bike back off an obstacle
  bool turning_round = false;    // walking the bike round on the spot
  int held = 0;                  // ticks held nearly still by a bike ahead
  int pushing_past = 0;          // ticks left not following bikes ahead
  int passing = 0;               // ticks left aiming to one side of a slower bike
  int pass_side = 0;             // that side: 1 right, -1 left
  int turning_ticks = 0;         // ticks spent walking the bike round this time
  // The spot the bike has stayed near, and since when: how long it has
  // been hung up.
  double still_x = 0, still_z = 0;
  int32_t still_since = 0;
};

// The state of a bike's slot.
RiderLines& rider_lines(const Bike& b);

// Every slot back to a fresh rider with room for its buffers and path.
void reset_rider_lines();

bool is_robot(const Bike& b);

// The id a robot remembers picking for a race section (0 = none), and
// remembering or forgetting them.
int32_t remembered_pick(const Bike& b, int section);
void remember_pick(Bike& b, int section, int32_t id);
void forget_picks(Bike& b);
