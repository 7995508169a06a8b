#include "track/lighting.h"

#include <cmath>
#include <memory>

#include "core/grow_array.h"
#include "core/messages.h"
#include "data/data_file.h"
#include "data/texture_cache.h"
#include "track/text_scan.h"
#include "track/track.h"

namespace {

constexpr const char* SKY_DEFAULTS[SKY_FACES] = {"@sky-n.ppm", "@sky-e.ppm", "@sky-s.ppm", "@sky-w.ppm",
                                                 "@sky-u.ppm"};
constexpr const char* SKY_KEYWORDS[SKY_FACES] = {"sky_n", "sky_e", "sky_s", "sky_w", "sky_u"};

void reset_lighting() {
  Lighting fresh;
  for (int c = 0; c < 4; ++c) fresh.fog_colour[c] = track().lighting.fog_colour[c];
  track().lighting = std::move(fresh);
}

void scan_vector(const std::string& argument, float* v) { scan_text(argument, " [ %f %f %f ] ", &v[0], &v[1], &v[2]); }

void normalise_sun() {
  float* v = track().lighting.sun_vector;
  float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
  if (!(length > 0.0f) || !std::isfinite(length)) {
    // No direction to normalise: the sun stays where the default puts it.
    v[0] = v[1] = v[2] = 1.0f;
    length = std::sqrt(3.0f);
  }
  for (int k = 0; k < 3; ++k) v[k] /= length;
}

void add_flare_element(LensFlare* flare, const std::string& argument) {
  float along, across, r, g, b, size;
  char name[1024];
  if (scan_text(argument, " [ %f %f ] [ %f %f %f ] %f %1023s", &along, &across, &r, &g, &b, &size, name) != 7)
    return;
  if (flare->element_count >= FLARE_ELEMENTS) return;
  int e = flare->element_count++;
  flare->offset[e][0] = along;
  flare->offset[e][1] = across;
  flare->colour[e][0] = r;
  flare->colour[e][1] = g;
  flare->colour[e][2] = b;
  flare->size[e] = size;
  flare->texture[e] = LoadTexture(name);
}

// One line; false when an unknown keyword ends the reading.
bool apply_line(const KeywordLine& line, LensFlare* flare) {
  const std::string& word = line.keyword;
  const std::string& argument = line.argument;
  if (word == "sun_vector") scan_vector(argument, track().lighting.sun_vector);
  else if (word == "sun_color") scan_vector(argument, track().lighting.sun_colour);
  else if (word == "ambient") scan_vector(argument, track().lighting.ambient);
  else if (word == "global_ambient") scan_vector(argument, track().lighting.global_ambient);
  else if (word == "sky_env") track().lighting.environment = LoadTexture(argument.c_str());
  else if (word == "flare_element") add_flare_element(flare, argument);
  else if (word == "flare_point" || word == "flare_vector") {
    scan_vector(argument, flare->position);
    flare->kind = word == "flare_point" ? 0 : 1;
    grow_push(track().lighting.flares, *flare);
    *flare = LensFlare{};
  } else if (word == "fog") {
    float r, g, b, density;
    if (scan_text(argument, " [ %f %f %f ] %f ", &r, &g, &b, &density) == 4) {
      track().lighting.fog_colour[0] = r;
      track().lighting.fog_colour[1] = g;
      track().lighting.fog_colour[2] = b;
      track().lighting.fog_density = density;
    }
  } else {
    for (int face = 0; face < SKY_FACES; ++face) {
      if (word == SKY_KEYWORDS[face]) {
        track().lighting.sky[face] = LoadTexture(argument.c_str());
        return true;
      }
    }
    post_message("Error reading lighting: Unknown identifier '%.950s'\n", word.c_str());
    return false;
  }
  return true;
}

}  // namespace

void ReadLighting(const std::string& folder) {
  reset_lighting();
  std::unique_ptr<DataFile, DataFileCloser> file(df_open((folder + "/lighting").c_str(), "rb"));
  if (file) read_lighting(file.get());
}

void read_lighting(DataFile* file) {
  reset_lighting();
  LensFlare flare;
  char buffer[1024];
  KeywordLine line;
  while (df_gets(file, buffer, sizeof buffer)) {
    if (!split_keyword_line(buffer, " \t", &line)) continue;
    if (!apply_line(line, &flare)) break;
  }
  normalise_sun();
  for (int face = 0; face < SKY_FACES; ++face)
    if (track().lighting.sky[face] == 0) track().lighting.sky[face] = LoadTexture(SKY_DEFAULTS[face]);
  if (track().lighting.environment == 0) track().lighting.environment = LoadTexture("@sky-env.ppm");
}

void release_lighting() {
  track().lighting.flares.clear();
  track().lighting.flares.shrink_to_fit();
}
