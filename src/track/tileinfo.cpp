// The tileinfo reader: keywords texture, friction, roll_resist, roost and
// addtile, line by line; every problem is a warning and reading goes on.
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/messages.h"
#include "core/units.h"
#include "data/data_file.h"
#include "data/texture_cache.h"
#include "track/terrain.h"
#include "track/text_scan.h"
#include "track/tile_kinds.h"

namespace {

// The kind being read, before its addtile.
struct KindBuilder {
  TileMaterial material = default_tile_material();
  int friction_points = 0;
  int roll_points = 0;
  int roost_types = 0;
  int texture = 0;
  std::string name;
};

RoostType default_roost_type() {
  RoostType type;
  type.mode = 1;
  type.texture = LoadTexture("@roost.png");
  return type;
}

void add_friction(KindBuilder* kind, const std::string& argument) {
  float value, speed;
  if (scan_text(argument, "%f %f", &value, &speed) != 2 || !all_finite({value, speed})) {
    post_message("tileinfo warning: bad friction parameters\n");
    return;
  }
  if (kind->friction_points >= MATERIAL_POINTS) {
    post_message("tileinfo warning: too many friction points\n");
    return;
  }
  int p = kind->friction_points++;
  kind->material.friction_value[p] = value < 0.0f ? 0.0f : value;
  kind->material.friction_speed[p] = speed < MATERIAL_MIN_SPEED ? MATERIAL_MIN_SPEED : speed;
}

void add_roll_resist(KindBuilder* kind, const std::string& argument) {
  float a, b, speed;
  if (scan_text(argument, "%f %f %f", &a, &b, &speed) != 3 || !all_finite({a, b, speed})) {
    post_message("tileinfo warning: bad roll_resist parameters\n");
    return;
  }
  if (kind->roll_points >= MATERIAL_POINTS) {
    post_message("tileinfo warning: too many roll_resist points\n");
    return;
  }
  int p = kind->roll_points++;
  kind->material.roll_a[p] = a <= 0.0f ? 0.0f : a;
  kind->material.roll_b[p] = b < 0.0f ? 0.0f : b;
  kind->material.roll_speed[p] = speed < MATERIAL_MIN_SPEED ? MATERIAL_MIN_SPEED : speed;
}

// Splits roost parameters at white space (and backspace); double quotes
// keep separators inside a token and are removed.
std::vector<std::string> roost_tokens(const std::string& argument) {
  std::vector<std::string> tokens;
  std::string token;
  bool in_token = false, quoted = false;
  for (char c : argument) {
    bool separator = c == ' ' || c == '\f' || c == '\n' || c == '\r' || c == '\t' || c == '\b';
    if (c == '"') {
      quoted = !quoted;
      in_token = true;
    } else if (separator && !quoted) {
      if (in_token) tokens.push_back(token);
      token.clear();
      in_token = false;
    } else {
      token += c;
      in_token = true;
    }
  }
  if (in_token) tokens.push_back(token);
  return tokens;
}

// Decimal floating-point text (sign, digits, fraction, exponent); false
// when no finite number can be read, with *value 0.
bool parse_decimal(const std::string& text, double* value) {
  *value = 0.0;
  const char* begin = text.c_str();
  const char* end = begin + text.size();
  bool negative = false;
  if (begin < end && (*begin == '+' || *begin == '-')) negative = *begin++ == '-';
  if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.')) return false;
  double parsed = 0.0;
  auto result = std::from_chars(begin, end, parsed, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(parsed)) return false;
  *value = negative ? -parsed : parsed;
  return true;
}

// The low byte of the value as a 16-bit integer (out-of-range values give 0).
uint8_t low_byte(double value) {
  long long whole = std::fabs(value) < 1e18 ? static_cast<long long>(value) : 0;
  return static_cast<uint8_t>(whole & 0xFF);
}

void set_roost_parameter(RoostType* type, const std::string& token) {
  size_t equals = token.find('=');
  std::string name = token.substr(0, equals);
  std::string text = equals == std::string::npos ? std::string() : token.substr(equals + 1);
  if (equals != std::string::npos && name == "texture") {
    type->texture = LoadTexture(text.c_str());
    return;
  }
  double value;
  bool ok = parse_decimal(text, &value);
  if (equals != std::string::npos && name == "splash") {
    if (value != 0.0) type->mode = 2;
    return;
  }
  struct FloatField {
    const char* name;
    float RoostType::*field;
  };
  static const FloatField floats[] = {
      {"count", &RoostType::count},           {"dig", &RoostType::dig},
      {"slip_threshold", &RoostType::slip_threshold}, {"slow_angle", &RoostType::slow_angle},
      {"fast_angle", &RoostType::fast_angle}, {"slow_speed", &RoostType::slow_speed},
      {"fast_speed", &RoostType::fast_speed}, {"size", &RoostType::size},
      {"grow", &RoostType::grow},             {"drag", &RoostType::drag},
      {"vscale", &RoostType::vscale},         {"randomize", &RoostType::randomize},
  };
  struct ByteField {
    const char* name;
    uint8_t RoostType::*field;
  };
  static const ByteField colours[] = {{"r", &RoostType::r}, {"g", &RoostType::g}, {"b", &RoostType::b}, {"a", &RoostType::a}};
  struct FadeField {
    const char* name;
    int8_t RoostType::*field;
  };
  static const FadeField fades[] = {{"fade_r", &RoostType::fade_r}, {"fade_g", &RoostType::fade_g},
                                    {"fade_b", &RoostType::fade_b}, {"fade_a", &RoostType::fade_a}};
  if (equals != std::string::npos) {
    for (const FloatField& f : floats) {
      if (name != f.name) continue;
      type->*f.field = static_cast<float>(value);
      if (!ok) post_message("tileinfo warning: bad %s\n", f.name);
      return;
    }
    for (const ByteField& f : colours) {
      if (name != f.name) continue;
      type->*f.field = low_byte(value);
      if (!ok) post_message("tileinfo warning: bad %s\n", f.name);
      return;
    }
    for (const FadeField& f : fades) {
      if (name != f.name) continue;
      // Per second in the file, per simulation tick in memory.
      type->*f.field = static_cast<int8_t>(low_byte(value * dt));
      if (!ok) post_message("tileinfo warning: bad %s\n", f.name);
      return;
    }
  }
  post_message("tileinfo warning: unknown roost parameter '%.40s'\n", token.c_str());
}

void add_roost(KindBuilder* kind, const std::string& argument) {
  if (kind->roost_types >= ROOST_TYPES_PER_KIND) {
    post_message("tileinfo warning: too many roost types\n");
    return;
  }
  RoostType type = default_roost_type();
  for (const std::string& token : roost_tokens(argument)) set_roost_parameter(&type, token);
  kind->material.roost[kind->roost_types++] = type;
}

// Orders the first `count` points by speed; the other arrays move along.
void sort_points(int count, float* speed, float* a, float* b) {
  for (int p = 0; p + 1 < count; ++p) {
    for (int q = p + 1; q < count; ++q) {
      if (speed[q] < speed[p]) {
        std::swap(speed[p], speed[q]);
        std::swap(a[p], a[q]);
        if (b) std::swap(b[p], b[q]);
      }
    }
  }
}

void finish_kind(Terrain& t, KindBuilder* kind) {
  TileMaterial& m = kind->material;
  sort_points(kind->friction_points, m.friction_speed, m.friction_value, nullptr);
  sort_points(kind->roll_points, m.roll_speed, m.roll_a, m.roll_b);
  size_t k = static_cast<size_t>(t.tile_count++);
  t.materials[k] = m;
  t.tile_texture[k] = kind->texture;
  t.tile_texture_name[k] = kind->name;
  *kind = KindBuilder{};
}

}  // namespace

void ReadTileinfo(Terrain& t, DataFile* file) {
  t.tile_count = 0;
  KindBuilder kind;
  char buffer[1024];
  KeywordLine line;
  while (t.tile_count < MAX_TILE_KINDS && df_gets(file, buffer, sizeof buffer)) {
    if (!split_keyword_line(buffer, " \t\r\n", &line)) continue;
    const std::string& word = line.keyword;
    if (word == "texture") {
      kind.texture = LoadTexture(line.argument.c_str());
      kind.name = line.argument;
    } else if (word == "friction") add_friction(&kind, line.argument);
    else if (word == "roll_resist") add_roll_resist(&kind, line.argument);
    else if (word == "roost") add_roost(&kind, line.argument);
    else if (word == "addtile") finish_kind(t, &kind);
    else post_message("tileinfo warning: Unknown identifier '%.950s'\n", word.c_str());
  }
  DeriveTileCodes(t);
}

void ReadTexturelist(Terrain& t, DataFile* file) {
  t.tile_count = 0;
  char buffer[1024];
  while (t.tile_count < MAX_TILE_KINDS && df_gets(file, buffer, sizeof buffer)) {
    const char* at = buffer + std::strspn(buffer, " \t\r\n\v\f");
    std::string text = at;
    // The line break ends the name (a last line may have none).
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    if (text.empty()) continue;
    float friction = 1.0f, a = 5.0f, b = 15.0f;
    int consumed = 0;
    std::string name = text;
    float f, ra, rb;
    if (scan_text(text, "%f %f %f %n", &f, &ra, &rb, &consumed) >= 3 && all_finite({f, ra, rb})) {
      // Held to the same limits as tileinfo values: never negative.
      friction = f < 0.0f ? 0.0f : f, a = ra < 0.0f ? 0.0f : ra, b = rb < 0.0f ? 0.0f : rb;
      name = text.substr(static_cast<size_t>(consumed));
    }
    size_t k = static_cast<size_t>(t.tile_count++);
    TileMaterial m = default_tile_material();
    m.friction_value[0] = friction;
    m.roll_a[0] = a;
    m.roll_b[0] = b;
    m.roost[0] = default_roost_type();
    t.materials[k] = m;
    t.tile_texture_name[k] = "@" + name;
    t.tile_texture[k] = LoadTexture(t.tile_texture_name[k].c_str());
  }
  DeriveTileCodes(t);
}
