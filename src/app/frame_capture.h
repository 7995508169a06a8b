// Pictures of the window: screenshots saved as "screenshot%03d.png" in the
// home folder, and "--record-video" frames written to standard output.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct ScreenshotState {
  bool numbered = false;  // the existing screenshots were counted
  int next_number = 1;
};

// The largest number of the names that read as "screenshot%u..." (0 when none).
int largest_screenshot_number(const std::vector<std::string>& names);

// Reads the frame buffer (width x height) and saves it as the next
// "@screenshot%03d.png"; posts "Saved \"screenshot%03d.png\"". False when
// it could not be written (posted as well).
bool take_screenshot(ScreenshotState* state, int width, int height);

struct VideoRecorder {
  std::FILE* out = nullptr;  // standard output
  std::vector<uint8_t> pixels;
  std::vector<uint8_t> frame;  // header and rows from the top
  int frames_written = 0;
  bool failed = false;  // a short write: the stream is closed to us
};

// One P6 frame, "P6\n<w> <h>\n255\n" then the rows from the top, built from
// rows read bottom row first.
void build_video_frame(const uint8_t* bottom_up_rgb, int width, int height, std::vector<uint8_t>* frame);

// Reads the frame buffer and writes it as one video frame.
void record_video_frame(VideoRecorder* recorder, int width, int height);

// Reads the frame buffer as RGB bytes, bottom row first.
void read_frame_buffer(int width, int height, std::vector<uint8_t>* rgb);
