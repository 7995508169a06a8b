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
};

// Parses argv[1..]. False after writing the reason to `error`.
bool parse_sim_options(int argc, char** argv, SimOptions* options, std::string* error);

extern const char* const SIM_USAGE;
