// The default game data, written from code: the same bytes on every run.
#pragma once

#include <string>

// Writes one file of the kit below `root` (which ends in "/"), creating its
// folders; the previous copy survives a failed write. Reports and returns
// false on failure.
bool write_kit_file(const std::string& root, const std::string& name, const std::string& bytes);

// The data-identity archive "zzzz.saf".
bool write_identity_archive(const std::string& root);

// Every track folder, with the textures and models only tracks use.
bool write_tracks(const std::string& root);

// Bikes, riders, wheels, the font, the interface art and the series files.
bool write_art(const std::string& root);

// The robots' racing lines of every track in `root` (which must already
// hold the tracks, bikes and shapes): trained by racing, "lines_novice",
// "lines_amateur" and "lines_expert" in each track folder.
bool write_racing_lines(const std::string& root);
