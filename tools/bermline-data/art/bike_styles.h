// The bikes the data kit draws: one style per model prefix (shape and
// engine) and per texture prefix (colour schemes, or liveries).
#pragma once

#include <string>
#include <vector>

#include "kit/image.h"

namespace art {

// The colours of one bike texture.
struct Livery {
  kit::Colour plastic;      // fenders, shrouds, tank
  kit::Colour plastic_alt;  // side panels and rear fender
  kit::Colour accent;       // main graphic colour
  kit::Colour accent2;      // second graphic colour
  kit::Colour seat;         // seat cover sides
  kit::Colour seat_top;     // seat cover top panel
  kit::Colour frame;        // frame finish
  int graphic = 0;          // which graphic pattern (0..2)
};

// One model prefix: its shape and engine, and the texture files it owns.
struct BikeStyle {
  std::string model_prefix;    // models: "@<model_prefix>_frame.jm" ...
  std::string texture_prefix;  // textures: "@<texture_prefix>.png", "-alt1", "-alt2"
  bool two_stroke = false;
  bool tube_frame = false;     // round steel tubes instead of aluminium beams
  std::string label;           // class lettering on the shrouds ("250F", "125")
  kit::Colour fork_colour;     // outer fork tubes
  kit::Colour spring_colour;   // shock spring
  double shroud_sweep = 0;     // small shape differences between makes, -1..1
  double fender_kick = 0;
  uint32_t seed = 0;           // texture grain
  std::vector<Livery> liveries;  // default, alt1, alt2
};

// Every bike texture the game can ask for: the nine model prefixes plus
// "yz250f_se" (its own texture over the "yz250f" models).
const std::vector<BikeStyle>& bike_styles();

// Model prefixes that own model files (the styles whose texture prefix is
// their model prefix).
std::vector<std::string> bike_model_prefixes();

// "@crf250.png", "@crf250-alt1.png", ...: the texture file of a livery.
std::string bike_texture_name(const BikeStyle& style, size_t livery);

}  // namespace art
