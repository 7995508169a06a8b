#include "data/texture_cache.h"

#include <memory>

#include "core/grow_array.h"
#include "core/messages.h"
#include "core/run_settings.h"
#include "data/data_file.h"
#include "data/scanner.h"
#include "platform/base/log.h"

TextureMemory texture_memory;

namespace {

std::vector<TextureEntry> entries;
std::vector<TextureAnimation> animations;
TextureUploader uploader;
int last_headless_id = 0;

bool equal_ignoring_case(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    char x = a[k], y = b[k];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

bool contains(const std::string& text, const char* part) { return text.find(part) != std::string::npos; }

// The cached entry for a name (exact, or ignoring case with a warning).
TextureEntry* find_entry(const std::string& name) {
  for (TextureEntry& entry : entries) {
    if (entry.name == name) return &entry;
    if (equal_ignoring_case(entry.name, name)) {
      post_message("Warning: case mismatch on '%.900s'", name.c_str());
      return &entry;
    }
  }
  return nullptr;
}

// Top mip levels the reduction leaves out.
int levels_to_drop(int width, int height, int reduction) {
  int dropped = 0;
  while (reduction > 0 && width > 128 && height > 128) {
    --reduction;
    width /= 2;
    height /= 2;
    ++dropped;
  }
  return dropped;
}

// Offset of mip level `level` in a chain, and that level's size.
size_t level_offset(int* width, int* height, int channels, int level) {
  size_t offset = 0;
  for (int k = 0; k < level; ++k) {
    offset += image_level_bytes(*width, *height, channels);
    *width = *width / 2 > 1 ? *width / 2 : 1;
    *height = *height / 2 > 1 ? *height / 2 : 1;
  }
  return offset;
}

unsigned chain_upload_bytes(int width, int height, int channels) {
  return static_cast<unsigned>(mip_chain_bytes(width, height, channels) - static_cast<size_t>(channels));
}

// Decodes a texture file by its magic word, falling back to PNG.
bool decode_texture(const std::string& path, DataFile* file, Image* image, TextureAnimation* animation,
                    bool* animated) {
  char magic[16] = "";
  *animated = false;
  if (df_scanf(file, "%15s", magic) == 1) {
    std::string word = magic;
    bool ok = false;
    if (word == "J7") ok = read_predictive_body(file, word, 4, image);
    else if (word == "J6") ok = read_predictive_body(file, word, 3, image);
    else if (word == "P3" || word == "P6") ok = read_netpbm_body(file, word, image);
    else if (word == "ANIM1") {
      // A damaged animation is not retried as a PNG: it cannot be one.
      *animated = true;
      return read_texture_animation(file, animation);
    }
    if (ok) {
      add_mip_chain(image);
      return true;
    }
  }
  std::unique_ptr<DataFile, DataFileCloser> again(df_open(path.c_str(), "rb"));
  if (!again || !read_png(again.get(), image)) return false;
  add_mip_chain(image);
  return true;
}

}  // namespace

int headless_texture_id(const uint8_t*, int, int, int, bool, bool) { return ++last_headless_id; }

void set_texture_uploader(const TextureUploader& table) { uploader = table; }

int CreateTexture(const Image& image, bool repeat_s, bool repeat_t, int reduction) {
  if (image.width <= 0 || image.height <= 0) return 0;
  if (!is_power_of_two(image.width) || !is_power_of_two(image.height))
    return CreateTexture(resample_to_power_of_two(image), repeat_s, repeat_t, reduction);
  int width = image.width, height = image.height;
  size_t offset = level_offset(&width, &height, image.channels, levels_to_drop(width, height, reduction));
  const int id = uploader.create(image.pixels.data() + offset, width, height, image.channels, repeat_s, repeat_t);
  if (id != 0) texture_memory.bytes += chain_upload_bytes(width, height, image.channels);
  return id;
}

int LoadTexture(const char* requested) {
  if (!requested) return 0;
  std::string name = requested;
  int reduction = run_settings.model_texture_reduction;
  if (!name.empty() && name[0] == '!') {
    name.erase(0, 1);
    reduction = 0;
  }
  if (TextureEntry* entry = find_entry(name)) {
    if (entry->generation != 0 && entry->generation != texture_memory.generation) {
      texture_memory.bytes += entry->bytes;
      entry->generation = texture_memory.generation;
    }
    return entry->id;
  }
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(name.c_str(), "rb"));
  if (!file) {
    if (run_settings.debug_level > 0) post_message("Can't open texture \"%.900s\"", name.c_str());
    return 0;
  }
  bool repeat_s = contains(name, "-hrepeat.") || contains(name, "-repeat.");
  bool repeat_t = contains(name, "-vrepeat.") || contains(name, "-repeat.");
  Image image;
  TextureAnimation animation;
  bool animated = false;
  if (!decode_texture(name, file.get(), &image, &animation, &animated)) return 0;
  file.reset();
  const Image& first = animated ? animation.frames[static_cast<size_t>(animation.steps[0])] : image;
  if (!is_power_of_two(first.width) || !is_power_of_two(first.height)) {
    post_message("Warning: Non power of 2 texture '%.950s'", name.c_str());
    // Frames are kept at the uploaded size so that they can replace it.
    for (Image& frame : animation.frames) frame = resample_to_power_of_two(frame);
  }
  unsigned before = texture_memory.bytes;
  int id = CreateTexture(animated ? animation.frames[static_cast<size_t>(animation.steps[0])] : image, repeat_s,
                         repeat_t, reduction);
  if (id == 0) return 0;
  TextureEntry entry;
  entry.id = id;
  entry.generation = texture_memory.generation;
  entry.bytes = texture_memory.bytes - before;
  entry.name = name;
  grow_push(entries, std::move(entry));
  if (animated) {
    const Image& frame = animation.frames[0];
    animation.id = id;
    animation.current_frame = animation.steps[0];
    animation.dropped_levels = levels_to_drop(frame.width, frame.height, reduction);
    grow_push(animations, std::move(animation));
  }
  return id;
}

const char* TextureName(int id) {
  for (const TextureEntry& entry : entries)
    if (entry.id == id) return entry.name.c_str();
  return nullptr;
}

void advance_texture_animations(int time) {
  for (TextureAnimation& animation : animations) {
    if (animation.paused) continue;
    int elapsed = time - animation.start_time;
    int step = (elapsed > 0 ? elapsed : 0) / animation.period;
    int count = static_cast<int>(animation.steps.size());
    step = animation.loop ? step % count : (step < count - 1 ? step : count - 1);
    int frame_index = animation.steps[static_cast<size_t>(step)];
    if (frame_index == animation.current_frame) continue;
    animation.current_frame = frame_index;
    const Image& frame = animation.frames[static_cast<size_t>(frame_index)];
    int width = frame.width, height = frame.height;
    size_t offset = level_offset(&width, &height, frame.channels, animation.dropped_levels);
    uploader.replace(animation.id, frame.pixels.data() + offset, width, height, frame.channels);
  }
}

void restart_texture_animation(int id, int start_time) {
  for (TextureAnimation& animation : animations) {
    if (animation.id != id) continue;
    animation.start_time = start_time;
    animation.paused = false;
  }
}

void pause_texture_animation(int id) {
  for (TextureAnimation& animation : animations)
    if (animation.id == id) animation.paused = true;
}

void clean_up_textures() {
  std::vector<TextureEntry> kept;
  kept.reserve(entries.capacity());
  for (TextureEntry& entry : entries) {
    if (entry.generation == 0 || entry.generation == texture_memory.generation) {
      kept.push_back(std::move(entry));
      continue;
    }
    if (run_settings.debug_level > 0) post_message("deleting tid %d (%.900s)", entry.id, entry.name.c_str());
    uploader.release(entry.id);
  }
  entries.swap(kept);
  std::vector<TextureAnimation> running;
  for (size_t k = 0; k < animations.size(); ++k) {
    if (TextureName(animations[k].id)) {
      running.push_back(std::move(animations[k]));
      continue;
    }
    if (run_settings.debug_level > 0) post_message("deleting anim %d for tid %d", static_cast<int>(k), animations[k].id);
  }
  animations.swap(running);
}

const std::vector<TextureEntry>& texture_entries() { return entries; }
const std::vector<TextureAnimation>& texture_animations() { return animations; }

void log_texture_memory(const char* when) {
  if (run_settings.debug_level > 0) voxa_log("%lu bytes texture memory used %s\n", static_cast<unsigned long>(texture_memory.bytes), when);
}

bool statue_normal_maps_usable() {
  return !(uploader.shaders_active() && uploader.texture_units() < 2);
}

bool statue_specular_maps_usable() {
  return !(uploader.shaders_active() && uploader.texture_units() < 3);
}
