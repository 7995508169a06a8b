// How much game time each drawn frame stands for, and the simulated time
// that whole ticks of dt catch up with. Fast machines draw more frames
// than ticks, slow ones run several ticks a frame; one frame never stands
// for more than 0.125 s (16 ticks), so after a stall the game slows down
// instead of racing through hundreds of ticks.
#pragma once

#include <cstdint>

// The clock the loop paces with (the platform clock unless a test or a
// benchmark supplies its own).
struct LoopClock {
  double (*now)();                 // seconds
  void (*sleep)(double seconds);   // sleeps at least that long
};
LoopClock platform_loop_clock();

struct FramePacing {
  double last_frame = 0;      // clock time of the last frame
  double target = 0;          // game time the ticks must reach
  double simulated = 0;       // game time the ticks have reached
  double game_clock = 0;      // advanced by every frame's game time
  double now = 0;             // clock time of the frame being paced
  double shortest_frame = 0;  // frame-time statistics (0 until measured)
  double longest_frame = 0;
  int frames_measured = 0;
};

constexpr double MAX_FRAME_GAME_TIME = 0.125;
constexpr int WARP_TICKS_PER_FRAME = 100;

// The frame's game time: exactly 1/lock_fps (sleeping out the rest of a
// short frame) with a lock; 100 ticks with warp; else the time since the
// last frame, at most 0.125 s and at least a tick (sleeping until then).
// Sets `pacing->now` and records the frame time.
double frame_game_time(FramePacing* pacing, const LoopClock& clock, double lock_fps, bool warp);

// Connected to a server: the game time stretched or shrunk so the local
// race keeps step with the server's tick.
double paced_to_server(double game_time, int32_t server_tick, int32_t race_clock, int32_t gate_drop_tick);

// Ends the frame's pacing: the frame's clock time becomes the last frame,
// and the target and game clock advance.
void advance_frame(FramePacing* pacing, double game_time);

// Whole ticks still to run: the simulated time is behind the target.
bool tick_due(const FramePacing& pacing);

// The platform clock time (seconds, microseconds) at which a tick's game
// time was due: now less how far the simulated time still trails the target.
void tick_wall_time(const FramePacing& pacing, long* seconds, long* microseconds);
