#include "sim_options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/base/command_args.h"
#include "race/race_session.h"

namespace {

bool whole_number(const char* text, long low, long high, long* out) {
  char* end = nullptr;
  errno = 0;
  long v = std::strtol(text, &end, 10);
  if (errno != 0 || end == text || *end != '\0' || v < low || v > high) return false;
  *out = v;
  return true;
}

bool real_number(const char* text, double low, double high, double* out) {
  char* end = nullptr;
  double v = std::strtod(text, &end);
  if (end == text || *end != '\0' || !std::isfinite(v) || v < low || v > high) return false;
  *out = v;
  return true;
}

bool parse_lineup(const char* text, int32_t lineup[RACE_SLOTS]) {
  std::fill(lineup, lineup + RACE_SLOTS, SLOT_EMPTY);
  std::string codes = text;
  size_t from = 0;
  for (int slot = 0; from <= codes.size(); ++slot) {
    size_t comma = codes.find(',', from);
    std::string code = codes.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    long v;
    if (slot >= RACE_SLOTS || !whole_number(code.c_str(), 0, 1099, &v)) return false;
    bool known = v <= SLOT_ROBOT_4_STROKE || v >= SLOT_ROBOT_NUMBER_BASE;
    if (!known) return false;
    lineup[slot] = static_cast<int32_t>(v);
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  return true;
}

}  // namespace

bool parse_sim_options(int argc, char** argv, SimOptions* o, std::string* error) {
  static const char* const VALUE_OPTIONS[] = {"--track", "--data",    "--home",    "--record",      "--play",
                                              "--robots", "--lineup", "--laps",    "--minutes",     "--max-seconds",
                                              "--skill", "--erode", "--roostfrequency", "--ground-diff"};
  ArgCursor cursor{argv + 1, argc - 1};
  while (cursor.left > 0) {
    if (match_option(&cursor, "--help", nullptr)) {
      *error = "";
      return false;
    }
    if (match_option(&cursor, "--practice", nullptr)) {
      o->practice = true;
      continue;
    }
    if (match_option(&cursor, "--nolearn", nullptr)) {
      o->learning = false;
      continue;
    }
    const char* name = nullptr;
    const char* value = nullptr;
    for (const char* option : VALUE_OPTIONS)
      if (match_option(&cursor, option, &value)) {
        name = option;
        break;
      }
    if (!name) {
      const char* arg = take_argument(&cursor);
      if (!arg) break;  // a lone "--" ended the options
      *error = std::string(arg[0] == '-' && !cursor.end_of_options ? "unknown option '" : "unexpected argument '") + arg + "'";
      return false;
    }
    if (!value) {
      *error = std::string("missing value for ") + name;
      return false;
    }
    long n = 0;
    bool ok = true;
    if (std::strcmp(name, "--track") == 0) o->track = value;
    else if (std::strcmp(name, "--data") == 0) o->data_dir = value;
    else if (std::strcmp(name, "--home") == 0) o->home_dir = value;
    else if (std::strcmp(name, "--record") == 0) o->record_file = value;
    else if (std::strcmp(name, "--play") == 0) o->play_file = value;
    else if (std::strcmp(name, "--ground-diff") == 0) o->ground_diff_file = value;
    else if (std::strcmp(name, "--erode") == 0) ok = real_number(value, 0, 1, &o->erosion);
    else if (std::strcmp(name, "--roostfrequency") == 0) {
      ok = whole_number(value, 0, 1000, &n);
      o->roost_frequency = static_cast<int>(n);
    }
    else if (std::strcmp(name, "--robots") == 0) {
      ok = whole_number(value, 0, RACE_SLOTS, &n);
      if (ok) {
        std::fill(o->lineup, o->lineup + RACE_SLOTS, SLOT_EMPTY);
        std::fill(o->lineup, o->lineup + n, SLOT_ROBOT);
        o->lineup_given = true;
      }
    } else if (std::strcmp(name, "--lineup") == 0) {
      ok = parse_lineup(value, o->lineup);
      o->lineup_given = ok;
    } else if (std::strcmp(name, "--laps") == 0) {
      ok = whole_number(value, 0, 1000, &n);
      o->laps = static_cast<int>(n);
    } else if (std::strcmp(name, "--minutes") == 0) {
      ok = real_number(value, 0, 600, &o->minutes);
    } else if (std::strcmp(name, "--max-seconds") == 0) {
      ok = real_number(value, 0, 1e6, &o->max_seconds);
    } else {  // --skill
      static const char* const skills[] = {"novice", "amateur", "expert"};
      ok = false;
      for (int s = 0; s < 3; ++s)
        if (std::strcmp(value, skills[s]) == 0) {
          o->skill = s;
          ok = true;
        }
    }
    if (!ok) {
      *error = std::string("bad value '") + value + "' for " + name;
      return false;
    }
  }
  return true;
}
