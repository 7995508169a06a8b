// seek_playback: jumping through a demo that is only being watched.
#include <algorithm>
#include <cstdint>

#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "data/data_file.h"
#include "race/demo_frame.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/race_session.h"
#include "race/rider_snapshot.h"

namespace {

bool watching_only() {
  if (!race.playback.input || demo_recording_active()) return false;
  for (int slot = 0; slot < RACE_SLOTS; ++slot)
    if (race.slot_bike[slot] && race.slot_control[slot] != CONTROL_EXTERNAL) return false;
  return true;
}

}  // namespace

void seek_playback(float seconds) {
  if (!watching_only()) return;
  const int32_t ticks = static_cast<int32_t>(seconds / dt);
  if (run_settings.accurate_skip && seconds > 0) {
    // Ride the skipped time through, without roost.
    const int roost = run_settings.roost_frequency;
    run_settings.roost_frequency = 0;
    for (const int32_t target = race_clock + ticks; race_clock < target;) race_tick();
    run_settings.roost_frequency = roost;
    return;
  }
  // Two frames are applied, so that the riders land moving: the frame
  // before the target tick and the target tick's own.
  const int64_t first = std::max<int64_t>(0, static_cast<int64_t>(race_clock) + ticks - 1);
  const int64_t offset = race.playback.header.size + first * race.playback.demo_rider_count * demo_frame_size(race.playback.header.version);
  if (offset > INT32_MAX || !df_seek(race.playback.input, static_cast<int32_t>(offset))) return;
  race_clock = static_cast<int32_t>(first);
  play_demo_tick();
  ++race_clock;
  play_demo_tick();
  publish_rider_snapshots();
}
