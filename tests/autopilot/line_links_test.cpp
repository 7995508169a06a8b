// How one path leads into the next: the turn a path ends in, and which
// following lines carry on along it.
#include <cmath>
#include <vector>

#include "autopilot/line_links.h"
#include "autopilot_kit.h"

using namespace autopilot_kit;

namespace {

LineSample on_circle(double cx, double cz, double radius, double angle, float speed = 30) {
  return sample(static_cast<float>(cx + radius * std::cos(angle)), static_cast<float>(cz + radius * std::sin(angle)), speed);
}

TEST(EndCircle, PassesThroughTheLastThreeSamples) {
  // An earlier sample off the circle does not matter.
  const std::vector<LineSample> path = {sample(-300, 400), on_circle(10, 20, 50, 0), on_circle(10, 20, 50, 0.2),
                                        on_circle(10, 20, 50, 0.4, -33)};
  const EndCircle e = end_circle(path.data(), static_cast<int>(path.size()));
  EXPECT_NEAR(e.cx, 10, 1e-3);
  EXPECT_NEAR(e.cz, 20, 1e-3);
  EXPECT_NEAR(e.radius, 50, 1e-3);
  EXPECT_EQ(e.end_speed, 33.0f);  // in the air the speed is negative
}

TEST(EndCircle, AStraightEndTurnsAboutAFarCentre) {
  const std::vector<LineSample> path = {sample(7, 0), sample(7, -10), sample(7, -20)};
  const EndCircle e = end_circle(path.data(), 3);
  EXPECT_NEAR(e.radius, 1e6, 1);
  EXPECT_NEAR(e.cz, -20, 1e-6) << "square to the last step";
  EXPECT_NEAR(std::fabs(e.cx - 7), 1e6, 1);

  struct Case {
    const char* what;
    std::vector<std::pair<float, float>> next;
    bool connects;
  };
  const Case cases[] = {
      {"straight on", {{7, -30}, {7, -40}}, true},
      {"straight on, 2 ft to the side", {{9, -30}, {9, -40}}, true},
      {"straight on, 3 ft to the side", {{10, -30}, {10, -40}}, false},
      {"turning away", {{7, -30}, {12, -35}}, false},
  };
  for (const Case& c : cases) EXPECT_EQ(line_connects(e, line_through(c.next)), c.connects) << c.what;
}

TEST(LineConnects, TheNextLineStartsOnTheTurnAndHeadsAlongIt) {
  struct Case {
    double offset;      // of the next line's first sample from the circle, ft
    double drift;       // of its second sample further out, ft
    float end_speed, next_speed;
    bool connects;
  };
  const Case cases[] = {
      {0, 0, 30, 30, true},
      {2.4, 0, 30, 30, true},
      {-2.4, 0, 30, 30, true},
      {2.6, 0, 30, 30, false},
      {-2.6, 0, 30, 30, false},
      {0, 1.9, 30, 30, true},
      {0, -1.9, 30, 30, true},
      {2, 1.9, 30, 30, true},
      {0, 2.1, 30, 30, false},
      {0, -2.1, 30, 30, false},
      // No sudden burst of speed: at most 15 ft/s more.
      {0, 0, 45, 30, true},
      {0, 0, 45.5f, 30, false},
      {0, 0, -40, 30, true},   // the path ended in the air
      {0, 0, 30, -20, true},   // the next line starts in the air
      {0, 0, 30, -10, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.offset << " " << c.drift << " " << c.end_speed << " " << c.next_speed);
    const std::vector<LineSample> end = {on_circle(0, 0, 50, 0), on_circle(0, 0, 50, 0.2), on_circle(0, 0, 50, 0.4, c.end_speed)};
    RacingLine next;
    next.samples = {on_circle(0, 0, 50 + c.offset, 0.6, c.next_speed), on_circle(0, 0, 50 + c.offset + c.drift, 0.8)};
    EXPECT_EQ(line_connects(end_circle(end.data(), 3), next), c.connects);
  }
}

TEST(LineConnects, TightTurnsAndShortLines) {
  // A turn of 1 ft: a line on it continues the path.
  const std::vector<LineSample> end = {on_circle(50, 50, 1, 0, 3), on_circle(50, 50, 1, 1, 3), on_circle(50, 50, 1, 2, 3)};
  const EndCircle e = end_circle(end.data(), 3);
  ASSERT_NEAR(e.radius, 1, 1e-4);
  RacingLine next;
  next.samples = {on_circle(50, 50, 1, 2.5, 3), on_circle(50, 50, 1.5, 3, 3)};
  EXPECT_TRUE(line_connects(e, next));
  next.samples = {on_circle(50, 50, 4, 2.5, 3), on_circle(50, 50, 4, 3, 3)};
  EXPECT_FALSE(line_connects(e, next));
  // A line of one sample has no heading.
  next.samples = {on_circle(50, 50, 1, 2.5, 3)};
  EXPECT_FALSE(line_connects(e, next));
}

}  // namespace
