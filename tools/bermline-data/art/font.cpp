// The text fonts, drawn from DejaVu when the data is built.
//
// Layout the game reads: the top-left pixel's colour is the separator.
// Rows whose left pixel has it separate bands of glyphs; within a band,
// columns whose pixel in the band's top row has it separate glyphs, taken
// left to right and band after band in character order. A glyph spans from
// its first column to the next separator column and over its band's
// height, and advances by its width over that height, so each cell is the
// character's advance wide. Glyphs are white with their coverage as alpha,
// so the game can colour them.
#include "art/font.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "kit/typeface.h"

namespace art {

namespace {

const kit::Colour SEPARATOR{1, 0, 1, 1};
const kit::Colour CLEAR{1, 1, 1, 0};

struct Cell {
  kit::Glyph glyph;
  int width = 0;   // advance, widened to hold the whole glyph
  int offset = 0;  // where the pen starts inside the cell
};

struct Layout {
  std::vector<Cell> cells;
  int band_height = 0, ascender = 0;
  std::vector<std::pair<int, int>> origins;  // top-left of each cell
  bool fits = false;
};

Layout lay_out(kit::Typeface* face, const std::string& characters, double size, int width, int height) {
  Layout layout;
  double ascender, descender;
  kit::face_extent(face, size, &ascender, &descender);
  layout.ascender = static_cast<int>(std::ceil(ascender));
  layout.band_height = layout.ascender + static_cast<int>(std::ceil(descender)) + 1;
  int x = 0, top = 1;  // row 0 separates
  for (unsigned char c : characters) {
    Cell cell;
    if (!kit::render_glyph(face, c, size, &cell.glyph)) return layout;
    int advance = static_cast<int>(std::lround(cell.glyph.advance));
    cell.offset = std::max(0, -cell.glyph.left);
    cell.width = std::max(advance + cell.offset, cell.offset + cell.glyph.left + cell.glyph.width);
    if (x + cell.width + 1 > width) {  // next band
      x = 0;
      top += layout.band_height + 1;
    }
    layout.origins.push_back({x, top});
    layout.cells.push_back(cell);
    x += cell.width + 1;
  }
  layout.fits = top + layout.band_height + 1 <= height;
  return layout;
}

}  // namespace

kit::Image font_image(const std::string& face_file, const std::string& characters, int width, int height) {
  kit::Typeface* face = kit::open_typeface(face_file);
  kit::Image image(width, height, SEPARATOR);
  if (!face) return {};
  // The largest whole pixel size whose layout fits (halving the range).
  int low = 4, high = height;
  while (low < high) {
    int middle = (low + high + 1) / 2;
    if (lay_out(face, characters, middle, width, height).fits)
      low = middle;
    else
      high = middle - 1;
  }
  Layout layout = lay_out(face, characters, low, width, height);
  if (!layout.fits) return {};
  for (size_t i = 0; i < layout.cells.size(); ++i) {
    const Cell& cell = layout.cells[i];
    auto [x0, y0] = layout.origins[i];
    for (int y = 0; y < layout.band_height; ++y)
      for (int x = 0; x < cell.width; ++x) image.at(x0 + x, y0 + y) = CLEAR;
    const kit::Glyph& g = cell.glyph;
    int gx0 = x0 + cell.offset + g.left, gy0 = y0 + layout.ascender + g.top;
    for (int y = 0; y < g.height; ++y)
      for (int x = 0; x < g.width; ++x) {
        int px = gx0 + x, py = gy0 + y;
        if (px < x0 || px >= x0 + cell.width || py < y0 || py >= y0 + layout.band_height) continue;
        image.at(px, py).a = g.coverage[static_cast<size_t>(y) * g.width + x] / 255.0f;
      }
  }
  return image;
}

std::string printable_ascii() {
  std::string characters;
  for (int c = '!'; c <= '~'; ++c) characters += static_cast<char>(c);
  return characters;
}

}  // namespace art
