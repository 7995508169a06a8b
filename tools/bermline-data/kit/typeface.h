// Text drawn from a real typeface (the DejaVu family through FreeType) when
// the data is built: fonts, number boards, decals and banners. Safe to
// use from several threads.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kit/image.h"

namespace kit {

struct Typeface;

// The face in the system's DejaVu folder ("DejaVuSans-Bold.ttf"), opened
// once and kept; null (after a message) when it is missing.
Typeface* open_typeface(const std::string& file_name);

// One rendered glyph: coverage 0..255, `left`/`top` from the pen position
// to the bitmap's top-left corner (y down), advance in pixels.
struct Glyph {
  int width = 0, height = 0, left = 0, top = 0;
  double advance = 0;
  std::vector<uint8_t> coverage;
};

// Renders a character at `pixel_size` (the em height), stretched
// horizontally by `stretch` and slanted by `slant` (x shift per unit of
// height, for italics). False when the face has no such character.
bool render_glyph(Typeface* face, uint32_t code, double pixel_size, Glyph* glyph, double stretch = 1,
                  double slant = 0);

// Ascender and descender of the face at a size, in pixels (both positive).
void face_extent(Typeface* face, double pixel_size, double* ascender, double* descender);

struct TextStyle {
  double size = 32;     // em height in pixels
  double stretch = 1;   // horizontal scale
  double slant = 0;     // italic shear
  double spacing = 0;   // extra pixels between letters
};

double text_width(Typeface* face, const std::string& text, const TextStyle& style);
// Draws `text` with its baseline starting at (x, baseline).
void draw_text(Image& image, Typeface* face, const std::string& text, double x, double baseline,
               const TextStyle& style, Colour colour);
// Draws `text` centred on (cx, cy): the cap height is centred vertically.
void draw_text_centred(Image& image, Typeface* face, const std::string& text, double cx, double cy,
                       const TextStyle& style, Colour colour);

}  // namespace kit
