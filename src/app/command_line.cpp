#include "app/command_line.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"

namespace {

bool read_int(const char* text, int* out) { return text && std::sscanf(text, "%d", out) == 1; }
bool read_float(const char* text, float* out) { return text && std::sscanf(text, "%f", out) == 1; }
// Integer options read leniently; a missing value leaves the old one.
void read_atoi(const char* text, int* out) {
  if (text) *out = std::atoi(text);
}

int bad_arg(const char* option) {
  std::fprintf(stderr, "Bad arg for %s\n", option);
  return 1;
}

}  // namespace

int parse_command_line(int argc, char** argv, CommandLine* line) {
  RunSettings& run = run_settings;
  ArgCursor cursor;
  cursor.next = argv + 1;
  cursor.left = argc - 1;
  line->audio_frames_per_tick = static_cast<int>(dt * 88320);

  while (cursor.left > 0) {
    const char* value = nullptr;
    int number = 0;
    float real = 0.0f;
    // The chain, in its fixed order; the first match wins.
    if (match_option(&cursor, "--fugly", nullptr)) { run.flat_shading = true; continue; }
    if (match_option(&cursor, "--nosound", nullptr)) { line->no_sound = true; continue; }
    if (match_option(&cursor, "--novertexarrays", nullptr)) { run.no_vertex_arrays = true; continue; }
    if (match_option(&cursor, "--nolearn", nullptr)) { run.learning = false; continue; }
    if (match_option(&cursor, "--debug", nullptr)) { run.debug_level = 1; continue; }
    if (match_option(&cursor, "--super-debug", nullptr)) { run.debug_level = 2; continue; }
    if (match_option(&cursor, "--practice", nullptr)) { run.practice = true; continue; }
    if (match_option(&cursor, "--warp", nullptr)) { line->warp = true; continue; }
    if (match_option(&cursor, "--texture-detail", &value)) {
      if (!read_int(value, &number)) return bad_arg("--texture-detail");
      run.model_texture_reduction = run.ground_texture_reduction = std::clamp(number, 0, 4);
      continue;
    }
    if (match_option(&cursor, "--ground-texture-detail", &value)) {
      if (!read_int(value, &number)) return bad_arg("--ground-texture-detail");
      run.ground_texture_reduction = std::clamp(number, 0, 4);
      continue;
    }
    if (match_option(&cursor, "--roostfrequency", &value)) {
      if (!read_int(value, &number)) return bad_arg("--roostfrequency");
      run.roost_frequency = std::clamp(number, 0, 1000);
      continue;
    }
    if (match_option(&cursor, "--erode", &value)) {
      if (!read_float(value, &real)) return bad_arg("--erode");
      run.erosion = std::clamp(static_cast<double>(real), 0.0, 1.0);
      continue;
    }
    if (match_option(&cursor, "--detail", &value)) {
      if (!read_float(value, &real)) return bad_arg("--detail");
      run.ground_detail_factor = real;
      continue;
    }
    if (match_option(&cursor, "--max-detail-distance", &value)) {
      if (!read_float(value, &real)) return bad_arg("--max-detail-distance");
      run.max_detail_distance = real;
      run.detail_fade_distance = static_cast<double>(real) + 5.0;
      continue;
    }
    if (match_option(&cursor, "--lod-scale", &value)) {
      if (!read_float(value, &real)) return bad_arg("--lod-scale");
      run.model_lod_scale = std::clamp(static_cast<double>(real), 1e-6, 1e6);
      continue;
    }
    if (match_option(&cursor, "--lod-bias", &value)) {
      if (!read_float(value, &real)) return bad_arg("--lod-bias");
      run.model_lod_bias = real;
      continue;
    }
    if (match_option(&cursor, "--lock-fps", &value)) {
      if (!read_float(value, &real)) return bad_arg("--lock-fps");
      line->lock_fps = real;
      continue;
    }
    if (match_option(&cursor, "--fake-lag", &value)) {
      if (!read_float(value, &real)) return bad_arg("--fake-lag");
      run.fake_lag_seconds = std::clamp(static_cast<double>(real) * 0.001, 0.0, 1.0);
      continue;
    }
    if (match_option(&cursor, "--fake-loss", &value)) {
      if (!read_int(value, &number)) return bad_arg("--fake-loss");
      run.fake_loss_percent = std::clamp(number, 0, 100);
      continue;
    }
    if (match_option(&cursor, "--record-audio", &value)) {
      line->record_audio = value ? value : "";
      continue;
    }
    if (match_option(&cursor, "--record-video", nullptr)) { line->record_video = true; continue; }
    if (match_option(&cursor, "--rotate-lineup", &value)) {
      read_int(value, &run.rotate_lineup);
      continue;
    }
    if (match_option(&cursor, "--editor", nullptr)) { run.editor = true; continue; }
    if (match_option(&cursor, "--hidden-pause", nullptr)) { line->show_pause_overlay = false; continue; }
    if (match_option(&cursor, "--hidden-hud", nullptr)) { line->show_hud = false; continue; }
    if (match_option(&cursor, "--bikes", &value)) {
      std::fprintf(stderr, "--bikes doesn't do anything anymore\n");
      continue;
    }
    if (match_option(&cursor, "--width", &value)) { read_int(value, &settings.xres.integer); continue; }
    if (match_option(&cursor, "--height", &value)) { read_int(value, &settings.yres.integer); continue; }
    if (match_option(&cursor, "--depth", &value)) {
      read_atoi(value, &run.colour_depth);
      continue;
    }
    if (match_option(&cursor, "--draw-fps", &value)) { read_atoi(value, &settings.draw_fps.integer); continue; }
    if (match_option(&cursor, "--draw-time", &value)) { read_atoi(value, &settings.draw_time.integer); continue; }
    if (match_option(&cursor, "--draw-ping", &value)) { read_atoi(value, &settings.draw_ping.integer); continue; }
    if (match_option(&cursor, "--draw-render-stats", &value)) { read_atoi(value, &run.draw_render_stats); continue; }
    if (match_option(&cursor, "--accurate-skip", nullptr)) { run.accurate_skip = true; continue; }
    if (match_option(&cursor, "--track", &value)) {
      if (value) run.track = value;
      continue;
    }
    if (match_option(&cursor, "--connect", &value)) {
      if (value) {
        if (std::strncmp(value, "bermline:", 9) == 0) value += 9;
        run.server_address = value;
      }
      continue;
    }
    if (match_option(&cursor, "--password", &value)) {
      if (value) run.server_password = value;
      continue;
    }
    if (match_option(&cursor, "--chase-center", &value)) {
      float c[3];
      if (!value || std::sscanf(value, "%f,%f,%f", &c[0], &c[1], &c[2]) != 3) return bad_arg("--chase-center");
      std::copy(c, c + 3, line->chase_center);
      continue;
    }
    if (match_option(&cursor, "--open-home", nullptr)) {
      line->open_home = true;
      return 0;
    }
    if (match_option(&cursor, "--glfinish", nullptr)) { line->glfinish = true; continue; }

    // No option matched: a positional argument (a lone "--" may have just
    // been taken, leaving nothing).
    const char* arg = take_argument(&cursor);
    if (!arg) break;
    if (arg[0] == '-' && !cursor.end_of_options) {
      std::fprintf(stderr, "bad option '%s'\n", arg);
      return 1;
    }
    if (line->has_file_argument) {
      std::fprintf(stderr, "Too many files!\n");
      return 1;
    }
    line->file_argument = arg;
    line->has_file_argument = true;
  }
  return -1;
}
