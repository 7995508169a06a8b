// The default game data, written from code: the same bytes on every run.
#pragma once

#include <string>

// Writes one file of the kit below `root`, creating its folders. Reports
// and returns false on failure.
bool write_kit_file(const std::string& root, const std::string& name, const std::string& bytes);

// The data-identity archive "zzzz.saf".
bool write_identity_archive(const std::string& root);

// The track "rabbithill".
bool write_rabbithill(const std::string& root);
