#include "kit/noise.h"

#include <cmath>

namespace kit {

uint32_t hash32(uint32_t a, uint32_t b, uint32_t c) {
  uint32_t h = a * 0x9E3779B1u ^ (b + 0x7F4A7C15u) * 0x85EBCA77u ^ (c + 0x165667B1u) * 0xC2B2AE3Du;
  h ^= h >> 15;
  h *= 0x2C1B3C6Du;
  h ^= h >> 12;
  h *= 0x297A2D39u;
  h ^= h >> 15;
  return h;
}

double hash01(uint32_t a, uint32_t b, uint32_t c) { return hash32(a, b, c) / 4294967295.0; }

namespace {
double lattice(int x, int y, uint32_t seed, int period) {
  if (period > 0) {
    x = ((x % period) + period) % period;
    y = ((y % period) + period) % period;
  }
  return hash01(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) * 2 - 1;
}

double smooth(double t) { return t * t * t * (t * (t * 6 - 15) + 10); }
}  // namespace

double value_noise(double x, double y, uint32_t seed, int period) {
  double fx = std::floor(x), fy = std::floor(y);
  int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
  double tx = smooth(x - fx), ty = smooth(y - fy);
  double a = lattice(ix, iy, seed, period), b = lattice(ix + 1, iy, seed, period);
  double c = lattice(ix, iy + 1, seed, period), d = lattice(ix + 1, iy + 1, seed, period);
  double top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

double fbm(double x, double y, uint32_t seed, int octaves, double gain, int period) {
  double sum = 0, amplitude = 1, total = 0;
  for (int i = 0; i < octaves; ++i) {
    sum += amplitude * value_noise(x, y, seed + 101u * i, period);
    total += amplitude;
    amplitude *= gain;
    x *= 2;
    y *= 2;
    if (period > 0) period *= 2;
  }
  return total > 0 ? sum / total : 0;
}

uint32_t Dice::next() {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}

double Dice::uniform(double low, double high) { return low + (high - low) * (next() / 4294967296.0); }

int Dice::below(int n) { return n > 0 ? static_cast<int>(next() % static_cast<uint32_t>(n)) : 0; }

}  // namespace kit
