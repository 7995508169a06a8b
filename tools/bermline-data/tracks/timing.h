// Timing for a course: the 40 starting places, the checkpoint gates and the
// first-lap and normal-lap sequences. Gates stand square across the track
// wherever it turns and at least every 110 feet; more are added until no
// shortcut across the infield can pass them all. Section boundaries for the
// robots' racing lines sit on calm, straight ground between obstacles;
// every other gate is a flagged entry.
#pragma once

#include <string>
#include <vector>

#include "tracks/course.h"
#include "tracks/ground_shape.h"

namespace tracks {

// Lap entries above this mark are checkpoints that start no racing-line
// section.
constexpr int GATE_FLAG = 100000;

struct StartPlace {
  Vec3 position;
  double heading = 0;  // radians; the bike faces (-sin, 0, -cos)
};

struct PlacedGate {
  Vec2 centre;  // (x, z)
  double y = 0;
  Vec2 direction;  // unit, the way riders pass
  double radius = 0;
  bool boundary = false;  // starts a racing-line section
  bool on_start = false;  // on the start straight (first lap only)
  double s = 0;           // distance along the lap (or the start straight)
};

struct TimingLayout {
  std::vector<StartPlace> places;
  std::vector<PlacedGate> gates;  // file order
  std::vector<int> first_lap;     // gate index, + GATE_FLAG when flagged
  std::vector<int> normal_lap;
};

TimingLayout lay_out_timing(const SampledCourse& course, const Heightfield& ground);

// The "timing_gates" file.
std::string timing_gates_file(const TimingLayout& timing);

// The heading that makes a bike face along the ground direction t.
double heading_along(Vec2 t);

}  // namespace tracks
