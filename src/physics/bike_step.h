// The per-tick dynamics of one bike. step_bike integrates nothing itself:
// it turns controls and state into forces, motor settings and one-step
// joints that act in the next world step. The race tick runs, in order:
// ground and bike contacts, the world step (contact group emptied), then
// step_bike for every bike.
#pragma once

#include "physics/bike.h"

// `simulated` is false for bikes whose state is written from outside
// (demo or network playback): then nothing happens.
void step_bike(Bike& b, bool simulated);
