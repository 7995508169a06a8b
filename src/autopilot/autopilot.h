// The auto pilot: robot riders and the racing lines they ride. The race
// calls it through its hook table (race/race_hooks.h), which
// install_autopilot fills.
#pragma once

#include <string>

struct Bike;

// Looks a personality up by name ("birch", "cedar", "alder", "tester");
// an unknown name is logged and rides as "birch". Starts the robot's race
// afresh: no path, no picks, no launch time.
void set_personality(Bike& b, const char* name);
// One robot's tick, before its dynamics step: sets its controls.
void autopilot_tick(Bike& b);

// The racing lines of a track and skill: read from the lines file at
// `path` ("@" + track + "/" + file), written back to it, pruned, planned
// into whole laps, forgotten.
void load_lines(const char* path, int skill);
void save_lines();
void prune_lines();
void plan_laps();
void clear_lines();
// Every line's last-picked tick back to long ago (each race start).
void forget_line_picks();
// The lines file text of the tables as they are now.
std::string lines_file_text();

// Lap timing's share: the per-tick sample and slow-down watch, a credited
// crossing of sequence position p, and the end of a slow-down.
void record_line_sample(Bike& b);
void line_crossing(Bike& b, int p);
void clear_slow_down(Bike& b);

// Chooses a robot's line for its next section and appends it to the path
// it follows; through a section without lines the path runs from gate to
// gate. False when the track has no lines at all.
bool pick_next_line(Bike& b);

// Fills the race's auto pilot hooks with this module's entries.
void install_autopilot();
