// The coach: a plain rider for headless races. It rides the track's timing
// gates in their race order, steering for the next gate and holding a speed
// the turn ahead allows. A tool for tests, benchmarks and training, not a
// game rider: the robots ride racing lines.
#pragma once

struct Bike;

// Sets the bike's controls for this tick (before race_tick).
void coach_tick(Bike& b);

// Forgets what the coach remembered of earlier races.
void reset_coaches();
