// A path from gate to gate, for a robot with no line to follow: through a
// section nobody has a line for yet, or back to a gate it missed.
#pragma once

#include "autopilot/racing_lines.h"

constexpr int MOST_GATE_SAMPLES = 64;

// Samples through the gates from race position `position` to the end of
// its section, each gate approached straight from a little before its
// line; the number of samples written to `out`.
int gate_path(int position, LineSample out[MOST_GATE_SAMPLES]);

// The first race position of a race section.
int first_position(int section);
