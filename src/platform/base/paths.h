// Where the per-user home folder and the running executable are.
#pragma once

#include <string>

// The per-user home folder of the game, ending in "/": BL_USER_HOME when
// set, else $XDG_DATA_HOME/bermline/, else $HOME/.local/share/bermline/.
// Empty when none can be determined.
std::string user_home_folder();

// The folder of the running executable, ending in "/"; empty when the path
// cannot be read.
std::string executable_folder();

// Turns "\" into "/" and collapses runs of "/".
std::string normalise_path(const std::string& path);

// Creates a folder and all its missing parents. Returns false on failure.
bool make_folders(const std::string& path);

// Asks the desktop to open a folder (xdg-open); returns false on failure.
bool open_in_desktop(const std::string& path);
