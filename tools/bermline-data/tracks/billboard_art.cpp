// Billboard pictures: trees, fans, banners and the flaggers.
#include <cmath>
#include <vector>

#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/typeface.h"
#include "tracks/figure_art.h"
#include "tracks/track_art.h"

namespace tracks {

using namespace kit;

namespace {

const char* const BOLD_FACE = "DejaVuSans-Bold.ttf";

Colour jitter(Colour c, Dice& dice, double amount) {
  return scaled(c, static_cast<float>(1 + dice.uniform(-amount, amount)));
}

// ---- trees ------------------------------------------------------------------

// A leafy cluster lit from the upper left: a dark rim, the body, a light
// cap towards the sun.
void paint_cluster(Image& image, double x, double y, double r, Colour leaf, uint32_t seed) {
  fill_circle(image, x, y, r, scaled(leaf, 0.55f));
  fill_circle(image, x - r * 0.08, y - r * 0.08, r * 0.88, leaf);
  fill_circle(image, x - r * 0.3, y - r * 0.32, r * 0.5, with_alpha(scaled(leaf, 1.3f), 0.6f));
  // Leaf speckle so the crown is not smooth.
  Dice dice(seed);
  for (int k = 0; k < static_cast<int>(r * 0.8); ++k) {
    double a = dice.uniform(0, 2 * PI), d = r * std::sqrt(dice.uniform());
    fill_circle(image, x + std::cos(a) * d, y + std::sin(a) * d, dice.uniform(1.5, 3.5),
                with_alpha(scaled(leaf, static_cast<float>(dice.uniform(0.6, 1.35))), 0.8f));
  }
}

void paint_trunk(Image& image, Vec2 base, Vec2 top, double width, Colour bark) {
  draw_line(image, base, top, width + 2, scaled(bark, 0.6f));
  draw_line(image, base, top, width, bark);
  draw_line(image, base + Vec2{-width * 0.2, 0}, top + Vec2{-width * 0.15, 0}, width * 0.3,
            with_alpha(scaled(bark, 1.35f), 0.7f));
}

Image broadleaf_tree(uint32_t seed, Colour leaf, bool birch) {
  Image image(512, 512);
  Dice dice(seed);
  Colour bark = birch ? hex(0xe6e2d8) : hex(0x5a4030);
  paint_trunk(image, {256, 512}, {256, 250}, birch ? 16 : 30, bark);
  if (birch)
    for (int k = 0; k < 14; ++k) {
      double y = dice.uniform(270, 500);
      fill_rect(image, 248, y, 264, y + dice.uniform(3, 7), hex(0x2a2622));
    }
  for (int k = 0; k < 5; ++k) {
    double a = dice.uniform(-1.0, 1.0);
    paint_trunk(image, {256, dice.uniform(260, 330)}, {256 + std::sin(a) * 130, 200 - std::cos(a) * 50},
                birch ? 5 : 10, bark);
  }
  // Clusters from the back (darker) to the front.
  const int count = birch ? 34 : 46;
  for (int k = 0; k < count; ++k) {
    double a = dice.uniform(0, 2 * PI), d = std::sqrt(dice.uniform());
    double x = 256 + std::cos(a) * d * (birch ? 150 : 185), y = 190 + std::sin(a) * d * (birch ? 150 : 140);
    double r = birch ? dice.uniform(22, 42) : dice.uniform(32, 62);
    float depth = static_cast<float>(0.75 + 0.35 * k / count);
    paint_cluster(image, x, y, r, scaled(jitter(leaf, dice, 0.1), depth), seed + k);
  }
  return image;
}

Image pine_tree(uint32_t seed, bool windswept) {
  Image image(windswept ? 512 : 256, 512);
  Dice dice(seed);
  const double cx = image.width / 2.0;
  Colour needles = hex(windswept ? 0x3d5a30 : 0x2f4a28), bark = hex(0x5c4434);
  if (windswept) {
    // A crooked trunk under a flat, wind-shaped crown.
    std::vector<Vec2> trunk = {{cx, 512}, {cx + 10, 420}, {cx - 16, 330}, {cx + 24, 240}, {cx + 50, 170}};
    for (size_t k = 0; k + 1 < trunk.size(); ++k) paint_trunk(image, trunk[k], trunk[k + 1], 20 - 3.0 * k, bark);
    for (int k = 0; k < 30; ++k) {
      double x = cx + 50 + dice.uniform(-200, 200) * (1 - k / 60.0);
      double y = 150 + dice.uniform(-45, 35) + std::fabs(x - cx - 50) * 0.18;
      paint_cluster(image, x, y, dice.uniform(24, 42), jitter(needles, dice, 0.12), seed + k);
    }
    return image;
  }
  paint_trunk(image, {cx, 512}, {cx, 40}, 14, bark);
  // Drooping tiers, widest at the bottom, each with a ragged edge.
  const int tiers = 9;
  for (int t = 0; t < tiers; ++t) {
    double top = 30 + t * 44.0, bottom = top + 96;
    double half = 22 + (t + 1) * 11.0;
    std::vector<Vec2> outline;
    const int n = 28;
    for (int k = 0; k <= n; ++k) {
      double s = static_cast<double>(k) / n;  // left to right along the bottom edge
      double x = cx - half + 2 * half * s;
      double sag = 14 * std::sin(s * PI);
      double rag = 8 * value_noise(s * 9, t * 3.1, seed + 3);
      outline.push_back({x, bottom + sag + rag});
    }
    outline.push_back({cx, top});
    Colour tier = scaled(jitter(needles, dice, 0.08), static_cast<float>(0.8 + 0.25 * t / tiers));
    fill_polygon(image, outline, scaled(tier, 0.7f));
    for (Vec2& p : outline) p = Vec2{cx + (p.x - cx) * 0.9, p.y - 4};
    fill_polygon(image, outline, tier);
    // Sunlit needle tips on the left.
    for (int k = 0; k < 40; ++k) {
      double s = dice.uniform(0, 0.55);
      double x = cx - half + 2 * half * s, y = top + (bottom - top) * dice.uniform(0.4, 0.95);
      if (std::fabs(x - cx) > half * (y - top) / (bottom - top)) continue;
      draw_line(image, {x, y}, {x - 6, y + 5}, 2, with_alpha(scaled(tier, 1.45f), 0.8f));
    }
  }
  return image;
}

Image bush(uint32_t seed) {
  Image image(256, 128);
  Dice dice(seed);
  for (int k = 0; k < 22; ++k) {
    double x = dice.uniform(50, 206), y = dice.uniform(60, 105);
    paint_cluster(image, x, y, dice.uniform(18, 32), jitter(hex(0x4c6e2e), dice, 0.15), seed + k);
  }
  return image;
}

Image beach_grass(uint32_t seed) {
  Image image(256, 128);
  Dice dice(seed);
  for (int k = 0; k < 70; ++k) {
    double x = dice.uniform(30, 226), lean = dice.uniform(-40, 40), tall = dice.uniform(50, 120);
    Colour blade = jitter(mix(hex(0x6f7f3e), hex(0xb8b070), static_cast<float>(dice.uniform())), dice, 0.1);
    draw_polyline(image, {{x, 128}, {x + lean * 0.4, 128 - tall * 0.6}, {x + lean, 128 - tall}}, 2.5, blade);
  }
  return image;
}

// ---- people -------------------------------------------------------------------

Figure worker(double height = 330) {
  Figure f;
  f.skin = hex(0xd9a27c);
  f.shirt = hex(0x2f3a4a);
  f.pants = hex(0x3b3f46);
  f.cap = hex(0x1c2a4a);
  f.vest = true;
  f.height = height;
  return f;
}

Image crowd(uint32_t seed) {
  Image image(512, 256);
  Dice dice(seed);
  const uint32_t shirts[] = {0xc8302c, 0x2a5aa8, 0xf0c020, 0x2e2e2e, 0xf2f2f2, 0x3f8a3a, 0xe0702a, 0x7a3a8a, 0x1a8aa0};
  const uint32_t skins[] = {0xf0c8a8, 0xd9a27c, 0xb07850, 0x7a5038, 0xe8b894};
  for (int row = 0; row < 2; ++row) {
    int people = row == 0 ? 9 : 8;
    for (int k = 0; k < people; ++k) {
      Figure f;
      f.skin = hex(skins[dice.below(5)]);
      f.shirt = hex(shirts[dice.below(9)]);
      f.pants = hex(dice.uniform() < 0.7 ? 0x2c3e5c : 0x4a4238);
      f.cap = dice.uniform() < 0.5 ? f.shirt : (dice.uniform() < 0.5 ? hex(0x202020) : f.skin);
      f.height = (row == 0 ? 190 : 210) * dice.uniform(0.9, 1.05);
      bool cheering = dice.uniform() < 0.3;
      f.left_shoulder = cheering ? 160 : dice.uniform(5, 25);
      f.left_elbow = cheering ? 10 : dice.uniform(0, 40);
      f.right_shoulder = cheering && dice.uniform() < 0.5 ? 160 : dice.uniform(5, 25);
      f.right_elbow = dice.uniform(0, 40);
      double x = 30 + (k + (row == 0 ? 0.5 : 0.0)) * (452.0 / people) + dice.uniform(-8, 8);
      double ground = row == 0 ? 236 : 254;
      paint_figure(image, f, x, ground);
    }
  }
  return image;
}

// A board held up in both hands, with big text.
void paint_board(Image& image, Vec2 centre, double width, double height, const std::string& text, Colour face,
                 Colour ink) {
  fill_rounded_rect(image, centre.x - width / 2 - 3, centre.y - height / 2 - 3, centre.x + width / 2 + 3,
                    centre.y + height / 2 + 3, 6, hex(0x303030));
  fill_rounded_rect(image, centre.x - width / 2, centre.y - height / 2, centre.x + width / 2, centre.y + height / 2,
                    5, face);
  if (Typeface* bold = open_typeface(BOLD_FACE)) {
    TextStyle style;
    style.size = height * 0.62;
    style.stretch = text.size() > 2 ? 0.8 : 1.0;
    draw_text_centred(image, bold, text, centre.x, centre.y, style, ink);
  }
}

void raise_both_arms(Figure& f, double elbow) {
  f.left_shoulder = f.right_shoulder = 150;
  f.left_elbow = f.right_elbow = elbow;
}

Image starter(int frame) {
  Image image(256, 512);
  Figure f = worker();
  f.vest = false;
  f.shirt = hex(0xf4f4f0);
  f.cap = hex(0xc02020);
  if (frame <= 3) {  // the board raised overhead
    raise_both_arms(f, 20);
    Hands hands = paint_figure(image, f, 128, 508);
    Vec2 board = (hands.left + hands.right) * 0.5 - Vec2{0, 40};
    if (frame == 1) paint_board(image, board, 120, 84, "30", hex(0xf8f8f0), hex(0x101010));
    if (frame == 2) paint_board(image, board, 22, 84, "", hex(0xd8d8d0), hex(0x101010));
    if (frame == 3) paint_board(image, board, 120, 84, "5", hex(0xf0d020), hex(0x101010));
    return image;
  }
  // Walking off with the board under an arm, then waiting beside the track.
  f.stride = frame == 4 ? 0.8 : 0;
  f.left_shoulder = frame == 4 ? 25 : 8;
  f.right_shoulder = 25;
  f.right_elbow = 40;
  Hands hands = paint_figure(image, f, 112, 508);
  paint_board(image, hands.right + Vec2{4, 10}, 18, 84, "", hex(0xd8d8d0), hex(0x101010));
  return image;
}

Image flagger(bool caution) {
  Image image(256, 512);
  Figure f = worker();
  if (caution) {
    f.right_shoulder = 165;
    f.right_elbow = 0;
  } else {
    f.right_shoulder = 12;
    f.right_elbow = 5;
  }
  Hands hands = paint_figure(image, f, 96, 508);
  if (caution)
    paint_flag(image, hands.right, 12, 118, 1, hex(0xf4d018), 0);
  else
    paint_flag(image, hands.right, 170, 110, 0, hex(0xf4d018), 0);
  return image;
}

Image lap_board(int state) {
  Image image(256, 512);
  Figure f = worker();
  f.vest = false;
  f.shirt = hex(0x1f1f24);
  f.cap = hex(0x1f1f24);
  if (state == 1) {  // halfway: crossed flags held up
    raise_both_arms(f, 15);
    Hands hands = paint_figure(image, f, 128, 508);
    paint_flag(image, hands.left, 30, 120, 0.9, hex(0x2a8a3a), 0);
    paint_flag(image, hands.right, -30, 120, 0.9, hex(0xe8e8e8), 0);
    return image;
  }
  f.right_shoulder = 160;
  f.right_elbow = 5;
  Hands hands = paint_figure(image, f, 96, 508);
  if (state == 0) paint_flag(image, hands.right, 12, 118, 1, hex(0x2a9a3a), 0);  // racing
  if (state == 2) paint_flag(image, hands.right, 12, 118, 1, hex(0xf6f6f2), 0);  // last lap
  if (state == 3) paint_flag(image, hands.right, 12, 118, 1, hex(0xf6f6f2), 1);  // chequered
  return image;
}

// ---- banners --------------------------------------------------------------------

Image banner(const std::string& text, Colour cloth, Colour ink, Colour stripe, bool chequered) {
  Image image(512, 128);
  // Two posts and the cloth between them.
  for (double x : {14.0, 498.0}) fill_rect(image, x - 5, 4, x + 5, 128, hex(0x6a6a6a));
  fill_rect(image, 14, 8, 498, 100, scaled(cloth, 0.8f));
  fill_rect(image, 16, 10, 496, 98, cloth);
  fill_rect(image, 16, 84, 496, 98, stripe);
  if (chequered)
    for (int k = 0; k < 30; ++k)
      for (int row = 0; row < 2; ++row)
        if ((k + row) % 2) fill_rect(image, 16 + k * 16, 10 + row * 10, 32 + k * 16, 20 + row * 10, hex(0x111111));
  if (Typeface* bold = open_typeface(BOLD_FACE)) {
    TextStyle style;
    style.size = 58;
    style.spacing = 4;
    style.slant = 0.15;
    draw_text_centred(image, bold, text, 256, chequered ? 56 : 48, style, ink);
  }
  add_grain(image, 16, 10, 496, 98, 0.06, 3, 77);
  return image;
}

}  // namespace

void add_billboard_art(KitFiles& files) {
  files["tree-oak.png"] = to_png(broadleaf_tree(11, hex(0x4a7a2e), false), 4);
  files["tree-birch.png"] = to_png(broadleaf_tree(23, hex(0x7a9a3c), true), 4);
  files["tree-pine.png"] = to_png(pine_tree(31, false), 4);
  files["tree-dunepine.png"] = to_png(pine_tree(37, true), 4);
  files["bush.png"] = to_png(bush(41), 4);
  files["beachgrass.png"] = to_png(beach_grass(43), 4);
  for (int k = 1; k <= 3; ++k) files["fans-" + std::to_string(k) + ".png"] = to_png(crowd(100 + k), 4);
  files["banner-bermline.png"] = to_png(banner("BERMLINE", hex(0x1d4f9a), hex(0xffffff), hex(0xf29a1a), false), 4);
  files["banner-race.png"] = to_png(banner("MOTOCROSS", hex(0xc0282a), hex(0xffffff), hex(0x1a1a1a), false), 4);
  files["banner-moto.png"] = to_png(banner("HOLESHOT", hex(0xf2c21a), hex(0x141414), hex(0x1d4f9a), false), 4);
  files["banner-finish.png"] = to_png(banner("FINISH", hex(0xf4f4f0), hex(0x141414), hex(0xc0282a), true), 4);
  const char* starter_frames[] = {"starter-1.png", "starter-2.png", "starter-3.png", "starter-walk.png",
                                  "starter-done.png"};
  for (int k = 0; k < 5; ++k) files[starter_frames[k]] = to_png(starter(k + 1), 4);
  files["flagger.png"] = to_png(flagger(false), 4);
  files["flagger-caution.png"] = to_png(flagger(true), 4);
  const char* boards[] = {"lapboard.png", "lapboard-halfway.png", "lapboard-last.png", "lapboard-finish.png"};
  for (int k = 0; k < 4; ++k) files[boards[k]] = to_png(lap_board(k), 4);
}

}  // namespace tracks
