// Values of this run that the command line (and start-up) decide and other
// subsystems read: debug level, modes, network switches, overlays, and the
// render detail derived from the settings.
#pragma once

#include <string>

struct RunSettings {
  int colour_depth = 16;
  int debug_level = 0;  // 1 = "--debug", 2 = "--super-debug"
  bool practice = false;
  bool flat_shading = false;
  bool no_vertex_arrays = false;
  bool learning = true;
  bool editor = false;
  std::string track;  // "--track": the track of the first race
  std::string server_address;
  std::string server_password;
  double fake_lag_seconds = 0.0;
  int fake_loss_percent = 0;
  int rotate_lineup = 0;
  int draw_render_stats = 0;
  bool accurate_skip = false;

  // Render detail (derived from the settings, then overridable by options).
  double ground_detail_factor = 0.0025;
  double max_detail_distance = 1000.0;
  double detail_fade_distance = 1005.0;
  int ground_texture_reduction = 1;
  int ground_texture_size = 128;
  double model_lod_scale = 1.0;
  double model_lod_bias = 0.0;
  int model_texture_reduction = 1;
  int roost_frequency = 250;
  double erosion = 0.0;
};

extern RunSettings run_settings;

// Derives the render detail fields from the current settings.
void derive_render_settings();
