// The rider's skeleton as the skinned rider models ("@rider_body.jm" and
// "@rider_body_fp.jm", model version 2) use it. Coordinates are the rider
// body's (its centre at the origin, facing -z, y up, x to his right).
//
// Nine bones, in file order:
//   0 torso (head, chest and hips: rigid with the rider body)
//   1 left upper arm, 2 left forearm (with the hand)
//   3 right upper arm, 4 right forearm
//   5 left thigh, 6 left shin (with the boot)
//   7 right thigh, 8 right shin
// Each bone's rest origin is its root joint: the body origin for the
// torso, then shoulder, elbow, shoulder, elbow, hip, knee, hip, knee. The
// rest pose is the riding pose of the design: hands on the grips, feet on
// the pegs, the bike upright and unsprung. Elbows and knees sit where
// `solve_limb` puts them for that pose, so a renderer that poses the limbs
// with the same two-bone solve (bending toward the same hints) gets
// identity rotations in the design pose.
#pragma once

#include <array>
#include <string>

#include "kit/vec.h"

namespace art {

enum RiderBone {
  BONE_TORSO,
  BONE_UPPER_ARM_L,
  BONE_FOREARM_L,
  BONE_UPPER_ARM_R,
  BONE_FOREARM_R,
  BONE_THIGH_L,
  BONE_SHIN_L,
  BONE_THIGH_R,
  BONE_SHIN_R,
  RIDER_BONE_COUNT
};

// The word after the bone count in the model header: the bone names.
std::string rider_rig_word();

// Where the middle joint of a two-bone limb goes: from `root` towards
// `target` (pulled in to the limb's reach), bent toward `hint`.
kit::Vec3 solve_limb(kit::Vec3 root, kit::Vec3 target, double upper, double lower, kit::Vec3 hint);

// Bend directions, as the physics' rider geometry gives them (so the limbs
// it solves for a thrown rider and for drawing match this rest pose):
// elbows back, knees forward.
inline constexpr kit::Vec3 ELBOW_BEND{0, 0, 1};
inline constexpr kit::Vec3 KNEE_BEND{0, 0, -1};

// The joints of the design pose, in rider body coordinates.
struct RiderPose {
  kit::Vec3 shoulder[2], elbow[2], hand[2];  // [0] left, [1] right
  kit::Vec3 hip[2], knee[2], foot[2];
};
const RiderPose& rider_rest_pose();

// Rest origin of each bone, and the segment it spans (end = start for the
// torso).
std::array<kit::Vec3, RIDER_BONE_COUNT> rider_bone_origins();

}  // namespace art
