// Font pictures in the separator layout the game's text drawing reads
// ("@font.png", "@numbers.png", "@numbers-condensed.png").
#pragma once

#include <string>

#include "kit/image.h"

namespace art {

// `characters` from the DejaVu face `face_file`, at the largest size that
// fits a width x height picture. An empty picture when the face is missing.
kit::Image font_image(const std::string& face_file, const std::string& characters, int width, int height);

// "!" to "~", the characters of "@font.png".
std::string printable_ascii();

}  // namespace art
