#include "autopilot/line_links.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double COLLINEAR = 1e-6;
constexpr double FAR_CENTRE = 1000000;
constexpr double RING = 2.5;           // ft either side of the circle
constexpr double HEADING_SLACK = 2;    // ft
constexpr double SPEED_SLACK = 15;     // ft/s

double distance_from(const EndCircle& c, const LineSample& s) { return std::hypot(s.x - c.cx, s.z - c.cz); }

}  // namespace

EndCircle end_circle(const LineSample* samples, int count) {
  const LineSample &a = samples[count - 3], &b = samples[count - 2], &c = samples[count - 1];
  const double ax = a.x, az = a.z, bx = b.x, bz = b.z, cx = c.x, cz = c.z;
  const double d = 2 * (ax * (bz - cz) + bx * (cz - az) + cx * (az - bz));
  EndCircle e;
  if (std::fabs(d) <= COLLINEAR) {
    // A straight end: a centre far off square to the last step.
    double tx = cx - bx, tz = cz - bz, l = std::hypot(tx, tz);
    if (l <= 0) tx = 1, tz = 0, l = 1;
    e.cx = cx - tz / l * FAR_CENTRE;
    e.cz = cz + tx / l * FAR_CENTRE;
  } else {
    const double a2 = ax * ax + az * az, b2 = bx * bx + bz * bz, c2 = cx * cx + cz * cz;
    e.cx = (a2 * (bz - cz) + b2 * (cz - az) + c2 * (az - bz)) / d;
    e.cz = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
  }
  e.radius = std::hypot(cx - e.cx, cz - e.cz);
  e.end_speed = std::fabs(c.speed);
  return e;
}

bool line_connects(const EndCircle& end, const RacingLine& j) {
  if (j.count() < 2) return false;
  if (end.end_speed > std::fabs(j.samples[0].speed) + SPEED_SLACK) return false;
  const double d1 = distance_from(end, j.samples[0]), d2 = distance_from(end, j.samples[1]);
  // On the turning circle, however tight the turn.
  if (std::fabs(d1 - end.radius) > RING) return false;
  return std::fabs(d2 - d1) <= HEADING_SLACK;
}

double line_match(const EndCircle& end, const RacingLine& j) {
  if (j.count() < 2) return 0;
  const double d1 = distance_from(end, j.samples[0]), d2 = distance_from(end, j.samples[1]);
  const double a = std::clamp((end.end_speed - std::fabs(j.samples[0].speed) - SPEED_SLACK) * -0.2, 0.0, 1.0);
  const double b = std::clamp((std::fabs(d1 - end.radius) - 5) * (-2.0 / 7), 0.0, 1.0);
  const double c = std::clamp((std::fabs(d2 - d1) - 3) * -0.5, 0.0, 1.0);
  const double bc = b * c;
  return a * bc * bc * bc;
}
