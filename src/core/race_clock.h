// The race's tick counter: 0 at the race reset, +1 per simulation tick.
// The race session advances it; the terrain's shading dither and the
// random-number reseeding read it.
#pragma once

#include <cstdint>

extern int32_t race_clock;
