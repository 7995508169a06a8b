// The scenery files of a track folder: flaggers, billboards and statues,
// and the editor's writers for billboards and statues.
#include <algorithm>
#include <cstdio>
#include <memory>

#include "core/messages.h"
#include "data/data_file.h"
#include "data/image_write.h"
#include "data/scanner.h"
#include "data/texture_cache.h"
#include "track/scenery.h"
#include "track/shape.h"
#include "track/timing_gates.h"
#include "track/track.h"

namespace {

using FilePtr = std::unique_ptr<DataFile, DataFileCloser>;

FilePtr open_scenery_file(const std::string& folder, const char* name) {
  return FilePtr(df_open((folder + "/" + name).c_str(), "rb"));
}

bool read_name(DataFile* file, char name[1024]) { return df_scanf(file, " %1023s ", name) == 1; }

// The start animation: its billboard at the rest point, then five frames.
bool read_start_animation(DataFile* file) {
  StartAnimation& a = track().scenery.start_animation;
  float height, aspect;
  char name[1024];
  if (df_scanf(file, " [ %f %f %f ] [ %f %f %f ] %f %f %f ", &a.rest[0], &a.rest[1], &a.rest[2], &a.end[0], &a.end[1],
               &a.end[2], &height, &aspect, &a.duration) != 9 ||
      !read_name(file, name))
    return false;
  a.billboard = CreateBillboard(a.rest[0], a.rest[1], a.rest[2], height, aspect, name);
  a.textures[0] = track().scenery.billboards[static_cast<size_t>(a.billboard)].texture;
  for (int frame = 1; frame < 5; ++frame) {
    if (!read_name(file, name)) return false;
    a.textures[frame] = LoadTexture(name);
  }
  return true;
}

bool read_lap_board(DataFile* file) {
  float x, y, z, height, aspect;
  char name[1024];
  if (df_scanf(file, " [ %f %f %f ] %f %f ", &x, &y, &z, &height, &aspect) != 5 || !read_name(file, name)) return false;
  track().scenery.lap_board.billboard = CreateBillboard(x, y, z, height, aspect, name);
  track().scenery.lap_board.textures[0] = track().scenery.billboards[static_cast<size_t>(track().scenery.lap_board.billboard)].texture;
  for (int k = 1; k < 4; ++k) {
    if (!read_name(file, name)) return false;
    track().scenery.lap_board.textures[k] = LoadTexture(name);
  }
  return true;
}

bool read_corner_flagger(DataFile* file) {
  float x, y, z, height, aspect;
  Flagger f;
  char name[1024];
  if (df_scanf(file, " [ %f %f %f ] %f %f %d %d %d %d", &x, &y, &z, &height, &aspect, &f.sections[0], &f.sections[1],
               &f.sections[2], &f.sections[3]) != 9 ||
      !read_name(file, name))
    return false;
  int last_gate = static_cast<int>(track().timing.gates.size()) - 1;
  for (int& section : f.sections) section = std::clamp(section, -1, std::max(last_gate, -1));
  f.billboard = CreateBillboard(x, y, z, height, aspect, name);
  f.normal_texture = track().scenery.billboards[static_cast<size_t>(f.billboard)].texture;
  if (!read_name(file, name)) return false;
  f.caution_texture = LoadTexture(name);
  track().scenery.flaggers.push_back(f);
  return true;
}

bool save_scenery_file(const std::string& folder, const char* name, const std::string& text) {
  if (write_data_file(folder + "/" + name, text)) return true;
  post_message("Can't open '%s'\n", name);
  return false;
}

}  // namespace

void read_flaggers(DataFile* file) {
  track().scenery.start_animation = StartAnimation{};
  track().scenery.lap_board = LapBoard{};
  if (!read_start_animation(file) || !read_lap_board(file)) return;
  while (read_corner_flagger(file)) {
  }
}

void read_billboards(DataFile* file) {
  float x, lift, z, height, aspect;
  char name[1024];
  while (df_scanf(file, "[ %f %f %f ] %f %f %1023s ", &x, &lift, &z, &height, &aspect, name) == 6)
    CreateBillboard(x, lift, z, height, aspect, name);
}

void read_statues(DataFile* file) {
  float x, lift, z, heading;
  char model[1024], texture[1024], shape[1024];
  while (df_scanf(file, "[ %f %f %f ] %f %1023s %1023s %1023s ", &x, &lift, &z, &heading, model, texture, shape) == 7)
    CreateStatue(x, lift, z, heading, model, texture, shape);
}

void ReadFlaggers(const std::string& folder) {
  track().scenery.start_animation = StartAnimation{};
  track().scenery.lap_board = LapBoard{};
  if (FilePtr file = open_scenery_file(folder, "flaggers")) read_flaggers(file.get());
}

void ReadBillboards(const std::string& folder) {
  if (FilePtr file = open_scenery_file(folder, "billboards")) read_billboards(file.get());
}

void ReadStatues(const std::string& folder) {
  if (FilePtr file = open_scenery_file(folder, "statues")) read_statues(file.get());
}

std::string billboards_file_text() {
  std::string text;
  char line[1400];
  for (size_t k = static_cast<size_t>(std::max(track().scenery.first_track_billboard, 0)); k < track().scenery.billboards.size(); ++k) {
    const Billboard& b = track().scenery.billboards[k];
    const char* name = TextureName(b.texture);
    if (!name) continue;
    std::snprintf(line, sizeof line, "[%f %f %f] %f %f ", b.x, b.lift, b.z, b.height, b.aspect);
    text += line;
    if (b.r == 255 && b.g == 255 && b.b == 255) std::snprintf(line, sizeof line, "%s\n", name);
    else std::snprintf(line, sizeof line, "#%02x%02x%02x#%s\n", b.r, b.g, b.b, name);
    text += line;
  }
  return text;
}

std::string statues_file_text() {
  std::string text;
  char line[3400];
  for (size_t k = static_cast<size_t>(std::max(track().scenery.first_track_statue, 0)); k < track().scenery.statues.size(); ++k) {
    const Statue& s = track().scenery.statues[k];
    const char* texture = TextureName(s.texture);
    if (!texture) continue;
    std::snprintf(line, sizeof line, "[%f %f %f] %f %s %s %s\n", s.x, s.lift, s.z, s.heading,
                  s.model_file.empty() ? "NULL" : s.model_file.c_str(), texture,
                  s.shape ? s.shape->name.c_str() : "null");
    text += line;
  }
  return text;
}

bool SaveBillboards(const std::string& folder) { return save_scenery_file(folder, "billboards", billboards_file_text()); }

bool SaveStatues(const std::string& folder) { return save_scenery_file(folder, "statues", statues_file_text()); }
