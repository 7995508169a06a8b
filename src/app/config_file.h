// The configuration file "config" in the home folder: read once at
// start-up, written back in full at shut-down.
#pragma once

#include <string>

struct ControlBinding;

// Reads "@config" into the settings; a missing file leaves the defaults.
void load_config();

// Writes every key in its fixed order to "@config". The text goes to a
// temporary file in the home folder first and is then renamed over the old
// file, so a failed write keeps the previous configuration. Returns false
// when nothing could be written.
bool save_config();

// The whole configuration text as save_config writes it.
std::string config_text();

// Parses a binding value: "(k)name", a bare key name, or "(low,high)axis".
void parse_binding(ControlBinding* binding, const char* text);

// Rebuilds the texture choice lists ("Riding Gear", "Helmet", "Bike
// Graphics", "Wheel Graphics") from the game data.
void build_texture_choices();

// Selects a bike by name (through the old-name aliases), rebuilds its
// texture choices and resets "Bike Graphics" to "default". Unknown names
// leave the choice as it was.
void select_bike(const char* name);
