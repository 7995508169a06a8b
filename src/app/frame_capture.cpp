#include "app/frame_capture.h"

#include <SDL_opengl.h>

#include <algorithm>
#include <cstring>

#include "core/messages.h"
#include "data/data_dirs.h"
#include "data/image_write.h"
#include "platform/base/log.h"

int largest_screenshot_number(const std::vector<std::string>& names) {
  unsigned largest = 0;
  for (const std::string& name : names) {
    unsigned number = 0;
    if (std::sscanf(name.c_str(), "screenshot%u.ppm", &number) == 1) largest = std::max(largest, number);
  }
  return static_cast<int>(std::min(largest, 999999u));
}

void read_frame_buffer(int width, int height, std::vector<uint8_t>* rgb) {
  rgb->resize(static_cast<size_t>(std::max(width, 0)) * static_cast<size_t>(std::max(height, 0)) * 3);
  if (rgb->empty()) return;
  glPixelStorei(GL_PACK_ALIGNMENT, 1);
  glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb->data());
}

bool take_screenshot(ScreenshotState* state, int width, int height) {
  if (!state->numbered) {
    state->next_number = largest_screenshot_number(list_data_files()) + 1;
    state->numbered = true;
  }
  char name[32];
  std::snprintf(name, sizeof name, "screenshot%03d.png", state->next_number++);
  std::vector<uint8_t> rgb;
  read_frame_buffer(width, height, &rgb);
  if (rgb.empty() || !write_screenshot_png(std::string("@") + name, rgb.data(), width, height)) {
    post_message("Can't save \"%s\"", name);
    return false;
  }
  post_message("Saved \"%s\"", name);
  return true;
}

void build_video_frame(const uint8_t* bottom_up_rgb, int width, int height, std::vector<uint8_t>* frame) {
  char header[64];
  const int header_length = std::snprintf(header, sizeof header, "P6\n%d %d\n255\n", width, height);
  const size_t row = static_cast<size_t>(width) * 3;
  frame->resize(static_cast<size_t>(header_length) + row * static_cast<size_t>(height));
  std::memcpy(frame->data(), header, static_cast<size_t>(header_length));
  uint8_t* out = frame->data() + header_length;
  for (int y = height - 1; y >= 0; --y, out += row)
    std::memcpy(out, bottom_up_rgb + row * static_cast<size_t>(y), row);
}

void record_video_frame(VideoRecorder* recorder, int width, int height) {
  if (!recorder->out || recorder->failed || width <= 0 || height <= 0) return;
  read_frame_buffer(width, height, &recorder->pixels);
  build_video_frame(recorder->pixels.data(), width, height, &recorder->frame);
  const size_t size = recorder->frame.size();
  if (std::fwrite(recorder->frame.data(), 1, size, recorder->out) != size || std::fflush(recorder->out) != 0) {
    // Standard output went away (a closed pipe): stop recording, keep playing.
    voxa_log("Video recording stopped after %d frames: standard output does not take more\n",
             recorder->frames_written);
    recorder->failed = true;
    return;
  }
  ++recorder->frames_written;
}
