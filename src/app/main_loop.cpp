#include "app/main_loop.h"

#include <SDL_opengl.h>

#include <atomic>
#include <csignal>
#include <cstring>

#include "app/command_line.h"
#include "app/game_hooks.h"
#include "core/messages.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/settings.h"
#include "core/units.h"
#include "data/data_file.h"
#include "physics/bike.h"
#include "physics/bike_controls.h"
#include "physics/physics_world.h"
#include "platform/base/log.h"
#include "platform/input.h"
#include "platform/window.h"
#include "race/race_session.h"
#include "race/race_setup.h"
#include "race/rider_snapshot.h"
#include "race/standings.h"
#include "track/terrain.h"
#include "track/track.h"
#include "track/timing_gates.h"

namespace {

std::atomic<bool> stop_signal{false};

constexpr double MENU_OVER_SPECTATING_VOLUME = 0.25;
constexpr double TEXT_HEIGHT = 1.0 / 15;
constexpr int PAUSED_TEXT_LINE = 0;
constexpr int WARMUP_TEXT_LINE = 27;
constexpr float HALF = 0.5f;

void on_stop_signal(int) { stop_signal = true; }

bool offline() { return !network_hooks().connected(); }

bool yes(const SettingItem& item) { return std::strcmp(item.choice(), "Yes") == 0; }

float terrain_height_under(double x, double z) {
  return TerrainHeightAt(track().terrain, static_cast<float>(x), static_cast<float>(z));
}

int viewed_slot(const GameLoop& loop) { return loop.view.viewed_slot; }

bool viewed_has_bike(const GameLoop& loop) { return rider_snapshot(viewed_slot(loop)).present; }

void fix_view(GameLoop& loop) {
  ViewFacts facts;
  facts.track_loaded = track_is_loaded();
  facts.viewed_is_local = viewed_is_local(loop);
  facts.viewed_has_bike = viewed_has_bike(loop);
  fix_view_mode(&loop.view, facts);
}

// The camera of a chase or free view.
bool camera_pose(GameLoop& loop, CameraPose* pose) {
  ViewState& view = loop.view;
  if (view.view_mode == VIEW_CHASE) {
    const RiderSnapshot& bike = rider_snapshot(view.viewed_slot);
    if (!bike.present) return false;
    *pose = chase_camera(view, bike, !viewed_is_local(loop), yes(settings.rigid_camera), loop.line->chase_center,
                         terrain_height_under);
    view.listener_velocity = bike.velocity;
  } else {
    pose->eye = view.free.position;
    pose->target = view.free.position + free_camera_direction(view.free);
  }
  view.last_pose = *pose;
  view.has_last_pose = true;
  return true;
}

// Draws the frame by view mode; false when the window is gone.
bool draw_frame(GameLoop& loop) {
  const DrawHooks& draw = draw_hooks();
  const CommandLine& line = *loop.line;
  const int mode = loop.view.view_mode;
  const int slot = viewed_slot(loop);
  draw.set_projection(loop.screen_width, loop.screen_height);
  CameraPose pose;
  switch (mode) {
    case VIEW_RIDER:
      draw.rider_view(slot);
      break;
    case VIEW_CHASE:
    case VIEW_FREE:
      if (camera_pose(loop, &pose))
        draw.scene_from(pose.eye, pose.target);
      else
        clear_frame();
      break;
    case VIEW_EDITOR:
      editor_hooks().draw();
      break;
    default:
      draw.title_screen();
      break;
  }
  if (line.show_hud) {
    if (mode == VIEW_RIDER || mode == VIEW_CHASE) draw.hud(slot);
    draw.overlay_board();
  }
  // Pictures of the race itself: no pause text, no menu.
  if (line.record_video && !loop.paused && track_is_loaded())
    record_video_frame(&loop.video, loop.screen_width, loop.screen_height);
  if (loop.screenshot_wanted) {
    take_screenshot(&loop.screenshots, loop.screen_width, loop.screen_height);
    loop.screenshot_wanted = false;
  }
  if (loop.paused && line.show_pause_overlay) draw.centred_text("Paused", PAUSED_TEXT_LINE, TEXT_HEIGHT);
  if (viewed_is_local(loop) && !offline() && network_hooks().warming_up())
    draw.centred_text("Warmup mode - collisions disabled", WARMUP_TEXT_LINE, TEXT_HEIGHT);
  if (loop.menu.open) menu_hooks().draw(loop);
  if (line.glfinish) glFinish();
  return end_frame(loop.window);
}

void update_sound(GameLoop& loop) {
  if (!loop.sound_output) return;
  double factor = 0;
  if (!loop.paused && loop.view.view_mode != VIEW_EDITOR) {
    if (!loop.menu.open)
      factor = 1;
    else if (!viewed_is_local(loop))
      factor = MENU_OVER_SPECTATING_VOLUME;
  }
  const double volume = factor * settings.volume.value * 0.1;
  const SoundHooks& sound = sound_hooks();
  for (int slot = 0; slot < RACE_SLOTS; ++slot)
    if (rider_snapshot(slot).present) sound.update_engine(slot, volume);
  sound.update_mixer();
}

// The pointer over the menu: dragging, or picking the row under it.
void read_pointer(GameLoop& loop) {
  if (!loop.cursor_x || !loop.cursor_y) return;
  const int x = read_axis(loop.cursor_x), y = read_axis(loop.cursor_y);
  const bool moved = x != loop.pointer_x || y != loop.pointer_y;
  loop.pointer_x = x;
  loop.pointer_y = y;
  if (!loop.menu.open || !moved) return;
  const MenuHooks& menu = menu_hooks();
  if (loop.pointer_held) {
    menu.key(loop, MENU_KEY_POINTER);
  } else if (!watching_pots(loop.pots)) {
    const int row = menu.row_at(loop, x, y);
    if (row >= 0) loop.menu.cursor_row = row;
  }
}

// The local bike takes the channels; a spectator's camera moves with them.
void apply_controls(GameLoop& loop) {
  const int slot = viewed_slot(loop);
  Bike* b = race.slot_bike[slot];
  const float* ch = loop.controls.control_channels.data();
  if (!(viewed_is_local(loop) && b)) {
    steer_spectator_camera(&loop.view, ch, &rider_snapshot(slot));
    return;
  }
  if (race.time_trial && yes(settings.time_trial_abort) && ch[CHANNEL_BACK_UP] > HALF) restart_time_trial_attempt();
  if (race.slot_control[slot] != CONTROL_LOCAL) return;
  const double steer = ch[CHANNEL_STEER];
  set_steer(*b, yes(settings.reverse_steering) ? -steer : steer);
  set_front_brake(*b, ch[CHANNEL_FRONT_BRAKE]);
  set_rear_brake(*b, ch[CHANNEL_REAR_BRAKE]);
  set_throttle(*b, ch[CHANNEL_THROTTLE]);
  const bool dab_pushed = ch[CHANNEL_DAB] > HALF;
  if (dab_pushed && !loop.dab_was_pushed) loop.dab_on = !loop.dab_on;
  loop.dab_was_pushed = dab_pushed;
  set_dab(*b, yes(settings.sticky_dab) ? (loop.dab_on ? 1.0 : 0.0) : ch[CHANNEL_DAB]);
  set_back_up(*b, ch[CHANNEL_BACK_UP]);
  set_lean(*b, ch[CHANNEL_LEAN]);
  // The lever pulled in disengages at once; letting it out engages at most
  // 4 per second.
  set_clutch(*b, ch[CHANNEL_CLUTCH]);
  const float shift = ch[CHANNEL_SHIFT];
  shift_gear(*b, shift > HALF ? 1 : shift < -HALF ? -1 : 0);
}

void record_audio_tick(GameLoop& loop) {
  if (!loop.audio_recording || !loop.sound_output || !loop.audio_tick) return;
  sound_hooks().render_tick(loop.audio_tick, loop.line->audio_frames_per_tick);
  df_write(loop.audio_recording, loop.audio_tick, loop.audio_tick_bytes);
}

void handle_due_events(GameLoop& loop) {
  long seconds = 0, microseconds = 0;
  tick_wall_time(loop.pacing, &seconds, &microseconds);
  // The frame's last tick takes every event waiting.
  const bool present = loop.pacing.simulated >= loop.pacing.target;
  int code = 0;
  bool pressed = false;
  while (present ? next_event(loop.window, &code, &pressed)
                 : next_event_due(loop.window, seconds, microseconds, &code, &pressed)) {
    const bool was_open = loop.menu.open;
    const int was_page = loop.menu.page;
    handle_input_event(loop, code, pressed);
    if (loop.menu.open != was_open || loop.menu.page != was_page) loop.menu.key_lock = true;
  }
}

void run_tick(GameLoop& loop) {
  loop.pacing.simulated += dt;
  clear_channels(&loop.controls);
  handle_due_events(loop);
  if (watching_pots(loop.pots)) watch_pots(&loop.pots);
  add_rows_to_channels(&loop.controls);

  const bool online = !offline();
  // Offline, the race stands still behind the menu.
  if (loop.menu.open && viewed_is_local(loop) && !online) return;
  if (loop.view.view_mode == VIEW_EDITOR) {
    editor_hooks().tick();
    if (!online) return;
  }
  if (!loop.menu.open && track_is_loaded()) apply_controls(loop);
  if (online) loop.paused = false;
  const NetworkHooks& network = network_hooks();
  network.exchange();
  if (!track_is_loaded()) loop.view.view_mode = VIEW_NO_TRACK;
  if (loop.paused || loop.view.view_mode == VIEW_NO_TRACK) return;
  if (online && network.server_tick() < 1) return;
  race_tick();
  ++loop.ticks_run;
  record_audio_tick(loop);
}

// "--warp": once the leader has done the race's laps, the next race starts
// with the lineup moved on one gate.
void warp_restart(GameLoop& loop) {
  if (race.results.standings_count == 0) return;
  if (laps_completed_at(race.results.standings[0].gates_passed) < race.finish_lap) return;
  int32_t codes[RACE_SLOTS];
  for (int i = 0; i < RACE_SLOTS; ++i) codes[(i + 1) % RACE_SLOTS] = race.lineup[i];
  RaceSetup setup = player_race_setup(settings, track().name, static_cast<int32_t>(settings.laps.value));
  setup.set_lineup(codes, player_identity(settings));
  setup.record = yes(settings.record);
  setup.race_length_ticks = static_cast<int32_t>(settings.minutes.value * 60 / dt);
  setup.skill = settings.skill.current;
  setup.practice = run_settings.practice;
  setup.learning = run_settings.learning;
  if (!start_race(setup)) voxa_log("The next race could not start\n");
  loop.view.viewed_slot = race.first_viewed_slot;
}

void change_viewed_rider(GameLoop& loop, int direction) {
  const bool allowed = !viewed_is_local(loop) || (!offline() && network_hooks().warming_up()) || settings.spy.integer;
  if (!allowed) return;
  int order[RACE_SLOTS];
  const int count = race.results.standings_count;
  for (int i = 0; i < count; ++i) order[i] = race.results.standings[i].slot;
  loop.view.viewed_slot = neighbour_in_standings(loop.view.viewed_slot, direction, order, count);
}

bool key_of(const GameLoop&, int code, int binding) {
  return code != NO_KEY_CODE && settings.bindings[static_cast<size_t>(binding)].key_code == code;
}

}  // namespace

bool track_is_loaded() { return !track().terrain.heights.empty(); }

bool viewed_is_local(const GameLoop& loop) {
  const int slot = loop.view.viewed_slot;
  return race.slot_bike[slot] && race.slot_control[slot] == CONTROL_LOCAL;
}

void install_stop_signals() {
  stop_signal = false;
  struct sigaction action{};
  action.sa_handler = on_stop_signal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  // A reader of the video frames that goes away must not end the game.
  std::signal(SIGPIPE, SIG_IGN);
}

bool stop_signal_received() { return stop_signal; }

void bind_controls(GameLoop& loop) {
  loop.cursor_x = open_axis(loop.window, "cursor-x");
  loop.cursor_y = open_axis(loop.window, "cursor-y");
  build_control_map(&loop.controls);
  for (ControlBinding& binding : settings.bindings) resolve_binding(loop.window, &binding);
  resolve_menu_keys(loop.window, &loop.menu_keys);
}

void release_controls(GameLoop& loop) {
  stop_pot_watching(&loop.pots);
  close_axis(loop.cursor_x);
  close_axis(loop.cursor_y);
  loop.cursor_x = loop.cursor_y = nullptr;
  for (ControlBinding& binding : settings.bindings) release_binding(&binding);
}

void begin_main_loop(GameLoop& loop, Window* window, const CommandLine* line, const LoopClock& clock) {
  loop.window = window;
  loop.line = line;
  loop.clock = clock;
  loop.view = ViewState();
  loop.view.viewed_slot = race.first_viewed_slot;
  loop.screen_width = window->width;
  loop.screen_height = window->height;
  loop.menu = MenuState();
  loop.menu.open = run_settings.server_address.empty();
  loop.paused = false;
  loop.pacing = FramePacing();
  loop.pacing.last_frame = clock.now();
  loop.video.out = line->record_video ? stdout : nullptr;
  loop.screenshot_wanted = false;
}

bool main_loop_pass(GameLoop& loop) {
  if (loop.menu.quit || stop_signal_received() || window_close_requested(loop.window)) return false;
  fix_view(loop);

  if (FrameInfo* frame = begin_frame(loop.window)) {
    loop.screen_width = frame->width;
    loop.screen_height = frame->height;
    if (loop.windowed) {
      settings.xres.integer = frame->width;
      settings.yres.integer = frame->height;
    }
    if (!draw_frame(loop)) return false;
  }
  update_sound(loop);

  double game_time = frame_game_time(&loop.pacing, loop.clock, loop.line->lock_fps, loop.line->warp);
  const NetworkHooks& network = network_hooks();
  if (network.connected()) game_time = paced_to_server(game_time, network.server_tick(), race_clock, race.gate_drop_tick);
  advance_frame(&loop.pacing, game_time);

  read_pointer(loop);
  loop.menu.key_lock = false;
  while (tick_due(loop.pacing)) run_tick(loop);

  if (loop.line->warp && track_is_loaded()) warp_restart(loop);
  if (track_is_loaded()) draw_hooks().update_terrain();
  age_messages(loop.pacing.game_clock);
  return true;
}

void run_main_loop(GameLoop& loop) {
  while (main_loop_pass(loop)) {
  }
}

void handle_input_event(GameLoop& loop, int code, bool pressed) {
  apply_key_to_rows(&loop.controls, code, pressed);
  const MenuKeys& keys = loop.menu_keys;
  if (keys.is(code, MENU_CURSOR_LEFT)) loop.pointer_held = pressed;

  if (watching_pots(loop.pots)) {
    if (pressed && keys.is(code, MENU_ESC))
      stop_pot_watching(&loop.pots);
    else if (pressed)
      bind_key_while_watching(loop.window, &loop.pots, code);
    return;
  }
  MenuState& menu = loop.menu;
  if (pressed && keys.is(code, MENU_ESC)) {
    if (!menu.open) menu.page = 0;
    menu.open = !menu.open;
    menu.cursor_row = 0;
    return;
  }
  if (menu.open) {
    if (pressed) menu_hooks().key(loop, code);
    if (!track_is_loaded()) loop.view.view_mode = VIEW_NO_TRACK;
    return;
  }
  int& mode = loop.view.view_mode;
  if (pressed && key_of(loop, code, BIND_CONSOLE) && mode != VIEW_EDITOR) {
    menu.open = true;
    menu.page = MENU_PAGE_CHAT;
    menu.cursor_row = 0;
    return;
  }
  if (mode == VIEW_NO_TRACK) return;
  if (mode == VIEW_EDITOR && editor_hooks().key(code, pressed)) return;
  if (!pressed) return;

  if (key_of(loop, code, BIND_PAUSE) && offline()) loop.paused = !loop.paused;
  if (key_of(loop, code, BIND_STEP) && loop.paused) {
    race_tick();
    ++loop.ticks_run;
  }
  if (code == KEY_CODE_TAB) {
    if (mode == VIEW_EDITOR) {
      draw_hooks().rebuild_terrain();
      editor_hooks().finish();
      dJointGroupEmpty(physics.contacts);
    }
    cycle_view(&loop.view, run_settings.editor);
  }
  if (key_of(loop, code, BIND_REWIND)) seek_playback(-1);
  if (key_of(loop, code, BIND_SKIP)) seek_playback(1);
  if (key_of(loop, code, BIND_PREV)) change_viewed_rider(loop, -1);
  if (key_of(loop, code, BIND_NEXT)) change_viewed_rider(loop, 1);
  if (key_of(loop, code, BIND_SCREENSHOT) && mode != VIEW_EDITOR) loop.screenshot_wanted = true;
}
