// Pictures of the heads-up display and the title screen, and the default
// roost particle.
#include "art/interface_art.h"

#include <cmath>

#include "art/bike_geometry.h"
#include "art/bike_models.h"
#include "art/bike_textures.h"
#include "art/rider.h"
#include "art/wheels.h"
#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/raster.h"
#include "kit/typeface.h"

namespace art {

namespace {

using kit::Colour;
using kit::hex;
using kit::Image;
using kit::Vec2;

kit::Typeface* bold() { return kit::open_typeface("DejaVuSans-Bold.ttf"); }
kit::Typeface* condensed() { return kit::open_typeface("DejaVuSansCondensed-Bold.ttf"); }

kit::TextStyle sized(double size) {
  kit::TextStyle s;
  s.size = size;
  return s;
}

// A point on the dial at `rpm` and radius r (fractions of the half size):
// 0 rpm is 135 degrees left of straight up, 16000 rpm 135 degrees right.
Vec2 dial_point(double size, double rpm, double r) {
  double angle = (rpm * 0.000046875 - 0.375) * 2 * kit::PI;  // clockwise from up
  return {size / 2 + std::sin(angle) * r * size / 2, size / 2 - std::cos(angle) * r * size / 2};
}

}  // namespace

Image tach_picture() {
  const int size = 512;
  Image image(size, size, {0, 0, 0, 0});
  double c = size / 2.0;
  kit::fill_circle(image, c, c, c - 2, hex(0x0C0C0E, 0.82f));
  kit::fill_ring(image, c, c, c - 14, c - 4, hex(0x9098A0));
  // Red zone from 13,000 rpm.
  for (double rpm = 13000; rpm < 16000; rpm += 50)
    kit::draw_line(image, dial_point(size, rpm, 0.8), dial_point(size, rpm + 60, 0.8), 22, hex(0xC01818, 0.9f));
  for (int rpm = 0; rpm <= 16000; rpm += 500) {
    bool major = rpm % 1000 == 0;
    Colour tick = rpm >= 13000 ? hex(0xFF5050) : hex(0xF0F0F0);
    kit::draw_line(image, dial_point(size, rpm, major ? 0.72 : 0.78), dial_point(size, rpm, 0.86), major ? 7 : 3, tick);
    if (major && rpm % 2000 == 0) {
      Vec2 p = dial_point(size, rpm, 0.56);
      kit::draw_text_centred(image, bold(), std::to_string(rpm / 1000), p.x, p.y, sized(44), tick);
    }
  }
  kit::draw_text_centred(image, condensed(), "RPM x1000", c, c + 120, sized(30), hex(0xB0B8C0));
  kit::fill_circle(image, c, c, 26, hex(0x40444A));
  kit::fill_circle(image, c, c, 14, hex(0xB0B4B8));
  return image;
}

Image shifter_picture() {
  // A 3 x 3 grid: indicator state k shows column k % 3, row k / 3. States 0
  // to 5 are gears one to six; the last three are neutral, reverse (back
  // up) and no gear.
  const int size = 512, cell = size / 3;
  const char* labels[9] = {"1", "2", "3", "4", "5", "6", "N", "R", "-"};
  Image image(size, size, {0, 0, 0, 0});
  for (int k = 0; k < 9; ++k) {
    double x0 = (k % 3) * cell, y0 = (k / 3) * cell;
    kit::fill_rounded_rect(image, x0 + 8, y0 + 8, x0 + cell - 8, y0 + cell - 8, 22, hex(0x0C0C0E, 0.8f));
    kit::fill_rounded_rect(image, x0 + 14, y0 + 14, x0 + cell - 14, y0 + cell - 14, 18, hex(0x1A1C20, 0.85f));
    // The shift pattern down the side with this gear lit.
    for (int g = 0; g < 6; ++g) {
      double y = y0 + 32 + g * 21;
      bool lit = g == k;
      kit::fill_circle(image, x0 + cell - 34, y, lit ? 8 : 5, lit ? hex(0xFFB020) : hex(0x5A5E66));
    }
    Colour colour = k < 6 ? hex(0xF4F4F4) : hex(0xFFB020);
    kit::draw_text_centred(image, bold(), labels[k], x0 + cell * 0.42, y0 + cell * 0.5, sized(112), colour);
  }
  return image;
}

Image pitboard_picture() {
  // The board fills the rows the display shows (3/16 to 7/8 of the height):
  // a white board in a black frame with a grip at the bottom; the game
  // writes on it in black.
  const int size = 512;
  Image image(size, size, {0, 0, 0, 0});
  double top = size * 0.1875 + 4, bottom = size * 0.875 - 4;
  kit::fill_rect(image, size * 0.42, bottom - 30, size * 0.58, bottom, hex(0x303030));
  kit::fill_rounded_rect(image, 10, top, size - 10, bottom - 26, 18, hex(0x141414));
  kit::fill_rounded_rect(image, 24, top + 14, size - 24, bottom - 40, 10, hex(0xF6F4EC));
  kit::add_grain(image, 24, static_cast<int>(top + 14), size - 24, static_cast<int>(bottom - 40), 0.03, 6, 71);
  for (int i = 0; i < 4; ++i)  // bolts
    kit::fill_circle(image, i % 2 ? size - 17 : 17, i < 2 ? top + 10 : bottom - 34, 5, hex(0x9098A0));
  return image;
}

Image roost_picture() {
  // Clods of dirt with soft edges, near white so each ground's roost colour
  // tints them.
  const int size = 128;
  Image image(size, size, {1, 1, 1, 0});
  kit::Dice dice(81);
  for (int k = 0; k < 14; ++k) {
    double r = dice.uniform(7, k < 3 ? 26 : 14);
    double cx = size / 2 + dice.uniform(-34, 34), cy = size / 2 + dice.uniform(-34, 34);
    uint32_t seed = dice.next();
    kit::shade_rect(image, static_cast<int>(cx - r * 1.5), static_cast<int>(cy - r * 1.5), static_cast<int>(cx + r * 1.5),
                    static_cast<int>(cy + r * 1.5), [&](double x, double y, Colour& p) {
                      double d = std::hypot(x - cx, y - cy) / r + 0.35 * kit::fbm(x / 6, y / 6, seed, 3);
                      double a = std::clamp((1 - d) * 3, 0.0, 1.0);
                      float shade = static_cast<float>(0.8 + 0.2 * kit::value_noise(x / 3, y / 3, seed + 1));
                      Colour clod{shade, shade * 0.97f, shade * 0.93f, static_cast<float>(a)};
                      p = kit::over(p, clod);
                    });
  }
  return image;
}

Image title_picture() {
  const int size = 1024;
  kit::Canvas canvas(size, size, {0, 0, 0, 1});
  // Evening sky over a ridge of hills and a dirt lip.
  kit::fill_gradient(canvas.colour, 0, 0, size, size * 0.7, hex(0x2A4C8C), hex(0xF0A050), true);
  kit::fill_gradient(canvas.colour, 0, size * 0.7, size, size, hex(0xF0A050), hex(0xE08A40), true);
  kit::fill_circle(canvas.colour, size * 0.78, size * 0.6, 70, hex(0xFFE8B0, 0.9f));
  std::vector<Vec2> hills{{0, size * 0.72}};
  for (int x = 0; x <= size; x += 16) hills.push_back({double(x), size * (0.66 + 0.05 * kit::fbm(x / 200.0, 0, 91, 4))});
  hills.push_back({double(size), double(size)});
  hills.push_back({0, double(size)});
  kit::fill_polygon(canvas.colour, hills, hex(0x3A3040));
  kit::fill_polygon(canvas.colour, {{0, size * 0.86}, {size * 0.3, size * 0.8}, {size * 0.55, size * 0.84}, {double(size), size * 0.9}, {double(size), double(size)}, {0, double(size)}},
                    hex(0x5A3A28));
  // The bike and rider in the air, nose up, over the lip.
  const BikeStyle& style = bike_styles().front();
  Detail full;
  kit::Image bike = paint_bike_texture(style, style.liveries[0]), wheels = paint_wheel_texture(0);
  kit::Image gear = paint_rider_body_texture(0), helmet = paint_rider_head_texture(0);
  struct Part {
    Model model;
    const kit::Image* texture;
    Vec3 centre;
  };
  const Part parts[] = {{frame_model(style, full), &bike, FRAME_CENTRE},
                        {fork_upper_model(full), &bike, FORK_UPPER_CENTRE},
                        {fork_lower_model(full), &bike, FORK_LOWER_CENTRE},
                        {swingarm_model(full), &bike, SWINGARM_CENTRE},
                        {front_wheel_model(full), &wheels, FRONT_AXLE},
                        {rear_wheel_model(full), &wheels, REAR_AXLE},
                        {rider_body_model(full), &gear, RIDER_CENTRE},
                        {rider_head_model(full), &helmet, RIDER_CENTRE}};
  kit::Camera camera{{19, 1.5, 7.5}, {0, 4.6, 3.6}, {0, 1, 0}, 36};
  kit::Mat3 pose = kit::rotation({0, 0, 1}, 0.18) * kit::rotation({1, 0, 0}, -0.32);
  for (const Part& part : parts)
    kit::render_model(canvas, camera, part.model, part.texture, pose, pose * part.centre + Vec3{0, 1.2, 0},
                      {0.6, 0.5, 0.4});
  Image image = canvas.colour;
  kit::TextStyle title = sized(150);
  title.slant = 0.18;
  for (int k = 0; k < 12; ++k) {
    double a = k * kit::PI / 6;
    kit::draw_text_centred(image, bold(), "BERMLINE", size / 2 + 6 * std::cos(a), 170 + 6 * std::sin(a), title, hex(0x101010));
  }
  kit::draw_text_centred(image, bold(), "BERMLINE", size / 2, 170, title, hex(0xFFFFFF));
  kit::TextStyle subtitle = sized(54);
  subtitle.spacing = 14;
  kit::draw_text_centred(image, condensed(), "MOTOCROSS", size / 2, 285, subtitle, hex(0xFFD27A));
  return image;
}

}  // namespace art
