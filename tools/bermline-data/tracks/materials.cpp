#include "tracks/materials.h"

#include <algorithm>
#include <cstdio>

namespace tracks {

namespace {

// What wheels throw, by material. Clods fly with the tyre's slip, dust hangs
// and fades slowly, mud also splashes to both sides.
const char* const LOAM_CLODS =
    "count=0.9 dig=1.5 slip_threshold=5 slow_angle=1.2 fast_angle=0.3 fast_speed=70 size=0.22 grow=0.6 "
    "drag=0.4 vscale=0.9 randomize=5 r=92 g=68 b=48 a=255 fade_a=-160";
const char* const LOAM_DUST =
    "count=0.25 dig=0 slip_threshold=8 slow_angle=0.8 fast_angle=0.2 size=0.6 grow=4 drag=2.5 vscale=0.35 "
    "randomize=3 texture=@roost-dust.png r=150 g=125 b=98 a=80 fade_a=-60";
const char* const HARDPACK_DUST =
    "count=0.8 dig=0.2 slip_threshold=6 slow_angle=0.9 fast_angle=0.25 size=0.7 grow=6 drag=2.2 vscale=0.4 "
    "randomize=4 texture=@roost-dust.png r=196 g=176 b=145 a=110 fade_a=-70";
const char* const HARDPACK_CHIPS =
    "count=0.3 dig=0.3 slip_threshold=10 slow_angle=0.6 fast_angle=0.2 size=0.12 grow=0.2 drag=0.3 vscale=0.8 "
    "randomize=4 r=150 g=130 b=105 a=255 fade_a=-200";
const char* const GRASS_CLUMPS =
    "count=0.6 dig=0.6 slip_threshold=7 slow_angle=1.0 fast_angle=0.3 size=0.25 grow=0.5 drag=0.6 vscale=0.7 "
    "randomize=4 r=78 g=92 b=44 a=255 fade_a=-180";
const char* const MUD_CLODS =
    "count=1 dig=2 slip_threshold=4 slow_angle=1.4 fast_angle=0.35 fast_speed=60 size=0.3 grow=0.4 drag=0.3 "
    "vscale=0.8 randomize=4 r=58 g=44 b=32 a=255 fade_a=-120";
const char* const MUD_SPLASH =
    "splash=1 count=0.8 dig=0 texture=@roost-splash.png size=0.35 grow=2.5 drag=1.2 vscale=0.7 randomize=4 "
    "r=150 g=140 b=125 a=220 fade_a=-200";
const char* const CLAY_CLODS =
    "count=0.9 dig=1.2 slip_threshold=5 slow_angle=1.2 fast_angle=0.3 fast_speed=70 size=0.2 grow=0.5 "
    "drag=0.4 vscale=0.9 randomize=5 r=122 g=80 b=56 a=255 fade_a=-160";
const char* const SAND_SPRAY =
    "count=1 dig=3 slip_threshold=3 slow_angle=1.6 fast_angle=0.45 fast_speed=60 size=0.18 grow=1.2 drag=0.6 "
    "vscale=1.1 randomize=7 r=214 g=192 b=150 a=255 fade_a=-150";
const char* const SAND_HAZE =
    "count=0.6 dig=0 slip_threshold=5 slow_angle=1.2 fast_angle=0.3 size=0.8 grow=5 drag=2 vscale=0.45 "
    "randomize=4 texture=@roost-dust.png r=222 g=205 b=170 a=90 fade_a=-55";
const char* const WETSAND_CLODS =
    "count=0.8 dig=1.5 slip_threshold=4 slow_angle=1.3 fast_angle=0.35 size=0.22 grow=0.5 drag=0.4 vscale=0.9 "
    "randomize=5 r=150 g=128 b=95 a=255 fade_a=-150";
const char* const CONCRETE_DUST =
    "count=0.15 dig=0 slip_threshold=12 slow_angle=0.5 fast_angle=0.2 size=0.5 grow=4 drag=3 vscale=0.3 "
    "randomize=2 texture=@roost-dust.png r=180 g=178 b=170 a=60 fade_a=-80";

const std::vector<GroundMaterialSpec>& catalogue() {
  static const std::vector<GroundMaterialSpec> specs = {
      {Ground::Loam, "loam", {1.10, 1.00, 0.90}, {{{4, 12}, {6, 18}}}, {LOAM_CLODS, LOAM_DUST}},
      {Ground::Hardpack, "hardpack", {0.85, 0.72, 0.62}, {{{3, 7}, {4, 9}}}, {HARDPACK_DUST, HARDPACK_CHIPS}},
      {Ground::Grass, "grass", {0.78, 0.66, 0.58}, {{{7, 16}, {9, 22}}}, {GRASS_CLUMPS, LOAM_DUST}},
      {Ground::Mud, "mud", {0.62, 0.52, 0.46}, {{{8, 34}, {12, 46}}}, {MUD_CLODS, MUD_SPLASH}},
      {Ground::Clay, "clay", {1.05, 0.96, 0.86}, {{{4, 11}, {6, 16}}}, {CLAY_CLODS, LOAM_DUST}},
      {Ground::Sand, "sand", {0.90, 0.82, 0.76}, {{{9, 44}, {14, 62}}}, {SAND_SPRAY, SAND_SPRAY, SAND_HAZE}},
      {Ground::Concrete, "concrete", {1.15, 1.05, 0.95}, {{{2, 4}, {3, 5}}}, {CONCRETE_DUST}},
      {Ground::DuneGrass, "dunegrass", {0.85, 0.76, 0.68}, {{{8, 32}, {12, 44}}}, {SAND_SPRAY, GRASS_CLUMPS}},
      {Ground::WetSand, "wetsand", {0.98, 0.90, 0.82}, {{{5, 18}, {7, 24}}}, {WETSAND_CLODS, SAND_HAZE}},
  };
  return specs;
}

const double FRICTION_SPEEDS[3] = {2, 15, 40};
const double ROLL_SPEEDS[2] = {1, 60};

int overlay_corners(int mask) { return ((mask >> 3) & 1) + ((mask >> 2) & 1) + ((mask >> 1) & 1) + (mask & 1); }

}  // namespace

const GroundMaterialSpec& material_spec(Ground ground) {
  for (const GroundMaterialSpec& spec : catalogue())
    if (spec.ground == ground) return spec;
  return catalogue().front();
}

std::string TileKind::texture_name() const {
  std::string name = material_spec(base).name;
  if (variant > 0) return name + "-alt" + std::to_string(variant) + ".png";
  if (overlay == base) return name + ".png";
  char mask_digits[5];
  std::snprintf(mask_digits, sizeof mask_digits, "%d%d%d%d", (mask >> 3) & 1, (mask >> 2) & 1, (mask >> 1) & 1,
                mask & 1);
  return name + "-" + material_spec(overlay).name + "-" + mask_digits + ".png";
}

std::vector<TileKind> tile_kinds(const std::vector<Ground>& materials) {
  std::vector<TileKind> kinds;
  // Plain tiles first: transition names find their materials by the first
  // kind of that name.
  for (Ground g : materials) kinds.push_back({g, g, 0, 0});
  for (Ground g : materials)
    for (int v = 1; v <= TILE_VARIANTS; ++v) kinds.push_back({g, g, 0, v});
  // One transition set per pair, the earlier material of the catalogue as
  // the base, so two tracks sharing a pair share its tiles.
  std::vector<Ground> ordered = materials;
  std::sort(ordered.begin(), ordered.end());
  for (size_t a = 0; a < ordered.size(); ++a)
    for (size_t b = a + 1; b < ordered.size(); ++b)
      for (int mask = 1; mask < 15; ++mask) kinds.push_back({ordered[a], ordered[b], mask, 0});
  return kinds;
}

std::string tileinfo_file(const std::vector<TileKind>& kinds) {
  std::string out;
  char line[256];
  for (const TileKind& kind : kinds) {
    const GroundMaterialSpec& base = material_spec(kind.base);
    const GroundMaterialSpec& overlay = material_spec(kind.overlay);
    // A transition rides like a mix of its corners; it throws what most of
    // it is made of.
    double share = overlay_corners(kind.mask) / 4.0;
    out += "texture @" + kind.texture_name() + "\n";
    for (int k = 0; k < 3; ++k) {
      double value = base.friction[k] + (overlay.friction[k] - base.friction[k]) * share;
      std::snprintf(line, sizeof line, "friction %.3f %.0f\n", value, FRICTION_SPEEDS[k]);
      out += line;
    }
    for (int k = 0; k < 2; ++k) {
      double a = base.roll[k][0] + (overlay.roll[k][0] - base.roll[k][0]) * share;
      double b = base.roll[k][1] + (overlay.roll[k][1] - base.roll[k][1]) * share;
      std::snprintf(line, sizeof line, "roll_resist %.2f %.2f %.0f\n", a, b, ROLL_SPEEDS[k]);
      out += line;
    }
    const GroundMaterialSpec& thrower = share > 0.5 ? overlay : base;
    for (const std::string& roost : thrower.roost) out += "roost " + roost + "\n";
    out += "addtile\n";
  }
  return out;
}

}  // namespace tracks
