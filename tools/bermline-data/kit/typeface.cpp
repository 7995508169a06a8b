#include "kit/typeface.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <cstdio>
#include <map>
#include <memory>
#include <mutex>

namespace kit {

struct Typeface {
  FT_Face face = nullptr;
};

namespace {

constexpr const char* FONT_FOLDERS[] = {"/usr/share/fonts/truetype/dejavu/", "/usr/share/fonts/dejavu/",
                                        "/usr/local/share/fonts/dejavu/"};

// FreeType faces are not safe to share between threads: every use of the
// library goes through this lock (the kit makes files in parallel).
std::mutex& freetype_lock() {
  static std::mutex lock;
  return lock;
}

FT_Library library() {
  static FT_Library shared = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) std::fprintf(stderr, "bermline-data: can't start FreeType\n");
    return lib;
  }();
  return shared;
}

FT_Pos to_26_6(double pixels) { return static_cast<FT_Pos>(std::lround(pixels * 64)); }

bool set_size(Typeface* face, double pixel_size, double stretch, double slant) {
  if (FT_Set_Char_Size(face->face, 0, to_26_6(pixel_size), 72, 72) != 0) return false;
  FT_Matrix matrix;
  matrix.xx = static_cast<FT_Fixed>(std::lround(stretch * 65536));
  matrix.xy = static_cast<FT_Fixed>(std::lround(slant * 65536));
  matrix.yx = 0;
  matrix.yy = 0x10000;
  FT_Set_Transform(face->face, &matrix, nullptr);
  return true;
}

}  // namespace

Typeface* open_typeface(const std::string& file_name) {
  std::lock_guard<std::mutex> hold(freetype_lock());
  static std::map<std::string, std::unique_ptr<Typeface>> opened;
  auto found = opened.find(file_name);
  if (found != opened.end()) return found->second.get();
  if (!library()) return nullptr;
  for (const char* folder : FONT_FOLDERS) {
    FT_Face face = nullptr;
    if (FT_New_Face(library(), (std::string(folder) + file_name).c_str(), 0, &face) == 0) {
      auto typeface = std::make_unique<Typeface>();
      typeface->face = face;
      return (opened[file_name] = std::move(typeface)).get();
    }
  }
  std::fprintf(stderr, "bermline-data: can't find the typeface '%s' (package fonts-dejavu-core)\n",
               file_name.c_str());
  return nullptr;
}

bool render_glyph(Typeface* face, uint32_t code, double pixel_size, Glyph* glyph, double stretch, double slant) {
  std::lock_guard<std::mutex> hold(freetype_lock());
  if (!face || !set_size(face, pixel_size, stretch, slant)) return false;
  FT_UInt index = FT_Get_Char_Index(face->face, code);
  if (index == 0 || FT_Load_Glyph(face->face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) return false;
  FT_GlyphSlot slot = face->face->glyph;
  const FT_Bitmap& bitmap = slot->bitmap;
  glyph->width = static_cast<int>(bitmap.width);
  glyph->height = static_cast<int>(bitmap.rows);
  glyph->left = slot->bitmap_left;
  glyph->top = -slot->bitmap_top;
  glyph->advance = slot->advance.x / 64.0;
  glyph->coverage.assign(static_cast<size_t>(glyph->width) * glyph->height, 0);
  for (int y = 0; y < glyph->height; ++y)
    for (int x = 0; x < glyph->width; ++x)
      glyph->coverage[static_cast<size_t>(y) * glyph->width + x] = bitmap.buffer[y * bitmap.pitch + x];
  return true;
}

void face_extent(Typeface* face, double pixel_size, double* ascender, double* descender) {
  std::lock_guard<std::mutex> hold(freetype_lock());
  *ascender = *descender = 0;
  if (!face || !set_size(face, pixel_size, 1, 0)) return;
  *ascender = face->face->size->metrics.ascender / 64.0;
  *descender = -face->face->size->metrics.descender / 64.0;
}

double text_width(Typeface* face, const std::string& text, const TextStyle& style) {
  double width = 0;
  Glyph glyph;
  for (unsigned char c : text)
    if (render_glyph(face, c, style.size, &glyph, style.stretch, style.slant)) width += glyph.advance + style.spacing;
  return text.empty() ? 0 : width - style.spacing;
}

void draw_text(Image& image, Typeface* face, const std::string& text, double x, double baseline,
               const TextStyle& style, Colour colour) {
  Glyph glyph;
  for (unsigned char c : text) {
    if (!render_glyph(face, c, style.size, &glyph, style.stretch, style.slant)) continue;
    int ox = static_cast<int>(std::lround(x)) + glyph.left, oy = static_cast<int>(std::lround(baseline)) + glyph.top;
    for (int y = 0; y < glyph.height; ++y)
      for (int gx = 0; gx < glyph.width; ++gx) {
        uint8_t cover = glyph.coverage[static_cast<size_t>(y) * glyph.width + gx];
        if (cover) blend(image, ox + gx, oy + y, colour, cover / 255.0f);
      }
    x += glyph.advance + style.spacing;
  }
}

void draw_text_centred(Image& image, Typeface* face, const std::string& text, double cx, double cy,
                       const TextStyle& style, Colour colour) {
  Glyph cap;
  double cap_height = render_glyph(face, 'H', style.size, &cap) ? cap.height : style.size * 0.7;
  draw_text(image, face, text, cx - text_width(face, text, style) / 2, cy + cap_height / 2, style, colour);
}

}  // namespace kit
