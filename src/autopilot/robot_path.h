// The path a robot follows: the lines it picked, joined smoothly, with a
// target sample that runs ahead of the bike and the bike's own place on it.
#pragma once

#include <vector>

#include "autopilot/racing_lines.h"
#include "autopilot/rider_state.h"

struct Bike;

constexpr int PICK_AHEAD_SAMPLES = 10;  // a new line is picked this close to the path's end
constexpr int KEPT_BEHIND_TARGET = 30;  // samples kept behind the target when a line joins
constexpr double LOOK_AHEAD = 60;       // ft
constexpr double RECOVERY_LOOK_AHEAD = 30;
constexpr int RECOVERING = 3;           // set when stuck; the shorter look-ahead holds while it stays 3

// Appends the line picked for race section `section`: drops samples long
// behind the target, then reshapes the path's last samples into a smooth
// curve that meets the line's start.
void append_line(RiderLines& r, const LineSample* line, int count, int section);
inline void append_line(RiderLines& r, const std::vector<LineSample>& line, int section) {
  append_line(r, line.data(), static_cast<int>(line.size()), section);
}

// Empties the path.
void clear_path(RiderLines& r);

// The race section of the line the bike is riding (-1: none), and how many
// samples into that line it is.
struct RiddenSection {
  int section = -1;
  double into = 0;
};
RiddenSection ridden_section(const RiderLines& r);

// Moves the target on by one sample when it lies within the look-ahead of
// the bike, unless it sits on a segment pointing back at the rider while
// still more than 4 ft away. Past the end the path is emptied.
void advance_target(const Bike& b, RiderLines& r);

// The bike's place on the path: the frame body projected onto the segments
// between its last place and the target (a fractional sample index).
double project_on_path(const Bike& b, const RiderLines& r);

// The point at a fractional sample index (clamped to the path).
LineSample path_point(const std::vector<LineSample>& path, double along);
