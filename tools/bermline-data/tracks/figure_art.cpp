#include "tracks/figure_art.h"

#include <cmath>

#include "kit/paint.h"

namespace tracks {

using namespace kit;

namespace {

Vec2 limb_direction(double degrees, double side) {
  double a = degrees * PI / 180;
  return {side * std::sin(a), std::cos(a)};
}

// A limb as two thick strokes with a darker edge, so it reads against
// the body behind it.
Vec2 paint_limb(Image& image, Vec2 root, double first_deg, double second_deg, double side, double upper,
                double lower, double width, Colour colour, Colour end_colour) {
  Vec2 joint = root + limb_direction(first_deg, side) * upper;
  Vec2 end = joint + limb_direction(first_deg + second_deg, side) * lower;
  Colour edge = scaled(colour, 0.6f);
  draw_line(image, root, joint, width + 3, edge);
  draw_line(image, joint, end, width + 1, edge);
  draw_line(image, root, joint, width, colour);
  draw_line(image, joint, end, width * 0.85, colour);
  fill_circle(image, end.x, end.y, width * 0.55, end_colour);
  return end;
}

}  // namespace

Hands paint_figure(Image& image, const Figure& f, double x, double ground) {
  const double h = f.height;
  const double hip = ground - 0.5 * h, shoulder = ground - 0.81 * h, head_y = ground - 0.925 * h;
  const double body = 0.19 * h;  // shoulder width
  const double limb = 0.052 * h;

  // Legs, then shoes.
  for (double side : {-1.0, 1.0}) {
    double swing = f.stride * 14 * side;
    Vec2 top{x + side * body * 0.22, hip};
    Vec2 foot{x + side * body * 0.26 + swing * h / 100, ground - 0.03 * h};
    draw_line(image, top, foot, limb * 1.45, scaled(f.pants, 0.7f));
    draw_line(image, top, foot, limb * 1.3, f.pants);
    fill_ellipse(image, foot.x + side * 4, ground - 0.02 * h, limb * 0.95, limb * 0.45, hex(0x222020));
  }
  // Torso with a little light from the left.
  fill_rounded_rect(image, x - body * 0.55, shoulder - 0.02 * h, x + body * 0.55, hip + 0.04 * h, body * 0.25,
                    scaled(f.shirt, 0.65f));
  fill_rounded_rect(image, x - body * 0.5, shoulder - 0.015 * h, x + body * 0.5, hip + 0.035 * h, body * 0.22,
                    f.shirt);
  shade_rect(image, static_cast<int>(x), static_cast<int>(shoulder - 0.02 * h), static_cast<int>(x + body * 0.6),
             static_cast<int>(hip + 0.05 * h), [&](double px, double, Colour& c) {
               float k = static_cast<float>(1 - 0.25 * (px - x) / (body * 0.6));
               c = {c.r * k, c.g * k, c.b * k, c.a};
             });
  if (f.vest) {
    Colour vest = hex(0xf2a01a);
    fill_rounded_rect(image, x - body * 0.46, shoulder + 0.01 * h, x + body * 0.46, hip + 0.01 * h, body * 0.15,
                      vest);
    for (double band : {0.45, 0.7})
      fill_rect(image, x - body * 0.46, shoulder + (hip - shoulder) * band, x + body * 0.46,
                shoulder + (hip - shoulder) * band + 0.018 * h, hex(0xe8e8e0));
  }

  // Arms.
  Hands hands;
  Vec2 left_root{x - body * 0.47, shoulder + 0.03 * h}, right_root{x + body * 0.47, shoulder + 0.03 * h};
  hands.left = paint_limb(image, left_root, f.left_shoulder, f.left_elbow, -1, 0.17 * h, 0.16 * h, limb,
                          f.vest ? hex(0xf2a01a) : f.shirt, f.skin);
  hands.right = paint_limb(image, right_root, f.right_shoulder, f.right_elbow, 1, 0.17 * h, 0.16 * h, limb,
                           f.vest ? hex(0xf2a01a) : f.shirt, f.skin);

  // Neck, head, cap.
  fill_rect(image, x - limb * 0.5, head_y, x + limb * 0.5, shoulder + 2, scaled(f.skin, 0.85f));
  double r = 0.058 * h;
  fill_circle(image, x, head_y, r + 1.5, scaled(f.skin, 0.6f));
  fill_circle(image, x, head_y, r, f.skin);
  fill_circle(image, x + r * 0.35, head_y + r * 0.1, r * 0.75, with_alpha(scaled(f.skin, 0.8f), 0.35f));
  fill_ellipse(image, x, head_y - r * 0.45, r * 1.05, r * 0.6, f.cap);
  fill_rect(image, x - r * 1.05, head_y - r * 0.45, x + r * 1.05, head_y - r * 0.2, f.cap);
  fill_ellipse(image, x - r * 0.9, head_y - r * 0.25, r * 0.7, r * 0.18, scaled(f.cap, 0.7f));
  return hands;
}

void paint_flag(Image& image, Vec2 hand, double angle_deg, double length, double wave, Colour cloth, int pattern) {
  double a = angle_deg * PI / 180;
  Vec2 up{std::sin(a), -std::cos(a)};
  Vec2 side{std::cos(a), std::sin(a)};  // the cloth flies to the stick's right
  Vec2 tip = hand + up * length;
  draw_line(image, hand - up * 10, tip, 5, hex(0x3a3a3a));
  const double cloth_w = length * 0.62, cloth_h = length * 0.42;
  // Limp cloth hangs along the stick; flying cloth stands out with a ripple.
  const int steps = 24;
  std::vector<Vec2> top, bottom;
  for (int k = 0; k <= steps; ++k) {
    double t = static_cast<double>(k) / steps;
    double ripple = std::sin(t * 2.6 * PI) * cloth_h * 0.12 * wave;
    Vec2 flying = tip + side * (t * cloth_w) + up * ripple;
    Vec2 hanging = tip - up * (t * cloth_w * 0.8) + side * (cloth_h * 0.12);
    Vec2 at = hanging + (flying - hanging) * wave;
    Vec2 drop = (wave > 0.5 ? up * -1.0 : side) * cloth_h * (wave > 0.5 ? 1.0 : 0.35);
    top.push_back(at);
    bottom.push_back(at + drop);
  }
  std::vector<Vec2> outline(top);
  outline.insert(outline.end(), bottom.rbegin(), bottom.rend());
  fill_polygon(image, outline, cloth);
  if (pattern == 1) {
    // Chequers: darken alternate cells of a 6 x 4 grid over the cloth.
    for (int row = 0; row < 4; ++row)
      for (int col = 0; col < 6; ++col) {
        if ((row + col) % 2 == 0) continue;
        double t0 = col / 6.0, t1 = (col + 1) / 6.0, s0 = row / 4.0, s1 = (row + 1) / 4.0;
        auto point = [&](double t, double s) {
          int k = static_cast<int>(t * steps);
          return top[k] + (bottom[k] - top[k]) * s;
        };
        fill_polygon(image, {point(t0, s0), point(t1, s0), point(t1, s1), point(t0, s1)}, hex(0x141414));
      }
  }
  for (size_t k = 0; k + 1 < top.size(); ++k) {
    float shade = static_cast<float>(0.12 * std::sin(k * 0.7));
    draw_line(image, top[k], bottom[k], 1.5, with_alpha(shade > 0 ? hex(0xffffff) : hex(0x000000), std::fabs(shade)));
  }
}

}  // namespace tracks
