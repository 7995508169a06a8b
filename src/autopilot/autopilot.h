// The auto pilot: robot riders' driving and their racing lines. The race
// calls it through its hook table (race/race_hooks.h); install_autopilot
// fills that table. For now every robot holds its controls at rest and
// the racing lines are not kept.
#pragma once

struct Bike;

// Looks a personality up by name; unknown names fall back to the first.
void set_personality(Bike& b, const char* name);
// One robot's tick: sets its controls.
void autopilot_tick(Bike& b);

// The racing lines of a track and skill: read, written back, pruned,
// planned into whole laps, forgotten.
void load_lines(const char* path, int skill);
void save_lines();
void prune_lines();
void plan_laps();
void clear_lines();

// Fills the race's auto pilot hooks with this module's entries.
void install_autopilot();
