// The points where the race calls the layers beside and above it: the
// auto pilot (robot driving and racing lines), which builds on the race,
// and the display (progress texts, the model cache). Each entry may be
// null; the race then skips the call, so headless programs and tests run
// without them.
#pragma once

struct Bike;

struct AutopilotHooks {
  void (*set_personality)(Bike& b, const char* personality);
  // One robot's tick: writes its controls.
  void (*autopilot_tick)(Bike& b);
  // Racing lines: load the set of a skill from a track's lines file, write
  // it back, prune it, plan the laps, forget it.
  void (*load_lines)(const char* path, int skill);
  void (*save_lines)();
  void (*prune_lines)();
  void (*plan_laps)();
  void (*clear_lines)();
  // Every line's last-picked tick back to long ago.
  void (*forget_line_picks)();
  // Lap timing's share of the line bookkeeping: the per-tick sample and
  // slow-down watch, a credited crossing, the end of a slow-down.
  void (*line_sample)(Bike& b);
  void (*line_crossing)(Bike& b, int position);
  void (*clear_slow_down)(Bike& b);
};

struct RaceDisplayHooks {
  // Draws a progress text centred on a cleared screen and presents it.
  void (*show_progress)(const char* text);
  // Releases models no race uses any more.
  void (*purge_models)();
};

void set_autopilot_hooks(const AutopilotHooks* hooks);
void set_race_display_hooks(const RaceDisplayHooks* hooks);
const AutopilotHooks& autopilot_hooks();
const RaceDisplayHooks& race_display_hooks();

// The racing lines file of a skill: "lines_novice", "lines_amateur", "lines_expert".
const char* lines_file_name(int skill);
