// The built-in robot riders: 80 rows, numbers "20" to "99", each with an
// auto pilot personality, a bike and optional textures. Every race start
// shuffles the order in which robots are taken from it.
#pragma once

#include <array>
#include <cstdint>
#include <string>

struct Mt19937;

constexpr int ROSTER_SIZE = 80;

struct RosterEntry {
  std::string number, personality, bike;
  // Data paths; "" = the bike's default.
  std::string body_texture, head_texture, bike_texture, wheel_texture;
};

const std::array<RosterEntry, ROSTER_SIZE>& robot_roster();

// order[i] = i, then for i = 79 down to 1 swap order[i] with order[j],
// j = (next output >> 16) mod i.
void shuffle_roster(Mt19937& generator, int order[ROSTER_SIZE]);

// The roster row for the robot placed r-th (0-based) in a slot of `code`
// (SLOT_ROBOT, SLOT_ROBOT_2_STROKE, SLOT_ROBOT_4_STROKE or
// SLOT_ROBOT_NUMBER_BASE + n). The wanted row is looked for among the
// robots not yet placed (order[79] down to order[r + 1]) and swapped into
// order[r]; when none fits, order[r] rides.
int take_robot(int order[ROSTER_SIZE], int r, int32_t code);
