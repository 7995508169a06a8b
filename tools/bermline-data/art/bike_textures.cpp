// Painting a bike texture: every region of the layout in bike_atlas.h, in
// the colours of one livery.
#include "art/bike_textures.h"

#include <cmath>

#include "art/bike_atlas.h"
#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/typeface.h"

namespace art {

namespace {

using kit::Colour;
using kit::Image;
using kit::UvRect;

struct Box {
  double x0, y0, x1, y1;
  double w() const { return x1 - x0; }
  double h() const { return y1 - y0; }
  // A point at fractions across the box.
  kit::Vec2 at(double s, double t) const { return {x0 + w() * s, y0 + h() * t}; }
};

Box box_of(const UvRect& r) { return {r.u0 * atlas::SIZE, r.v0 * atlas::SIZE, r.u1 * atlas::SIZE, r.v1 * atlas::SIZE}; }

void fill_box(Image& image, const Box& b, Colour c) { kit::fill_rect(image, b.x0, b.y0, b.x1, b.y1, c); }

int ix(double v) { return static_cast<int>(std::lround(v)); }

// Moulded plastic: a faint sheen from the top and a little grain.
void plastic(Image& image, const Box& b, Colour c, uint32_t seed) {
  kit::fill_gradient(image, b.x0, b.y0, b.x1, b.y1, kit::scaled(c, 1.06f), kit::scaled(c, 0.94f), true);
  kit::add_grain(image, ix(b.x0), ix(b.y0), ix(b.x1), ix(b.y1), 0.025, 3, seed);
}

// Brushed or cast metal with streaks along x.
void metal(Image& image, const Box& b, Colour c, double roughness, uint32_t seed) {
  kit::shade_rect(image, ix(b.x0), ix(b.y0), ix(b.x1), ix(b.y1), [&](double x, double y, Colour& p) {
    double streak = kit::value_noise(x / 40, y / 1.5, seed) * 0.5 + kit::value_noise(x / 9, y / 0.7, seed + 1) * 0.5;
    double grain = kit::value_noise(x / 1.3, y / 1.3, seed + 2) * 0.5;
    float f = static_cast<float>(1 + roughness * (0.6 * streak + 0.4 * grain));
    p = {c.r * f, c.g * f, c.b * f, 1};
  });
}

kit::TextStyle label_style(double size) {
  kit::TextStyle s;
  s.size = size;
  s.slant = 0.22;
  s.spacing = size * 0.02;
  return s;
}

kit::Typeface* bold() { return kit::open_typeface("DejaVuSans-Bold.ttf"); }
kit::Typeface* condensed() { return kit::open_typeface("DejaVuSansCondensed-Bold.ttf"); }

// Text with a dark outline, centred on (cx, cy).
void outlined_text(Image& image, kit::Typeface* face, const std::string& text, double cx, double cy,
                   const kit::TextStyle& style, Colour fill, Colour outline) {
  for (int k = 0; k < 8; ++k) {
    double a = k * kit::PI / 4, r = style.size * 0.06;
    kit::draw_text_centred(image, face, text, cx + r * std::cos(a), cy + r * std::sin(a), style, outline);
  }
  kit::draw_text_centred(image, face, text, cx, cy, style, fill);
}

// The shroud: the bike's loudest graphic, with its class lettering. Its
// region is the shroud seen from the right: the front at the right edge.
void paint_shroud(Image& image, const BikeStyle& style, const Livery& l) {
  Box b = box_of(atlas::SHROUD);
  plastic(image, b, l.plastic, style.seed);
  switch (l.graphic) {
    case 0:  // a sweeping blade from the front low corner up to the rear
      kit::fill_polygon(image, {b.at(1.0, 0.55), b.at(1.0, 0.9), b.at(0.45, 0.92), b.at(0.0, 0.55), b.at(0.0, 0.36), b.at(0.5, 0.72)},
                        l.accent);
      kit::fill_polygon(image, {b.at(1.0, 0.47), b.at(1.0, 0.52), b.at(0.5, 0.66), b.at(0.0, 0.3), b.at(0.0, 0.27), b.at(0.5, 0.62)},
                        l.accent2);
      break;
    case 1:  // teeth of colour rising from the bottom edge
      for (int i = 0; i < 7; ++i) {
        double s = i / 7.0;
        kit::fill_polygon(image, {b.at(s, 1.0), b.at(s + 0.02, 0.35 + 0.05 * (i % 3)), b.at(s + 0.2, 1.0)}, l.accent);
      }
      kit::fill_rect(image, b.x0, b.y0 + b.h() * 0.9, b.x1, b.y1, l.accent2);
      break;
    default:  // blocks and a chequered band
      kit::fill_polygon(image, {b.at(0.0, 0.62), b.at(1.0, 0.42), b.at(1.0, 1.0), b.at(0.0, 1.0)}, l.accent);
      for (int i = 0; i < 16; ++i)
        for (int j = 0; j < 2; ++j)
          if ((i + j) % 2 == 0)
            kit::fill_rect(image, b.x0 + i * b.w() / 16, b.y0 + b.h() * (0.18 + j * 0.06), b.x0 + (i + 1) * b.w() / 16,
                           b.y0 + b.h() * (0.24 + j * 0.06), l.accent2);
      break;
  }
  Colour text = l.graphic == 2 ? l.plastic : l.accent2;
  outlined_text(image, bold(), style.label, b.x0 + b.w() * 0.56, b.y0 + b.h() * 0.5, label_style(b.h() * 0.3), text,
                kit::hex(0x111111));
}

void paint_side_panel(Image& image, const BikeStyle& style, const Livery& l) {
  Box b = box_of(atlas::SIDE_PANEL);
  plastic(image, b, l.plastic_alt, style.seed + 1);
  // A stripe under the seat and the tail graphic behind the number plate.
  kit::fill_polygon(image, {b.at(0, 0.02), b.at(1, 0.02), b.at(1, 0.12), b.at(0, 0.2)}, l.accent);
  kit::fill_polygon(image, {b.at(0, 0.25), b.at(0.2, 0.25), b.at(0.08, 0.9), b.at(0, 0.9)}, l.accent);
  kit::fill_polygon(image, {b.at(0.9, 0.2), b.at(1, 0.2), b.at(1, 0.95), b.at(0.94, 0.95)}, l.accent2);
}

void paint_tank_and_fenders(Image& image, const BikeStyle& style, const Livery& l) {
  Box tank = box_of(atlas::TANK);
  plastic(image, tank, l.plastic, style.seed + 2);
  fill_box(image, {tank.x0 + tank.w() * 0.42, tank.y0, tank.x0 + tank.w() * 0.58, tank.y1}, l.accent);

  // Front fender seen from above: front at the left, right side at the top.
  Box front = box_of(atlas::FRONT_FENDER);
  plastic(image, front, l.plastic, style.seed + 3);
  kit::fill_polygon(image, {front.at(0.0, 0.42), front.at(0.5, 0.45), front.at(0.5, 0.55), front.at(0.0, 0.58)}, l.accent);
  for (int i = 0; i < 4; ++i)  // vents
    kit::fill_rounded_rect(image, front.x0 + front.w() * (0.12 + i * 0.07), front.y0 + front.h() * 0.22,
                           front.x0 + front.w() * (0.16 + i * 0.07), front.y0 + front.h() * 0.34, 3, kit::scaled(l.plastic, 0.6f));

  Box rear = box_of(atlas::REAR_FENDER);
  plastic(image, rear, l.plastic_alt, style.seed + 4);
  kit::fill_polygon(image, {rear.at(0.55, 0.0), rear.at(1.0, 0.0), rear.at(1.0, 0.3), rear.at(0.7, 0.3)}, l.accent);
  kit::fill_polygon(image, {rear.at(0.55, 1.0), rear.at(1.0, 1.0), rear.at(1.0, 0.7), rear.at(0.7, 0.7)}, l.accent);
  kit::fill_rect(image, rear.x0 + rear.w() * 0.2, rear.y0 + rear.h() * 0.46, rear.x1, rear.y0 + rear.h() * 0.54, l.accent2);
}

// The seat all round: the top panel with its grip ribs between stitched
// seams, plain sides, the black pan underneath.
void paint_seat(Image& image, const BikeStyle& style, const Livery& l) {
  Box b = box_of(atlas::SEAT);
  fill_box(image, b, l.seat);
  auto band = [&](double t0, double t1) { return Box{b.x0, b.y0 + b.h() * t0, b.x1, b.y0 + b.h() * t1}; };
  Box top = band(0.13, 0.37);
  fill_box(image, top, l.seat_top);
  for (double x = top.x0; x < top.x1; x += 10)  // grip ribs across the seat
    kit::fill_rect(image, x, top.y0, x + 3, top.y1, kit::scaled(l.seat_top, 0.72f));
  fill_box(image, band(0.62, 0.88), kit::hex(0x151515));
  for (double t : {0.13, 0.37})
    for (double x = b.x0; x < b.x1; x += 12) kit::fill_rect(image, x, b.y0 + b.h() * t - 1.5, x + 7, b.y0 + b.h() * t + 1.5, kit::hex(0xCFCFCF, 0.8f));
  kit::add_grain(image, ix(b.x0), ix(b.y0), ix(b.x1), ix(b.y1), 0.06, 2, style.seed + 5);
}

void paint_engine(Image& image, const BikeStyle& style, const Livery& l) {
  Box cases = box_of(atlas::ENGINE_CASE);
  metal(image, cases, kit::hex(0x6E7176), 0.18, style.seed + 6);
  // Covers: the clutch cover ring and bolts as seen from the side.
  kit::fill_ring(image, cases.x0 + cases.w() * 0.45, cases.y0 + cases.h() * 0.55, cases.h() * 0.22, cases.h() * 0.28,
                 kit::hex(0x3A3C40, 0.8f));
  for (int i = 0; i < 8; ++i) {
    double a = i * kit::PI / 4;
    kit::fill_circle(image, cases.x0 + cases.w() * 0.45 + std::cos(a) * cases.h() * 0.33,
                     cases.y0 + cases.h() * 0.55 + std::sin(a) * cases.h() * 0.33, 3, kit::hex(0xD0D0D0));
  }
  Box cylinder = box_of(atlas::CYLINDER);
  if (style.two_stroke) {
    metal(image, cylinder, kit::hex(0x55585C), 0.15, style.seed + 7);
    for (double y = cylinder.y0 + 4; y < cylinder.y1; y += 9)
      kit::fill_rect(image, cylinder.x0, y, cylinder.x1, y + 3, kit::hex(0x2A2C2F, 0.7f));
  } else {
    metal(image, cylinder, kit::hex(0x2E3034), 0.12, style.seed + 7);
    // The cam cover in the make's colour along the top.
    kit::fill_rect(image, cylinder.x0, cylinder.y0, cylinder.x1, cylinder.y0 + cylinder.h() * 0.3,
                   mix(l.plastic, kit::hex(0x303030), 0.35f));
  }
  Box radiator = box_of(atlas::RADIATOR);
  fill_box(image, radiator, kit::hex(0x1C1D1F));
  for (double x = radiator.x0 + 6; x < radiator.x1 - 6; x += 4) kit::fill_rect(image, x, radiator.y0 + 6, x + 2, radiator.y1 - 6, kit::hex(0x3A3D42));
  for (double y = radiator.y0 + 6; y < radiator.y1 - 6; y += 7) kit::fill_rect(image, radiator.x0 + 6, y, radiator.x1 - 6, y + 1.2, kit::hex(0x55585D));
}

void paint_exhaust(Image& image, const BikeStyle& style) {
  // Pipe: heat colours near the engine (top of the region) fading to steel.
  Box pipe = box_of(atlas::EXHAUST_PIPE);
  kit::shade_rect(image, ix(pipe.x0), ix(pipe.y0), ix(pipe.x1), ix(pipe.y1), [&](double x, double y, Colour& p) {
    double t = (y - pipe.y0) / pipe.h();
    Colour heat = t < 0.3 ? mix(kit::hex(0x8A6A3A), kit::hex(0x5A5A8A), static_cast<float>(t / 0.3))
                          : mix(kit::hex(0x5A5A8A), kit::hex(0xA8A8A8), static_cast<float>(std::min(1.0, (t - 0.3) / 0.4)));
    if (style.two_stroke) heat = mix(heat, kit::hex(0x2A2A2A), 0.55f);
    float f = static_cast<float>(1 + 0.12 * kit::value_noise(x / 6, y / 20, style.seed + 8));
    p = kit::scaled(heat, f);
  });
  // Silencer: brushed aluminium along its length with an end band and a
  // decal on its outer side.
  Box can = box_of(atlas::SILENCER);
  metal(image, can, kit::hex(0xC4C7CC), 0.16, style.seed + 9);
  kit::fill_rect(image, can.x1 - can.w() * 0.08, can.y0, can.x1, can.y1, kit::hex(0x3C3E42));
  kit::fill_rect(image, can.x0, can.y0, can.x0 + can.w() * 0.05, can.y1, kit::hex(0x3C3E42));
  kit::TextStyle text;
  text.size = can.h() * 0.2;
  kit::draw_text_centred(image, condensed(), "BERMLINE", can.x0 + can.w() * 0.5, can.y0 + can.h() * 0.25, text,
                         kit::hex(0x181818));
}

void paint_hardware(Image& image, const BikeStyle& style, const Livery& l) {
  metal(image, box_of(atlas::FRAME_METAL), l.frame, l.frame.r > 0.6f && l.frame.g > 0.6f ? 0.12 : 0.05, style.seed + 10);
  metal(image, box_of(atlas::SWINGARM_METAL), kit::hex(0xB5B9BE), 0.12, style.seed + 11);
  metal(image, box_of(atlas::ALUMINIUM), kit::hex(0xC9CCD0), 0.1, style.seed + 12);
  metal(image, box_of(atlas::FORK_OUTER), style.fork_colour, 0.08, style.seed + 13);
  // Inner tubes: a polished coating with a bright highlight line.
  Box inner = box_of(atlas::FORK_INNER);
  kit::fill_gradient(image, inner.x0, inner.y0, inner.x1, inner.y1, kit::hex(0x8C7A3A), kit::hex(0xE8D58A), false);
  Box guard = box_of(atlas::FORK_GUARD);
  plastic(image, guard, l.graphic == 1 ? kit::hex(0x1C1C1C) : l.plastic_alt, style.seed + 14);
  fill_box(image, box_of(atlas::RUBBER), kit::hex(0x1E1E1E));
  plastic(image, box_of(atlas::BLACK_PLASTIC), kit::hex(0x202022), style.seed + 15);
  Box grip = box_of(atlas::GRIP);
  fill_box(image, grip, kit::hex(0x2B2B2D));
  for (double y = grip.y0; y < grip.y1; y += 6) kit::fill_rect(image, grip.x0, y, grip.x1, y + 2, kit::hex(0x141414));
  Box chain = box_of(atlas::CHAIN);
  fill_box(image, chain, kit::hex(0x3A3A3C));
  for (double y = chain.y0; y < chain.y1; y += 8) kit::fill_rounded_rect(image, chain.x0 + 8, y + 1, chain.x1 - 8, y + 6, 2, kit::hex(0x8A8A8E));
  plastic(image, box_of(atlas::SHOCK_SPRING), style.spring_colour, style.seed + 16);
  metal(image, box_of(atlas::SHOCK_BODY), kit::hex(0x3A3C42), 0.1, style.seed + 17);
  plastic(image, box_of(atlas::PLASTIC), l.plastic, style.seed + 18);
  plastic(image, box_of(atlas::PLASTIC_ALT), l.plastic_alt, style.seed + 19);
  plastic(image, box_of(atlas::ACCENT), l.accent, style.seed + 20);
}

}  // namespace

kit::Image paint_bike_texture(const BikeStyle& style, const Livery& livery) {
  Image image(atlas::SIZE, atlas::SIZE, kit::hex(0x202020));
  paint_shroud(image, style, livery);
  paint_side_panel(image, style, livery);
  paint_tank_and_fenders(image, style, livery);
  paint_seat(image, style, livery);
  paint_engine(image, style, livery);
  paint_exhaust(image, style);
  paint_hardware(image, style, livery);
  return image;
}

}  // namespace art
