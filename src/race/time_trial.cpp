#include "race/time_trial.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

#include "core/bike_names.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/safe_write.h"
#include "physics/bike.h"
#include "physics/bike_load.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_session.h"
#include "race/rider_snapshot.h"
#include "race/standings.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

constexpr int RIDER_SLOT = 0, GHOST_SLOT = 1;

// The sequence position every lap of a time trial starts from: the lap line.
int lap_line_start() { return std::max(track().timing.first_lap_count - 1, 0); }

bool file_exists(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (f) std::fclose(f);
  return f != nullptr;
}

// Copies a file over another through a temporary file, so that a failed
// copy keeps the old one.
bool copy_file(const std::string& from, const std::string& to) {
  std::unique_ptr<FILE, int (*)(FILE*)> in(std::fopen(from.c_str(), "rb"), std::fclose);
  if (!in) return false;
  std::string bytes;
  char block[1024];
  for (size_t got; (got = std::fread(block, 1, sizeof block, in.get())) > 0;) bytes.append(block, got);
  if (std::ferror(in.get())) return false;
  return write_file_safely(to, bytes);
}

void update_best_lap(int32_t lap) {
  int32_t& best = race.results.time_trial_best_lap;
  if (lap > 0 && (best == 0 || lap < best)) best = lap;
}

// Loads the ghost file's riders into slots 1, 2, ... as replayed bikes.
void load_ghosts() {
  const int start = lap_line_start();
  for (int k = 0; k < race.playback.demo_rider_count && GHOST_SLOT + k < RACE_SLOTS; ++k) {
    const RiderIdentity& rider = race.playback.header.riders[static_cast<size_t>(k)];
    const int slot = GHOST_SLOT + k;
    Bike* b = load_bike(apply_bike_alias(rider.bike.c_str()), slot, rider.number.c_str(), rider.body_texture.c_str(),
                        rider.head_texture.c_str(), rider.bike_texture.c_str(), rider.wheel_texture.c_str());
    if (!b) continue;
    // The bike's engine voice is attached here (effects issue).
    for (int body = 0; body < BODY_COUNT; ++body) dBodyDisable(bike_body(*b, body));
    reserve_timing_log(*b, 1);
    set_gates_passed(*b, start);
    race.slot_bike[slot] = b;
    race.slot_control[slot] = CONTROL_EXTERNAL;
    race.slot_rider[slot] = rider;
  }
}

// The rider crossed the lap line: keep the lap if it beat the ghost, then
// start the next lap against the best one.
void start_next_lap(int ghost_gates) {
  Bike& rider = *race.slot_bike[RIDER_SLOT];
  const int rider_gates = rider.gates_passed;
  const bool lap_recorded = demo_recording_active();
  close_demo_files();
  for (int slot = GHOST_SLOT; slot < RACE_SLOTS; ++slot) free_slot(slot);

  int32_t lap = 0;
  if (!track().timing.gates.empty()) {
    lap = clean_lap_ticks(rider, rider_gates - 1);
    race.results.time_trial_last_lap = lap;
    update_best_lap(lap);
  }
  const std::string fast = home_file(track_demo_path(track().name, "fastlap.bldemo"));
  const std::string last = home_file(track_demo_path(track().name, "lastlap.bldemo"));
  // Only a lap recorded from its start line can become the ghost.
  if (lap_recorded && !fast.empty() && (!file_exists(fast) || (ghost_gates < rider_gates && lap > 0))) copy_file(last, fast);

  // The next lap starts where this one ended: on the line, in the tick the
  // line was crossed (the clock has moved on since). Its recording and its
  // ghost start there too, with the frame of that moment.
  if (open_demo_playback(track_demo_path(track().name, "fastlap.bldemo"))) load_ghosts();
  start_demo_recording(track_demo_path(track().name, "lastlap.bldemo"));
  record_demo_tick();
  play_demo_tick();
  set_gates_passed(rider, lap_line_start());
  process_gates(rider, race_clock - 1);
  update_standings();
}

}  // namespace

int32_t clean_lap_ticks(const Bike& b, int end_line) {
  const int start_line = end_line - track().timing.normal_lap_count;
  if (start_line < 0) return 0;
  for (int p = start_line; p <= end_line; ++p)
    if (crossing_tick(b, p) == -1) return 0;
  return crossing_tick(b, end_line) - crossing_tick(b, start_line);
}

TimeTrialLaps note_time_trial_laps() {
  TimeTrialLaps laps;
  if (race.slot_bike[RIDER_SLOT]) laps.rider = completed_laps(*race.slot_bike[RIDER_SLOT]);
  if (race.slot_bike[GHOST_SLOT]) laps.ghost = completed_laps(*race.slot_bike[GHOST_SLOT]);
  return laps;
}

void time_trial_tick(const TimeTrialLaps& before) {
  Bike* ghost = race.slot_bike[GHOST_SLOT];
  if (ghost && completed_laps(*ghost) > before.ghost) update_best_lap(clean_lap_ticks(*ghost, ghost->gates_passed - 1));
  Bike* rider = race.slot_bike[RIDER_SLOT];
  if (rider && completed_laps(*rider) > before.rider) start_next_lap(ghost ? ghost->gates_passed : -1);
}

void restart_time_trial_attempt() {
  close_demo_files();
  for (int slot = GHOST_SLOT; slot < RACE_SLOTS; ++slot) free_slot(slot);
  Bike* rider = race.slot_bike[RIDER_SLOT];
  if (!rider || track().timing.gates.empty() || track().timing.lap_sequence.empty()) return;
  // Back before the gate ahead of the lap line, facing through it.
  const int start = std::max(track().timing.first_lap_count - 2, 0);
  const TimingGate& gate = track().timing.gates[static_cast<size_t>(sequence_gate(start))];
  place_bike(*rider, gate.centre[0], gate.centre[2], std::atan2(-gate.direction[0], -gate.direction[2]));
  dJointGroupEmpty(physics.contacts);
  set_gates_passed(*rider, start);
  race.results.time_trial_last_lap = 0;
  update_standings();
  publish_rider_snapshots();
}
