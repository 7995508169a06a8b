// The timing_gates reader over arbitrary bytes; what it accepts must come
// back unchanged through the writer.
#include <cstdint>
#include <vector>

#include "track/timing_gates.h"
#include "track/track.h"
#include "track_fuzz_setup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  use_empty_data_folders();
  DataFile* file = open_input(data, size);
  if (!file) return 0;
  ReadTimingGates(file);
  df_close(file);
  int gates = static_cast<int>(track().timing.gates.size());
  if (track().timing.start_positions.size() > MAX_START_POSITIONS || gates > MAX_TIMING_GATES) __builtin_trap();
  if (static_cast<int>(track().timing.lap_sequence.size()) != track().timing.first_lap_count + track().timing.normal_lap_count) __builtin_trap();
  if (gates > 0 && (track().timing.first_lap_real_count == 0 || track().timing.normal_lap_real_count == 0)) __builtin_trap();
  for (int32_t entry : track().timing.lap_sequence)
    if (entry < 0 || entry % GATE_NO_SEGMENT >= gates) __builtin_trap();
  for (int p = 0; p < 600; p += 7)
    if (sequence_gate(p) < 0 || (gates > 0 && sequence_gate(p) >= gates)) __builtin_trap();
  std::vector<int32_t> sequence = track().timing.lap_sequence;
  std::string text = timing_gates_file_text();
  DataFile* again = open_input(reinterpret_cast<const uint8_t*>(text.data()), text.size());
  ReadTimingGates(again);
  df_close(again);
  if (track().timing.lap_sequence != sequence) __builtin_trap();
  return 0;
}
