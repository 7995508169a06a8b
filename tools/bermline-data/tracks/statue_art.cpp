// Statues the tracks share: hay bales and tuff blocks to keep riders on the
// course, the tower beside the start, and one place of the starting gate,
// each as a model, a texture and a collision shape. Models stand on the
// ground at their origin with their length along z.
#include <cmath>

#include "kit/jm_format.h"
#include "kit/noise.h"
#include "kit/paint.h"
#include "kit/primitives.h"
#include "kit/shp_format.h"
#include "tracks/track_art.h"

namespace tracks {

using namespace kit;

namespace {

Frame frame_at(Vec3 origin) {
  Frame f;
  f.origin = origin;
  return f;
}

// Collision spheres of scenery: firm but a little forgiving.
ShapeSphere sphere(Vec3 centre, double radius, double friction, double spring, double damper) {
  return {centre, radius, friction, spring, damper};
}

std::string model_bytes(Mesh mesh, Material material = {}) {
  Model model;
  mesh.material = material;
  model.meshes.push_back(std::move(mesh));
  return write_jm(model);
}

// ---- hay bale: 3.2 ft long, 1.6 wide, 1.4 high, two bands of twine ----------

Image straw_texture() {
  Image image(256, 256);
  shade_rect(image, 0, 0, 256, 256, [](double x, double y, Colour& c) {
    double fibre = value_noise(x / 2.0, y / 24.0, 5) * 0.5 + value_noise(x / 1.0, y / 9.0, 6) * 0.5;
    double patch = fbm(x / 60.0, y / 60.0, 7, 3);
    c = mix(hex(0xb89a52), hex(0xe2cc84), static_cast<float>(0.5 + 0.45 * fibre + 0.2 * patch));
  });
  // The twine's own strip at the bottom of the picture.
  fill_rect(image, 0, 232, 256, 256, hex(0x6a5a3a));
  add_grain(image, 0, 0, 256, 232, 0.1, 2, 9);
  return image;
}

void add_hay_bale(KitFiles& files) {
  Mesh mesh;
  add_box(mesh, frame_at({0, 0.7, 0}), {0.8, 0.7, 1.6}, {0, 0, 1, 0.9});
  for (double z : {-0.8, 0.8}) add_box(mesh, frame_at({0, 0.7, z}), {0.82, 0.72, 0.05}, {0, 0.92, 1, 1});
  files["haybale.jm"] = model_bytes(mesh, {4, 0, {0.1, 0.1, 0.08}});
  files["haybale.png"] = to_png(straw_texture(), 3);
  files["haybale.shp"] = write_shp({sphere({0, 0.7, -0.85}, 0.8, 0.8, 6000, 600),
                                    sphere({0, 0.7, 0.85}, 0.8, 0.8, 6000, 600)});
}

// ---- tuff block: the plastic lane divider of the stadium, 6 ft long ---------

Image tuff_texture() {
  // Upper part, wrapped round the block along its length: blue moulded
  // plastic with two white stripes running end to end. Lower right: an end.
  Image image(512, 256);
  fill_rect(image, 0, 0, 512, 192, hex(0x1f4e9c));
  for (int k = 0; k < 12; ++k) fill_rect(image, 0, k * 16, 512, k * 16 + 2, hex(0x173e7e));  // moulded ribs
  for (double u : {0.2, 0.7}) fill_rect(image, u * 512, 0, u * 512 + 40, 192, hex(0xf2f2ee));
  fill_rect(image, 0, 192, 512, 256, hex(0x193f80));
  fill_circle(image, 480, 224, 22, hex(0xf2f2ee));
  fill_circle(image, 480, 224, 12, hex(0x193f80));
  add_grain(image, 0, 0, 512, 256, 0.05, 3, 13);
  return image;
}

void add_tuff_block(KitFiles& files) {
  Mesh mesh;
  Frame frame = frame_at({0, 1.0, 0});
  add_extrusion(mesh, frame, rounded_rect_outline(2.0, 2.0, 0.45, 4), 6.0, {0.875, 0.75, 1, 1}, {0, 0, 1, 0.75});
  files["tuffblock.jm"] = model_bytes(mesh, {24, 0, {0.35, 0.35, 0.4}});
  files["tuffblock.png"] = to_png(tuff_texture(), 3);
  files["tuffblock.shp"] = write_shp({sphere({0, 1, -2.1}, 1.0, 0.5, 12000, 900), sphere({0, 1, 0}, 1.0, 0.5, 12000, 900),
                                      sphere({0, 1, 2.1}, 1.0, 0.5, 12000, 900)});
}

// ---- the tower: a timing and announcer's hut on four legs ---------------------

Image tower_texture() {
  Image image(512, 512);
  // Top left: plank walls with windows; top right: legs' timber; bottom:
  // the roof's sheet metal.
  shade_rect(image, 0, 0, 256, 256, [](double x, double y, Colour& c) {
    double plank = std::fmod(y, 21.0) < 2 ? 0.6 : 1.0;
    double grain_ = value_noise(x / 30.0, y / 3.0, 21) * 0.1;
    c = scaled(hex(0xa8744a), static_cast<float>(plank * (1 + grain_)));
  });
  for (int k = 0; k < 3; ++k) {
    double x0 = 24 + k * 76;
    fill_rect(image, x0 - 4, 52, x0 + 64, 150, hex(0xeeeeea));
    fill_rect(image, x0, 56, x0 + 60, 146, hex(0x2a3c4e));
    fill_rect(image, x0 + 4, 60, x0 + 30, 100, hex(0x5d7c98));  // sky in the glass
  }
  shade_rect(image, 256, 0, 512, 256, [](double x, double y, Colour& c) {
    c = scaled(hex(0x7a5a3e), static_cast<float>(0.85 + 0.2 * value_noise(x / 5.0, y / 40.0, 23)));
  });
  shade_rect(image, 0, 256, 512, 512, [](double x, double, Colour& c) {
    double rib = 0.85 + 0.15 * std::cos(x / 512.0 * 2 * PI * 24);
    c = scaled(hex(0x9aa0a6), static_cast<float>(rib));
  });
  add_grain(image, 0, 0, 512, 512, 0.05, 3, 29);
  return image;
}

void add_tower(KitFiles& files) {
  Mesh mesh;
  const UvRect walls{0, 0, 0.5, 0.5}, timber{0.5, 0, 1, 0.5}, roof{0, 0.5, 1, 1};
  for (double x : {-4.0, 4.0})
    for (double z : {-3.5, 3.5}) add_box(mesh, frame_at({x, 6.5, z}), {0.35, 6.5, 0.35}, timber);
  add_box(mesh, frame_at({0, 13.2, 0}), {5.2, 0.25, 4.6}, timber);  // floor
  add_box(mesh, frame_at({0, 16.8, 0}), {5.0, 3.4, 4.4}, walls);    // hut
  // A pitched roof over it.
  std::vector<Vec2> gable = {{-5.8, 0}, {5.8, 0}, {0, 2.4}};
  add_extrusion(mesh, frame_at({0, 20.2, 0}), gable, 10.4, roof, roof);
  // Stairs up one side.
  for (int k = 0; k < 12; ++k) add_box(mesh, frame_at({5.9, 0.55 + k * 1.1, -3 + k * 0.55}), {0.9, 0.08, 0.35}, timber);
  files["tower.jm"] = model_bytes(mesh, {8, 0, {0.15, 0.15, 0.15}});
  files["tower.png"] = to_png(tower_texture(), 3);
  std::vector<ShapeSphere> shape;
  for (double x : {-4.0, 4.0})
    for (double z : {-3.5, 3.5}) shape.push_back(sphere({x, 1.2, z}, 1.2, 0.6, 20000, 1500));
  files["tower.shp"] = write_shp(shape);
}

// ---- one place of the starting gate -------------------------------------------
//
// The statue stands 3 ft in front of a rider's place, its z axis pointing
// back at the rider. The plate lies flat on the ground ahead of a hinge at
// the origin (-z); while the gate is up the race turns the statue about its
// lateral axis, which lifts the plate's far edge 1.6 ft off the ground in
// front of the wheel, and dropping the gate lays it flat to be ridden over.

Image gate_texture() {
  Image image(256, 256);
  // Upper half: the plate, yellow and black stripes on galvanised steel;
  // lower half: the hinge and frame steel.
  shade_rect(image, 0, 0, 256, 128, [](double x, double y, Colour& c) {
    bool stripe = std::fmod(x + y + 512, 64.0) < 32;
    c = stripe ? hex(0xf2c214) : hex(0x1c1c1c);
  });
  fill_rect(image, 0, 0, 256, 10, hex(0xb8bcc0));
  fill_rect(image, 0, 118, 256, 128, hex(0xb8bcc0));
  shade_rect(image, 0, 128, 256, 256, [](double x, double y, Colour& c) {
    c = scaled(hex(0xa8adb2), static_cast<float>(0.85 + 0.2 * value_noise(x / 9.0, y / 9.0, 31)));
  });
  add_grain(image, 0, 0, 256, 256, 0.05, 2, 33);
  return image;
}

void add_starting_gate(KitFiles& files) {
  Mesh mesh;
  add_box(mesh, frame_at({0, 0.06, -1.5}), {1.6, 0.06, 1.4}, {0, 0, 1, 0.5});  // the plate
  add_cylinder(mesh, {-1.65, 0.1, 0}, {1.65, 0.1, 0}, 0.12, 0.12, 10, {0, 0.5, 1, 1});  // hinge
  for (double x : {-1.1, 0.0, 1.1})  // ribs on the plate
    add_box(mesh, frame_at({x, 0.13, -1.5}), {0.05, 0.05, 1.35}, {0, 0.5, 1, 1});
  files["startgate.jm"] = model_bytes(mesh, {20, 0, {0.4, 0.4, 0.4}});
  files["startgate.ppm"] = to_ppm(gate_texture());
  // Spheres along the plate's far half, sunk under it so a dropped gate is
  // no bump; raised, they stand about a foot high across the wheel's way.
  std::vector<ShapeSphere> shape;
  for (double z : {-1.9, -2.6})
    for (double x : {-1.0, 0.0, 1.0}) shape.push_back(sphere({x, -0.42, z}, 0.4, 0.6, 20000, 1500));
  files["startgate.shp"] = write_shp(shape);
}

}  // namespace

void add_statue_art(KitFiles& files) {
  add_hay_bale(files);
  add_tuff_block(files);
  add_tower(files);
  add_starting_gate(files);
}

}  // namespace tracks
