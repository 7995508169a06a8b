#include "track/timing_gates.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/messages.h"
#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/image_write.h"
#include "data/scanner.h"
#include "platform/base/log.h"
#include "track/scenery.h"
#include "track/text_scan.h"
#include "track/track.h"

namespace {

bool read_word(DataFile* file, char word[81]) {
  word[0] = 0;
  return df_scanf(file, " %80s ", word) == 1;
}

std::vector<int32_t> read_lap(DataFile* file) {
  std::vector<int32_t> entries;
  int value;
  while (df_scanf(file, "%d", &value) == 1)
    if (entries.size() < MAX_LAP_ENTRIES) entries.push_back(value);
  return entries;
}

int32_t normalised_entry(int32_t value, int gate_count) {
  if (value < 0) value = 0;
  int32_t flag = value >= GATE_NO_SEGMENT ? GATE_NO_SEGMENT : 0;
  int32_t gate = value % GATE_NO_SEGMENT;
  if (gate > gate_count - 1) gate = gate_count > 0 ? gate_count - 1 : 0;
  return flag + gate;
}

int real_entries(const std::vector<int32_t>& lap) {
  int count = 0;
  for (int32_t entry : lap) count += entry < GATE_NO_SEGMENT;
  return count;
}

void clear_gates_and_laps() {
  track().timing.gates.clear();
  track().timing.lap_sequence.clear();
  track().timing.first_lap_count = track().timing.normal_lap_count = 0;
  track().timing.first_lap_real_count = track().timing.normal_lap_real_count = 0;
}

}  // namespace

void clear_timing_gates() {
  track().timing.start_positions.clear();
  track().timing.start_gate_statues.clear();
  clear_gates_and_laps();
}

void ReadTimingGates(DataFile* file) {
  clear_timing_gates();
  char word[81];
  if (!read_word(file, word)) return;
  if (std::strcmp(word, "startinggate:") == 0) {
    StartPosition p;
    while (df_scanf(file, " [ %f %f %f ] %f ", &p.x, &p.y, &p.z, &p.heading) == 4 && all_finite({p.x, p.y, p.z, p.heading}))
      if (track().timing.start_positions.size() < MAX_START_POSITIONS) track().timing.start_positions.push_back(p);
    if (!read_word(file, word)) return;
  }
  if (std::strcmp(word, "checkpoints:") != 0) return;
  TimingGate g;
  while (df_scanf(file, "%f [ %f %f %f ] [ %f %f %f ] ", &g.radius, &g.centre[0], &g.centre[1], &g.centre[2],
                  &g.direction[0], &g.direction[1], &g.direction[2]) == 7 &&
         all_finite({g.radius, g.centre[0], g.centre[1], g.centre[2], g.direction[0], g.direction[1], g.direction[2]}))
    if (track().timing.gates.size() < MAX_TIMING_GATES) track().timing.gates.push_back(g);
  std::vector<int32_t> first, normal;
  if (read_word(file, word) && std::strcmp(word, "firstlap:") == 0) {
    first = read_lap(file);
    read_word(file, word);
  }
  if (std::strcmp(word, "normallap:") == 0) normal = read_lap(file);
  int gates = static_cast<int>(track().timing.gates.size());
  for (int32_t& entry : first) entry = normalised_entry(entry, gates);
  for (int32_t& entry : normal) entry = normalised_entry(entry, gates);
  if (gates == 0 || real_entries(first) == 0 || real_entries(normal) == 0) {
    clear_gates_and_laps();
    return;
  }
  track().timing.lap_sequence = first;
  track().timing.lap_sequence.insert(track().timing.lap_sequence.end(), normal.begin(), normal.end());
  track().timing.first_lap_count = static_cast<int>(first.size());
  track().timing.normal_lap_count = static_cast<int>(normal.size());
  track().timing.first_lap_real_count = real_entries(first);
  track().timing.normal_lap_real_count = real_entries(normal);
  if (run_settings.debug_level > 0)
    voxa_log("Found %d timing gates, first lap has %d gates, normal lap has %d\n", gates, track().timing.first_lap_count,
             track().timing.normal_lap_count);
}

void place_starting_gates() {
  track().timing.start_gate_statues.clear();
  for (const StartPosition& p : track().timing.start_positions) {
    float x = p.x - 3.0f * std::sin(p.heading), z = p.z - 3.0f * std::cos(p.heading);
    track().timing.start_gate_statues.push_back(CreateStatue(x, p.y, z, p.heading, "@startgate.jm", "@startgate.ppm", "@startgate.shp"));
  }
}

std::string timing_gates_file_text() {
  std::string text;
  char line[512];
  if (!track().timing.start_positions.empty()) {
    text += "startinggate:\n";
    for (const StartPosition& p : track().timing.start_positions) {
      std::snprintf(line, sizeof line, "[%f %f %f] %f\n", p.x, p.y, p.z, p.heading);
      text += line;
    }
  }
  if (!track().timing.gates.empty()) {
    text += "checkpoints:\n";
    for (const TimingGate& g : track().timing.gates) {
      std::snprintf(line, sizeof line, "%f [%f %f %f] [%f %f %f]\n", g.radius, g.centre[0], g.centre[1], g.centre[2],
                    g.direction[0], g.direction[1], g.direction[2]);
      text += line;
    }
  }
  auto write_lap = [&](const char* title, int from, int count) {
    if (count <= 0) return;
    text += title;
    for (int k = from; k < from + count; ++k) text += std::to_string(track().timing.lap_sequence[static_cast<size_t>(k)]) + " ";
    text += "\n";
  };
  write_lap("firstlap:\n", 0, track().timing.first_lap_count);
  write_lap("normallap:\n", track().timing.first_lap_count, track().timing.normal_lap_count);
  return text;
}

bool SaveTimingGates(const std::string& folder) {
  if (write_data_file(folder + "/timing_gates", timing_gates_file_text())) return true;
  post_message("Can't open 'timing_gates'\n");
  return false;
}

bool in_gate(const TimingGate& gate, float x, float z) {
  float dx = x - gate.centre[0], dz = z - gate.centre[2];
  return dx * dx + dz * dz <= gate.radius * gate.radius && dx * gate.direction[0] + dz * gate.direction[2] >= 0.0f;
}

int32_t sequence_entry(int position) {
  if (track().timing.lap_sequence.empty() || position < 0) return 0;
  if (position < track().timing.first_lap_count) return track().timing.lap_sequence[static_cast<size_t>(position)];
  return track().timing.lap_sequence[static_cast<size_t>(track().timing.first_lap_count + (position - track().timing.first_lap_count) % track().timing.normal_lap_count)];
}

int sequence_gate(int position) { return sequence_entry(position) % GATE_NO_SEGMENT; }

int laps_completed_at(int position) {
  if (track().timing.lap_sequence.empty() || position < track().timing.first_lap_count) return 0;
  return (position - track().timing.first_lap_count) / track().timing.normal_lap_count + 1;
}

int lap_finish_position(int lap) {
  if (track().timing.lap_sequence.empty() || lap < 1) return 0;
  return track().timing.first_lap_count - 1 + (lap - 1) * track().timing.normal_lap_count;
}
