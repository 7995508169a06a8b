#include "autopilot/line_plan.h"

#include <algorithm>
#include <bit>
#include <vector>

#include "autopilot/autopilot.h"
#include "autopilot/line_links.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "platform/base/log.h"

namespace {

constexpr int32_t PLANNED_TESTS = 5;  // a line joins a plan once tested this often

const LineTable& table_at(int t) { return line_set.tables[static_cast<size_t>(t)]; }

double link_cost(const RacingLine& from, const RacingLine& to) {
  if (from.count() < 3) return UNCONNECTED_COST;
  return line_connects(end_circle(from.samples.data(), from.count()), to) ? 0 : UNCONNECTED_COST;
}

int cheapest(const ChainCosts& costs) {
  int best = -1;
  for (int j = 0; j < LINES_PER_SECTION; ++j)
    if (costs[j] < NO_CHAIN && (best < 0 || costs[j] < costs[best])) best = j;
  return best;
}

struct Chain {
  std::vector<int> slots;  // per table of the run, -1 = none
  double seconds = 0;      // the lines' average times
};

// The cheapest chain through tables from .. from + n - 1, each line of the
// last one charged `tail`.
Chain plan_run(int from, int n, int type, const double* tail) {
  Chain chain;
  chain.slots.assign(static_cast<size_t>(n), -1);
  if (n <= 0) return chain;
  std::vector<int> tables(static_cast<size_t>(n));
  for (int k = 0; k < n; ++k) tables[static_cast<size_t>(k)] = from + k;
  std::vector<ChainCosts> to_go(static_cast<size_t>(n));
  std::vector<ChainLinks> next(static_cast<size_t>(n));
  search_chains(tables.data(), n, type, tail, to_go.data(), next.data());
  int slot = cheapest(to_go[0]);
  for (int k = 0; k < n && slot >= 0; ++k) {
    chain.slots[static_cast<size_t>(k)] = slot;
    const RacingLine& line = table_at(from + k).lines[slot];
    chain.seconds += (line.tested > 0 ? line.sum / line.tested : line.own_time) * dt;
    slot = next[static_cast<size_t>(k)][static_cast<size_t>(slot)];
  }
  return chain;
}

void store_plan(int type, int from, const Chain& chain) {
  for (size_t k = 0; k < chain.slots.size(); ++k) {
    const int slot = chain.slots[k];
    int32_t id = 0;
    if (slot >= 0) {
      const RacingLine& line = table_at(from + static_cast<int>(k)).lines[slot];
      if (line.tested >= PLANNED_TESTS) id = line.id;
    }
    line_set.plans[type][static_cast<size_t>(from) + k] = id;
  }
}

}  // namespace

double line_cost(const RacingLine& l, int type) {
  const double tested = std::max(l.tested, 0), failures = std::max(l.failures, 0);
  const double failing = tested + failures > 0 ? std::clamp(failures / (tested + failures), 0.0, 1.0) : 0.0;
  const double average = tested > 0 ? l.sum / tested : 0;
  switch (type) {
    case 0:
      return tested >= PLANNED_TESTS ? average + failing * FIVE_SECONDS : UNTESTED_COST;
    case 1:
      return tested >= PLANNED_TESTS ? average + std::min(1.0, failing * 8 / 7) * FIVE_SECONDS : UNTESTED_COST;
    case 2:
      return tested >= 1 ? average + std::min(1.0, 4 * failing) * FIVE_SECONDS : UNTESTED_COST;
    default: {
      if (tested + failures > 5 && 4 * tested < failures) return 100000;
      const int bits = std::bit_width(static_cast<uint64_t>(tested + 4 * failures));
      return 1000.0 * (bits >= 1 ? bits + 4 : 0);
    }
  }
}

void search_chains(const int* tables, int n, int type, const double* tail, ChainCosts* to_go, ChainLinks* next) {
  for (int k = n - 1; k >= 0; --k) {
    const LineTable& here = table_at(tables[k]);
    const LineTable* after = k + 1 < n ? &table_at(tables[k + 1]) : nullptr;
    const bool chain_ends = !after || line_count(*after) == 0;
    for (int j = 0; j < LINES_PER_SECTION; ++j) {
      const RacingLine& line = here.lines[j];
      to_go[k][j] = NO_CHAIN;
      next[k][j] = -1;
      if (line.empty()) continue;
      double rest = 0;
      if (chain_ends) {
        rest = !after && tail ? tail[j] : 0;
      } else {
        rest = NO_CHAIN;
        const bool has_end = line.count() >= 3;
        const EndCircle end = has_end ? end_circle(line.samples.data(), line.count()) : EndCircle{};
        for (int i = 0; i < LINES_PER_SECTION; ++i) {
          if (to_go[k + 1][i] >= NO_CHAIN) continue;
          const bool linked = has_end && line_connects(end, after->lines[i]);
          const double c = (linked ? 0 : UNCONNECTED_COST) + to_go[k + 1][i];
          if (c < rest) {
            rest = c;
            next[k][j] = static_cast<int8_t>(i);
          }
        }
      }
      to_go[k][j] = line_cost(line, type) + rest;
    }
  }
}

void plan_laps() {
  const int s1 = line_set.first_sections, s2 = line_set.normal_sections;
  for (std::vector<int32_t>& plan : line_set.plans) plan.assign(line_set.tables.size(), 0);
  line_set.predicted_first_lap = line_set.predicted_normal_lap = 0;
  if (line_set.tables.empty()) return;
  for (int type = 0; type < PLAN_TYPES; ++type) {
    const Chain normal = plan_run(s1, s2, type, nullptr);
    // The first lap ends in whatever leads best into the normal lap's first line.
    double into_normal[LINES_PER_SECTION] = {};
    const int first_normal = normal.slots.empty() ? -1 : normal.slots[0];
    if (first_normal >= 0)
      for (int i = 0; i < LINES_PER_SECTION; ++i)
        into_normal[i] = link_cost(table_at(s1 - 1).lines[i], table_at(s1).lines[first_normal]);
    const Chain first = plan_run(0, s1, type, into_normal);
    store_plan(type, s1, normal);
    store_plan(type, 0, first);
    if (type == 0) {
      line_set.predicted_first_lap = first.seconds;
      line_set.predicted_normal_lap = normal.seconds;
    }
  }
  if (run_settings.debug_level >= 1) {
    voxa_log("First lap: %f\n", line_set.predicted_first_lap);
    voxa_log("Normal lap: %f\n", line_set.predicted_normal_lap);
  }
}

double predicted_lap_seconds(bool first_lap) { return first_lap ? line_set.predicted_first_lap : line_set.predicted_normal_lap; }
