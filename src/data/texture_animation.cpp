// The ".seq" animation reader: "ANIM1", then steps, frames, period and loop
// flag, the frame index of every step, and the frames themselves.
#include <cstring>
#include <memory>

#include "core/messages.h"
#include "data/data_file.h"
#include "data/scanner.h"
#include "data/texture_cache.h"

namespace {

// Far beyond any real animation; keeps a damaged header from asking for
// absurd work.
constexpr int SEQ_STEP_LIMIT = 1 << 20;
constexpr int SEQ_FRAME_LIMIT = 4096;

std::string trimmed(const char* text) {
  const char* begin = text;
  while (*begin == ' ' || *begin == '\t' || *begin == '\r' || *begin == '\n') ++begin;
  size_t length = std::strlen(begin);
  while (length > 0 && (begin[length - 1] == ' ' || begin[length - 1] == '\t' || begin[length - 1] == '\r' ||
                        begin[length - 1] == '\n'))
    --length;
  return std::string(begin, length);
}

// One frame: an inline J7 picture or a PNG named on the rest of the line.
bool read_frame(DataFile* file, int index, Image* frame) {
  char word[16] = "";
  if (df_scanf(file, "%15s", word) != 1) {
    post_message("Error reading .seq frame %d", index);
    return false;
  }
  if (std::strcmp(word, "J7") == 0) {
    if (read_predictive_body(file, "J7", 4, frame)) return true;
    post_message("Error reading .seq frame %d", index);
    return false;
  }
  if (std::strcmp(word, "PNG") != 0) {
    post_message("Error reading .seq frame %d", index);
    return false;
  }
  char line[1024];
  if (!df_gets(file, line, sizeof line)) {
    post_message("EOF while reading .seq");
    return false;
  }
  std::string path = trimmed(line);
  std::unique_ptr<DataFile, DataFileCloser> png(df_open(path.c_str(), "rb"));
  if (!png || !read_png(png.get(), frame)) {
    post_message("Can't read %.900s", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool read_texture_animation(DataFile* file, TextureAnimation* animation) {
  int step_count = 0, frame_count = 0, period = 0, loop = 0;
  if (df_scanf(file, "%d %d %d %d", &step_count, &frame_count, &period, &loop) != 4 || step_count <= 0 ||
      frame_count <= 0 || period <= 0 || step_count > SEQ_STEP_LIMIT || frame_count > SEQ_FRAME_LIMIT) {
    post_message("Bad .seq header");
    return false;
  }
  animation->period = period;
  animation->loop = loop != 0;
  animation->steps.clear();
  for (int s = 0; s < step_count; ++s) {
    int frame = -1;
    df_scanf(file, "%d ", &frame);
    if (frame < 0 || frame >= frame_count) {
      post_message("Bad .seq step %d", s);
      return false;
    }
    animation->steps.push_back(frame);
  }
  animation->frames.clear();
  for (int f = 0; f < frame_count; ++f) {
    Image frame;
    if (!read_frame(file, f, &frame)) return false;
    if (f > 0) {
      const Image& first = animation->frames[0];
      if (frame.width != first.width || frame.height != first.height) {
        post_message("Width/height mismatch reading .seq");
        return false;
      }
      if (frame.channels != first.channels) {
        post_message("Depth mismatch reading .seq");
        return false;
      }
    }
    add_mip_chain(&frame);
    animation->frames.push_back(std::move(frame));
  }
  return true;
}
