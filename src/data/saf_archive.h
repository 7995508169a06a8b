// ".saf" archives: a text header of "<size> <name>" lines ending with a
// line "-", followed by the members' bytes in header order.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct SafMember {
  std::string name;  // runs of "/" collapsed
  int32_t offset;    // from the start of the archive
  int32_t size;
};

// Reads the header from a stream positioned at the archive's start.
// Returns false, with no members, for a malformed header: a line without
// its LF (or longer than 1023 bytes), a line that is neither a member nor
// "-", a missing "-" line, a negative size, an empty name, or offsets past
// the 32-bit range.
bool read_saf_header(FILE* stream, std::vector<SafMember>* members);
bool read_saf_header_file(const char* path, std::vector<SafMember>* members);

// Writes an archive with the given members (name, bytes) in order; the
// game-data builder and the tests use it. Returns false on a write error.
bool write_saf_archive(const char* path,
                       const std::vector<std::pair<std::string, std::string>>& members);
