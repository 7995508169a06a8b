#include "race/demo_header.h"

#include <cstdio>
#include <cstring>

#include "core/units.h"
#include "data/data_file.h"

namespace {

constexpr int32_t DEFAULT_GATE_DROP_TICKS = 14 * TICKS_PER_SECOND;
constexpr int TEXTURE_FIELDS = 5;

// One line with its line end; false at the end of the file or when the
// line is longer than the limit.
bool read_line(DataFile* file, std::string* line) {
  char buffer[DEMO_LINE_LIMIT + 1];
  if (!df_gets(file, buffer, sizeof buffer)) return false;
  size_t length = std::strlen(buffer);
  if (length == 0 || buffer[length - 1] != '\n') return false;
  line->assign(buffer, length - 1);
  return true;
}

// "bike|body|bike texture|wheels|head": each field may be missing; a sixth is cut off.
RiderIdentity split_rider_line(const std::string& line) {
  std::string fields[TEXTURE_FIELDS];
  size_t from = 0;
  for (int k = 0; k < TEXTURE_FIELDS && from <= line.size(); ++k) {
    size_t bar = line.find('|', from);
    fields[k] = line.substr(from, bar == std::string::npos ? std::string::npos : bar - from);
    if (bar == std::string::npos) break;
    from = bar + 1;
  }
  RiderIdentity rider;
  rider.bike = fields[0];
  rider.body_texture = fields[1];
  rider.bike_texture = fields[2];
  rider.wheel_texture = fields[3];
  rider.head_texture = fields[4];
  return rider;
}

}  // namespace

std::string demo_header_text(const DemoHeader& header) {
  char line[96];
  std::snprintf(line, sizeof line, "BL05 %d %d %d %d\n", static_cast<int>(header.riders.size()), header.race_length_ticks,
                header.race_laps, header.gate_drop_tick);
  std::string text = line;
  text += header.track + "\n";
  for (const RiderIdentity& r : header.riders) {
    text += r.bike + "|" + r.body_texture + "|" + r.bike_texture + "|" + r.wheel_texture + "|" + r.head_texture + "\n";
    text += r.number + "\n";
  }
  return text;
}

bool read_demo_header(DataFile* file, DemoHeader* header) {
  *header = DemoHeader{};
  std::string line;
  if (!read_line(file, &line)) return false;
  int version = 0, riders = 0, length = 0, laps = 0, drop = DEFAULT_GATE_DROP_TICKS;
  int scanned = std::sscanf(line.c_str(), "BL%d %d %d %d %d", &version, &riders, &length, &laps, &drop);
  if (scanned < 3 || (version != 4 && version != 5)) return false;
  if (riders < 0 || riders > RACE_SLOTS || length < 0 || laps < 0) return false;
  header->version = version;
  header->race_length_ticks = length;
  header->race_laps = laps;
  header->gate_drop_tick = drop;
  if (!read_line(file, &header->track)) return false;
  for (int k = 0; k < riders; ++k) {
    if (!read_line(file, &line)) return false;
    RiderIdentity rider = split_rider_line(line);
    if (!read_line(file, &line)) return false;
    rider.number = line.substr(0, DEMO_NUMBER_KEPT);
    header->riders.push_back(std::move(rider));
  }
  header->size = df_position(file);
  return true;
}
