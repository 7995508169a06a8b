#include "app/frame_pacing.h"

#include <algorithm>
#include <cmath>

#include "core/units.h"
#include "platform/base/clock.h"

namespace {

void sleep_platform(double seconds) {
  if (!(seconds > 0)) return;
  const auto whole = static_cast<long>(seconds);
  platform_sleep(whole, static_cast<long>((seconds - static_cast<double>(whole)) * 1e6));
}

void record_frame_time(FramePacing* pacing, double e) {
  if (pacing->frames_measured == 0 || e < pacing->shortest_frame) pacing->shortest_frame = e;
  if (pacing->frames_measured == 0 || e > pacing->longest_frame) pacing->longest_frame = e;
  ++pacing->frames_measured;
}

}  // namespace

LoopClock platform_loop_clock() { return {platform_seconds, sleep_platform}; }

double frame_game_time(FramePacing* pacing, const LoopClock& clock, double lock_fps, bool warp) {
  double now = clock.now();
  double e = now - pacing->last_frame;
  double game_time = 0;
  if (lock_fps > 0) {
    const double frame = 1.0 / lock_fps;
    if (e < frame) {
      clock.sleep(frame - e);
      now = clock.now();
      e = now - pacing->last_frame;
    }
    record_frame_time(pacing, e);
    game_time = frame;
  } else {
    // A frame shorter than a tick waits for the tick.
    while (!warp && e < dt) {
      clock.sleep(dt - e);
      const double later = clock.now();
      if (later <= now) break;  // a clock that stands still must not hang the game
      now = later;
      e = now - pacing->last_frame;
    }
    record_frame_time(pacing, e);
    game_time = warp ? WARP_TICKS_PER_FRAME * dt : std::min(std::max(e, dt), MAX_FRAME_GAME_TIME);
  }
  pacing->now = now;
  return game_time;
}

double paced_to_server(double game_time, int32_t server_tick, int32_t race_clock, int32_t gate_drop_tick) {
  const double behind = (server_tick - race_clock - 1) * dt;
  if (behind < 0) return game_time * (0.5 + 0.5 * std::clamp(behind + 1, 0.0, 1.0));
  if (race_clock < gate_drop_tick) return game_time * (1 + 3 * std::clamp(behind, 0.0, 1.0));
  return game_time * (1 + 0.125 * std::clamp(8 * behind, 0.0, 1.0));
}

void advance_frame(FramePacing* pacing, double game_time) {
  pacing->last_frame = pacing->now;
  pacing->target += game_time;
  pacing->game_clock += game_time;
}

bool tick_due(const FramePacing& pacing) { return pacing.simulated < pacing.target; }

void tick_wall_time(const FramePacing& pacing, long* seconds, long* microseconds) {
  const double wall = std::max(0.0, pacing.now - (pacing.target - pacing.simulated));
  const double whole = std::floor(wall);
  *seconds = static_cast<long>(whole);
  *microseconds = std::min(999999L, static_cast<long>((wall - whole) * 1e6));
}
