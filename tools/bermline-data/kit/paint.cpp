#include "kit/paint.h"

#include <algorithm>
#include <cmath>

#include "kit/noise.h"

namespace kit {

namespace {

// Runs `coverage(px, py)` (signed distance in pixels, negative inside) over
// the bounding box and blends by the resulting coverage.
void fill_sdf(Image& image, double x0, double y0, double x1, double y1,
              const std::function<double(double, double)>& distance, Colour c) {
  int ix0 = std::max(0, static_cast<int>(std::floor(x0)) - 1);
  int iy0 = std::max(0, static_cast<int>(std::floor(y0)) - 1);
  int ix1 = std::min(image.width, static_cast<int>(std::ceil(x1)) + 1);
  int iy1 = std::min(image.height, static_cast<int>(std::ceil(y1)) + 1);
  for (int y = iy0; y < iy1; ++y)
    for (int x = ix0; x < ix1; ++x) {
      double d = distance(x + 0.5, y + 0.5);
      double coverage = std::clamp(0.5 - d, 0.0, 1.0);
      if (coverage > 0) blend(image, x, y, c, static_cast<float>(coverage));
    }
}

double rounded_box_distance(double px, double py, double cx, double cy, double hx, double hy, double r) {
  double qx = std::fabs(px - cx) - (hx - r), qy = std::fabs(py - cy) - (hy - r);
  double ox = std::max(qx, 0.0), oy = std::max(qy, 0.0);
  return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0) - r;
}

double segment_distance(Vec2 p, Vec2 a, Vec2 b) {
  Vec2 ab = b - a, ap = p - a;
  double len2 = ab.x * ab.x + ab.y * ab.y;
  double t = len2 > 0 ? std::clamp((ap.x * ab.x + ap.y * ab.y) / len2, 0.0, 1.0) : 0.0;
  Vec2 d = ap - ab * t;
  return std::sqrt(d.x * d.x + d.y * d.y);
}

}  // namespace

void fill(Image& image, Colour c) { std::fill(image.pixels.begin(), image.pixels.end(), c); }

void fill_rect(Image& image, double x0, double y0, double x1, double y1, Colour c) {
  fill_rounded_rect(image, x0, y0, x1, y1, 0, c);
}

void fill_rounded_rect(Image& image, double x0, double y0, double x1, double y1, double radius, Colour c) {
  double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hx = std::fabs(x1 - x0) / 2, hy = std::fabs(y1 - y0) / 2;
  radius = std::min({radius, hx, hy});
  fill_sdf(image, cx - hx, cy - hy, cx + hx, cy + hy,
           [&](double px, double py) { return rounded_box_distance(px, py, cx, cy, hx, hy, radius); }, c);
}

void fill_circle(Image& image, double cx, double cy, double radius, Colour c) {
  fill_ellipse(image, cx, cy, radius, radius, c);
}

void fill_ellipse(Image& image, double cx, double cy, double rx, double ry, Colour c) {
  double r = std::min(rx, ry);
  fill_sdf(image, cx - rx, cy - ry, cx + rx, cy + ry,
           [&](double px, double py) {
             double dx = (px - cx) / rx, dy = (py - cy) / ry;
             return (std::sqrt(dx * dx + dy * dy) - 1) * r;
           },
           c);
}

void fill_ring(Image& image, double cx, double cy, double inner, double outer, Colour c) {
  fill_sdf(image, cx - outer, cy - outer, cx + outer, cy + outer,
           [&](double px, double py) {
             double d = std::hypot(px - cx, py - cy);
             return std::max(d - outer, inner - d);
           },
           c);
}

void draw_line(Image& image, Vec2 a, Vec2 b, double width, Colour c) {
  double r = width / 2;
  fill_sdf(image, std::min(a.x, b.x) - r, std::min(a.y, b.y) - r, std::max(a.x, b.x) + r, std::max(a.y, b.y) + r,
           [&](double px, double py) { return segment_distance({px, py}, a, b) - r; }, c);
}

void draw_polyline(Image& image, const std::vector<Vec2>& points, double width, Colour c, bool closed) {
  if (points.size() < 2) return;
  double r = width / 2;
  double x0 = points[0].x, x1 = x0, y0 = points[0].y, y1 = y0;
  for (Vec2 p : points) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  size_t segments = closed ? points.size() : points.size() - 1;
  fill_sdf(image, x0 - r, y0 - r, x1 + r, y1 + r,
           [&](double px, double py) {
             double best = 1e30;
             for (size_t i = 0; i < segments; ++i)
               best = std::min(best, segment_distance({px, py}, points[i], points[(i + 1) % points.size()]));
             return best - r;
           },
           c);
}

void fill_polygon(Image& image, const std::vector<Vec2>& points, Colour c) {
  if (points.size() < 3) return;
  double y0 = points[0].y, y1 = y0;
  for (Vec2 p : points) {
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  int iy0 = std::max(0, static_cast<int>(std::floor(y0))), iy1 = std::min(image.height, static_cast<int>(std::ceil(y1)));
  constexpr int SUBROWS = 4;
  std::vector<float> coverage(image.width + 1);
  std::vector<double> crossings;
  for (int y = iy0; y < iy1; ++y) {
    std::fill(coverage.begin(), coverage.end(), 0.0f);
    int x_min = image.width, x_max = -1;
    for (int sub = 0; sub < SUBROWS; ++sub) {
      // Even-odd spans of this sub-row, each adding its exact horizontal
      // overlap with every pixel it crosses.
      double sy = y + (sub + 0.5) / SUBROWS;
      crossings.clear();
      for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
        const Vec2 &a = points[i], &b = points[j];
        if ((a.y > sy) != (b.y > sy)) crossings.push_back(a.x + (sy - a.y) * (b.x - a.x) / (b.y - a.y));
      }
      std::sort(crossings.begin(), crossings.end());
      for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
        double xa = std::clamp(crossings[k], 0.0, double(image.width)), xb = std::clamp(crossings[k + 1], 0.0, double(image.width));
        if (xb <= xa) continue;
        int first = static_cast<int>(xa), last = std::min(image.width - 1, static_cast<int>(xb));
        x_min = std::min(x_min, first);
        x_max = std::max(x_max, last);
        for (int x = first; x <= last; ++x)
          coverage[x] += static_cast<float>((std::min(xb, x + 1.0) - std::max(xa, double(x))) / SUBROWS);
      }
    }
    for (int x = x_min; x <= x_max; ++x)
      if (coverage[x] > 0) blend(image, x, y, c, std::min(1.0f, coverage[x]));
  }
}

void fill_gradient(Image& image, double x0, double y0, double x1, double y1, Colour c0, Colour c1, bool vertical) {
  int ix0 = static_cast<int>(std::floor(x0)), iy0 = static_cast<int>(std::floor(y0));
  int ix1 = static_cast<int>(std::ceil(x1)), iy1 = static_cast<int>(std::ceil(y1));
  shade_rect(image, ix0, iy0, ix1, iy1, [&](double x, double y, Colour& pixel) {
    double t = vertical ? (y - y0) / std::max(1e-9, y1 - y0) : (x - x0) / std::max(1e-9, x1 - x0);
    pixel = over(pixel, mix(c0, c1, static_cast<float>(std::clamp(t, 0.0, 1.0))));
  });
}

void shade_rect(Image& image, int x0, int y0, int x1, int y1,
                const std::function<void(double x, double y, Colour& pixel)>& shade) {
  x0 = std::max(0, x0);
  y0 = std::max(0, y0);
  x1 = std::min(image.width, x1);
  y1 = std::min(image.height, y1);
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) shade(x + 0.5, y + 0.5, image.at(x, y));
}

void add_grain(Image& image, int x0, int y0, int x1, int y1, double amount, double scale, uint32_t seed) {
  shade_rect(image, x0, y0, x1, y1, [&](double x, double y, Colour& pixel) {
    double n = 0.6 * value_noise(x / scale, y / scale, seed) + 0.4 * value_noise(x / 1.3, y / 1.3, seed + 7);
    float f = static_cast<float>(1 + amount * n);
    pixel = {pixel.r * f, pixel.g * f, pixel.b * f, pixel.a};
  });
}

}  // namespace kit
