// How one path leads into the next: the circle through a path's last three
// samples (on the ground plane) is the turn it ends in, and a following
// line fits when it starts on that circle, heads along it and asks for no
// sudden burst of speed.
#pragma once

#include "autopilot/racing_lines.h"

struct EndCircle {
  double cx = 0, cz = 0;  // centre
  double radius = 0;      // to the last sample
  float end_speed = 0;    // |speed| of the last sample
};

// The circle of the path ending at samples[count - 1]; count must be >= 3.
// Three samples in a row give a centre a million feet off to the side.
EndCircle end_circle(const LineSample* samples, int count);

// Whether line j (at least two samples) continues a path ending in `end`.
bool line_connects(const EndCircle& end, const RacingLine& j);

// How well line j continues a path ending in `end`, 0 .. 1.
double line_match(const EndCircle& end, const RacingLine& j);
