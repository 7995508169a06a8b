// Recognising the game data by its identity file "zzzz.saf": the RIPEMD-160
// digest of its first megabyte must match the data set this build expects.
#pragma once

#include <string>

// The digest of the "zzzz.saf" that bermline-data writes.
inline constexpr const char* GAME_DATA_DIGEST = "af37de0515634e0be4471b3ca0cd2876cedaafd8";

// The identity digest of a file as 40 lowercase hex digits ("" when it
// cannot be opened).
std::string identity_digest(const std::string& path);

// True when one of the data directories holds the expected "zzzz.saf".
bool find_game_data();
