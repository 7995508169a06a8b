#include "kit/mesh.h"

namespace kit {

int Mesh::add_vertex(Vec3 position, Vec3 normal, double u, double v) {
  vertices.push_back({position, normalized(normal), u, v});
  return static_cast<int>(vertices.size()) - 1;
}

void Mesh::add_facing_triangle(int a, int b, int c) {
  Vec3 pa = vertices[a].position, pb = vertices[b].position, pc = vertices[c].position;
  Vec3 face = cross(pb - pa, pc - pa);
  if (length(face) < 1e-12) return;
  Vec3 wanted = vertices[a].normal + vertices[b].normal + vertices[c].normal;
  if (dot(face, wanted) < 0)
    triangles.push_back({a, c, b});
  else
    triangles.push_back({a, b, c});
}

void Mesh::append(const Mesh& other) {
  int base = static_cast<int>(vertices.size());
  vertices.insert(vertices.end(), other.vertices.begin(), other.vertices.end());
  for (auto t : other.triangles) triangles.push_back({t[0] + base, t[1] + base, t[2] + base});
  weights.insert(weights.end(), other.weights.begin(), other.weights.end());
}

size_t Model::triangle_count() const {
  size_t n = 0;
  for (const Mesh& mesh : meshes) n += mesh.triangles.size();
  return n;
}

size_t Model::vertex_count() const {
  size_t n = 0;
  for (const Mesh& mesh : meshes) n += mesh.vertices.size();
  return n;
}

UvRect pixel_rect(int size, double x0, double y0, double x1, double y1) {
  return {x0 / size, y0 / size, x1 / size, y1 / size};
}

void transform(Mesh& mesh, const Mat3& rotation, Vec3 offset, size_t first) {
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    Vertex& v = mesh.vertices[i];
    v.position = rotation * v.position + offset;
    v.normal = normalized(rotation * v.normal);
  }
}

void translate(Mesh& mesh, Vec3 offset, size_t first) {
  for (size_t i = first; i < mesh.vertices.size(); ++i) mesh.vertices[i].position += offset;
}

void scale(Mesh& mesh, Vec3 f, size_t first) {
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    Vertex& v = mesh.vertices[i];
    v.position = {v.position.x * f.x, v.position.y * f.y, v.position.z * f.z};
    // Normals transform by the inverse scale.
    v.normal = normalized({v.normal.x / f.x, v.normal.y / f.y, v.normal.z / f.z});
  }
}

Mesh mirrored_x(const Mesh& mesh, const UvRect* flip_u) {
  Mesh out = mesh;
  for (Vertex& v : out.vertices) {
    v.position.x = -v.position.x;
    v.normal.x = -v.normal.x;
    if (flip_u && v.u >= flip_u->u0 - 1e-9 && v.u <= flip_u->u1 + 1e-9) v.u = flip_u->u0 + flip_u->u1 - v.u;
  }
  for (auto& t : out.triangles) std::swap(t[1], t[2]);
  return out;
}

void project_uv(Mesh& mesh, Vec3 origin, Vec3 s_axis, Vec3 t_axis, UvRect rect, size_t first) {
  for (size_t i = first; i < mesh.vertices.size(); ++i) {
    Vertex& v = mesh.vertices[i];
    v.u = rect.u_at(dot(v.position - origin, s_axis));
    v.v = rect.v_at(dot(v.position - origin, t_axis));
  }
}

void compute_normals(Mesh& mesh) {
  std::vector<Vec3> sums(mesh.vertices.size());
  for (auto t : mesh.triangles) {
    Vec3 a = mesh.vertices[t[0]].position, b = mesh.vertices[t[1]].position, c = mesh.vertices[t[2]].position;
    Vec3 face = cross(b - a, c - a);  // area-weighted
    for (int k = 0; k < 3; ++k) sums[t[k]] += face;
  }
  for (size_t i = 0; i < sums.size(); ++i)
    if (length(sums[i]) > 1e-12) mesh.vertices[i].normal = normalized(sums[i]);
}

}  // namespace kit
