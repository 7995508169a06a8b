#include "art/wheels.h"

#include <cmath>

#include "art/bike_geometry.h"
#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/typeface.h"

namespace art {

namespace {

constexpr int SIZE = 512;

// The wheel texture's layout.
const UvRect TYRE = kit::pixel_rect(SIZE, 0, 0, 512, 192);  // u round the wheel, v across the tyre from bead to bead
const UvRect KNOB = kit::pixel_rect(SIZE, 0, 192, 128, 256);
const UvRect RIM = kit::pixel_rect(SIZE, 128, 192, 512, 256);
const UvRect HUB = kit::pixel_rect(SIZE, 0, 256, 256, 320);
const UvRect SPOKE = kit::pixel_rect(SIZE, 256, 256, 384, 320);
const UvRect AXLE = kit::pixel_rect(SIZE, 384, 256, 512, 320);
const UvRect DISC = kit::pixel_rect(SIZE, 0, 320, 192, 512);      // a disc seen face on
const UvRect SPROCKET = kit::pixel_rect(SIZE, 192, 320, 384, 512);
const UvRect DISC_EDGE = kit::pixel_rect(SIZE, 384, 320, 512, 384);

// A wheel's proportions: the tyre's outside touches the ground at the rim
// radius plus the tyre radius of the physics.
struct WheelSize {
  double outer;   // over the knobs
  double bead;    // where tyre meets rim
  double width;   // tyre width
  int rows;       // knob rows round the tyre
};

const WheelSize FRONT{FRONT_RIM_RADIUS + TYRE_RADIUS, 0.875, 0.27, 32};
const WheelSize REAR{REAR_RIM_RADIUS + TYRE_RADIUS, 0.79, 0.37, 36};

// Lathe frame: profile radius in the wheel plane, height along the axle.
Frame wheel_frame(double x = 0) {
  Frame f;
  f.origin = {x, 0, 0};
  f.x = {0, 1, 0};
  f.y = {0, 0, 1};
  f.z = {1, 0, 0};
  return f;
}

constexpr double KNOB_HEIGHT = 0.035;

void add_tyre(Mesh& rubber, const WheelSize& w, Detail d) {
  double crown = w.outer - (d.far() ? 0 : KNOB_HEIGHT), h = w.width / 2;
  std::vector<Vec2> profile = {{w.bead, -h * 0.7},          {w.bead + 0.06, -h},        {crown - 0.1, -h * 0.98},
                               {crown - 0.03, -h * 0.75},   {crown, -h * 0.35},         {crown + 0.004, 0},
                               {crown, h * 0.35},           {crown - 0.03, h * 0.75},   {crown - 0.1, h * 0.98},
                               {w.bead + 0.06, h},          {w.bead, h * 0.7}};
  kit::RingOptions options;
  options.closed_along = true;
  kit::add_lathe(rubber, wheel_frame(), profile, d.n(40, 12), TYRE, options);
  if (d.far()) return;
  // Knobs: alternating rows of centre and shoulder blocks.
  for (int row = 0; row < w.rows >> d.level; ++row) {
    double angle = 2 * kit::PI * row / (w.rows >> d.level);
    Vec3 radial{0, std::cos(angle), std::sin(angle)};
    Vec3 along = kit::cross({1, 0, 0}, radial);
    std::vector<double> across = row % 2 ? std::vector<double>{-h * 0.45, h * 0.45} : std::vector<double>{-h * 0.8, 0, h * 0.8};
    for (double x : across) {
      double r = crown - (std::fabs(x) > h * 0.6 ? 0.03 : 0) + KNOB_HEIGHT / 2 - 0.004;
      Frame knob;
      knob.origin = radial * r + Vec3{x, 0, 0};
      knob.x = {1, 0, 0};
      knob.y = radial;
      knob.z = along;
      kit::add_box(rubber, knob, {w.width * 0.11, KNOB_HEIGHT / 2 + 0.004, 0.042}, KNOB);
    }
  }
}

void add_rim_and_hub(Mesh& metal, const WheelSize& w, Detail d) {
  kit::RingOptions closed;
  closed.closed_along = true;
  kit::add_lathe(metal, wheel_frame(),
                 {{w.bead - 0.075, -0.1}, {w.bead + 0.012, -0.118}, {w.bead + 0.012, 0.118}, {w.bead - 0.075, 0.1}},
                 d.n(40, 12), RIM, closed);
  kit::add_lathe(metal, wheel_frame(),
                 {{0.05, -0.32}, {0.09, -0.32}, {0.1, -0.22}, {0.19, -0.2}, {0.19, -0.17}, {0.11, -0.15}, {0.1, 0},
                  {0.11, 0.15}, {0.19, 0.17}, {0.19, 0.2}, {0.1, 0.22}, {0.09, 0.32}, {0.05, 0.32}},
                 d.n(16, 8), HUB, closed);
  if (d.far()) return;
  // Spokes laced from both hub flanges to the rim, crossing on the way.
  int spokes = d.full() ? 36 : 18;
  for (int k = 0; k < spokes; ++k) {
    double side = k % 2 ? 1 : -1;
    double a0 = 2 * kit::PI * k / spokes, a1 = a0 + (k % 4 < 2 ? 0.32 : -0.32);
    Vec3 hub{side * 0.185, 0.175 * std::cos(a0), 0.175 * std::sin(a0)};
    Vec3 rim{side * 0.03, (w.bead - 0.07) * std::cos(a1), (w.bead - 0.07) * std::sin(a1)};
    kit::add_cylinder(metal, hub, rim, 0.011, 0.011, 3, SPOKE, false);
  }
}

void add_disc(Mesh& metal, double x, double inner, double outer, Detail d) {
  kit::add_annulus(metal, wheel_frame(x), inner, outer, 0.018, d.n(32, 12), DISC, DISC_EDGE);
}

Model wheel_model(const WheelSize& w, Detail d, bool rear) {
  Mesh rubber, metal;
  rubber.material = rubber_material();
  metal.material = metal_material();
  add_tyre(rubber, w, d);
  add_rim_and_hub(metal, w, d);
  if (rear) {
    add_disc(metal, REAR_DISC_X, 0.16, REAR_DISC_RADIUS, d);
    kit::add_annulus(metal, wheel_frame(SPROCKET_X), 0.12, REAR_SPROCKET_RADIUS + 0.03, 0.025, d.n(32, 12), SPROCKET,
                     DISC_EDGE);
  } else {
    add_disc(metal, FRONT_DISC_X, 0.18, FRONT_DISC_RADIUS, d);
  }
  Model model;
  model.meshes = {rubber, metal};
  return model;
}

// Wheel colours: rims, hubs and the sidewall lettering.
struct WheelColours {
  kit::Colour rim, hub, letters;
};

const WheelColours VARIANTS[WHEEL_TEXTURE_COUNT] = {
    {kit::hex(0x222326), kit::hex(0xB8BCC2), kit::hex(0xE8E8E8)},
    {kit::hex(0xC9A040), kit::hex(0x2050B0), kit::hex(0xE8C860)},
    {kit::hex(0xB9BDC3), kit::hex(0xC02020), kit::hex(0xE8E8E8)},
};

struct Box {
  double x0, y0, x1, y1;
};
Box box_of(const UvRect& r) { return {r.u0 * SIZE, r.v0 * SIZE, r.u1 * SIZE, r.v1 * SIZE}; }

void paint_rubber(kit::Image& image, const Box& b, uint32_t seed) {
  kit::fill_rect(image, b.x0, b.y0, b.x1, b.y1, kit::hex(0x242424));
  kit::add_grain(image, static_cast<int>(b.x0), static_cast<int>(b.y0), static_cast<int>(b.x1), static_cast<int>(b.y1),
                 0.18, 2, seed);
}

// A disc or sprocket face: drawn in a square of the given radius, with
// transparent holes that the game's alpha test cuts out.
void paint_disc(kit::Image& image, const Box& b, double inner, double outer, bool sprocket) {
  double cx = (b.x0 + b.x1) / 2, cy = (b.y0 + b.y1) / 2, scale = (b.x1 - b.x0) / 2 / outer;
  kit::fill_rect(image, b.x0, b.y0, b.x1, b.y1, {0, 0, 0, 0});
  if (sprocket) {
    kit::fill_circle(image, cx, cy, (outer - 0.04) * scale, kit::hex(0x9A9CA0));
    int teeth = 50;
    for (int k = 0; k < teeth; ++k) {
      double a = 2 * kit::PI * k / teeth, da = kit::PI / teeth * 0.55;
      auto at = [&](double r, double angle) { return kit::Vec2{cx + r * scale * std::cos(angle), cy + r * scale * std::sin(angle)}; };
      kit::fill_polygon(image, {at(outer - 0.045, a - da), at(outer, a - da * 0.4), at(outer, a + da * 0.4), at(outer - 0.045, a + da)},
                        kit::hex(0x9A9CA0));
    }
    for (int k = 0; k < 6; ++k) {
      double a = 2 * kit::PI * k / 6;
      kit::fill_circle(image, cx + 0.22 * scale * std::cos(a), cy + 0.22 * scale * std::sin(a), 0.055 * scale, {0, 0, 0, 0});
    }
  } else {
    kit::fill_circle(image, cx, cy, outer * scale, kit::hex(0xA8AAAE));
    kit::fill_ring(image, cx, cy, (outer - 0.1) * scale, outer * scale, kit::hex(0xC8CACE));
    // Drilled holes in the braking ring, in spiralling rows.
    for (int k = 0; k < 24; ++k)
      for (int j = 0; j < 2; ++j) {
        double a = 2 * kit::PI * (k + 0.5 * j) / 24, r = outer - 0.035 - j * 0.045;
        kit::fill_circle(image, cx + r * scale * std::cos(a), cy + r * scale * std::sin(a), 0.012 * scale, {0, 0, 0, 0});
      }
    kit::fill_circle(image, cx, cy, (inner + 0.06) * scale, kit::hex(0x505258));
  }
  kit::fill_circle(image, cx, cy, inner * scale, {0, 0, 0, 0});
}

}  // namespace

Model front_wheel_model(Detail detail) { return wheel_model(FRONT, detail, false); }
Model rear_wheel_model(Detail detail) { return wheel_model(REAR, detail, true); }

kit::Image paint_wheel_texture(int variant) {
  const WheelColours& c = VARIANTS[variant];
  kit::Image image(SIZE, SIZE, kit::hex(0x202020));
  // Tyre: sidewalls with raised lettering at both edges, the tread between.
  Box tyre = box_of(TYRE);
  paint_rubber(image, tyre, 31);
  kit::TextStyle text;
  text.size = 15;
  text.spacing = 2;
  kit::Typeface* face = kit::open_typeface("DejaVuSans-Bold.ttf");
  // The region runs round the tyre from the left bead to the right one:
  // lettering for the left sidewall is turned half round and for the right
  // one mirrored, so both read from outside.
  kit::Image lettering(512, 24, {0, 0, 0, 0});
  for (double x : {40.0, 296.0}) kit::draw_text(lettering, face, "BERMLINE MX", x, 19, text, kit::with_alpha(c.letters, 0.85f));
  kit::paste(image, lettering, static_cast<int>(tyre.x0), static_cast<int>(tyre.y0 + 14), true, true);
  kit::paste(image, lettering, static_cast<int>(tyre.x0), static_cast<int>(tyre.y1 - 38), true, false);
  for (double y = tyre.y0 + 70; y < tyre.y1 - 70; y += 12)
    kit::fill_rect(image, tyre.x0, y, tyre.x1, y + 2, kit::hex(0x1A1A1A));
  paint_rubber(image, box_of(KNOB), 32);
  Box rim = box_of(RIM);
  kit::fill_gradient(image, rim.x0, rim.y0, rim.x1, rim.y1, kit::scaled(c.rim, 1.2f), kit::scaled(c.rim, 0.8f), true);
  kit::fill_rect(image, rim.x0, rim.y0 + 26, rim.x1, rim.y0 + 30, kit::scaled(c.rim, 1.5f));
  Box hub = box_of(HUB);
  kit::fill_gradient(image, hub.x0, hub.y0, hub.x1, hub.y1, c.hub, kit::scaled(c.hub, 0.75f), true);
  kit::add_grain(image, static_cast<int>(hub.x0), static_cast<int>(hub.y0), static_cast<int>(hub.x1),
                 static_cast<int>(hub.y1), 0.05, 4, 33);
  Box spoke = box_of(SPOKE);
  kit::fill_gradient(image, spoke.x0, spoke.y0, spoke.x1, spoke.y1, kit::hex(0xD8D8DC), kit::hex(0x808288), false);
  Box axle = box_of(AXLE);
  kit::fill_rect(image, axle.x0, axle.y0, axle.x1, axle.y1, kit::hex(0x9A9CA2));
  paint_disc(image, box_of(DISC), 0.18, FRONT_DISC_RADIUS, false);
  paint_disc(image, box_of(SPROCKET), 0.12, REAR_SPROCKET_RADIUS + 0.03, true);
  Box edge = box_of(DISC_EDGE);
  kit::fill_rect(image, edge.x0, edge.y0, edge.x1, edge.y1, kit::hex(0x8A8C90));
  return image;
}

}  // namespace art
