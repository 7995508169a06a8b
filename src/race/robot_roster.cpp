#include "race/robot_roster.h"

#include <utility>

#include "core/bike_names.h"
#include "core/mt19937.h"
#include "race/race_session.h"

namespace {

// Bikes by number, in runs of consecutive numbers.
struct BikeRun {
  int first, last;
  const char* bike;
  const char* personality;
};
constexpr BikeRun BIKE_RUNS[] = {
    {20, 24, "kx125", "cedar"},          {25, 29, "yz125", "cedar"},
    {30, 34, "cr125", "cedar"},          {35, 39, "rm125", "cedar"},
    {40, 44, "crf250", "birch"},         {45, 49, "kx250f", "birch"},
    {50, 53, "rmz250", "birch"},         {54, 58, "yz250f", "birch"},
    {59, 59, "yz250f_se(2006)", "birch"}, {60, 64, "crf250", "cedar"},
    {65, 69, "kx250f", "cedar"},         {70, 74, "rmz250", "cedar"},
    {75, 78, "yz250f", "cedar"},         {79, 79, "yz250f_se(2006)", "cedar"},
    {80, 84, "crf250", "alder"},         {85, 89, "kx250f", "alder"},
    {90, 94, "yz250f", "alder"},         {95, 99, "rmz250", "alder"},
};

std::string alternative(const std::string& prefix, int n) { return "@" + prefix + "alt" + std::to_string(n) + ".png"; }

RosterEntry make_entry(int number) {
  RosterEntry e;
  e.number = std::to_string(number);
  for (const BikeRun& run : BIKE_RUNS)
    if (number >= run.first && number <= run.last) {
      e.bike = run.bike;
      e.personality = run.personality;
    }
  std::string bike_prefix = bike_texture_prefix(e.bike);
  if (number >= 80) {  // the fast riders wear a full kit, alternating row by row
    int alt = 1 + number % 2;
    e.body_texture = alternative("rider_body-", alt);
    e.head_texture = alternative("rider_head-", alt);
    e.bike_texture = alternative(bike_prefix, alt);
    e.wheel_texture = alternative("wheels-", alt);
    return e;
  }
  // The rest vary their kit from row to row; some keep a default piece.
  e.body_texture = alternative("rider_body-", 1 + number % 3);
  if (number % 4 != 0) e.head_texture = alternative("rider_head-", 1 + (number / 3) % 3);
  if (number % 4 != 1) e.bike_texture = alternative(bike_prefix, 1 + (number / 2) % 2);
  if (number % 3 != 0) e.wheel_texture = alternative("wheels-", 1 + number % 2);
  return e;
}

bool fits(const RosterEntry& e, int32_t code) {
  if (code == SLOT_ROBOT_2_STROKE) return e.bike.find("125") != std::string::npos;
  if (code == SLOT_ROBOT_4_STROKE) return e.bike.find("250") != std::string::npos;
  return e.number == std::to_string(code - SLOT_ROBOT_NUMBER_BASE);
}

}  // namespace

const std::array<RosterEntry, ROSTER_SIZE>& robot_roster() {
  static const std::array<RosterEntry, ROSTER_SIZE> roster = [] {
    std::array<RosterEntry, ROSTER_SIZE> rows;
    for (int k = 0; k < ROSTER_SIZE; ++k) rows[k] = make_entry(20 + k);
    return rows;
  }();
  return roster;
}

void shuffle_roster(Mt19937& generator, int order[ROSTER_SIZE]) {
  for (int i = 0; i < ROSTER_SIZE; ++i) order[i] = i;
  for (int i = ROSTER_SIZE - 1; i >= 1; --i) {
    int j = static_cast<int>((mt_next(generator) >> 16) % static_cast<uint32_t>(i));
    std::swap(order[i], order[j]);
  }
}

int take_robot(int order[ROSTER_SIZE], int r, int32_t code) {
  if (r < 0 || r >= ROSTER_SIZE) return -1;
  if (code != SLOT_ROBOT) {
    const auto& roster = robot_roster();
    for (int k = ROSTER_SIZE - 1; k > r; --k)
      if (fits(roster[order[k]], code)) {
        std::swap(order[k], order[r]);
        break;
      }
  }
  return order[r];
}
