// The game's command line: options beginning with "--" (tried in a fixed
// chain by the shared reader of platform/base/command_args.h), a lone "--"
// ending the options, and at most one file argument (a demo to play).
#pragma once

#include <string>

#include "platform/base/command_args.h"

// Values only the entry point holds.
struct CommandLine {
  float lock_fps = 0.0f;
  bool warp = false;
  bool no_sound = false;
  bool record_video = false;
  bool glfinish = false;
  bool show_pause_overlay = true;
  bool show_hud = true;
  std::string record_audio;  // empty: no recording
  float chase_center[3] = {0.0f, 2.52f, 0.52f};
  float free_camera_distance = 10.0f;
  float free_camera_height = 5.0f;
  int audio_frames_per_tick = 690;
  std::string file_argument;
  bool has_file_argument = false;
  bool open_home = false;     // "--open-home": open the home folder and stop
};

// Parses argv[1..] into `line`, the settings and the run settings. Returns
// -1 to go on, or the exit status (messages already on standard error).
int parse_command_line(int argc, char** argv, CommandLine* line);
