// The simulation's fixed tick and shared physical constants. Lengths are in
// feet, masses in slugs, forces in pounds-force, y is up.
#pragma once

constexpr double dt = 1.0 / 128.0;
constexpr int TICKS_PER_SECOND = 128;
constexpr double GRAVITY = 32.0;
