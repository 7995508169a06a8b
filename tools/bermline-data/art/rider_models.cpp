// The rider's models, built in the design pose (rider_rig.h).
#include <cmath>

#include "art/bike_geometry.h"
#include "art/rider.h"
#include "art/rider_atlas.h"
#include "art/rider_rig.h"
#include "kit/skinning.h"

namespace art {

namespace ra = rider_atlas;

namespace {

using kit::add_tube;
using kit::BoneCapsule;

// The spine from the middle of the hips to the middle of the shoulders.
struct Spine {
  Vec3 pelvis, neck, up, front;
  double length;
};

Spine spine() {
  Spine s;
  s.pelvis = (mirror(HIP, 1) + mirror(HIP, -1)) / 2;
  s.neck = (mirror(SHOULDER, 1) + mirror(SHOULDER, -1)) / 2;
  s.up = kit::normalized(s.neck - s.pelvis);
  s.front = kit::cross(s.up, Vec3{1, 0, 0});
  s.length = kit::length(s.neck - s.pelvis);
  return s;
}

// Torso sections: height along the spine (fractions), half width, half
// depth, shift towards the chest.
struct TorsoSection {
  double t, w, d, forward;
};

void add_torso(Mesh& mesh, Detail d, bool first_person) {
  const TorsoSection full[] = {{-0.16, 0.3, 0.22, -0.02}, {-0.04, 0.4, 0.3, 0}, {0.12, 0.4, 0.29, 0.02},
                               {0.3, 0.38, 0.27, 0.03},    {0.5, 0.43, 0.31, 0.03}, {0.7, 0.5, 0.34, 0.02},
                               {0.86, 0.55, 0.31, 0},      {0.97, 0.46, 0.27, -0.02}, {1.05, 0.22, 0.17, 0},
                               {1.14, 0.16, 0.14, 0.02}};
  Spine s = spine();
  std::vector<std::vector<Vec3>> rings;  // from the collar down, so v runs down the body
  for (auto section = std::rbegin(full); section != std::rend(full); ++section) {
    if (first_person && section->t > 0.35) continue;  // no chest or shoulders in front of the eyes
    Frame f = spine_frame(s.pelvis + s.up * (section->t * s.length) + s.front * section->forward, s.up);
    rings.push_back(kit::place_section(f, kit::superellipse(section->w, section->d, 2.4, d.n(24, 8))));
  }
  kit::RingOptions caps;
  caps.cap_start = caps.cap_end = true;
  kit::add_rings(mesh, rings, ra::TORSO, caps);
}

// A limb segment from `a` to `b`, a little longer at both ends so joints
// overlap, with radii from start to end.
void add_limb(Mesh& mesh, Vec3 a, Vec3 b, std::vector<double> radii, UvRect uv, Detail d, double overlap = 0.05) {
  Vec3 dir = kit::normalized(b - a);
  std::vector<Vec3> path;
  std::vector<Vec2> r;
  for (size_t i = 0; i < radii.size(); ++i) {
    double t = static_cast<double>(i) / (radii.size() - 1);
    path.push_back(kit::lerp(a - dir * overlap, b + dir * overlap, t));
    r.push_back({radii[i], radii[i]});
  }
  add_tube(mesh, path, r, d.n(14, 6), uv, true);
}

void add_arm(Mesh& mesh, int i, Detail d) {
  const RiderPose& p = rider_rest_pose();
  double side = i == 0 ? -1 : 1;
  add_limb(mesh, p.shoulder[i], p.elbow[i], {0.17, 0.19, 0.165, 0.14, 0.13}, ra::UPPER_SLEEVE, d, 0.1);
  add_limb(mesh, p.elbow[i], p.hand[i], {0.13, 0.135, 0.115, 0.095, 0.09}, ra::LOWER_SLEEVE, d, 0.04);
  kit::add_ellipsoid(mesh, kit::frame_looking(p.elbow[i], p.hand[i] - p.elbow[i]), {0.13, 0.13, 0.13}, d.n(6, 3),
                     d.n(10, 5), ra::LOWER_SLEEVE);
  // The gloved hand wrapped round the grip: along the bar, a little above
  // and behind it.
  Vec3 bar = kit::normalized(Vec3{side * 0.99, 0.15, 0.17});
  Frame hand = spine_frame(p.hand[i] + Vec3{0, 0.03, 0.02}, bar, {0, 1, 0});
  kit::add_ellipsoid(mesh, hand, {0.1, 0.1, 0.14}, d.n(8, 4), d.n(12, 6), ra::GLOVE);
}

void add_leg(Mesh& mesh, int i, Detail d) {
  const RiderPose& p = rider_rest_pose();
  add_limb(mesh, p.hip[i], p.knee[i], {0.25, 0.27, 0.25, 0.22, 0.2}, ra::THIGH, d, 0.08);
  // Knee guard under the pants.
  Vec3 shin = kit::normalized(p.foot[i] - p.knee[i]);
  kit::add_ellipsoid(mesh, kit::frame_looking(p.knee[i] + Vec3{0, 0, -0.03}, shin), {0.2, 0.21, 0.2}, d.n(8, 4),
                     d.n(12, 6), ra::KNEE);
  // Shin: pants to the boot top, then the boot shaft down to the ankle.
  Vec3 ankle = p.foot[i] + Vec3{0, 0.2, 0.1};
  add_limb(mesh, p.knee[i], ankle, {0.19, 0.2, 0.21, 0.19, 0.17}, ra::SHIN, d, 0.04);
  // Boot foot: heel behind the ankle, ball on the peg, toe ahead.
  struct FootSection {
    double z, y, w, h;
  };
  const FootSection foot[] = {{0.33, 0.16, 0.11, 0.12}, {0.2, 0.12, 0.14, 0.15}, {0.0, 0.1, 0.14, 0.13},
                              {-0.25, 0.08, 0.13, 0.1}, {-0.42, 0.06, 0.11, 0.07}, {-0.5, 0.06, 0.06, 0.05}};
  std::vector<std::vector<Vec3>> rings;
  for (const FootSection& f : foot) {
    Vec3 centre = p.foot[i] + Vec3{0, f.y - 0.02, f.z};
    rings.push_back(kit::place_section(spine_frame(centre, {0, 0, -1}), kit::superellipse(f.w, f.h, 3, d.n(16, 6))));
  }
  kit::RingOptions caps;
  caps.cap_start = caps.cap_end = true;
  kit::add_rings(mesh, rings, ra::BOOT_FOOT, caps);
}

std::vector<BoneCapsule> capsules_for(const std::vector<int>& bones) {
  const RiderPose& p = rider_rest_pose();
  Spine s = spine();
  std::vector<BoneCapsule> all = {
      {BONE_TORSO, s.pelvis, s.neck + s.up * 0.3, 0.3},
      {BONE_UPPER_ARM_L, p.shoulder[0], p.elbow[0], 0.12}, {BONE_FOREARM_L, p.elbow[0], p.hand[0], 0.1},
      {BONE_UPPER_ARM_R, p.shoulder[1], p.elbow[1], 0.12}, {BONE_FOREARM_R, p.elbow[1], p.hand[1], 0.1},
      {BONE_THIGH_L, p.hip[0], p.knee[0], 0.18},           {BONE_SHIN_L, p.knee[0], p.foot[0], 0.15},
      {BONE_THIGH_R, p.hip[1], p.knee[1], 0.18},           {BONE_SHIN_R, p.knee[1], p.foot[1], 0.15}};
  std::vector<BoneCapsule> out;
  for (int b : bones) out.push_back(all[b]);
  return out;
}

// Builds each body part and weights it among the bones it may follow.
Model body_model(Detail d, bool first_person) {
  Mesh cloth, gear;
  cloth.material = satin_material();
  gear.material = kit::Material{20, 0, {0.3, 0.3, 0.3}};
  auto part = [&](Mesh& mesh, const std::vector<int>& bones, double blend, const auto& build) {
    size_t first = mesh.vertices.size();
    build();
    kit::skin_to_capsules(mesh, RIDER_BONE_COUNT, first, capsules_for(bones), blend);
  };
  part(cloth, {BONE_TORSO, BONE_UPPER_ARM_L, BONE_UPPER_ARM_R, BONE_THIGH_L, BONE_THIGH_R}, 0.06,
       [&] { add_torso(cloth, d, first_person); });
  for (int i = 0; i < 2; ++i) {
    int upper = i == 0 ? BONE_UPPER_ARM_L : BONE_UPPER_ARM_R, fore = upper + 1;
    int thigh = i == 0 ? BONE_THIGH_L : BONE_THIGH_R, shin = thigh + 1;
    part(cloth, {BONE_TORSO, upper, fore}, 0.05, [&] { add_arm(cloth, i, d); });
    part(gear, {thigh, shin}, 0.05, [&] { add_leg(gear, i, d); });
  }
  Model model;
  model.bone_count = RIDER_BONE_COUNT;
  model.rig_name = rider_rig_word();
  model.meshes = {cloth, gear};
  return model;
}

}  // namespace

Model rider_body_model(Detail d) { return body_model(d, false); }
Model rider_body_first_person_model(Detail d) { return body_model(d, true); }

Model rider_head_model(Detail d) {
  Mesh shell, lens;
  shell.material = paint_material();
  lens.material = kit::Material{90, 0, {0.9, 0.9, 0.9}};
  Vec3 centre = HEAD + Vec3{0, 0.04, 0.02};
  // Shell: rings stacked upwards, u from the face round by the left.
  Frame frame;
  frame.origin = centre;
  frame.x = {0, 0, -1};
  frame.y = {-1, 0, 0};
  frame.z = {0, 1, 0};
  kit::add_ellipsoid(shell, frame, {0.46, 0.4, 0.42}, d.n(16, 6), d.n(28, 10), ra::SHELL);
  // Chin bar: a beak jutting forward and down under the eye port, from
  // cheek to cheek at its root to a blunt point.
  struct Beak {
    double z, y, w, h;
  };
  const Beak beak[] = {{-0.12, -0.16, 0.36, 0.16}, {-0.34, -0.22, 0.3, 0.14}, {-0.5, -0.27, 0.2, 0.11}, {-0.6, -0.31, 0.1, 0.07}};
  std::vector<std::vector<Vec3>> rings;
  for (const Beak& b : beak)
    rings.push_back(kit::place_section(spine_frame(centre + Vec3{0, b.y, b.z}, {0, -0.3, -1}),
                                       kit::superellipse(b.w, b.h, 2.6, d.n(16, 6))));
  kit::RingOptions caps;
  caps.cap_end = true;
  kit::add_rings(shell, rings, ra::CHIN_BAR, caps);
  // Peak: a thin plate from the forehead reaching forward, tipped up a
  // little, its sides curving down.
  Frame peak = spine_frame(centre + Vec3{0, 0.25, -0.5}, {0, 1, 0.15});
  size_t first = shell.vertices.size();
  kit::add_extrusion(shell, peak, {{-0.24, 0.2}, {0.24, 0.2}, {0.3, -0.24}, {-0.3, -0.24}}, 0.022, ra::VISOR, ra::VISOR);
  bend(shell, first, [&](Vec3 p) {
    double x = kit::dot(p - peak.origin, peak.x);
    return Vec3{0, -0.5 * x * x, 0};
  });
  // Goggles: lens and frame across the eye port, strap round the shell.
  add_tube(lens,
           kit::smooth_path({centre + Vec3{-0.3, 0.02, -0.28}, centre + Vec3{0, 0.03, -0.44}, centre + Vec3{0.3, 0.02, -0.28}},
                            d.n(4, 1)),
           std::vector<Vec2>{{0.07, 0.045}}, d.n(10, 4), ra::LENS);
  if (!d.far()) {
    kit::RingOptions open;
    kit::add_lathe(shell, spine_frame(centre + Vec3{0, 0.02, 0.02}, {0, 1, 0}, {0, 0, -1}), {{0.45, -0.04}, {0.45, 0.04}},
                   d.n(28, 10), ra::STRAP, open);
  }
  Model model;
  model.meshes = {shell, lens};
  return model;
}

Model rider_plate_model(Detail d) {
  // On the back of the jersey, facing up and back.
  Spine s = spine();
  Vec3 back = -s.front;
  Frame frame = spine_frame(s.pelvis + s.up * (0.62 * s.length) + back * 0.33, back, {1, 0, 0});
  Mesh plate;
  plate.material = satin_material();
  kit::add_extrusion(plate, frame, kit::rounded_rect_outline(0.62, 0.52, 0.06, d.n(4, 1)), 0.02, {}, {});
  // Curve it round the back.
  bend(plate, 0, [&](Vec3 p) {
    double x = kit::dot(p - frame.origin, frame.x);
    return back * (-0.45 * x * x);
  });
  fit_square_uv(plate, 0, frame.x, frame.y);
  for (kit::Vertex& v : plate.vertices)
    if (kit::dot(v.normal, back) < 0.5) v.u = v.v = 0.02;
  Model model;
  model.meshes = {plate};
  return model;
}

}  // namespace art
