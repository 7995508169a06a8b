// The text header of a demo file: "BL05 R length laps drop", the track
// name, then two lines per recorded rider (bike and textures split by "|",
// then the number). Frames follow from the header's last byte on.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "race/race_setup.h"

struct DataFile;

constexpr int DEMO_LINE_LIMIT = 1024;
constexpr int DEMO_NUMBER_KEPT = 3;

struct DemoHeader {
  int version = 5;
  int32_t race_length_ticks = 0;
  int32_t race_laps = 0;
  int32_t gate_drop_tick = 0;
  std::string track;
  std::vector<RiderIdentity> riders;  // at most RACE_SLOTS
  int32_t size = 0;  // bytes before the first frame
};

// The version 5 header text.
std::string demo_header_text(const DemoHeader& header);

// Reads a header and leaves the file at the first frame. False when it
// does not scan: an unknown version, a line without its line end, more
// riders than slots. A missing gate-drop value means 14 s.
bool read_demo_header(DataFile* file, DemoHeader* header);
