#include "core/run_settings.h"

#include <algorithm>

#include "core/settings.h"

RunSettings run_settings;

namespace {
// 10 - level, clamped to 0..10 and truncated.
int reduction_from_detail(double level) { return static_cast<int>(std::clamp(10.0 - level, 0.0, 10.0)); }
}  // namespace

void derive_render_settings() {
  RunSettings& r = run_settings;
  r.ground_detail_factor = 0.125 / settings.ground_detail.value;
  r.ground_texture_reduction = reduction_from_detail(settings.ground_texture_detail.value);
  r.ground_texture_size = 32 << std::clamp(settings.ground_texture_dim.current, 0, 5);
  double scale = std::clamp(100.0 - settings.model_detail.value, 0.0, 100.0) * 0.02;
  r.model_lod_scale = scale > 1.0 ? scale * scale * scale : scale;
  r.model_lod_bias = 50.0 - 50.0 * std::clamp((settings.model_detail.value - 10.0) * 0.05, 0.0, 1.0);
  r.model_texture_reduction = reduction_from_detail(settings.model_texture_detail.value);
  r.roost_frequency = static_cast<int>(settings.roost_density.value);
}
