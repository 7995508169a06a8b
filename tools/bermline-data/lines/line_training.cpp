#include "lines/line_training.h"

#include <algorithm>

#include "autopilot/autopilot.h"
#include "autopilot/coach.h"
#include "autopilot/line_plan.h"
#include "autopilot/racing_lines.h"
#include "core/race_clock.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_dirs.h"
#include "data/safe_write.h"
#include "physics/bike.h"
#include "platform/base/paths.h"
#include "race/race_hooks.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "race/standings.h"
#include "track/track_list.h"

namespace lines {

namespace {

// The coach's pace per skill: top speed and speed through a right-angle turn.
// (At an expert pace of 70 ft/s robots following the lines flew further off
// crests and landed wide of the turns after them, missing Rabbit Hill's
// finish gate every lap: their laps were slower than at 65.)
constexpr CoachPace PACES[] = {{50, 17}, {60, 20.5}, {65, 22}};

// Coaches ride alone (they do not watch for each other), one race each from
// places spread over the gate, so that their lines out of the start
// differ, and ride three laps: the first lap's sections, then a normal
// lap's, each followed by the next section (a line's second time).
constexpr int COACH_PLACES[] = {0, 5, 11, 16, 22, 27, 33, 38};
constexpr int COACH_LAPS = 3;
constexpr double SLOWER_COACHES[] = {1, 0.85, 0.7};  // shares of the pace, tried in turn
// A section where every coach ride crawled or fell has no line: coaches
// ride it again from these places, slower each round, until it has one.
constexpr int GAP_PLACES[] = {0, 19};
constexpr double GAP_SHARES[] = {0.85, 0.7, 0.55};
// A coach line this much slower than the section's fastest went astray (a
// fall, a missed gate ridden back to): robots would copy the detour.
constexpr double DETOUR_SHARE = 1.3;

// Robots: explorers that try the lines first, then racers that rate them.
constexpr int EXPLORING_RACES = 1, RACING_RACES = 2;
constexpr int ROBOTS_PER_RACE = 8;
constexpr int ROBOT_RACE_LAPS = 2;
constexpr double MOST_RACE_SECONDS = 600;   // simulated, for one robot race
constexpr double MOST_COACH_SECONDS = 720;  // simulated, for a coach's three laps

int skill_index(int skill) { return skill < 0 ? 0 : skill > 2 ? 2 : skill; }

struct Training {
  std::string track;
  int skill = 0;
  TrainingReport* report = nullptr;

  // Robots learn in every race; explorers try the lines nobody rode yet.
  bool start(const int32_t* lineup, int laps, bool exploring = false) {
    RaceSetup setup = player_race_setup(settings, track, laps);
    setup.set_lineup(lineup, setup.slots[0].rider);
    setup.skill = skill;
    setup.practice = exploring;
    return start_race(setup) != 0;
  }

  // Runs the race started last to its results (or the time limit).
  void run(double most_seconds) {
    const int32_t last_tick = race_clock + static_cast<int32_t>(most_seconds / dt);
    while (!race.results.results_final && race_clock < last_tick) {
      drive_coaches();
      race_tick();
      report->simulated_seconds += dt;
    }
  }

  int finishers() const {
    int n = 0;
    for (int slot = 0; slot < RACE_SLOTS; ++slot) n += race.slot_bike[slot] && race.slot_bike[slot]->finished;
    return n;
  }

  // One coach ride from `place` at `share` of the pace; whether it finished.
  bool coach_ride(int place, double share) {
    int32_t lineup[RACE_SLOTS] = {};
    lineup[place] = SLOT_HUMAN;
    set_coach_pace({PACES[skill].top_speed * share, PACES[skill].turn_speed * share});
    reset_coaches();
    if (!start(lineup, COACH_LAPS)) return false;
    run(MOST_COACH_SECONDS);
    ++report->coach_rides;
    return finishers() > 0;
  }

  // A coach that falls too often to finish rides again, slower.
  void coach_race(int place) {
    for (double share : SLOWER_COACHES)
      if (coach_ride(place, share)) {
        ++report->coach_finishes;
        return;
      }
  }

  void fill_gaps() {
    for (double share : GAP_SHARES) {
      if (every_section_has_lines()) return;
      for (int place : GAP_PLACES) coach_ride(place, share);
    }
  }

  static void drop_detours() {
    for (LineTable& table : line_set.tables) {
      int32_t fastest = NO_TIME;
      for (const RacingLine& line : table.lines)
        if (!line.empty()) fastest = std::min(fastest, line.own_time);
      for (RacingLine& line : table.lines)
        if (!line.empty() && line.own_time > fastest * DETOUR_SHARE) clear_line(line);
    }
  }

  // (A ride's lines join the tables as its sections close.)
  static bool every_section_has_lines() {
    for (const LineTable& table : line_set.tables)
      if (line_count(table) == 0) return false;
    return true;
  }

  void robot_race(int race_number, bool exploring) {
    int32_t lineup[RACE_SLOTS] = {};
    // Different gate places each race, so that every start line gets ridden.
    for (int k = 0; k < ROBOTS_PER_RACE; ++k) lineup[(race_number * 3 + k * 5) % RACE_SLOTS] = SLOT_ROBOT;
    if (start(lineup, ROBOT_RACE_LAPS, exploring)) {
      ++report->robot_races;
      run(MOST_RACE_SECONDS);
      report->robot_starts += ROBOTS_PER_RACE;
      report->robot_finishes += finishers();
    }
  }
};

}  // namespace

std::string train_lines(const std::string& track, int skill, TrainingReport* report) {
  TrainingReport unused;
  Training t{track, skill_index(skill), report ? report : &unused};
  // Training starts from no lines at all, whatever the data folder holds:
  // a file for no sections shadows it and is ignored.
  const std::string home = home_folder();
  if (home.empty() || !make_folders(home + track) ||
      !write_file_safely(home + track + "/" + lines_file_name(t.skill), "ct03 0\n"))
    return "";

  for (int place : COACH_PLACES) t.coach_race(place);
  t.fill_gaps();
  Training::drop_detours();
  for (int k = 0; k < EXPLORING_RACES; ++k) t.robot_race(k, true);
  for (int k = 0; k < RACING_RACES; ++k) t.robot_race(EXPLORING_RACES + k, false);
  // The last race's learning is saved by the next start: one more, empty.
  const int32_t none[RACE_SLOTS] = {};
  if (!t.start(none, 1)) return "";

  TrainingReport& r = *t.report;
  for (const LineTable& table : line_set.tables)
    for (const RacingLine& line : table.lines) {
      r.lines += !line.empty();
      r.tested_lines += line.tested > 0;
    }
  r.predicted_lap = predicted_lap_seconds(false);
  return lines_file_text();
}

}  // namespace lines
