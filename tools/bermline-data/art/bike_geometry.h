// Where the parts of every bike sit in the design pose (bike space: x to
// the rider's right, y up, z to the rear; feet). The physics places each
// body at these points with no rotation, and the renderer draws a part's
// model in its body's coordinates, so every model is built in bike space
// and then moved by minus its body's position.
#pragma once

#include "kit/vec.h"

namespace art {

using kit::Vec3;

inline constexpr Vec3 FRONT_AXLE{0, 1.09, 1.11};
inline constexpr Vec3 REAR_AXLE{0, 1.04, 6};
inline constexpr Vec3 FRAME_CENTRE{0, 1.98, 3.6};
inline constexpr Vec3 FORK_UPPER_CENTRE{0, 2.9, 2.16};  // also the steering-head anchor
inline constexpr Vec3 FORK_LOWER_CENTRE{0, 1.77, 1.59};
inline constexpr Vec3 SWINGARM_CENTRE{0, 1.34, 4.99};
inline constexpr Vec3 SWINGARM_PIVOT{0, 1.58, 4.17};
inline constexpr Vec3 RIDER_CENTRE{0, 4.5, 4.12};

// Wheels: the tyre is a torus whose tube (radius TYRE_RADIUS) is centred
// on a circle of the rim radius; its outside is where the wheel meets the
// ground.
inline constexpr double FRONT_RIM_RADIUS = 0.8333;
inline constexpr double REAR_RIM_RADIUS = 0.75;
inline constexpr double TYRE_RADIUS = 0.3333;

inline constexpr double FORK_LEG_SPACING = 0.8333;
inline constexpr double FORK_TRAVEL = 1;
inline constexpr double FRAME_BOX_X = 0.8333;

// Rider geometry: shoulders and hips on the rider body, grips on the upper
// fork, footpegs on the frame (right side; the left is at -x), limb lengths.
inline constexpr Vec3 SHOULDER{0.556, 0.580375, -0.654514};
inline constexpr Vec3 HIP{0.269, -0.570887, 0.670607};
inline constexpr Vec3 GRIP{1.097, 1.145, 0.753};
inline constexpr Vec3 FOOTPEG{0.6, -0.557, 0.584};
inline constexpr Vec3 HEAD{0, 0.808383, -0.943369};
inline constexpr double UPPER_ARM = 0.9, FOREARM = 1.15, THIGH = 1.328, SHIN = 1.701;

// Drive: the chain runs on the left from the gearbox sprocket (frame) to
// the rear sprocket (on the rear wheel).
inline constexpr double SPROCKET_X = -0.3;
inline constexpr double REAR_SPROCKET_RADIUS = 0.37;
inline constexpr Vec3 COUNTERSHAFT{SPROCKET_X, 1.74, 3.98};
inline constexpr double COUNTERSHAFT_RADIUS = 0.12;
// Brake discs: front on the left, rear on the right.
inline constexpr double FRONT_DISC_X = -0.21, FRONT_DISC_RADIUS = 0.43;
inline constexpr double REAR_DISC_X = 0.22, REAR_DISC_RADIUS = 0.37;

// The steering axis, pointing up the fork.
inline Vec3 steering_axis() { return kit::normalized(FORK_UPPER_CENTRE - FORK_LOWER_CENTRE); }
// A point on the steering axis `s` feet above the anchor.
inline Vec3 on_steering_axis(double s) { return FORK_UPPER_CENTRE + steering_axis() * s; }

// Grips and pegs in bike space for the side `side` (+1 right, -1 left).
inline Vec3 mirror(Vec3 v, double side) { return {v.x * side, v.y, v.z}; }
inline Vec3 grip_point(double side) { return mirror(GRIP, side) + FORK_UPPER_CENTRE; }
inline Vec3 peg_point(double side) { return mirror(FOOTPEG, side) + FRAME_CENTRE; }

}  // namespace art
