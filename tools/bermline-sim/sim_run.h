// One headless race of bermline-sim: set up the data and home folders, run
// the race with the coach on the human's bike, print the standings and the
// speed of the simulation.
#pragma once

#include <cstdio>

struct SimOptions;

// Returns the program's exit status.
int run_sim(const SimOptions& options, std::FILE* out, std::FILE* err);
