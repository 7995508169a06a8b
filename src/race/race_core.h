// The start and the end of the headless game, one sequence for bermline
// and its tools (bermline-sim, the racing-line training): the home folder
// and the log, the race machinery, and its shut-down in order. Programs
// with robots install the auto pilot (install_autopilot) first.
#pragma once

// Makes the home folder and sends the log to `log_name` inside it.
void open_home_and_log(const char* log_name);

// The physics world and an empty race session.
void start_race_core();

// Saves what the robots learned, frees every bike, unloads the track and
// destroys the physics world.
void stop_race_core();
