// The main loop's own cost per frame with drawing stubbed out: 40 bikes on
// the default track ("rabbithill"), the player in the first gate and the
// coach riding the other 39, at 16 ticks a frame and at 1 tick a frame.
// "paused" frames run every tick's own work (events, control channels,
// the player's controls) but not the race: that is the loop's own cost;
// "racing" frames add race_tick. The window is a real one (run under Xvfb:
// xvfb-run -a build/bench/bench/bench_main_loop), 64 x 64, so the buffer
// swap is in the figure.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "app/command_line.h"
#include "app/game_hooks.h"
#include "app/main_loop.h"
#include "autopilot/coach.h"
#include "core/race_clock.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "physics/physics_world.h"
#include "platform/base/clock.h"
#include "platform/base/log.h"
#include "platform/window.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "testkit.h"
#include "track/track_list.h"

namespace {

double fake_now = 0;
LoopClock bench_clock() {
  return {[] { return fake_now; }, [](double seconds) { fake_now += seconds; }};
}

DrawHooks nothing_drawn() {
  DrawHooks draw;
  draw.rider_view = [](int) {};
  draw.scene_from = [](const Vec3&, const Vec3&) {};
  draw.title_screen = [] {};
  return draw;
}

Window* window = nullptr;
CommandLine line;

bool set_up() {
  if (window) return true;
  if (!std::getenv("BL_HOME")) setenv("BL_HOME", testkit::game_dir().c_str(), 1);
  setenv("BL_USER_HOME", testkit::scratch_dir("main-loop-bench-home").c_str(), 1);
  reset_data_layer();
  reset_settings();
  if (!build_track_list()) return false;
  start_physics();
  clear_race_session();
  window = create_gl_window("Bermline bench", 64, 64, 32, 0, 16, 0, 0);
  if (!window) return false;
  set_draw_hooks(nothing_drawn());
  AutopilotHooks robots;
  robots.autopilot_tick = coach_tick;
  set_autopilot_hooks(robots);
  return true;
}

// A race of 40, a few seconds past the gate drop.
bool start_riding(GameLoop& loop) {
  RaceSetup setup = player_race_setup(settings, "rabbithill", 100);
  setup.slots[0].code = SLOT_HUMAN;
  for (int k = 1; k < RACE_SLOTS; ++k) setup.slots[k].code = SLOT_ROBOT;
  race_clock = 0;
  reset_coaches();
  if (!start_race(setup)) return false;
  while (race_clock < race.gate_drop_tick + 3 * TICKS_PER_SECOND) race_tick();
  loop.window = window;
  bind_controls(loop);
  fake_now = platform_seconds() + 1000;
  begin_main_loop(loop, window, &line, bench_clock());
  loop.menu.open = false;
  return true;
}

void BM_MainLoopFrame(benchmark::State& state) {
  const int ticks = static_cast<int>(state.range(0));
  const bool racing = state.range(1) != 0;
  if (!set_up()) {
    state.SkipWithError("no window or no default track");
    return;
  }
  GameLoop loop;
  if (!start_riding(loop)) {
    state.SkipWithError("the default track did not load");
    return;
  }
  loop.paused = !racing;
  for (auto _ : state) {
    fake_now += ticks * dt;
    if (!main_loop_pass(loop)) {
      state.SkipWithError("the loop ended");
      break;
    }
  }
  state.SetLabel(std::string(racing ? "racing" : "paused") + ", " + std::to_string(ticks) + " ticks a frame");
  state.counters["ticks"] = benchmark::Counter(static_cast<double>(loop.ticks_run));
  release_controls(loop);
  end_race_session();
}
BENCHMARK(BM_MainLoopFrame)
    ->Args({16, 0})
    ->Args({1, 0})
    ->Args({16, 1})
    ->Args({1, 1})
    ->Unit(benchmark::kMicrosecond)
    ->MinTime(3);

}  // namespace

BENCHMARK_MAIN();
