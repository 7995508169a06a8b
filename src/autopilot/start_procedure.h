// A robot at the starting gate: revving in short blips while the riders
// line up, quiet after the signal, the engine held high for the drop, then
// the clutch let out over a quarter second after its reaction time.
#pragma once

#include "autopilot/rider_state.h"

struct Bike;

// Seconds after the drop during which the procedure may still hold the bike.
constexpr double START_PROCEDURE_SECONDS = 5;

// Sets the controls while the start procedure has them (true); false once
// the robot is under way and rides its path.
bool start_procedure(Bike& b, RiderLines& r);
