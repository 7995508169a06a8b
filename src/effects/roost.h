// Roost: the dirt a wheel throws. Each tick a bike's wheels emit particles
// by the ground material under them (dirt kicked up behind a spinning
// tyre, a splash to both sides), which fly with drag, grow and fade as the
// track's reserved roost billboards, and die when they fall back to the
// ground. With erosion on, a particle takes its dirt from the ground where
// it leaves and puts it back where it lands: racing lines rut, berms build.
#pragma once

#include <cstdint>

#include "track/scenery.h"

struct Bike;
struct RoostType;

constexpr int ROOST_POOL_SIZE = ROOST_BILLBOARDS;  // one billboard each
constexpr int ROOST_NONE = -1;

struct RoostParticle {
  float position[3] = {0, 0, 0};  // ft
  float velocity[3] = {0, 0, 0};  // ft/s
  uint8_t dirt = 0;               // dirt carried, in 1/1020 units
  const RoostType* type = nullptr;
  int next = ROOST_NONE;          // the next entry of the free or active list
};

// The fixed pool, owned by the race session; entry k drives billboard k.
struct RoostPool {
  RoostParticle particles[ROOST_POOL_SIZE];
  int free_head = ROOST_NONE;
  int active_head = ROOST_NONE;
  int active_count = 0;
  // Dirt taken from the ground and put back so far (1/1020 units), for
  // keeping the books.
  int64_t dirt_taken = 0, dirt_returned = 0;
};

// Every entry free, none flying, every roost billboard hidden.
void reset_roost(RoostPool& pool);

// One bike's roost for this tick. A bike simulated here has its wheel
// contacts from the tick's ground contact (`stored_contact`); a replayed
// bike (demo rider, remote rider) has them measured from the terrain.
void emit_roost(RoostPool& pool, Bike& b, bool stored_contact);

// Moves every particle on by one tick; landed ones give their dirt back.
void update_roost(RoostPool& pool);

// Dirt in the air now (1/1020 units).
int64_t roost_dirt_in_air(const RoostPool& pool);
