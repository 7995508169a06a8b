// A motocross course as a track designer describes it: a closed centre line
// through control points with track widths, jumps and other obstacles placed
// along it, and a start straight that runs from the starting gate into the
// lap. Sampling turns the description into evenly spaced cross sections
// that the ground shaper, the gate placer, the painter and the scenery
// placer all share.
//
// Ground positions use the kit's Vec2 with (x, y) holding world (x, z).
#pragma once

#include <string>
#include <vector>

#include "tracks/ground_types.h"

namespace tracks {

// A control point of the centre line: where it passes, how wide the track
// is there (feet, edge to edge) and how much of the usual berm its turn
// gets (0 keeps it flat, as where the start straight joins the lap).
struct CourseNode {
  double x = 0, z = 0;
  double width = 30;
  double berm = 1;
};

enum class ObstacleKind {
  Tabletop,   // face, flat table, landing
  Double,     // takeoff mound, gap, landing mound
  StepUp,     // takeoff onto a higher plateau that later runs back down
  StepDown,   // a gentle climb to a plateau, a lip, a long landing below
  Whoops,     // a row of rounded bumps
  Rhythm,     // a row of small jumps to double and triple
  Roller,     // one smooth hump
};

// An obstacle across the whole track, starting `offset` feet after control
// point `node` (the offset may be negative). Lengths in feet along the
// track; which fields count depends on the kind.
struct Obstacle {
  ObstacleKind kind = ObstacleKind::Tabletop;
  int node = 0;
  double offset = 0;
  double height = 5;    // lip, table or bump height
  double face = 14;     // takeoff face (run-up to the lip)
  double top = 20;      // table, gap, plateau or bump pitch
  double landing = 22;  // landing ramp
  double second_height = 0;  // double: landing mound height; step-up: plateau height
  int count = 1;        // whoops and rhythm: how many bumps
};

// The start straight: the starting gate stands across it, square to the
// lap's direction at the control point `merge_node`, `length` feet before
// the point where the straight joins the lap there. It narrows from the
// gate's width to the lap's width over its last part.
struct StartStraight {
  int merge_node = 0;
  double merge_offset = 0;  // feet after the merge node
  double length = 300;
};

// A place on the lap: `offset` feet after control point `node`.
struct CoursePlace {
  int node = 0;
  double offset = 0;
};

struct CourseDescription {
  std::vector<CourseNode> nodes;  // closed: the last joins the first
  std::vector<Obstacle> obstacles;
  StartStraight start;
  CoursePlace finish;             // the lap line
  double max_grade = 0.25;        // steepest climb of the track bed
  double berm_angle = 30;         // degrees of bank in the tightest turns
  double side_slope = 0.6;        // steepest drop from a track edge to the land beside it
  // How the start straight narrows: full gate width for this share of its
  // length, then a funnel down to the lap's width over `funnel` of it.
  double gate_share = 0.2, funnel = 0.8;
};

// The starting gate: 40 places side by side.
constexpr int GATE_PLACES = 40;
constexpr double GATE_PLACE_WIDTH = 3.4;  // feet between neighbouring places
// Distance between sampled cross sections.
constexpr double COURSE_STEP = 0.5;

// One cross section of the course.
struct CourseSample {
  Vec2 p;            // centre (x, z)
  Vec2 t;            // unit direction of travel
  double s = 0;      // distance along its path from the path's start
  double half_width = 15;
  double curvature = 0;   // 1 / radius, positive when turning left
  double bed = 0;         // height of the track bed under the centre
  double profile = 0;     // obstacle height above the bed
  double bank = 0;        // berm height at the outside edge above the inside edge
  int obstacle = -1;      // index of the obstacle here, -1 when none
  // Lateral unit vector to the rider's left: (t.y, -t.x) as (x, z).
  Vec2 left() const { return {t.y, -t.x}; }
  // Height of the racing surface at lateral offset d (positive to the
  // left), clamped to the track's edges.
  double surface(double d) const;
};

// The whole sampled course: the lap (closed, `loop.back()` joins
// `loop.front()`) and the start straight from the gate to the merge.
struct SampledCourse {
  std::vector<CourseSample> loop;
  std::vector<CourseSample> start;
  std::vector<double> node_s;  // distance of each control point along the lap
  double loop_length = 0;
  double merge_s = 0;          // where the start straight joins the lap
  double finish_s = 0;         // the lap line
  // Index of the loop sample nearest to distance s (wrapped).
  int loop_index(double s) const;
};

// Samples a course description. The track bed heights stay 0 until the
// ground is shaped (see terrain_shape.h).
SampledCourse sample_course(const CourseDescription& description);

}  // namespace tracks
