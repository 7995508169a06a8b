#include "core/settings.h"

#include "core/bike_names.h"

Settings settings;

const char* const DEFAULT_SERVER_NAME = "race.bermline.net";

namespace {

SettingItem integer_item(int value) {
  SettingItem item;
  item.kind = SettingKind::INTEGER;
  item.integer = value;
  return item;
}

SettingItem number_item(const char* label, double value, double minimum, double maximum,
                        double step) {
  SettingItem item;
  item.kind = SettingKind::NUMBER;
  item.label = label;
  item.value = value;
  item.minimum = minimum;
  item.maximum = maximum;
  item.step = step;
  return item;
}

SettingItem choice_item(const char* label, std::vector<std::string> options, int current) {
  SettingItem item;
  item.kind = SettingKind::CHOICE;
  item.label = label;
  item.options = std::move(options);
  item.option_values.assign(item.options.size(), "");
  item.current = current;
  return item;
}

SettingItem no_yes(const char* label, bool yes) { return choice_item(label, {"No", "Yes"}, yes ? 1 : 0); }

SettingItem text_item(const char* label, int max_length, const char* text) {
  SettingItem item;
  item.kind = SettingKind::TEXT;
  item.label = label;
  item.max_length = max_length;
  item.text = text;
  return item;
}

// A texture choice starts with only "default"; start-up fills the files in.
SettingItem texture_item(const char* label) { return choice_item(label, {"default"}, 0); }

ControlBinding key_binding(const char* label, const char* key) {
  ControlBinding binding;
  binding.label = label;
  binding.key_name = key;
  return binding;
}

}  // namespace

void reset_settings() {
  Settings& s = settings;
  s.xres = integer_item(640);
  s.yres = integer_item(480);
  s.draw_fps = integer_item(0);
  s.draw_time = integer_item(0);
  s.draw_ping = integer_item(1);
  s.spy = integer_item(0);
  s.billboard_optimize_lookahead = integer_item(8);

  s.record = no_yes("Record Demo", false);
  s.skill = choice_item("Robot Skill", {"Novice", "Amateur", "Expert"}, 0);
  s.minutes = number_item("Minutes", 0, 0, 60, 1);
  s.laps = number_item("Laps", 5, 0, 50, 1);
  static const char* const gate_labels[LINEUP_SLOTS] = {
      "Gate 1",  "Gate 2",  "Gate 3",  "Gate 4",  "Gate 5",  "Gate 6",  "Gate 7",  "Gate 8",
      "Gate 9",  "Gate 10", "Gate 11", "Gate 12", "Gate 13", "Gate 14", "Gate 15", "Gate 16",
      "Gate 17", "Gate 18", "Gate 19", "Gate 20", "Gate 21", "Gate 22", "Gate 23", "Gate 24",
      "Gate 25", "Gate 26", "Gate 27", "Gate 28", "Gate 29", "Gate 30", "Gate 31", "Gate 32",
      "Gate 33", "Gate 34", "Gate 35", "Gate 36", "Gate 37", "Gate 38", "Gate 39", "Gate 40"};
  for (int i = 0; i < LINEUP_SLOTS; ++i) {
    int code = i == 19 ? 1 : (i >= 17 && i <= 22) ? 2 : 0;
    s.slot[i] = choice_item(gate_labels[i],
                            {"Empty", "Human", "Robot", "Robot (2 stroke)", "Robot (4 stroke)"}, code);
  }
  s.ghost_fade_distance = number_item("Ghost Fade Distance", 10, 0, 40, 1);
  s.time_trial_abort = no_yes("Backing Up Aborts Attempt", true);
  s.bike = choice_item("Bike", std::vector<std::string>(BIKE_CHOICES, BIKE_CHOICES + BIKE_CHOICE_COUNT), 0);
  s.name = text_item("Name", 63, "Dusty Rookie");
  s.number = text_item("Number", 3, "999");
  s.rider_texture = texture_item("Riding Gear");
  s.head_texture = texture_item("Helmet");
  s.bike_texture = texture_item("Bike Graphics");
  s.wheel_texture = texture_item("Wheel Graphics");

  s.stability = number_item("Stability", 100, 0, 100, 1);
  s.leveling = number_item("Leveling", 20, 0, 100, 1);
  s.roll_damping = number_item("Roll Damping", 60, 0, 100, 1);
  s.roll_limit_angle = number_item("Roll Limit Angle", 45, 0, 180, 1);
  s.roll_limit_factor = number_item("Roll Limit Factor", 10, 0, 64, 1);
  s.steering_damping = number_item("Steering Damping", 45, 0, 100, 1);
  s.steering_strength = number_item("Steering Strength", 75, 0, 100, 1);
  s.max_steering_force = number_item("Max Steering Force", 400, 0, 1000, 5);
  s.direct_steering = number_item("Direct Steering", 1, 0, 1, 0.125);
  s.slow_damping_speed = number_item("Slow Damping Speed", 40, 0, 100, 1);
  s.slow_damping_factor = number_item("Slow Damping Factor", 2, 1, 10, 0.25);
  s.land_damping_falloff = number_item("Landing Damping Falloff", 0.25, 0, 0.5, 0.0625);
  s.land_damping_factor = number_item("Landing Damping Factor", 2, 1, 3, 0.25);

  s.arcade = no_yes("Arcade Physics", true);
  s.front_brake = choice_item("Front Brake", {"Normal", "Antilock"}, 1);
  s.rear_brake = choice_item("Rear Brake", {"Normal", "Antilock"}, 0);
  s.stop_wheelies = choice_item("Stop Wheelies", {"No", "Yes", "Front Only"}, 0);
  s.auto_shift = no_yes("Automatic Shifting", true);
  s.auto_dab = no_yes("Dab When Stopped", true);
  s.sticky_dab = no_yes("Sticky Sit/Dab", false);
  s.reverse_steering = no_yes("Reversed Steering", true);
  s.lean_indicator = no_yes("Lean Indicator", true);
  s.auto_clutch_rpms = number_item("Auto Clutch RPMs", 5000, 0, 5000, 100);
  s.brake_torque = number_item("Braking Torque (Front)", 250, 0, 500, 10);
  s.rear_brake_torque = number_item("Braking Torque (Rear)", 250, 0, 500, 10);
  s.max_dab_speed = number_item("Max Dab Speed (MPH)", 20, 10, 20, 1);

  s.front_sprocket_adjustment = number_item("Countershaft Sprocket", 0, -2, 2, 1);
  s.rear_sprocket_adjustment = number_item("Rear Sprocket", 0, -2, 2, 1);
  s.fork_compression_adjustment = number_item("Fork Compression Damping", 50, 0, 100, 1);
  s.fork_rebound_adjustment = number_item("Fork Rebound Damping", 50, 0, 100, 1);
  s.fork_spring_rate_adjustment = number_item("Fork Spring Rate", 50, 0, 100, 1);
  s.fork_preload_adjustment = number_item("Fork Preload", 50, 0, 100, 1);
  s.fork_oil_level_adjustment = number_item("Fork Oil Level", 50, 0, 100, 1);
  s.shock_compression_adjustment = number_item("Shock Compression Damping", 50, 0, 100, 1);
  s.shock_rebound_adjustment = number_item("Shock Rebound Damping", 50, 0, 100, 1);
  s.shock_spring_rate_adjustment = number_item("Shock Spring Rate", 50, 0, 100, 1);
  s.shock_preload_adjustment = number_item("Shock Preload", 50, 0, 100, 1);
  s.rider_yspring = number_item("Rider Vertical Spring", 50, 0, 100, 1);
  s.rider_ydamping = number_item("Rider Vertical Damping", 50, 0, 100, 1);
  s.rider_zspring = number_item("Rider Forward Spring", 50, 0, 100, 1);
  s.rider_zdamping = number_item("Rider Forward Damping", 50, 0, 100, 1);
  s.rider_mass_distribution = number_item("Rider Mass Distribution", 0.33, 0.33, 0.5, 0.01);

  s.video_mode = choice_item("Video Mode", {"Default Fullscreen", "Windowed"}, 0);
  s.server_name = text_item("Server", 127, DEFAULT_SERVER_NAME);
  s.ground_detail = number_item("Ground Geometric Detail", 50, 0, 100, 1);
  s.ground_texture_detail = number_item("Ground Texture Levels", 9, 0, 10, 1);
  s.ground_texture_dim = choice_item(
      "Ground Texture Resolution",
      {"32x32", "64x64", "128x128", "256x256", "512x512", "1024x1024"}, 2);
  s.ground_mipmaps = no_yes("Enable Ground Mipmaps", false);
  s.use_fbo = no_yes("Use Framebuffer Objects", false);
  s.use_shader = no_yes("Use Shader Programs", false);
  s.roost_density = number_item("Roost Density", 250, 0, 1000, 10);
  s.lens_flare = no_yes("Enable Lens Flares", true);
  s.hide_rider = no_yes("Hide 1st Person Rider", false);
  s.rigid_camera = no_yes("Rigid 3rd person camera", false);
  s.model_detail = number_item("Model Geometric Detail", 50, 0, 100, 1);
  s.model_texture_detail = number_item("Model Texture Detail", 9, 0, 10, 1);
  s.fov = number_item("Field Of View", 110, 10, 170, 1);
  s.first_person_height = number_item("1st Person Height", 0, 0, 1, 0.03125);
  s.first_person_angle = number_item("1st Person Angle", 0, 0, 40, 1);
  s.volume = number_item("Volume", 10, 0, 10, 1);
  s.playback_mode = choice_item("Playback Mode", {"Playback Only", "Race Against"}, 0);

  for (std::string& name : s.server_name_history) name.clear();

  static const struct {
    const char* label;
    const char* key;
  } default_bindings[BINDING_COUNT] = {
      {"Throttle", "x"},       {"Front Brake", "c"},    {"Rear Brake", "v"},
      {"Left", "left"},        {"Right", "right"},      {"Clutch", "z"},
      {"Upshift", "up"},       {"Downshift", "down"},   {"Sit/Dab", "right ctrl"},
      {"Back up", "b"},        {"Lean Forward", "n"},   {"Lean Backward", "m"},
      {"Pause", "pause"},      {"Step", "."},           {"Rewind", "\\"},
      {"Skip", "/"},           {"Previous Bike", "["},  {"Next Bike", "]"},
      {"Chat", "t"},           {"Screenshot", "s"}};
  for (int i = 0; i < BINDING_COUNT; ++i)
    s.bindings[i] = key_binding(default_bindings[i].label, default_bindings[i].key);
}

namespace {
// The defaults hold from the first moment, before start-up runs.
struct DefaultSettings {
  DefaultSettings() { reset_settings(); }
} default_settings;
}  // namespace
