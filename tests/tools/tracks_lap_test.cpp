// The shipped tracks' timing, as the game loads it: a rider on the track
// passes every checkpoint in order, lap after lap, wherever across the
// track he rides; a rider who cuts across the infield misses a gate; the
// forty starting places stand level across the start straight.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "track/terrain.h"
#include "track/timing_gates.h"
#include "track/track.h"
#include "tracks_shipped.h"

namespace {

using tracks::CourseSample;
using tracks::SampledCourse;
using tracks::Vec2;

class TrackLap : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(shipped::load(GetParam()));
    course = shipped::course(GetParam());
  }
  SampledCourse course;
};

// The race's crossing search for one rider (the window of positions -3,
// -2, 0, +1, +2 around the next gate; a lap line is never skipped).
struct Rider {
  int gates_passed = 0;
  std::vector<int> log;  // tick per sequence position, -1 missed

  void ride_to(Vec2 wheel, int tick) {
    const int f = track().timing.first_lap_count, n = track().timing.normal_lap_count;
    bool missing = false;
    for (int i : {-3, -2, 0, 1, 2}) {
      int o = gates_passed + i;
      if (o < 0) continue;
      bool uncrossed = o >= static_cast<int>(log.size()) || log[o] == -1;
      if (uncrossed) missing = true;
      if (in_gate(track().timing.gates[sequence_gate(o)], static_cast<float>(wheel.x), static_cast<float>(wheel.y))) {
        if (!missing && i < 0) continue;
        if (static_cast<int>(log.size()) <= o) log.resize(o + 1, -1);
        log[o] = tick;
        gates_passed = o + 1;
        return;
      }
      bool lap_line = o - f + 1 >= 0 && (o - f + 1) % n == 0;
      if (lap_line && uncrossed) return;
    }
  }
};

double forward(const SampledCourse& course, double from, double to) {
  double d = std::fmod(to - from, course.loop_length);
  return d < 0 ? d + course.loop_length : d;
}

// The way a rider goes from the gate: the start straight, then the lap
// from where the straight joins it, round `laps` times to just past the
// lap line.
std::vector<const CourseSample*> race_path(const SampledCourse& course, int laps) {
  std::vector<const CourseSample*> path;
  for (const CourseSample& c : course.start)
    if (c.s >= 0) path.push_back(&c);
  const int n = static_cast<int>(course.loop.size());
  const double step = course.loop_length / n;
  double to_line = forward(course, course.merge_s, course.finish_s) + (laps - 1) * course.loop_length + 15;
  int first = course.loop_index(course.merge_s);
  for (int k = 0; k * step <= to_line; ++k) path.push_back(&course.loop[(first + k) % n]);
  return path;
}

TEST_P(TrackLap, RidersAnywhereAcrossTheTrackPassEveryGateInOrder) {
  ASSERT_GT(track().timing.first_lap_count, 0);
  ASSERT_GT(track().timing.normal_lap_count, 0);
  ASSERT_GT(track().timing.first_lap_real_count, 0);
  ASSERT_GT(track().timing.normal_lap_real_count, 0);
  const int laps = 3;
  std::vector<const CourseSample*> path = race_path(course, laps);
  for (double across : {0.0, 0.85, -0.85}) {
    SCOPED_TRACE("lateral share " + std::to_string(across));
    Rider rider;
    for (size_t k = 0; k < path.size(); ++k) {
      const CourseSample& c = *path[k];
      rider.ride_to(c.p + c.left() * (across * c.half_width), static_cast<int>(k));
    }
    EXPECT_EQ(rider.gates_passed, track().timing.first_lap_count + (laps - 1) * track().timing.normal_lap_count);
    for (size_t p = 0; p < rider.log.size(); ++p) EXPECT_NE(rider.log[p], -1) << "missed position " << p;
    EXPECT_TRUE(std::is_sorted(rider.log.begin(), rider.log.end()));
  }
}

TEST_P(TrackLap, EveryLapEndsOnTheLapLine) {
  // Both laps end with the same gate, and the first lap starts on the
  // start straight, ahead of the starting places.
  int line = sequence_gate(track().timing.first_lap_count - 1);
  EXPECT_EQ(sequence_gate(track().timing.first_lap_count - 1 + track().timing.normal_lap_count), line);
  const CourseSample& finish = course.loop[course.loop_index(course.finish_s)];
  const TimingGate& gate = track().timing.gates[line];
  EXPECT_LT(std::hypot(gate.centre[0] - finish.p.x, gate.centre[2] - finish.p.y), 1.0);
  EXPECT_GE(gate.radius, finish.half_width);
  const TimingGate& first = track().timing.gates[sequence_gate(0)];
  const StartPosition& place = track().timing.start_positions[0];
  float ahead = (first.centre[0] - place.x) * -std::sin(place.heading) + (first.centre[2] - place.z) * -std::cos(place.heading);
  EXPECT_GT(ahead, 20);
}

// Whether a rider riding straight from a to b is ever in the gate.
bool chord_passes(const TimingGate& gate, Vec2 a, Vec2 b) {
  double length = std::hypot(b.x - a.x, b.y - a.y);
  int steps = std::max(1, static_cast<int>(length / 0.5));
  for (int k = 0; k <= steps; ++k) {
    Vec2 p = a + (b - a) * (static_cast<double>(k) / steps);
    if (in_gate(gate, static_cast<float>(p.x), static_cast<float>(p.y))) return true;
  }
  return false;
}

TEST_P(TrackLap, CuttingAcrossTheInfieldMissesAGate) {
  // Where each gate of the normal lap lies along it.
  std::vector<double> gate_at;
  for (int e = 0; e < track().timing.normal_lap_count; ++e) {
    const TimingGate& g = track().timing.gates[sequence_gate(track().timing.first_lap_count + e)];
    double best = 1e9, at = 0;
    for (const CourseSample& c : course.loop) {
      double d = std::hypot(c.p.x - g.centre[0], c.p.y - g.centre[2]);
      if (d < best) best = d, at = forward(course, course.finish_s, c.s);
    }
    gate_at.push_back(at);
  }
  const int n = static_cast<int>(course.loop.size());
  const double step = course.loop_length / n;
  const int stride = static_cast<int>(10 / step);
  int shortcuts = 0;
  for (int i = 0; i < n; i += stride)
    for (int j = i + stride; j < n; j += stride) {
      const CourseSample& a = course.loop[i];
      const CourseSample& b = course.loop[j];
      double chord = std::hypot(b.p.x - a.p.x, b.p.y - a.p.y);
      double from = forward(course, course.finish_s, a.s), to = forward(course, course.finish_s, b.s);
      if (to < from) std::swap(from, to);
      if (chord > 250 || to - from < chord + 40) continue;
      // Only lines that leave the track count as cutting it.
      double off = 0;
      for (int k = i; k <= j; k += 4) {
        const CourseSample& c = course.loop[k];
        Vec2 ab = b.p - a.p, ac = c.p - a.p;
        double t = std::clamp((ac.x * ab.x + ac.y * ab.y) / std::max(1e-9, chord * chord), 0.0, 1.0);
        Vec2 q = ac - ab * t;
        off = std::max(off, std::hypot(q.x, q.y) - c.half_width);
      }
      if (off < 8) continue;
      ++shortcuts;
      bool missed = false;
      for (int e = 0; e < track().timing.normal_lap_count && !missed; ++e)
        if (gate_at[e] > from + 1 && gate_at[e] < to - 1)
          missed = !chord_passes(track().timing.gates[sequence_gate(track().timing.first_lap_count + e)], a.p, b.p);
      EXPECT_TRUE(missed) << "a straight line from " << a.s << " ft to " << b.s << " ft passes every gate";
    }
  EXPECT_GT(shortcuts, 0);  // the test looked at real shortcuts
}

TEST_P(TrackLap, FortyPlacesStandLevelAcrossTheStartStraight) {
  ASSERT_EQ(track().timing.start_positions.size(), 40u);
  const CourseSample* line = nullptr;
  for (const CourseSample& c : course.start)
    if (!line && c.s >= 0) line = &c;
  ASSERT_NE(line, nullptr);
  for (size_t k = 0; k < track().timing.start_positions.size(); ++k) {
    SCOPED_TRACE("place " + std::to_string(k));
    const StartPosition& p = track().timing.start_positions[k];
    Vec2 offset{p.x - line->p.x, p.z - line->p.y};
    double along = offset.x * line->t.x + offset.y * line->t.y;
    double across = offset.x * line->left().x + offset.y * line->left().y;
    EXPECT_LT(std::fabs(along), 1.0);
    EXPECT_LT(std::fabs(across), line->half_width - 4);
    EXPECT_NEAR(p.y, TerrainHeightAt(track().terrain, p.x, p.z), 0.05);
    // Facing down the straight, on level ground under the rider and the gate.
    EXPECT_NEAR(-std::sin(p.heading), line->t.x, 1e-3);
    EXPECT_NEAR(-std::cos(p.heading), line->t.y, 1e-3);
    for (double ahead : {-6.0, 3.0, 10.0}) {
      float x = p.x - static_cast<float>(std::sin(p.heading) * ahead), z = p.z - static_cast<float>(std::cos(p.heading) * ahead);
      EXPECT_NEAR(TerrainHeightAt(track().terrain, x, z), p.y, 0.15);
    }
    if (k > 0) {
      const StartPosition& q = track().timing.start_positions[k - 1];
      EXPECT_GT(std::hypot(p.x - q.x, p.z - q.z), 3.0);
    }
  }
  // Each place has its gate statue in front of it.
  EXPECT_EQ(track().timing.start_gate_statues.size(), 40u);
}

INSTANTIATE_TEST_SUITE_P(Shipped, TrackLap, ::testing::ValuesIn(shipped::folders()));

}  // namespace
