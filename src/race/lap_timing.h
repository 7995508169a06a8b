// Lap timing: which timing gate a rider must cross next, when a crossing
// counts, the log of crossing ticks, laps and the finish. Sequence
// positions count gates over the whole race (the first lap's entries,
// then the normal lap's, repeated); see track/timing_gates.h.
#pragma once

#include <cstdint>

struct Bike;

// Laps completed with the rider at `gates_passed`; 0 without timing gates.
int completed_laps(const Bike& b);

// Log entry p, -1 when p lies outside the log.
int32_t crossing_tick(const Bike& b, int position);

// Ticks of lap n (1 .. completed laps): from the gate drop for lap 1, else
// from the previous lap line; 0 when n is out of range or a tick is missing.
int32_t lap_ticks(const Bike& b, int lap);
// The same in seconds; n < 0 means the last completed lap.
float lap_time(const Bike& b, int lap);

// The fastest lap with a valid time among laps 2 and later (ties keep the
// earlier); 0 when fewer than two laps are complete.
int best_lap(const Bike& b);

// The sequence position of the finish line of the race's finish lap (0
// when finish_lap is 0).
int64_t finish_line_position();

// Whether the rider has finished, deciding it (and marking the bike) from
// the leader's finish-line crossing when its own crossings were not
// processed here.
bool is_finished(Bike& b);

// The per-tick crossing step for one rider, after its dynamics step; a
// crossing is stamped with `tick`.
void process_gates(Bike& b, int32_t tick);

// Sets the rider's progress and shortens its log to at most that many
// entries (the time trial's restarts).
void set_gates_passed(Bike& b, int gates_passed);

// Room in the log for a race of this many laps, so that crossings do not
// allocate while the race runs.
void reserve_timing_log(Bike& b, int laps);
