// "results.txt": the race's result as text with CR LF line ends, written
// into the home folder when the result is declared.
#pragma once

#include <ctime>
#include <string>

struct StandingsEntry;

// The header lines and one row per entry: number, bike, laps, total time,
// best lap and its time. Entries whose rider has not finished are left
// out unless `unfinished_too` (live standings shown before the end).
std::string results_table(const StandingsEntry* list, int count, bool unfinished_too, std::time_t date);

// Each finished rider's crossing log: gates passed, then one field per
// sequence position, a line per lap.
std::string results_crossings(const StandingsEntry* list, int count);

// Writes the final standings to "@results.txt"; false when it cannot.
bool write_results_file();

// "%3d:%02d.%03d" (minutes, seconds, milliseconds) of a time in seconds.
std::string race_time_text(double seconds, const char* minutes_format);
