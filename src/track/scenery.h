// Track scenery: billboards (camera-facing pictures), statues (3-D models,
// optionally solid through a collision shape), flaggers (billboards whose
// picture follows the race) and the statue buckets for collision queries.
// Read from the track folder's "billboards", "statues" and "flaggers"
// files; written back by the track editor.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct DataFile;
struct Shape;

struct Billboard {
  float x = 0, y = 0, z = 0;  // bottom centre; y = ground + lift
  float height = 0;
  float lift = 0;
  float aspect = 0;  // width / height
  uint32_t sort_key = 0;  // filled by the renderer
  int texture = 0;
  uint8_t r = 255, g = 255, b = 255, a = 255;
};

struct Statue {
  std::string model_file;  // the model's data path (the model cache attaches the model)
  const Shape* shape = nullptr;
  int texture = 0;
  int normal_map = 0;
  int specular_map = 0;
  float x = 0, y = 0, z = 0;  // origin; y = ground + lift
  float lift = 0;
  float heading = 0;
  // Orientation: column c is the world direction of the statue's axis c.
  float frame[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};
  int flags = 0;
};

// A corner flagger: a billboard that shows the caution picture while one
// of its watched sections (gate indices, -1 = none) needs it.
struct Flagger {
  int billboard = -1;
  int normal_texture = 0;
  int caution_texture = 0;
  int sections[4] = {-1, -1, -1, -1};
};

// The start animation's billboard: frames 1, 2, 3, moving and final.
struct StartAnimation {
  int billboard = -1;
  float rest[3] = {0, 0, 0};
  float end[3] = {0, 0, 0};
  float duration = 1;
  int textures[5] = {0, 0, 0, 0, 0};
};

// The lap board: default, alternate lap, last lap and finish pictures.
struct LapBoard {
  int billboard = -1;
  int textures[4] = {0, 0, 0, 0};
};

constexpr int SCENERY_BUCKETS_PER_SIDE = 8;
constexpr int ROOST_BILLBOARDS = 2000;

// The loaded track's scenery (part of its Track record, track/track.h).
struct TrackScenery {
  std::vector<Billboard> billboards;
  std::vector<Statue> statues;
  std::vector<Flagger> flaggers;
  // The renderer's billboard draw list: two entries per billboard.
  std::vector<int> billboard_draw_list;
  StartAnimation start_animation;
  LapBoard lap_board;
  // The first billboard and statue of the track's own files (the editor
  // saves from these on).
  int first_track_billboard = 0;
  int first_track_statue = 0;
  // 8 x 8 lists of statues with shapes, over the middle three quarters of
  // the field (everything beyond falls into the border cells).
  std::array<std::vector<int>, SCENERY_BUCKETS_PER_SIDE * SCENERY_BUCKETS_PER_SIDE> buckets;
};

// Empties every scenery table (each with room for 16) and the buckets.
void clear_scenery();

// A billboard at (x, z), `lift` above the ground; a name may carry a colour
// prefix "#rrggbb#". Null: no texture. Returns its index (the last index
// when the table cannot grow).
int CreateBillboard(float x, float lift, float z, float height, float aspect, const char* texture_name);
// A statue with its texture, normal and specular maps and shape (null or
// "null": none). Returns its index.
int CreateStatue(float x, float lift, float z, float heading, const char* model_file, const char* texture_name,
                 const char* shape_file);
// The orientation of a statue at (x, z) turned by `heading`, following the ground.
void GroundFrame(float x, float z, float heading, float frame[3][3]);

// The bucket column (of x) or row (of z) of a coordinate: the grid spans
// the middle three quarters of the field, the border cells hold the rest.
int scenery_cell(float c);
// Lists a statue with a shape in every bucket its bounding square overlaps.
void insert_statue_bucket(int index);
// Empties the buckets and lists every statue again.
void rebuild_scenery_buckets();

// Readers of the track folder's files (folder = "@" + track directory);
// each stops quietly at the first line that does not match, and a missing
// file means none. The second forms read an open file.
void ReadFlaggers(const std::string& folder);
void ReadBillboards(const std::string& folder);
void ReadStatues(const std::string& folder);
void read_flaggers(DataFile* file);
void read_billboards(DataFile* file);
void read_statues(DataFile* file);

// The editor's writers: the file texts, and saving them into the folder.
std::string billboards_file_text();
std::string statues_file_text();
bool SaveBillboards(const std::string& folder);
bool SaveStatues(const std::string& folder);
