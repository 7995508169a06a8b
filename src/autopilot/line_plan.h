// Choosing lines by what robots learned of them: each line's cost under a
// plan type, and the cheapest chains of connected lines over a run of
// sections (the whole-lap plans and the look-ahead of each pick).
#pragma once

#include <array>
#include <cstdint>

#include "autopilot/racing_lines.h"

// Plan types: 0 cautious about failures, 1 slightly more, 2 four times
// more, 3 exploring untried lines.
constexpr int PLAN_EXPLORE = 3;
constexpr double UNTESTED_COST = 1000000;
constexpr double UNCONNECTED_COST = 100000000;
constexpr double NO_CHAIN = 1e30;  // an empty slot

double line_cost(const RacingLine& line, int type);

// Cheapest chains through the tables tables[0 .. n-1] (table indices, in
// riding order): to_go[k][j] is the cost of the cheapest chain that starts
// with line j of tables[k] and runs to the last table, and next[k][j] the
// slot it continues with (-1 at the end). `tail` (may be null) adds a cost
// to each line of the last table. An empty table ends the chains before it.
using ChainCosts = std::array<double, LINES_PER_SECTION>;
using ChainLinks = std::array<int8_t, LINES_PER_SECTION>;
void search_chains(const int* tables, int n, int type, const double* tail, ChainCosts* to_go, ChainLinks* next);

// The lap time a plan of type 0 predicts, in seconds, for the first lap
// and for a normal lap (0 before any plan).
double predicted_lap_seconds(bool first_lap);
