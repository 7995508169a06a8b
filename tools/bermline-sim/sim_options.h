// The command line of bermline-sim.
#pragma once

#include <cstdint>
#include <string>

struct SimOptions {
  std::string track = "rabbithill";
  std::string data_dir, home_dir;
  int32_t lineup[40] = {};
  bool lineup_given = false;
  int laps = 5;
  double minutes = 0;
  int skill = 0;
  double max_seconds = 20 * 60;  // simulated
  std::string record_file, play_file;
  bool practice = false;  // robots explore untried lines
  bool learning = true;   // robots' racing lines are saved after the race
  double erosion = 0;     // 0 .. 1: how much dirt the roost moves
  int roost_frequency = 250;  // percent, 0 .. 1000
  std::string ground_diff_file;  // a picture of how the ground changed
};

// Parses argv[1..]. False after writing the reason to `error`.
bool parse_sim_options(int argc, char** argv, SimOptions* options, std::string* error);

// What --help prints.
inline constexpr const char* SIM_USAGE =
    "usage: bermline-sim [options]\n"
    "  --track NAME        track folder (default rabbithill)\n"
    "  --data DIR          game data folder (default: beside the program)\n"
    "  --home DIR          home folder for demos, results and the log\n"
    "  --robots N          the first N gates hold robots\n"
    "  --lineup CODES      slot codes by gate, e.g. 1,2,2,2 (0 empty, 1 the coach,\n"
    "                      2 robot, 3 robot on a 125, 4 robot on a 250, 1000+n robot number n)\n"
    "  --laps N            laps (default 5)\n"
    "  --minutes M         race length in minutes, then --laps more laps\n"
    "  --skill S           novice, amateur or expert\n"
    "  --max-seconds S     stop after S simulated seconds (default 1200)\n"
    "  --practice          robots explore racing lines they have not tried\n"
    "  --nolearn           keep the racing lines as they were (nothing learned is saved)\n"
    "  --record FILE       record the race as a demo\n"
    "  --play FILE         play a demo (with a lineup: race against it)\n"
    "  --erode F           erosion 0..1: the roost takes dirt where it leaves and drops it where it lands\n"
    "  --roostfrequency N  roost density in percent, 0..1000 (default 250)\n"
    "  --ground-diff FILE  write how the ground changed as a PNG (ruts dark, piles bright)\n"
    "A value follows its option or is joined to it with '=' (--laps=3).\n";
