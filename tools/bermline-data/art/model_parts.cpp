#include "art/model_parts.h"

#include <cmath>

namespace art {

kit::Material paint_material() { return {56, 0, {0.45, 0.45, 0.45}}; }
kit::Material metal_material() { return {40, 0, {0.6, 0.6, 0.6}}; }
kit::Material satin_material() { return {18, 0, {0.25, 0.25, 0.25}}; }
kit::Material rubber_material() { return {6, 0, {0.06, 0.06, 0.06}}; }

Frame side_frame(double x) {
  Frame f;
  f.origin = {x, 0, 0};
  f.x = {0, 0, -1};
  f.y = {0, 1, 0};
  f.z = {1, 0, 0};
  return f;
}

Frame spine_frame(Vec3 at, Vec3 tangent, Vec3 side) {
  Frame f;
  f.origin = at;
  f.z = kit::normalized(tangent);
  f.x = kit::normalized(side - f.z * kit::dot(side, f.z));
  if (kit::length(f.x) < 0.5) f.x = kit::any_perpendicular(f.z);
  f.y = kit::cross(f.z, f.x);
  return f;
}

void bend(Mesh& mesh, size_t first, const std::function<Vec3(Vec3)>& offset) {
  for (size_t i = first; i < mesh.vertices.size(); ++i) mesh.vertices[i].position += offset(mesh.vertices[i].position);
  // Normals of the moved part from its own faces.
  std::vector<Vec3> sums(mesh.vertices.size() - first);
  for (auto t : mesh.triangles) {
    if (t[0] < static_cast<int>(first)) continue;
    Vec3 a = mesh.vertices[t[0]].position, b = mesh.vertices[t[1]].position, c = mesh.vertices[t[2]].position;
    Vec3 face = kit::cross(b - a, c - a);
    for (int k = 0; k < 3; ++k) sums[t[k] - first] += face;
  }
  for (size_t i = 0; i < sums.size(); ++i)
    if (kit::length(sums[i]) > 1e-12) mesh.vertices[first + i].normal = kit::normalized(sums[i]);
}

std::vector<Vec2> arch_section(double w, double h, double thickness, double skirt, int steps) {
  std::vector<Vec2> out;
  out.push_back({w, -skirt});
  for (int i = 0; i <= steps; ++i) {
    double a = kit::PI * i / steps;
    out.push_back({w * std::cos(a), h * std::sin(a)});
  }
  out.push_back({-w, -skirt});
  double wi = w - thickness, hi = h - thickness;
  out.push_back({-wi, -skirt});
  for (int i = steps; i >= 0; --i) {
    double a = kit::PI * i / steps;
    out.push_back({wi * std::cos(a), hi * std::sin(a)});
  }
  out.push_back({wi, -skirt});
  return out;
}

void add_both_sides(Mesh& mesh, const std::function<void(Mesh&)>& build, const UvRect* region) {
  Mesh side;
  build(side);
  mesh.append(side);
  mesh.append(kit::mirrored_x(side, region));
}

Model body_part(std::vector<Mesh> meshes, Vec3 body_centre, Detail detail, const Mesh* glossy, double gloss) {
  Model model;
  model.meshes = std::move(meshes);
  if (glossy && !detail.far()) {
    Mesh layer = *glossy;
    layer.material = kit::Material::reflective(gloss);
    model.meshes.push_back(layer);
  }
  for (Mesh& mesh : model.meshes) kit::translate(mesh, -body_centre);
  return model;
}

void fit_square_uv(Mesh& mesh, size_t first, Vec3 s_axis, Vec3 t_axis) {
  double s0 = 1e30, s1 = -1e30, t0 = 1e30, t1 = -1e30;
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    double s = kit::dot(mesh.vertices[i].position, s_axis), t = kit::dot(mesh.vertices[i].position, t_axis);
    s0 = std::min(s0, s);
    s1 = std::max(s1, s);
    t0 = std::min(t0, t);
    t1 = std::max(t1, t);
  }
  double side = std::max(s1 - s0, t1 - t0);
  double sc = (s0 + s1) / 2, tc = (t0 + t1) / 2;
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    kit::Vertex& v = mesh.vertices[i];
    v.u = 0.5 + (kit::dot(v.position, s_axis) - sc) / side;
    v.v = 0.5 - (kit::dot(v.position, t_axis) - tc) / side;
  }
}

}  // namespace art
