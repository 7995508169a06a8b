#include "track/scenery.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "core/grow_array.h"
#include "core/messages.h"
#include "data/texture_cache.h"
#include "track/shape.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

template <typename T>
void empty_with_room(std::vector<T>& table) {
  std::vector<T> fresh;
  fresh.reserve(GROW_ARRAY_FIRST_ROOM);
  table.swap(fresh);
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// "#rrggbb#name": sets the colour and returns the name after the prefix;
// anything else is all name.
const char* strip_colour_prefix(const char* name, Billboard* b) {
  if (std::strlen(name) < 8 || name[0] != '#' || name[7] != '#') return name;
  int digits[6];
  for (int k = 0; k < 6; ++k)
    if ((digits[k] = hex_digit(name[1 + k])) < 0) return name;
  b->r = static_cast<uint8_t>(digits[0] << 4 | digits[1]);
  b->g = static_cast<uint8_t>(digits[2] << 4 | digits[3]);
  b->b = static_cast<uint8_t>(digits[4] << 4 | digits[5]);
  return name + 8;
}

int first_loading(const std::string& stem, const char* kind, std::initializer_list<const char*> tails) {
  for (const char* tail : tails)
    if (int id = LoadTexture((stem + kind + tail).c_str())) return id;
  return 0;
}

// Normal or specular map (kind "_norm" or "_spec"): named after the
// texture, else after the model, as an animation, PNG or PPM.
int find_statue_map(const std::string& texture, const std::string& model, const char* kind) {
  auto ends_with = [&](const char* tail) {
    size_t n = std::strlen(tail);
    return texture.size() >= n && texture.compare(texture.size() - n, n, tail) == 0;
  };
  int id;
  if (ends_with("-repeat.png") || ends_with("-repeat.ppm") || ends_with("-repeat.seq"))
    id = first_loading(texture.substr(0, texture.rfind('-')), kind, {"-repeat.seq", "-repeat.png", "-repeat.ppm"});
  else
    id = first_loading(texture.substr(0, texture.rfind('.')), kind, {".seq", ".png", ".ppm"});
  if (id) return id;
  return first_loading(model.substr(0, model.rfind('.')), kind, {".seq", ".png", ".ppm"});
}

}  // namespace

int scenery_cell(float c) {
  float extent = track().terrain.extent > 0.0f ? track().terrain.extent : 1.0f;
  float cell = (c / extent - 0.125f) * (4.0f / 3.0f) * SCENERY_BUCKETS_PER_SIDE;
  if (!(cell >= 0.0f)) return 0;
  if (cell >= SCENERY_BUCKETS_PER_SIDE - 1) return SCENERY_BUCKETS_PER_SIDE - 1;
  return static_cast<int>(std::floor(cell));
}

void clear_scenery() {
  empty_with_room(track().scenery.billboards);
  empty_with_room(track().scenery.statues);
  empty_with_room(track().scenery.flaggers);
  empty_with_room(track().scenery.billboard_draw_list);
  for (std::vector<int>& bucket : track().scenery.buckets) bucket.clear();
  track().scenery.start_animation = StartAnimation{};
  track().scenery.lap_board = LapBoard{};
  track().scenery.first_track_billboard = track().scenery.first_track_statue = 0;
}

int CreateBillboard(float x, float lift, float z, float height, float aspect, const char* texture_name) {
  Billboard b;
  b.x = x, b.z = z, b.lift = lift, b.height = height, b.aspect = aspect;
  b.y = TerrainHeightAt(track().terrain, x, z) + lift;
  if (texture_name) b.texture = LoadTexture(strip_colour_prefix(texture_name, &b));
  if (!grow_push(track().scenery.billboards, b)) return static_cast<int>(track().scenery.billboards.size()) - 1;
  grow_push(track().scenery.billboard_draw_list, 0);
  grow_push(track().scenery.billboard_draw_list, 0);
  return static_cast<int>(track().scenery.billboards.size()) - 1;
}

int CreateStatue(float x, float lift, float z, float heading, const char* model_file, const char* texture_name,
                 const char* shape_file) {
  Statue s;
  s.texture = LoadTexture(texture_name);
  if (statue_normal_maps_usable()) s.normal_map = find_statue_map(texture_name, model_file, "_norm");
  if (statue_specular_maps_usable()) s.specular_map = find_statue_map(texture_name, model_file, "_spec");
  s.model_file = model_file;
  if (shape_file && std::strcmp(shape_file, "null") != 0) {
    s.shape = load_shape(shape_file);
    if (!s.shape) post_message("Warning: missing shape file %.900s", shape_file);
  }
  s.x = x, s.z = z, s.lift = lift, s.heading = heading;
  s.y = TerrainHeightAt(track().terrain, x, z) + lift;
  GroundFrame(x, z, heading, s.frame);
  if (!grow_push(track().scenery.statues, std::move(s))) return static_cast<int>(track().scenery.statues.size()) - 1;
  return static_cast<int>(track().scenery.statues.size()) - 1;
}

void GroundFrame(float x, float z, float heading, float frame[3][3]) {
  float h0 = TerrainHeightAt(track().terrain, x, z);
  float h1 = TerrainHeightAt(track().terrain, x + 1.0f, z);
  float h2 = TerrainHeightAt(track().terrain, x, z + 1.0f);
  auto normalise = [](float v[3]) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length > 0.0f)
      for (int k = 0; k < 3; ++k) v[k] /= length;
  };
  auto cross = [](const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
  };
  float n[3] = {-(h1 - h0), 1.0f, -(h2 - h0)};
  normalise(n);
  float f0[3] = {std::cos(heading), 0.0f, -std::sin(heading)};
  float s[3], f[3];
  cross(f0, n, s);
  normalise(s);
  cross(n, s, f);
  for (int row = 0; row < 3; ++row) {
    frame[row][0] = f[row];
    frame[row][1] = n[row];
    frame[row][2] = s[row];
  }
}

void insert_statue_bucket(int index) {
  if (index < 0 || static_cast<size_t>(index) >= track().scenery.statues.size()) return;
  const Statue& s = track().scenery.statues[static_cast<size_t>(index)];
  if (!s.shape) return;
  float r = s.shape->bound;
  for (int cz = scenery_cell(s.z - r); cz <= scenery_cell(s.z + r); ++cz)
    for (int cx = scenery_cell(s.x - r); cx <= scenery_cell(s.x + r); ++cx)
      track().scenery.buckets[static_cast<size_t>(cx + SCENERY_BUCKETS_PER_SIDE * cz)].push_back(index);
}

void rebuild_scenery_buckets() {
  for (std::vector<int>& bucket : track().scenery.buckets) bucket.clear();
  for (size_t k = 0; k < track().scenery.statues.size(); ++k) insert_statue_bucket(static_cast<int>(k));
}
