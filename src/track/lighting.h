// The track's light: sun direction and colour, ambient light, the six sky
// textures, lens flares and fog, read from the track's "lighting" file.
// The terrain's vertex lighting uses the sun and ambient; the scene
// renderer uses everything.
#pragma once

#include <string>
#include <vector>

struct DataFile;

constexpr int FLARE_ELEMENTS = 8;
constexpr int SKY_FACES = 5;  // north, east, south, west, up

struct LensFlare {
  float position[3] = {0, 0, 0};  // world point (point flare) or direction (vector flare)
  float screen[2] = {0, 0};       // filled per frame by the renderer
  float reserved[2] = {0, 0};
  // Per element: along and across the line from the screen centre through
  // the flare, in units of the flare's screen offset.
  float offset[FLARE_ELEMENTS][2] = {};
  float colour[FLARE_ELEMENTS][3] = {};
  float size[FLARE_ELEMENTS] = {};  // half-size of the element's square on screen
  int texture[FLARE_ELEMENTS] = {};
  int element_count = 0;
  int kind = 1;  // 0 = point flare, 1 = vector flare
  float brightness = 0;
};

struct Lighting {
  float sun_vector[3] = {1, 1, 1};  // towards the sun; unit length after reading
  float sun_colour[3] = {1, 1, 1};
  float ambient[3] = {0.5f, 0.5f, 0.5f};
  float global_ambient[3] = {0.2f, 0.2f, 0.2f};
  int sky[SKY_FACES] = {};
  int environment = 0;
  std::vector<LensFlare> flares;
  float fog_colour[4] = {1, 1, 1, 1};  // kept from track to track
  float fog_density = 0;               // 0 = no fog
};

// Resets the record (all but the fog colour) and reads "<folder>/lighting"
// (folder = "@" + track directory). A missing file leaves the reset values.
void ReadLighting(const std::string& folder);
// The same for an open file (the record is reset first).
void read_lighting(DataFile* file);
// Frees the flare list.
void release_lighting();
