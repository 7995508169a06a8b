// What the player is looking at: the view mode, the slot whose rider is
// viewed, and the chase and free cameras. The main loop owns one ViewState;
// riders are read through their published snapshots.
#pragma once

#include "physics/vec3.h"

struct RiderSnapshot;

enum ViewMode {
  VIEW_RIDER = 0,     // the viewed rider's own camera
  VIEW_EDITOR = 2,    // the track editor
  VIEW_CHASE = 3,     // behind the viewed bike
  VIEW_FREE = 4,      // a camera the spectator flies
  VIEW_NO_TRACK = 5,  // no track loaded: the title screen with the menu
};

// The spectator's chase camera: direction, distance and height over the bike.
struct ChaseCamera {
  double yaw = 0;
  double distance = 10;
  double height = 5;
};

struct FreeCamera {
  double yaw = 0, pitch = 0;            // radians
  double yaw_rate = 0, pitch_rate = 0;  // radians per second
  Vec3 position;
};

struct CameraPose {
  Vec3 eye, target;
};

struct ViewState {
  int view_mode = VIEW_RIDER;
  int viewed_slot = 0;
  ChaseCamera chase;
  FreeCamera free;
  CameraPose last_pose;          // the last chase or free view drawn
  bool has_last_pose = false;
  Vec3 listener_velocity;        // for the engine sound's Doppler shift
};

// What decides the view mode besides the mode itself.
struct ViewFacts {
  bool track_loaded = false;
  bool viewed_is_local = false;  // the viewed slot is driven by the local player
  bool viewed_has_bike = false;
};

// The fixing rules, applied before every frame: a loaded track leaves the
// title screen; the local rider is seen from the rider, chase or editor
// camera; a slot without a bike is watched by the free camera; no track
// gives the title screen.
void fix_view_mode(ViewState* view, const ViewFacts& facts);

// Tab: rider -> chase (-> editor when available) -> free -> rider. Leaving
// the editor goes to the chase camera; the title screen stays.
void cycle_view(ViewState* view, bool editor_available);

// The chase camera's eye and target for a bike. The local rider's camera
// trails the bike's travel (its long axis at low speed, or always with a
// rigid camera); a spectator's camera sits where its yaw, distance and
// height put it. `ground` gives the terrain height under a point.
CameraPose chase_camera(const ViewState& view, const RiderSnapshot& bike, bool spectating, bool rigid,
                        const float centre[3], float (*ground)(double x, double z));

// The free camera's look direction.
Vec3 free_camera_direction(const FreeCamera& camera);

// A spectator's tick: the control channels turn and move the chase or free
// camera; with channel 6 held the free camera follows `followed` (may be null).
void steer_spectator_camera(ViewState* view, const float* channels, const RiderSnapshot* followed);

// Previous (-1) or next (+1) rider in the running order: the entry before
// or after the viewed slot, clamped to the ends; a slot not in the order
// counts as past the end.
int neighbour_in_standings(int viewed_slot, int direction, const int* order_slots, int count);

// Angle wrapped into -pi..pi.
double wrap_angle(double angle);
