// Anti-aliased drawing on an Image, in pixel coordinates (x right, y down;
// pixel (i, j) covers i..i+1, j..j+1). Shapes blend over what is there.
#pragma once

#include <functional>
#include <vector>

#include "kit/image.h"
#include "kit/vec.h"

namespace kit {

void fill(Image& image, Colour c);
void fill_rect(Image& image, double x0, double y0, double x1, double y1, Colour c);
void fill_rounded_rect(Image& image, double x0, double y0, double x1, double y1, double radius, Colour c);
void fill_circle(Image& image, double cx, double cy, double radius, Colour c);
void fill_ellipse(Image& image, double cx, double cy, double rx, double ry, Colour c);
// The band between two radii.
void fill_ring(Image& image, double cx, double cy, double inner, double outer, Colour c);
// A straight stroke with round ends.
void draw_line(Image& image, Vec2 a, Vec2 b, double width, Colour c);
// A polyline stroke (round joints).
void draw_polyline(Image& image, const std::vector<Vec2>& points, double width, Colour c, bool closed = false);
// A filled polygon (even-odd rule): four sub-rows per pixel row, each
// with exact horizontal coverage.
void fill_polygon(Image& image, const std::vector<Vec2>& points, Colour c);

// Linear gradient between two colours across a rectangle; `vertical` runs
// from top (c0) to bottom (c1), otherwise from left to right.
void fill_gradient(Image& image, double x0, double y0, double x1, double y1, Colour c0, Colour c1, bool vertical);

// Calls `shade` for every pixel of the rectangle (clipped to the image) with
// the pixel centre; it changes the pixel in place.
void shade_rect(Image& image, int x0, int y0, int x1, int y1,
                const std::function<void(double x, double y, Colour& pixel)>& shade);

// Multiplies the RGB of every pixel of the rectangle by 1 + amount * noise
// (fine grain: value noise at `scale` pixels plus per-pixel speckle).
void add_grain(Image& image, int x0, int y0, int x1, int y1, double amount, double scale, uint32_t seed);

}  // namespace kit
