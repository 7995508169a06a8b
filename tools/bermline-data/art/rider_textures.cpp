// Riding gear and helmet textures in the layouts of rider_atlas.h.
#include <cmath>

#include "art/rider.h"
#include "art/rider_atlas.h"
#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/typeface.h"

namespace art {

namespace ra = rider_atlas;

namespace {

using kit::Colour;
using kit::hex;
using kit::Image;

struct Kit {
  Colour jersey, jersey_alt, accent, pants, pants_alt, gloves, boots, boot_trim;
};

const Kit KITS[RIDER_TEXTURE_COUNT] = {
    {hex(0x1F4FB0), hex(0xF2F2F2), hex(0xF28C1C), hex(0x1A2440), hex(0xF2F2F2), hex(0x1F4FB0), hex(0xF4F4F4), hex(0x1A1A1A)},
    {hex(0xC81A1A), hex(0x151515), hex(0xF2F2F2), hex(0x151515), hex(0xC81A1A), hex(0x151515), hex(0x1C1C1C), hex(0xC81A1A)},
    {hex(0xF5C800), hex(0x141414), hex(0x2A7DE1), hex(0x141414), hex(0xF5C800), hex(0xF5C800), hex(0x1C1C1C), hex(0xF5C800)},
    {hex(0xF4F4F0), hex(0x0F9A8A), hex(0x17314F), hex(0xF4F4F0), hex(0x0F9A8A), hex(0x0F9A8A), hex(0xF4F4F4), hex(0x0F9A8A)},
};

struct Helmet {
  Colour shell, stripe, accent, lens, goggle;
  int design;
};

const Helmet HELMETS[RIDER_TEXTURE_COUNT] = {
    {hex(0xF4F4F4), hex(0x1F4FB0), hex(0xF28C1C), hex(0x30343C), hex(0x1F4FB0), 0},
    {hex(0x151515), hex(0xC81A1A), hex(0xF2F2F2), hex(0x3050A0), hex(0xC81A1A), 1},
    {hex(0xF5C800), hex(0x141414), hex(0x2A7DE1), hex(0xB08A20), hex(0x141414), 2},
    {hex(0x0F9A8A), hex(0xF4F4F0), hex(0x17314F), hex(0x505860), hex(0xF4F4F0), 1},
};

struct Box {
  double x0, y0, x1, y1;
  double w() const { return x1 - x0; }
  double h() const { return y1 - y0; }
  kit::Vec2 at(double s, double t) const { return {x0 + w() * s, y0 + h() * t}; }
};

Box box_of(const kit::UvRect& r, int size) { return {r.u0 * size, r.v0 * size, r.u1 * size, r.v1 * size}; }

void band(Image& image, const Box& b, double t0, double t1, Colour c) {
  kit::fill_rect(image, b.x0, b.y0 + b.h() * t0, b.x1, b.y0 + b.h() * t1, c);
}

// Woven cloth: fine cross-hatched grain.
void cloth(Image& image, const Box& b, uint32_t seed) {
  kit::shade_rect(image, static_cast<int>(b.x0), static_cast<int>(b.y0), static_cast<int>(b.x1), static_cast<int>(b.y1),
                  [&](double x, double y, Colour& p) {
                    double weave = ((static_cast<int>(x) + static_cast<int>(y)) % 4 < 2 ? 0.02 : -0.02) +
                                   0.05 * kit::value_noise(x / 12, y / 12, seed);
                    p = kit::scaled(p, static_cast<float>(1 + weave));
                  });
}

void paint_torso(Image& image, const Kit& k) {
  Box b = box_of(ra::TORSO, ra::BODY_SIZE);
  kit::fill_rect(image, b.x0, b.y0, b.x1, b.y1, k.jersey);
  band(image, b, 0, 0.07, k.accent);                 // collar
  band(image, b, 0.07, 0.22, k.jersey_alt);          // shoulder yoke
  band(image, b, 0.75, 0.8, kit::hex(0x1A1A1A));     // belt
  band(image, b, 0.8, 1.0, k.pants);                 // pants from the waist
  // Chest: a contrasting panel with a diagonal slash.
  kit::fill_polygon(image, {b.at(0.12, 0.75), b.at(0.38, 0.75), b.at(0.38, 0.5), b.at(0.12, 0.28)}, k.jersey_alt);
  kit::fill_polygon(image, {b.at(0.12, 0.28), b.at(0.38, 0.5), b.at(0.38, 0.43), b.at(0.12, 0.21)}, k.accent);
  // Side stripes down both flanks.
  for (double u : {0.0, 0.47, 0.97})
    kit::fill_rect(image, b.x0 + b.w() * u, b.y0 + b.h() * 0.22, b.x0 + b.w() * (u + 0.03), b.y0 + b.h() * 0.75, k.accent);
  // Name bar across the back shoulders.
  kit::fill_rect(image, b.x0 + b.w() * 0.63, b.y0 + b.h() * 0.1, b.x0 + b.w() * 0.87, b.y0 + b.h() * 0.2, kit::hex(0xF4F4F4));
  kit::TextStyle text;
  text.size = b.h() * 0.075;
  kit::draw_text_centred(image, kit::open_typeface("DejaVuSans-Bold.ttf"), "BERMLINE", b.x0 + b.w() * 0.75,
                         b.y0 + b.h() * 0.15, text, kit::hex(0x151515));
  // Pants: accent panels on the hips.
  kit::fill_rect(image, b.x0 + b.w() * 0.44, b.y0 + b.h() * 0.8, b.x0 + b.w() * 0.56, b.y1, k.pants_alt);
  kit::fill_rect(image, b.x0, b.y0 + b.h() * 0.8, b.x0 + b.w() * 0.06, b.y1, k.pants_alt);
  kit::fill_rect(image, b.x1 - b.w() * 0.06, b.y0 + b.h() * 0.8, b.x1, b.y1, k.pants_alt);
  cloth(image, b, 41);
}

void paint_limbs(Image& image, const Kit& k) {
  Box upper = box_of(ra::UPPER_SLEEVE, ra::BODY_SIZE);
  kit::fill_rect(image, upper.x0, upper.y0, upper.x1, upper.y1, k.jersey_alt);
  band(image, upper, 0.55, 0.75, k.jersey);
  band(image, upper, 0.75, 0.82, k.accent);
  cloth(image, upper, 42);
  Box lower = box_of(ra::LOWER_SLEEVE, ra::BODY_SIZE);
  kit::fill_rect(image, lower.x0, lower.y0, lower.x1, lower.y1, k.jersey);
  band(image, lower, 0.3, 0.4, k.jersey_alt);
  band(image, lower, 0.86, 1.0, k.gloves);  // glove cuff
  cloth(image, lower, 43);

  Box glove = box_of(ra::GLOVE, ra::BODY_SIZE);
  kit::fill_rect(image, glove.x0, glove.y0, glove.x1, glove.y1, k.gloves);
  for (int i = 0; i < 4; ++i)  // knuckle pads
    kit::fill_rounded_rect(image, glove.x0 + glove.w() * (0.15 + 0.18 * i), glove.y0 + glove.h() * 0.2,
                           glove.x0 + glove.w() * (0.28 + 0.18 * i), glove.y0 + glove.h() * 0.45, 4, kit::hex(0x202020));
  kit::fill_rect(image, glove.x0, glove.y0 + glove.h() * 0.7, glove.x1, glove.y1, kit::hex(0x2A2A2A));  // palm

  Box thigh = box_of(ra::THIGH, ra::BODY_SIZE);
  kit::fill_rect(image, thigh.x0, thigh.y0, thigh.x1, thigh.y1, k.pants);
  kit::fill_rect(image, thigh.x0 + thigh.w() * 0.2, thigh.y0, thigh.x0 + thigh.w() * 0.32, thigh.y1, k.pants_alt);
  kit::fill_rect(image, thigh.x0 + thigh.w() * 0.7, thigh.y0, thigh.x0 + thigh.w() * 0.76, thigh.y1, k.accent);
  band(image, thigh, 0.85, 1.0, k.pants_alt);
  cloth(image, thigh, 44);
  Box knee = box_of(ra::KNEE, ra::BODY_SIZE);
  kit::fill_rect(image, knee.x0, knee.y0, knee.x1, knee.y1, k.pants_alt);
  kit::add_grain(image, static_cast<int>(knee.x0), static_cast<int>(knee.y0), static_cast<int>(knee.x1),
                 static_cast<int>(knee.y1), 0.08, 3, 45);
}

void paint_boots(Image& image, const Kit& k) {
  Box shin = box_of(ra::SHIN, ra::BODY_SIZE);
  kit::fill_rect(image, shin.x0, shin.y0, shin.x1, shin.y1, k.boots);
  band(image, shin, 0, 0.28, k.pants);  // pants over the boot top
  band(image, shin, 0.28, 0.34, k.boot_trim);
  for (double t : {0.45, 0.63, 0.81}) {  // straps and buckles
    band(image, shin, t, t + 0.06, kit::hex(0x2A2A2A));
    kit::fill_rounded_rect(image, shin.x0 + shin.w() * 0.2, shin.y0 + shin.h() * (t - 0.01),
                           shin.x0 + shin.w() * 0.3, shin.y0 + shin.h() * (t + 0.07), 3, kit::hex(0xB8BCC2));
  }
  kit::add_grain(image, static_cast<int>(shin.x0), static_cast<int>(shin.y0), static_cast<int>(shin.x1),
                 static_cast<int>(shin.y1), 0.04, 4, 46);
  Box foot = box_of(ra::BOOT_FOOT, ra::BODY_SIZE);
  kit::fill_rect(image, foot.x0, foot.y0, foot.x1, foot.y1, k.boots);
  kit::fill_rect(image, foot.x0 + foot.w() * 0.6, foot.y0, foot.x1, foot.y1, k.boot_trim);  // toe cap
  band(image, foot, 0.6, 0.9, kit::hex(0x1A1A1A));  // sole round the bottom
  Box sole = box_of(ra::SOLE, ra::BODY_SIZE);
  kit::fill_rect(image, sole.x0, sole.y0, sole.x1, sole.y1, kit::hex(0x1A1A1A));
}

void paint_shell(Image& image, const Helmet& h) {
  Box b = box_of(ra::SHELL, ra::HEAD_SIZE);
  // v runs from the rim (top of the region) to the crown; u from the face
  // round by the left, the back and the right.
  kit::fill_gradient(image, b.x0, b.y0, b.x1, b.y1, kit::scaled(h.shell, 0.92f), h.shell, true);
  switch (h.design) {
    case 0:  // twin stripes over the crown, front to back
      for (double u : {0.0, 0.5})
        kit::fill_rect(image, b.x0 + b.w() * (u - 0.04), b.y0 + b.h() * 0.45, b.x0 + b.w() * (u + 0.04), b.y1, h.stripe);
      kit::fill_rect(image, b.x1 - b.w() * 0.04, b.y0 + b.h() * 0.45, b.x1, b.y1, h.stripe);
      kit::fill_rect(image, b.x0, b.y0 + b.h() * 0.3, b.x1, b.y0 + b.h() * 0.36, h.accent);
      break;
    case 1:  // flames licking back from the face
      for (int i = 0; i < 6; ++i) {
        double v = 0.3 + 0.1 * i;
        kit::fill_polygon(image, {b.at(0.0, v), b.at(0.32 + 0.04 * (i % 2), v + 0.05), b.at(0.0, v + 0.09)}, h.stripe);
        kit::fill_polygon(image, {b.at(1.0, v), b.at(0.68 - 0.04 * (i % 2), v + 0.05), b.at(1.0, v + 0.09)}, h.stripe);
      }
      kit::fill_rect(image, b.x0, b.y0 + b.h() * 0.2, b.x1, b.y0 + b.h() * 0.25, h.accent);
      break;
    default:  // blocks round the shell and a crown panel
      for (int i = 0; i < 12; ++i)
        if (i % 2 == 0) kit::fill_rect(image, b.x0 + b.w() * i / 12, b.y0 + b.h() * 0.35, b.x0 + b.w() * (i + 1) / 12, b.y0 + b.h() * 0.5, h.stripe);
      kit::fill_rect(image, b.x0, b.y0 + b.h() * 0.8, b.x1, b.y1, h.accent);
      break;
  }
  kit::fill_rect(image, b.x0, b.y0, b.x1, b.y0 + b.h() * 0.08, kit::hex(0x1A1A1A));  // rubber rim trim
}

void paint_head_parts(Image& image, const Helmet& h) {
  Box chin = box_of(ra::CHIN_BAR, ra::HEAD_SIZE);
  kit::fill_rect(image, chin.x0, chin.y0, chin.x1, chin.y1, h.shell);
  kit::fill_rect(image, chin.x0, chin.y0 + chin.h() * 0.35, chin.x1, chin.y0 + chin.h() * 0.65, h.stripe);
  for (int i = 0; i < 5; ++i)  // mouth vents
    kit::fill_rounded_rect(image, chin.x0 + chin.w() * (0.32 + 0.08 * i), chin.y0 + chin.h() * 0.4,
                           chin.x0 + chin.w() * (0.37 + 0.08 * i), chin.y0 + chin.h() * 0.6, 2, kit::hex(0x202020));
  Box visor = box_of(ra::VISOR, ra::HEAD_SIZE);
  kit::fill_rect(image, visor.x0, visor.y0, visor.x1, visor.y1, h.stripe);
  kit::fill_rect(image, visor.x0, visor.y0 + visor.h() * 0.7, visor.x1, visor.y1, h.accent);
  Box lens = box_of(ra::LENS, ra::HEAD_SIZE);
  kit::fill_gradient(image, lens.x0, lens.y0, lens.x1, lens.y1, kit::scaled(h.lens, 1.6f), h.lens, true);
  Box frame = box_of(ra::GOGGLE_FRAME, ra::HEAD_SIZE);
  kit::fill_rect(image, frame.x0, frame.y0, frame.x1, frame.y1, h.goggle);
  Box strap = box_of(ra::STRAP, ra::HEAD_SIZE);
  kit::fill_rect(image, strap.x0, strap.y0, strap.x1, strap.y1, kit::hex(0x161616));
  kit::TextStyle text;
  text.size = strap.h() * 0.7;
  kit::Typeface* face = kit::open_typeface("DejaVuSansCondensed-Bold.ttf");
  kit::draw_text_centred(image, face, "BERMLINE", strap.x0 + strap.w() * 0.5, strap.y0 + strap.h() * 0.5, text, h.goggle);
}

}  // namespace

kit::Image paint_rider_body_texture(int variant) {
  const Kit& k = KITS[variant];
  Image image(ra::BODY_SIZE, ra::BODY_SIZE, kit::hex(0x303030));
  paint_torso(image, k);
  paint_limbs(image, k);
  paint_boots(image, k);
  return image;
}

kit::Image paint_rider_head_texture(int variant) {
  const Helmet& h = HELMETS[variant];
  Image image(ra::HEAD_SIZE, ra::HEAD_SIZE, kit::hex(0x303030));
  paint_shell(image, h);
  paint_head_parts(image, h);
  return image;
}

}  // namespace art
