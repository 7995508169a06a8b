#include "effects/roost.h"

#include <algorithm>
#include <cmath>

#include "core/mt19937.h"
#include "core/race_clock.h"
#include "core/run_settings.h"
#include "core/units.h"
#include "physics/bike.h"
#include "physics/ground_contact.h"
#include "track/ground_material.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

constexpr double FRONT_ARC = M_PI / 8, REAR_ARC = 2 * M_PI;  // widest roost arc per wheel
constexpr double NO_SPIN_ARC = M_PI / 64;
constexpr double DIRT_UNITS = 1020;
constexpr double MOST_DIRT = 0.25;  // per particle
constexpr double DEEPEST_DIG = 0.1;  // ft of contact depth that counts

// The race's generator: a whole output, a uniform in [0, 1), one in [-0.5, 0.5).
uint32_t next_random() { return mt_next(game_random); }
double uniform() { return (next_random() & 0x7FFFFFFF) * (1.0 / 2147483648.0); }
double centred() { return (next_random() & 0xFFFFFF) * (1.0 / 16777216.0) - 0.5; }
Vec3 centred_vector() {
  const double x = centred(), y = centred();
  return {x, y, centred()};
}

Billboard* billboard_of(int entry) {
  std::vector<Billboard>& boards = track().scenery.billboards;
  return entry < static_cast<int>(boards.size()) ? &boards[static_cast<size_t>(entry)] : nullptr;
}

void erode(float x, float z, int dirt, double sign) {
  const double erosion = run_settings.erosion;
  if (erosion <= 0 || dirt == 0) return;
  DeformTerrain(track().terrain, x, z, static_cast<float>(sign * dirt * erosion / DIRT_UNITS));
}

void spawn(RoostPool& pool, const RoostType& type, const Vec3& position, const Vec3& velocity, double dirt) {
  const int entry = pool.free_head;
  if (entry == ROOST_NONE) return;  // the pool is spent: the particle is dropped
  RoostParticle& p = pool.particles[entry];
  pool.free_head = p.next;
  p.position[0] = static_cast<float>(position.x);
  p.position[1] = static_cast<float>(position.y);
  p.position[2] = static_cast<float>(position.z);
  p.velocity[0] = static_cast<float>(velocity.x);
  p.velocity[1] = static_cast<float>(velocity.y);
  p.velocity[2] = static_cast<float>(velocity.z);
  p.dirt = static_cast<uint8_t>(std::clamp(dirt, 0.0, MOST_DIRT) * DIRT_UNITS);
  p.type = &type;
  pool.dirt_taken += p.dirt;
  erode(p.position[0], p.position[2], p.dirt, -1);
  if (Billboard* board = billboard_of(entry)) {
    board->x = p.position[0];
    board->y = p.position[1];
    board->z = p.position[2];
    board->height = type.size;
    board->texture = type.texture;
    board->r = type.r, board->g = type.g, board->b = type.b, board->a = type.a;
  }
  p.next = pool.active_head;
  pool.active_head = entry;
  ++pool.active_count;
}

// A splash: thrown to both sides of the wheel's path along the ground.
void splash(RoostPool& pool, const RoostType& type, const WheelContact& w, int count, double dirt) {
  const Vec3 v = body_velocity(w.body), normal = w.normal;
  const Vec3 along = v - normal * dot(v, normal);
  const double speed = length(along);
  if (!(speed > 0)) return;  // a wheel standing still throws no splash
  const Vec3 side = cross(normal, along / speed);
  const double scale = speed / std::sqrt(2.0);
  const Vec3 throws[2] = {(normal + side) * scale, (normal - side) * scale};
  for (int i = 0; i < count; ++i) {
    const Vec3& thrown = throws[((i ^ race_clock) & 1) == 0 ? 0 : 1];
    const Vec3 position = w.point + thrown * (dt * i / count);
    const Vec3 jitter = centred_vector() * type.randomize;
    spawn(pool, type, position, (thrown + jitter) * (uniform() * type.vscale), dirt);
  }
}

// Roost behind a slipping tyre: points on the tyre a little round from the
// contact, in the way the tyre turns, flung off at the tyre's speed there.
void roost(RoostPool& pool, const RoostType& type, const WheelContact& w, int count, double dirt, double widest) {
  if (length_squared(w.velocity) < static_cast<double>(type.slip_threshold) * type.slip_threshold) return;
  const Vec3 wheel_velocity = body_velocity(w.body);
  const Vec3 spin = Vec3(dBodyGetAngularVel(w.body));
  double arc = NO_SPIN_ARC;
  if (dot(wheel_velocity, w.velocity) < 0) {  // the tyre's surface runs backwards: it digs
    const double w2 = length_squared(spin);
    const double slow2 = static_cast<double>(type.slow_speed) * type.slow_speed;
    const double fast2 = static_cast<double>(type.fast_speed) * type.fast_speed;
    const double k = fast2 > slow2 ? std::clamp((w2 - slow2) / (fast2 - slow2), 0.0, 1.0) : (w2 >= fast2 ? 1.0 : 0.0);
    arc = std::min(widest, type.slow_angle + k * (type.fast_angle - type.slow_angle));
  }
  // The axle, pointing so that turning the contact about it follows the tyre.
  Vec3 axle = body_to_world(w.body, w.axle);
  if (dot(spin, axle) < 0) axle = -axle;
  const Vec3 centre = body_position(w.body);
  const Vec3 arm = w.point - centre;
  for (int i = 0; i < count; ++i) {
    const double angle = (next_random() & 0xFFFFFF) * (1.0 / 16777216.0) * arc;
    // Rodrigues' turn of the arm about the unit axle.
    const double c = std::cos(angle), s = std::sin(angle);
    const Vec3 turned = arm * c + cross(axle, arm) * s + axle * (dot(axle, arm) * (1 - c));
    const Vec3 at = centre + turned;
    Vec3 velocity = body_point_velocity(w.body, at);
    const Vec3 position = at + velocity * (dt * i / count);
    velocity = (velocity + centred_vector() * type.randomize) * static_cast<double>(type.vscale);
    spawn(pool, type, position, velocity, dirt);
  }
}

void emit_wheel(RoostPool& pool, WheelContact& w, bool stored_contact, int budget, double widest) {
  const Terrain& t = track().terrain;
  if (!stored_contact) wheel_ground_contact(t, w, 1, false);
  if (!(w.depth > 0)) return;
  const int kind = TerrainTileKindAt(t, static_cast<float>(w.point.x), static_cast<float>(w.point.z));
  const TileMaterial& material = t.materials[static_cast<size_t>(std::clamp(kind, 0, MAX_TILE_KINDS - 1))];
  for (const RoostType& type : material.roost) {
    if (type.mode == 0) break;
    const double whole = std::floor(type.count);
    int count = static_cast<int>(whole) + (uniform() < type.count - whole ? 1 : 0);
    count = std::min(count, budget);
    const double per_particle = type.dig * std::min(w.depth, DEEPEST_DIG);
    if (count <= 0) continue;
    if (type.mode == 2) splash(pool, type, w, count, per_particle);
    else roost(pool, type, w, count, per_particle, widest);
  }
}

}  // namespace

void reset_roost(RoostPool& pool) {
  for (int k = 0; k < ROOST_POOL_SIZE; ++k) {
    pool.particles[k] = RoostParticle{};
    pool.particles[k].next = k + 1 < ROOST_POOL_SIZE ? k + 1 : ROOST_NONE;
    if (Billboard* board = billboard_of(k)) board->texture = 0;
  }
  pool.free_head = 0;
  pool.active_head = ROOST_NONE;
  pool.active_count = 0;
  pool.dirt_taken = pool.dirt_returned = 0;
}

void emit_roost(RoostPool& pool, Bike& b, bool stored_contact) {
  const int frequency = std::clamp(run_settings.roost_frequency, 0, 1000);
  const int budget = frequency / 100 + (static_cast<int>(next_random() % 100) < frequency % 100 ? 1 : 0);
  if (budget == 0) return;
  emit_wheel(pool, b.wheel[WHEEL_FRONT], stored_contact, budget, FRONT_ARC);
  emit_wheel(pool, b.wheel[WHEEL_REAR], stored_contact, budget, REAR_ARC);
}

void update_roost(RoostPool& pool) {
  const Terrain& t = track().terrain;
  int* link = &pool.active_head;
  while (*link != ROOST_NONE) {
    const int entry = *link;
    RoostParticle& p = pool.particles[entry];
    const RoostType& type = *p.type;
    for (int k = 0; k < 3; ++k) {
      p.position[k] += static_cast<float>(p.velocity[k] * dt);
      p.velocity[k] -= static_cast<float>(p.velocity[k] * (dt * type.drag));
    }
    p.velocity[1] -= static_cast<float>(GRAVITY * dt);
    Billboard* board = billboard_of(entry);
    if (board) {
      board->x = p.position[0];
      board->y = p.position[1];
      board->z = p.position[2];
      board->height += static_cast<float>(dt * type.grow);
      auto fade = [](uint8_t& channel, int step) { channel = static_cast<uint8_t>(std::clamp(channel + step, 0, 255)); };
      fade(board->r, type.fade_r);
      fade(board->g, type.fade_g);
      fade(board->b, type.fade_b);
      fade(board->a, type.fade_a);
    }
    if (p.velocity[1] >= 0 || p.position[1] > TerrainHeightAt(t, p.position[0], p.position[2])) {
      link = &p.next;
      continue;
    }
    // Landed: the dirt goes back into the ground here.
    if (board) board->texture = 0;
    erode(p.position[0], p.position[2], p.dirt, 1);
    pool.dirt_returned += p.dirt;
    *link = p.next;
    p.next = pool.free_head;
    pool.free_head = entry;
    --pool.active_count;
  }
}

int64_t roost_dirt_in_air(const RoostPool& pool) {
  int64_t dirt = 0;
  for (int entry = pool.active_head; entry != ROOST_NONE; entry = pool.particles[entry].next) dirt += pool.particles[entry].dirt;
  return dirt;
}
