// start_race: tears the previous session down and builds the next one.
#include <algorithm>
#include <cmath>

#include "core/bike_names.h"
#include "core/messages.h"
#include "core/mt19937.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "data/texture_cache.h"
#include "physics/bike.h"
#include "physics/bike_load.h"
#include "physics/bike_setup.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "platform/base/log.h"
#include "race/demo_frame.h"
#include "race/demo_playback.h"
#include "race/demo_recording.h"
#include "race/lap_timing.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/rider_snapshot.h"
#include "race/robot_roster.h"
#include "race/standings.h"
#include "race/starting_gate.h"
#include "track/terrain.h"
#include "track/track.h"
#include "track/track_load.h"

namespace {

constexpr double GATE_DROP_EARLIEST = 13, GATE_DROP_SPREAD = 2;  // seconds
// A timed race's laps are not known at the start: room for this many more.
constexpr int TIMED_RACE_LAP_ROOM = 40;

void show_progress(const char* text) {
  race_display_hooks().show_progress(text);
}

bool track_loaded() { return !track().terrain.heights.empty(); }

// Between 13 and 15 s after the reset.
int32_t draw_gate_drop_tick() {
  double u = (mt_next(game_random) & 0x7FFFFFFF) * (1.0 / 2147483648.0);
  return static_cast<int32_t>((GATE_DROP_EARLIEST + GATE_DROP_SPREAD * u) / dt);
}

void tear_down_session() {
  const AutopilotHooks& lines = autopilot_hooks();
  if (track_loaded()) {
    show_progress("Remembering lines...");
    lines.save_lines();
    lines.clear_lines();
  }
  close_demo_files();
  show_progress("Cleaning up...");
  voxa_log("Deallocating bikes\n");
  for (int slot = 0; slot < RACE_SLOTS; ++slot) free_slot(slot);
  reset_standings();
  voxa_log("Finished deallocating bikes\n");
}

// Keeps the loaded track when it is the wanted one (online, only while its
// ground is as loaded); otherwise loads it. Online ground is locked.
bool load_wanted_track(const std::string& wanted, bool online) {
  Terrain& ground = track().terrain;
  const bool keep = track_loaded() && track().name == wanted && !(online && ground.heights_modified);
  if (!keep) {
    if (track_loaded()) UnloadTrack();
    ++texture_memory.generation;
    texture_memory.bytes = 0;
    if (!LoadTrack(wanted)) return false;
  }
  track().terrain.deformation_locked = online ? 1 : 0;
  return true;
}

// Codes 6 to 999 come from nowhere; they ride as empty slots.
int32_t known_code(int32_t code) {
  bool known = (code >= SLOT_EMPTY && code <= SLOT_REMOTE) || code >= SLOT_ROBOT_NUMBER_BASE;
  return known ? code : SLOT_EMPTY;
}

// The lineup as it will ride: a time trial's lone rider, someone in an
// empty lineup, one human at most.
void settle_lineup(const RaceSetup& setup, bool playing) {
  for (int k = 0; k < RACE_SLOTS; ++k)
    race.lineup[k] = setup.time_trial ? (k == 0 ? SLOT_HUMAN : SLOT_EMPTY) : known_code(setup.slots[k].code);
  int first = 0;
  while (first < RACE_SLOTS && race.lineup[first] == SLOT_EMPTY) ++first;
  if (playing) {
    race.first_viewed_slot = first < RACE_SLOTS ? first : 0;
  } else if (first == RACE_SLOTS) {
    race.lineup[0] = SLOT_ROBOT;
    race.first_viewed_slot = 0;
  } else {
    race.first_viewed_slot = first;
  }
  bool human_seen = false;
  for (int k = 0; k < RACE_SLOTS; ++k) {
    if (race.lineup[k] != SLOT_HUMAN) continue;
    if (human_seen) race.lineup[k] = SLOT_EMPTY;
    else race.first_viewed_slot = k;
    human_seen = true;
  }
}

void load_racing_lines() {
  const AutopilotHooks& lines = autopilot_hooks();
  std::string path = "@" + track().name + "/" + lines_file_name(race.skill);
  lines.load_lines(path.c_str(), race.skill);
  show_progress("Analyzing lines...");
  lines.prune_lines();
  lines.plan_laps();
}

RiderIdentity robot_identity(const RosterEntry& e) {
  return {e.bike, e.body_texture, e.head_texture, e.bike_texture, e.wheel_texture, e.number};
}

struct SlotFiller {
  int order[ROSTER_SIZE];
  int robots = 0;       // robots placed so far
  int demo_riders = 0;  // demo riders placed so far
};

// Who rides slot k and how; false when the slot stays empty.
bool choose_rider(const RaceSetup& setup, SlotFiller& fill, int k, RiderIdentity* rider, int* control, int* roster_row) {
  const int32_t code = race.lineup[k];
  *roster_row = -1;
  if (code == SLOT_HUMAN) {
    *rider = setup.slots[k].rider;
    *control = CONTROL_LOCAL;
    return true;
  }
  if (code == SLOT_ROBOT || code == SLOT_ROBOT_2_STROKE || code == SLOT_ROBOT_4_STROKE || code >= SLOT_ROBOT_NUMBER_BASE) {
    *roster_row = take_robot(fill.order, fill.robots, code);
    if (*roster_row < 0) return false;
    *rider = robot_identity(robot_roster()[static_cast<size_t>(*roster_row)]);
    *control = CONTROL_AUTOPILOT;
    return true;
  }
  // Remote riders come from the server's table (network issue).
  if (code == SLOT_EMPTY && fill.demo_riders < race.playback.demo_rider_count) {
    *rider = race.playback.header.riders[static_cast<size_t>(fill.demo_riders++)];
    *control = CONTROL_EXTERNAL;
    return true;
  }
  return false;
}

void load_slot(const RaceSetup& setup, SlotFiller& fill, int k) {
  RiderIdentity rider;
  int control = CONTROL_EXTERNAL, row = -1;
  if (!choose_rider(setup, fill, k, &rider, &control, &row)) return;
  Bike* b = load_bike(apply_bike_alias(rider.bike.c_str()), k, rider.number.c_str(), rider.body_texture.c_str(),
                      rider.head_texture.c_str(), rider.bike_texture.c_str(), rider.wheel_texture.c_str());
  if (!b) return;
  // The bike's engine voice is attached here (effects issue).
  const StartPose pose = start_pose(k);
  place_bike(*b, pose.x, pose.z, pose.heading);
  for (int body = 0; body < BODY_COUNT; ++body) {
    if (control == CONTROL_EXTERNAL) dBodyDisable(bike_body(*b, body));
    else dBodyEnable(bike_body(*b, body));
  }
  reserve_timing_log(*b, race.race_length_ticks > 0 ? race.race_laps + TIMED_RACE_LAP_ROOM : race.race_laps);
  race.slot_bike[k] = b;
  race.slot_control[k] = control;
  race.slot_rider[k] = rider;
  if (row >= 0) {
    const AutopilotHooks& autopilot = autopilot_hooks();
    const char* personality = race.practice ? "tester" : robot_roster()[static_cast<size_t>(row)].personality.c_str();
    autopilot.set_personality(*b, personality);
    ++fill.robots;
  }
}

void fix_race_length() {
  if (race.race_length_ticks != 0) {
    race.finish_lap = race.halfway_lap = LAP_NOT_YET_KNOWN;
  } else {
    race.finish_lap = race.race_laps;
    race.halfway_lap = (race.race_laps + 1) / 2;
  }
}

int leader_slot() { return race.results.standings_count > 0 ? race.results.standings[0].slot : 0; }

}  // namespace

int start_race(const RaceSetup& setup) {
  // The points series records the event in progress here (series issue).
  show_progress("Resetting...");
  SlotFiller fill;
  mt_seed(game_random, static_cast<uint32_t>(race_clock));
  shuffle_roster(game_random, fill.order);
  tear_down_session();

  race_clock = 0;
  race.race_length_ticks = setup.race_length_ticks;
  race.race_laps = setup.race_laps;
  race.skill = setup.skill;
  race.practice = setup.practice;
  race.learning = setup.learning;
  race.start_signal_tick = START_SIGNAL_TICKS;
  race.gate_drop_tick = draw_gate_drop_tick();  // multiplayer: the server's value (network issue)
  race.time_trial = setup.time_trial;

  std::string wanted = setup.track;
  bool playing = false;
  if (!setup.playback_path.empty()) {
    playing = open_demo_playback(setup.playback_path) != 0;
    if (playing) wanted = race.playback.header.track;
  }
  if (!load_wanted_track(wanted, setup.online)) {
    close_demo_files();
    return 0;
  }

  settle_lineup(setup, playing);
  if (race.time_trial) {
    race_clock = TIME_TRIAL_START_TICKS;
    race.results.time_trial_best_lap = race.results.time_trial_last_lap = 0;
  }
  load_racing_lines();

  show_progress("Loading bikes...");
  for (int k = 0; k < RACE_SLOTS; ++k) load_slot(setup, fill, k);

  if (setup.record)
    start_demo_recording(race.time_trial                ? track_demo_path(track().name, "lastlap.bldemo")
                         : setup.record_path.empty() ? std::string(DEFAULT_DEMO_PATH)
                                                     : setup.record_path);
  reset_roost(race.roost);
  autopilot_hooks().forget_line_picks();

  post_message("%d MB texture memory used", static_cast<int>(texture_memory.bytes >> 20));
  clean_up_textures();
  race_display_hooks().purge_models();

  fix_race_length();
  raise_gate_bars();
  if (race.time_trial) restart_time_trial_attempt();

  record_demo_tick();
  play_demo_tick();

  race.results.results_final = false;
  update_standings();
  if (!race.slot_bike[race.first_viewed_slot]) race.first_viewed_slot = leader_slot();
  dJointGroupEmpty(physics.contacts);
  Bike* viewed = race.slot_bike[race.first_viewed_slot];
  if (viewed && race.slot_control[race.first_viewed_slot] == CONTROL_LOCAL && setup.player_settings)
    apply_settings(*viewed, *setup.player_settings);
  publish_rider_snapshots();
  return 1;
}
