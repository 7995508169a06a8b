#include "tracks/ground_textures.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <mutex>

#include "kit/noise.h"

namespace tracks {

using namespace kit;

namespace {

constexpr int BORDER = TILE_PIXELS / 16;          // pixels the game never shows
constexpr int PERIOD = TILE_PIXELS - 2 * BORDER;  // pixels of one repeat

double clamp01(double v) { return std::clamp(v, 0.0, 1.0); }

double smoothstep(double a, double b, double x) {
  double t = clamp01((x - a) / (b - a));
  return t * t * (3 - 2 * t);
}

// Noise that repeats once per tile: (u, v) in tile units, `freq` lattice
// cells per tile.
double tile_noise(double u, double v, int freq, uint32_t seed) {
  return value_noise(u * freq, v * freq, seed, freq);
}
double tile_fbm(double u, double v, int freq, int octaves, uint32_t seed) {
  return fbm(u * freq, v * freq, seed, octaves, 0.5, freq);
}

// Value noise stretched along v: `fu` cells across and `fv` cells down
// per tile, repeating with the tile (grass blades, streaks).
double streaks(double u, double v, int fu, int fv, uint32_t seed) {
  double gx = u * fu, gy = v * fv;
  double x0 = std::floor(gx), y0 = std::floor(gy);
  int ix = static_cast<int>(x0), iy = static_cast<int>(y0);
  auto at = [&](int i, int j) {
    uint32_t a = static_cast<uint32_t>(((i % fu) + fu) % fu), b = static_cast<uint32_t>(((j % fv) + fv) % fv);
    return hash01(a, b, seed) * 2 - 1;
  };
  double tx = gx - x0, ty = gy - y0;
  tx = tx * tx * (3 - 2 * tx);
  ty = ty * ty * (3 - 2 * ty);
  double top = at(ix, iy) + (at(ix + 1, iy) - at(ix, iy)) * tx;
  double bottom = at(ix, iy + 1) + (at(ix + 1, iy + 1) - at(ix, iy + 1)) * tx;
  return top + (bottom - top) * ty;
}

// Round spots scattered over a jittered grid of `freq` cells per tile,
// each present with `chance`: returns how much of a spot covers (u, v)
// (soft edged) and which spot (for its shade).
double spots(double u, double v, int freq, double radius, double chance, uint32_t seed, double* shade = nullptr) {
  double gx = u * freq, gy = v * freq;
  int cx = static_cast<int>(std::floor(gx)), cy = static_cast<int>(std::floor(gy));
  double best = 0;
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx) {
      int ix = cx + dx, iy = cy + dy;
      uint32_t hx = static_cast<uint32_t>(((ix % freq) + freq) % freq), hy = static_cast<uint32_t>(((iy % freq) + freq) % freq);
      if (hash01(hx, hy, seed) > chance) continue;
      double px = ix + 0.2 + 0.6 * hash01(hx, hy, seed + 1), py = iy + 0.2 + 0.6 * hash01(hx, hy, seed + 2);
      double r = radius * (0.6 + 0.8 * hash01(hx, hy, seed + 3));
      double d = std::hypot(gx - px, gy - py);
      double cover = smoothstep(r, r * 0.7, d);
      if (cover > best) {
        best = cover;
        if (shade) *shade = hash01(hx, hy, seed + 4);
      }
    }
  return best;
}

// Per-pixel grain that repeats with the tile.
double grain(int x, int y, uint32_t seed) {
  uint32_t px = static_cast<uint32_t>(((x - BORDER) % PERIOD + PERIOD) % PERIOD);
  uint32_t py = static_cast<uint32_t>(((y - BORDER) % PERIOD + PERIOD) % PERIOD);
  return hash01(px, py, seed) * 2 - 1;
}

Colour shade_by(Colour c, double factor) { return scaled(c, static_cast<float>(factor)); }
Colour blend_to(Colour a, Colour b, double t) { return mix(a, b, static_cast<float>(clamp01(t))); }

// ---- one painter per material: colour at tile position (u, v) ------------

Colour loam(double u, double v, int x, int y, uint32_t s) {
  double body = tile_fbm(u, v, 4, 4, s);
  Colour c = blend_to(hex(0x46311f), hex(0x6e4e33), body * 0.6 + 0.5);
  c = blend_to(c, hex(0x866650), smoothstep(0.25, 0.55, tile_fbm(u, v, 2, 3, s + 7)) * 0.5);  // drier patches
  c = shade_by(c, 1 + 0.12 * tile_fbm(u, v, 12, 3, s + 9));  // lumps and hollows
  double tone = 0;
  double clod = spots(u, v, 18, 0.42, 0.35, s + 11, &tone);
  if (clod > 0) {
    double below = spots(u + 0.006, v + 0.006, 18, 0.42, 0.35, s + 11);  // each clod's shadow side
    c = blend_to(c, shade_by(hex(0x5a3f29), 0.8 + 0.45 * tone), clod * 0.85);
    c = blend_to(c, hex(0x2e2014), std::max(0.0, below - clod) * 0.8);
  }
  double stone = spots(u, v, 34, 0.2, 0.18, s + 23, &tone);
  c = blend_to(c, shade_by(hex(0x9a9186), 0.75 + 0.4 * tone), stone);
  double crumb = tile_noise(u, v, 96, s + 5) * 0.6 + tile_noise(u, v, 48, s + 6) * 0.4;
  return shade_by(c, 1 + 0.08 * grain(x, y, s) + 0.1 * crumb);
}

Colour hardpack(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x8c7658), hex(0xa88f6e), tile_fbm(u, v, 3, 4, s) * 0.6 + 0.5);
  double ridge = 1 - std::fabs(tile_fbm(u, v, 5, 2, s + 3));
  c = blend_to(c, hex(0x7a6448), smoothstep(0.975, 0.995, ridge) * 0.6);  // hairline cracks
  double tone = 0;
  double pebble = spots(u, v, 36, 0.22, 0.35, s + 13, &tone);
  c = blend_to(c, shade_by(hex(0x8c8478), 0.85 + 0.3 * tone), pebble);
  c = blend_to(c, hex(0xcdb894), smoothstep(0.3, 0.7, tile_fbm(u, v, 2, 2, s + 17)) * 0.3);  // dusty film
  // Tyre-polished streaks along the direction of travel.
  double polish = std::sin(2 * PI * (u * 7 + 0.5 * tile_noise(u, v, 3, s + 19)));
  c = shade_by(c, 1 + 0.04 * polish);
  return shade_by(c, 1 + 0.06 * grain(x, y, s) + 0.05 * tile_noise(u, v, 64, s + 5));
}

Colour grass(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x3a6224), hex(0x6a8c36), tile_fbm(u, v, 4, 4, s) * 0.6 + 0.5);
  c = blend_to(c, hex(0x9a9c4c), smoothstep(0.35, 0.7, tile_fbm(u, v, 2, 3, s + 9)) * 0.45);  // dry tufts
  // Blades: thin upright streaks of light and shade in two layers.
  double blades = streaks(u, v, 112, 20, s + 21) * 0.65 + streaks(u + 0.37 * v, v, 80, 14, s + 22) * 0.35;
  c = shade_by(c, 1 + 0.3 * blades);
  double dirt = smoothstep(0.5, 0.7, -tile_fbm(u, v, 3, 3, s + 31));
  c = blend_to(c, hex(0x5e4a34), dirt * 0.6);
  return shade_by(c, 1 + 0.08 * grain(x, y, s));
}

Colour mud(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x2a1f16), hex(0x4a3726), tile_fbm(u, v, 4, 4, s) * 0.6 + 0.5);
  // Churned ruts, then a wet shine on their ridges.
  double churn = tile_fbm(u, v, 6, 3, s + 3);
  double ruts = std::sin(2 * PI * (v * 6 + 0.8 * churn));
  c = shade_by(c, 1 + 0.08 * ruts * (0.5 + 0.5 * tile_noise(u, v, 5, s + 4)));
  double shine = smoothstep(0.75, 0.95, ruts * 0.5 + 0.5) * smoothstep(-0.1, 0.5, churn);
  c = blend_to(c, hex(0x7a6a5a), shine * 0.3);
  double tone = 0;
  double clod = spots(u, v, 16, 0.4, 0.3, s + 13, &tone);
  c = blend_to(c, shade_by(hex(0x3a2a1c), 0.8 + 0.4 * tone), clod * 0.7);
  return shade_by(c, 1 + 0.05 * grain(x, y, s));
}

Colour clay(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x6c3f28), hex(0x8e5a3a), tile_fbm(u, v, 4, 4, s) * 0.6 + 0.5);
  double rake = std::sin(2 * PI * (v * 16 + 0.15 * tile_noise(u, v, 4, s + 3)));
  c = shade_by(c, 1 + 0.06 * rake);  // groomed lines
  c = blend_to(c, hex(0x52301e), smoothstep(0.3, 0.6, tile_fbm(u, v, 2, 3, s + 5)) * 0.45);  // watered patches
  double tone = 0;
  double clod = spots(u, v, 28, 0.3, 0.5, s + 9, &tone);
  c = blend_to(c, shade_by(hex(0x5a341f), 0.8 + 0.4 * tone), clod * 0.7);
  return shade_by(c, 1 + 0.06 * grain(x, y, s));
}

Colour sand(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0xc4ad80), hex(0xdcc8a0), tile_fbm(u, v, 3, 4, s) * 0.6 + 0.5);
  double ripple = std::sin(2 * PI * (u * 5 + v * 3 + 0.35 * tile_fbm(u, v, 2, 3, s + 3)));
  c = shade_by(c, 1 + 0.06 * ripple);
  c = blend_to(c, hex(0xa8916a), smoothstep(0.4, 0.7, tile_fbm(u, v, 4, 2, s + 7)) * 0.35);  // churned
  double tone = 0;
  double shell = spots(u, v, 30, 0.15, 0.25, s + 13, &tone);
  c = blend_to(c, shade_by(hex(0xeee4d0), 0.9 + 0.2 * tone), shell * 0.8);
  return shade_by(c, 1 + 0.09 * grain(x, y, s));
}

Colour concrete(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x8e8c86), hex(0xa7a59e), tile_fbm(u, v, 4, 4, s) * 0.6 + 0.5);
  c = blend_to(c, hex(0x75726a), smoothstep(0.35, 0.7, tile_fbm(u, v, 2, 3, s + 3)) * 0.35);  // stains
  double tone = 0;
  double fleck = spots(u, v, 48, 0.18, 0.5, s + 7, &tone);
  c = blend_to(c, tone > 0.5 ? hex(0xc8c6c0) : hex(0x66645e), fleck * 0.6);
  return shade_by(c, 1 + 0.05 * grain(x, y, s));
}

Colour dunegrass(double u, double v, int x, int y, uint32_t s) {
  Colour c = sand(u, v, x, y, s);
  double tone = 0;
  double tuft = spots(u, v, 5, 0.45, 0.8, s + 41, &tone);
  if (tuft > 0) {
    double blades = tile_noise(u + v * 0.4, v, 120, s + 43) * 0.5 + 0.5;
    Colour green = blend_to(hex(0x4e6a30), hex(0x8c9a52), tone);
    c = blend_to(c, shade_by(green, 0.7 + 0.6 * blades), tuft * smoothstep(0.25, 0.6, blades + 0.2));
  }
  return c;
}

Colour wetsand(double u, double v, int x, int y, uint32_t s) {
  Colour c = blend_to(hex(0x8c7a58), hex(0xa8946e), tile_fbm(u, v, 3, 4, s) * 0.6 + 0.5);
  c = blend_to(c, hex(0x74644a), smoothstep(0.2, 0.6, tile_fbm(u, v, 2, 3, s + 5)) * 0.5);  // damp
  double tone = 0;
  double pebble = spots(u, v, 26, 0.2, 0.3, s + 9, &tone);
  c = blend_to(c, shade_by(hex(0xd8ccb4), 0.85 + 0.3 * tone), pebble * 0.7);
  return shade_by(c, 1 + 0.06 * grain(x, y, s));
}

using Painter = Colour (*)(double u, double v, int x, int y, uint32_t seed);

Painter painter_for(Ground g) {
  switch (g) {
    case Ground::Loam: return loam;
    case Ground::Hardpack: return hardpack;
    case Ground::Grass: return grass;
    case Ground::Mud: return mud;
    case Ground::Clay: return clay;
    case Ground::Sand: return sand;
    case Ground::Concrete: return concrete;
    case Ground::DuneGrass: return dunegrass;
    case Ground::WetSand: return wetsand;
  }
  return loam;
}

// Position of a pixel within the repeat, 0..1; pixels a period apart get
// exactly the same position, so they get exactly the same colour.
double tile_u(int x) { return (((x - BORDER) % PERIOD + PERIOD) % PERIOD + 0.5) / PERIOD; }
// Position of a pixel across the tile's shown part, held at its edges.
double across_tile(int x) { return clamp01((x + 0.5 - BORDER) / PERIOD); }

Image paint_material(Ground g, uint32_t seed) {
  Image image(TILE_PIXELS, TILE_PIXELS);
  Painter paint = painter_for(g);
  for (int y = 0; y < TILE_PIXELS; ++y)
    for (int x = 0; x < TILE_PIXELS; ++x) image.at(x, y) = with_alpha(paint(tile_u(x), tile_u(y), x, y, seed), 1);
  return image;
}

// The plain picture of a material with a given seed, painted once.
const Image& material_picture(Ground g, int variant) {
  static std::map<std::pair<int, int>, Image> cache;
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  auto key = std::make_pair(static_cast<int>(g), variant);
  auto found = cache.find(key);
  if (found == cache.end())
    found = cache.emplace(key, paint_material(g, 1000u * (static_cast<uint32_t>(g) + 1) + 17u * variant)).first;
  return found->second;
}

// The ragged edge of a pair's transitions: noise that repeats with the
// tile, the same for all 14 corner patterns of the pair, painted once.
const std::vector<double>& transition_roughness(Ground base, Ground overlay) {
  static std::map<std::pair<int, int>, std::vector<double>> cache;
  static std::mutex lock;
  std::lock_guard<std::mutex> hold(lock);
  auto key = std::make_pair(static_cast<int>(base), static_cast<int>(overlay));
  auto found = cache.find(key);
  if (found != cache.end()) return found->second;
  const uint32_t seed = 7001u + static_cast<uint32_t>(base) * 31u + static_cast<uint32_t>(overlay);
  std::vector<double> rough(static_cast<size_t>(TILE_PIXELS) * TILE_PIXELS);
  for (int y = 0; y < TILE_PIXELS; ++y)
    for (int x = 0; x < TILE_PIXELS; ++x) {
      double u = tile_u(x), v = tile_u(y);
      rough[static_cast<size_t>(y) * TILE_PIXELS + x] = 0.28 * tile_fbm(u, v, 4, 3, seed) + 0.06 * tile_noise(u, v, 24, seed + 1);
    }
  return cache.emplace(key, std::move(rough)).first->second;
}

// Distance of a tile position from the nearest tile edge, wrapped.
double edge_distance(double u) {
  double f = u - std::floor(u);
  return std::min(f, 1 - f);
}

}  // namespace

Image tile_picture(const TileKind& kind) {
  const Image& plain = material_picture(kind.base, 0);
  if (kind.overlay == kind.base && kind.variant == 0) return plain;
  Image out(TILE_PIXELS, TILE_PIXELS);
  if (kind.variant > 0) {
    // The variant shows its own ground inside a frame that is the plain tile.
    const Image& other = material_picture(kind.base, kind.variant);
    for (int y = 0; y < TILE_PIXELS; ++y)
      for (int x = 0; x < TILE_PIXELS; ++x) {
        double inner = smoothstep(0.04, 0.2, std::min(edge_distance(tile_u(x)), edge_distance(tile_u(y))));
        out.at(x, y) = inner <= 0 ? plain.at(x, y) : mix(plain.at(x, y), other.at(x, y), static_cast<float>(inner));
      }
    return out;
  }
  // Transition: the overlay's share is the bilinear blend of the corners,
  // roughened by noise that repeats with the tile, so each edge depends only
  // on its own two corners.
  const Image& top = material_picture(kind.overlay, 0);
  auto corner = [&](int bit) { return (kind.mask & bit) ? 1.0 : 0.0; };
  const double c00 = corner(8), c10 = corner(4), c01 = corner(2), c11 = corner(1);
  const std::vector<double>& rough = transition_roughness(kind.base, kind.overlay);
  for (int y = 0; y < TILE_PIXELS; ++y)
    for (int x = 0; x < TILE_PIXELS; ++x) {
      double fu = across_tile(x), fv = across_tile(y);
      double share = (c00 * (1 - fu) + c10 * fu) * (1 - fv) + (c01 * (1 - fu) + c11 * fu) * fv;
      double t = smoothstep(0.42, 0.58, share + rough[static_cast<size_t>(y) * TILE_PIXELS + x]);
      // Wholly one or the other takes that picture's pixel as it is.
      out.at(x, y) = t <= 0 ? plain.at(x, y) : t >= 1 ? top.at(x, y) : mix(plain.at(x, y), top.at(x, y), static_cast<float>(t));
    }
  return out;
}

}  // namespace tracks
