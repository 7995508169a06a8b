// The texture cache: every picture of the game is loaded by name through
// LoadTexture, decoded with its whole mip chain, handed to the graphics
// card and cached by name. Stale textures are cleaned up between races by
// a generation counter; animated textures (".seq") swap their pictures as
// time passes.
//
// The upload itself sits behind a small table of functions that the
// renderer fills. Without it (headless programs and tests) the cache hands
// out texture ids of its own and uploads nothing, so every id, byte count
// and message stays the same.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "data/image_read.h"

struct DataFile;

struct TextureEntry {
  int id = 0;          // never 0
  int generation = 0;  // texture_generation when last requested; 0 = permanent
  unsigned bytes = 0;  // what this load added to texture_bytes
  std::string name;    // as requested, without a leading "!"
};

struct TextureAnimation {
  int id = 0;
  int current_frame = 0;
  int period = 1;  // time units per step
  bool loop = false;
  int start_time = 0;
  bool paused = false;
  int dropped_levels = 0;      // top mip levels left out by the reduction
  std::vector<Image> frames;   // each with its mip chain
  std::vector<int> steps;      // frame index of each step
};

// Ids of the headless cache: counted up from 1, nothing uploaded.
int headless_texture_id(const uint8_t* levels, int width, int height, int channels, bool repeat_s, bool repeat_t);

// The graphics side of the cache. Levels are the mip chain as one buffer
// (level 0 first, each next level directly after). The defaults are the
// headless cache's: ids of its own, no card, no shaders.
struct TextureUploader {
  // Creates a texture from the chain and returns its id (0 on failure).
  int (*create)(const uint8_t* levels, int width, int height, int channels, bool repeat_s, bool repeat_t) =
      headless_texture_id;
  // Replaces every level of an existing texture (same size and channels).
  void (*replace)(int id, const uint8_t* levels, int width, int height, int channels) =
      [](int, const uint8_t*, int, int, int) {};
  void (*release)(int id) = [](int) {};
  // Whether shader programs are active and how many texture units the
  // card offers (statues look for normal and specular maps only when they
  // can be used).
  bool (*shaders_active)() = [] { return false; };
  int (*texture_units)() = [] { return 0; };
};

// Installs the graphics side (a copy is kept); TextureUploader{} restores
// the headless cache.
void set_texture_uploader(const TextureUploader& uploader);

// Bytes of texture memory in use, and the race generation that the
// clean-up compares entries with.
struct TextureMemory {
  unsigned bytes = 0;
  int generation = 0;
};
extern TextureMemory texture_memory;

// Texture id for a data path, or 0. A leading "!" turns the detail
// reduction off for this texture.
int LoadTexture(const char* name);
// The name of the first cache entry with this id, or null.
const char* TextureName(int id);
// Uploads an image that holds its mip chain. Sides that are not powers of
// two are resampled first; `reduction` drops top levels while both sides
// are above 128.
int CreateTexture(const Image& image, bool repeat_s, bool repeat_t, int reduction);

// Animations: advance all to `time`, restart one at `start_time`, pause one.
void advance_texture_animations(int time);
void restart_texture_animation(int id, int start_time);
void pause_texture_animation(int id);

// After a race start: frees textures from earlier generations and the
// animations of textures no longer cached.
void clean_up_textures();

// Read access for the renderer and tests.
const std::vector<TextureEntry>& texture_entries();
const std::vector<TextureAnimation>& texture_animations();

// With debug on, logs "<texture_bytes> bytes texture memory used <when>".
void log_texture_memory(const char* when);

// Whether statues should look for normal maps and specular maps.
bool statue_normal_maps_usable();
bool statue_specular_maps_usable();

// Reads the rest of a ".seq" animation after its "ANIM1" magic word:
// steps, frames (inline J7 pictures or PNG files), each frame with its mip
// chain. False after posting the reason.
bool read_texture_animation(DataFile* file, TextureAnimation* animation);
