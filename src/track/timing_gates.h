// Timing gates: the starting-gate positions, the checkpoint gates and the
// order riders must pass them on the first lap and on every later lap, read
// from a track's "timing_gates" file and written back by the track editor.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct DataFile;

constexpr int MAX_START_POSITIONS = 40;
constexpr int MAX_TIMING_GATES = 256;
constexpr int MAX_LAP_ENTRIES = 256;
// Added to a lap entry's gate index: the gate counts for passing and timing
// but does not start a new racing-line segment.
constexpr int32_t GATE_NO_SEGMENT = 100000;

struct StartPosition {
  float x, y, z;
  float heading;  // radians
};

struct TimingGate {
  float centre[3];
  float direction[3];  // the way riders pass through; only x and z are used
  float radius;        // horizontal radius of the detection zone
};

// The loaded track's start positions, gates and lap sequence (part of its
// Track record, track/track.h).
struct TrackTiming {
  std::vector<StartPosition> start_positions;
  // The statue index of each start position's starting-gate model.
  std::vector<int> start_gate_statues;
  std::vector<TimingGate> gates;
  // first_lap_count entries for the first lap, then normal_lap_count for
  // one later lap; each a gate index, or GATE_NO_SEGMENT + a gate index.
  std::vector<int32_t> lap_sequence;
  int first_lap_count = 0;
  int normal_lap_count = 0;
  // Entries below GATE_NO_SEGMENT in each lap (the racing-line sections).
  int first_lap_real_count = 0;
  int normal_lap_real_count = 0;
};

// Empties start positions, gates and the lap sequence.
void clear_timing_gates();
// Reads an open timing_gates file; entries beyond the limits are skipped
// (not stored), so the sections after them still count. The gates are kept only when the file
// passes the acceptance rule (at least one gate, both laps non-empty, each
// with an entry below GATE_NO_SEGMENT); the start positions always stay.
void ReadTimingGates(DataFile* file);
// Places the starting-gate model in front of every start position.
void place_starting_gates();
// The file text the writer produces.
std::string timing_gates_file_text();
// Writes "<folder>/timing_gates" (folder = "@" + track directory).
bool SaveTimingGates(const std::string& folder);

// Whether the point (x, z) is inside the half disc on the exit side of the gate.
bool in_gate(const TimingGate& gate, float x, float z);

// Sequence positions count over the whole race: the lap entry at position
// p, its gate index, the laps completed on reaching p, and the position of
// lap n's finish line. All 0 without timing gates.
int32_t sequence_entry(int position);
int sequence_gate(int position);
int laps_completed_at(int position);
int lap_finish_position(int lap);
