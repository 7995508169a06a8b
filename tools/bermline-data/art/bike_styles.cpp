#include "art/bike_styles.h"

namespace art {

namespace {

using kit::Colour;
using kit::hex;

const Colour WHITE = hex(0xF2F2EE), BLACK = hex(0x1A1A1C), SILVER = hex(0xB9BDC2), DARK = hex(0x2A2C30);

// Factory colours, a dark team scheme and a white scheme for one make.
std::vector<Livery> liveries(Colour brand, Colour second, Colour seat_top, Colour frame, Colour trim) {
  return {
      {brand, second, trim, WHITE, BLACK, seat_top, frame, 0},
      {BLACK, brand, brand, WHITE, BLACK, brand, DARK, 1},
      {WHITE, brand, brand, trim, brand, BLACK, frame, 2},
  };
}

std::vector<BikeStyle> make_styles() {
  const Colour red = hex(0xD0161E), lime = hex(0x72BF1E), yellow = hex(0xF5C400), blue = hex(0x1C3FA8),
               orange = hex(0xF26B0F), cyan = hex(0x18A8D8), navy = hex(0x14245C);
  std::vector<BikeStyle> styles;
  auto add = [&](std::string prefix, std::string texture, bool two_stroke, std::string label, double sweep,
                 double kick, uint32_t seed, std::vector<Livery> schemes) {
    BikeStyle s;
    s.model_prefix = std::move(prefix);
    s.texture_prefix = std::move(texture);
    s.two_stroke = two_stroke;
    s.label = std::move(label);
    s.shroud_sweep = sweep;
    s.fork_colour = schemes[0].plastic.b > 0.5f ? hex(0x5A6C8A) : hex(0xC8A050);
    s.spring_colour = schemes[0].plastic.b > 0.5f ? hex(0x2A3C9A) : schemes[0].plastic;
    s.fender_kick = kick;
    s.seed = seed;
    s.liveries = std::move(schemes);
    styles.push_back(s);
  };
  add("crf250", "crf250", false, "250R", 0.2, 0.3, 11, liveries(red, WHITE, red, SILVER, BLACK));
  add("kx250f", "kx250f", false, "250F", -0.3, 0.1, 12, liveries(lime, lime, lime, SILVER, BLACK));
  add("rmz250", "rmz250", false, "250Z", 0.5, -0.2, 13, liveries(yellow, yellow, blue, SILVER, blue));
  add("yz250f", "yz250f", false, "250F", -0.1, 0.4, 14, liveries(blue, WHITE, blue, SILVER, cyan));
  add("cr125", "cr125", true, "125R", 0.3, 0.2, 15, liveries(red, WHITE, red, SILVER, BLACK));
  add("kx125", "kx125", true, "125", -0.4, 0, 16, liveries(lime, lime, lime, SILVER, BLACK));
  add("rm125", "rm125", true, "125", 0.6, -0.3, 17, liveries(yellow, yellow, blue, SILVER, blue));
  add("yz125", "yz125", true, "125", 0, 0.5, 18, liveries(blue, WHITE, blue, SILVER, cyan));
  add("125sx", "125sx", true, "125 SX", -0.6, -0.1, 19, liveries(orange, WHITE, orange, orange, BLACK));
  styles.back().tube_frame = true;
  styles.back().fork_colour = hex(0xE05A10);
  styles.back().spring_colour = hex(0xE05A10);
  // The special edition: white and black with cyan over the "yz250f" models.
  add("yz250f", "yz250f_se", false, "250F SE", -0.1, 0.4, 20,
      {{WHITE, BLACK, cyan, navy, BLACK, cyan, SILVER, 2},
       {navy, WHITE, cyan, WHITE, BLACK, navy, DARK, 0},
       {cyan, WHITE, navy, WHITE, navy, BLACK, SILVER, 1}});
  return styles;
}

}  // namespace

const std::vector<BikeStyle>& bike_styles() {
  static const std::vector<BikeStyle> styles = make_styles();
  return styles;
}

std::vector<std::string> bike_model_prefixes() {
  std::vector<std::string> out;
  for (const BikeStyle& s : bike_styles())
    if (s.model_prefix == s.texture_prefix) out.push_back(s.model_prefix);
  return out;
}

std::string bike_texture_name(const BikeStyle& style, size_t livery) {
  return "@" + style.texture_prefix + (livery == 0 ? "" : "-alt" + std::to_string(livery)) + ".png";
}

}  // namespace art
