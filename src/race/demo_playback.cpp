#include "race/demo_playback.h"

#include "data/data_file.h"
#include "physics/bike.h"
#include "race/demo_frame.h"
#include "race/demo_recording.h"
#include "race/race_session.h"


int open_demo_playback(const std::string& path) {
  close_demo_playback();
  DataFile* file = df_open(path.c_str(), "rb");
  if (!file) return 0;
  if (!read_demo_header(file, &race.playback.header)) {
    df_close(file);
    race.playback.header = DemoHeader{};
    return 0;
  }
  race.playback.input = file;
  race.playback.demo_rider_count = static_cast<int>(race.playback.header.riders.size());
  race.race_length_ticks = race.playback.header.race_length_ticks;
  race.race_laps = race.playback.header.race_laps;
  race.gate_drop_tick = race.playback.header.gate_drop_tick;
  return 1;
}

void play_demo_tick() {
  if (!race.playback.input) return;
  const int size = demo_frame_size(race.playback.header.version);
  uint8_t frame[DEMO_FRAME_BYTES];
  int rider = 0;
  for (int slot = 0; slot < RACE_SLOTS && rider < race.playback.demo_rider_count; ++slot) {
    Bike* b = race.slot_bike[slot];
    if (!b || race.slot_control[slot] != CONTROL_EXTERNAL) continue;
    ++rider;
    bool complete = df_read(race.playback.input, frame, size) == size;
    if (complete) apply_frame(*b, frame, race.playback.header.version, 1);
    race.playback.visibility[slot] = complete ? 1.0f : 0.0f;
  }
  for (; rider < race.playback.demo_rider_count; ++rider) df_read(race.playback.input, frame, size);
}

void close_demo_playback() {
  if (race.playback.input) df_close(race.playback.input);
  race.playback.input = nullptr;
  race.playback.demo_rider_count = 0;
}

void close_demo_files() {
  close_demo_playback();
  stop_demo_recording();
}
