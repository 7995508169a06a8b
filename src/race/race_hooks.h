// The points where the race calls the layers beside and above it: the
// auto pilot (robot driving and racing lines), which builds on the race,
// and the display (progress texts, the model cache). Every entry starts as
// a call that does nothing, so headless programs and tests run without
// those layers and no caller checks for a missing one.
#pragma once

struct Bike;

struct AutopilotHooks {
  void (*set_personality)(Bike& b, const char* personality) = [](Bike&, const char*) {};
  // One robot's tick: writes its controls.
  void (*autopilot_tick)(Bike& b) = [](Bike&) {};
  // Racing lines: load the set of a skill from a track's lines file, write
  // it back, prune it, plan the laps, forget it.
  void (*load_lines)(const char* path, int skill) = [](const char*, int) {};
  void (*save_lines)() = [] {};
  void (*prune_lines)() = [] {};
  void (*plan_laps)() = [] {};
  void (*clear_lines)() = [] {};
  // Every line's last-picked tick back to long ago.
  void (*forget_line_picks)() = [] {};
  // Lap timing's share of the line bookkeeping: the per-tick sample and
  // slow-down watch, a credited crossing, the end of a slow-down.
  void (*line_sample)(Bike& b) = [](Bike&) {};
  void (*line_crossing)(Bike& b, int position) = [](Bike&, int) {};
  void (*clear_slow_down)(Bike& b) = [](Bike&) {};
  // The bike touched another this tick: the line it is riding is spoiled.
  void (*bike_collided)(Bike& b) = [](Bike&) {};
};

struct RaceDisplayHooks {
  // Draws a progress text centred on a cleared screen and presents it.
  void (*show_progress)(const char* text) = [](const char*) {};
  // Releases models no race uses any more.
  void (*purge_models)() = [] {};
};

// Installs a table (a copy is kept); AutopilotHooks{} takes the layer out.
void set_autopilot_hooks(const AutopilotHooks& hooks);
void set_race_display_hooks(const RaceDisplayHooks& hooks);
const AutopilotHooks& autopilot_hooks();
const RaceDisplayHooks& race_display_hooks();

// The racing lines file of a skill: "lines_novice", "lines_amateur", "lines_expert".
const char* lines_file_name(int skill);
