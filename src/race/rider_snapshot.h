// What the layers above the race read of each rider: a snapshot per slot,
// published once per tick (and at the race start), so the renderer, the
// heads-up display, the engine sound and the network read riders without
// touching ODE or the physics internals.
#pragma once

#include <cstdint>

#include "physics/bike.h"
#include "race/race_setup.h"

struct RiderSnapshot {
  bool present = false;  // a bike rides in this slot
  int control = 0;       // CONTROL_LOCAL, CONTROL_EXTERNAL or CONTROL_AUTOPILOT
  // The seven bodies by BikeBodyIndex: world positions and orientations
  // (unit quaternions w, x, y, z).
  Vec3 position[BODY_COUNT];
  double orientation[BODY_COUNT][4] = {};
  Vec3 velocity;           // of the frame, ft/s
  double engine_rpm = 0;
  int gear = 0;            // 0 = first gear
  BikeControls controls;
  bool crashed = false;    // the rider is off the bike
  int crash_timer = 0;
  bool wheel_down[WHEEL_COUNT] = {};
  int laps = 0;            // completed
  int gates_passed = 0;    // sequence position of the next timing gate
  bool finished = false;
};

// Copies every slot's state; race_tick and start_race call it.
void publish_rider_snapshots();

// The last published state of a slot (0 .. 39).
const RiderSnapshot& rider_snapshot(int slot);
