// Triangle meshes as the ".jm" model files hold them: a model is a list of
// meshes, each with one material, its vertices (position, normal, texture
// coordinate and, for skinned models, one weight per bone) and triangles.
//
// Texture coordinates here are in image space: u to the right, v down from
// the top row of the texture, both 0..1. The file stores v flipped (the
// reader turns it back), so painting and modelling share one convention.
//
// Triangles are counter-clockwise seen from outside (the game culls back
// faces).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "kit/vec.h"

namespace kit {

struct Material {
  double shininess = 32;  // -1: an environment-mapped highlight layer
  double reflection = 0;  // intensity of that layer
  Vec3 specular{0.5, 0.5, 0.5};

  static Material reflective(double intensity, Vec3 tint = {1, 1, 1}) { return {-1, intensity, tint}; }
};

struct Vertex {
  Vec3 position;
  Vec3 normal;
  double u = 0, v = 0;
};

struct Mesh {
  Material material;
  std::vector<Vertex> vertices;
  std::vector<std::array<int, 3>> triangles;
  // vertices.size() x bone count, row per vertex; empty for rigid meshes.
  std::vector<double> weights;

  int add_vertex(Vec3 position, Vec3 normal, double u, double v);
  // Adds a triangle wound so that its face points the way its vertex
  // normals do (flipping the order if needed); degenerate ones are dropped.
  void add_facing_triangle(int a, int b, int c);
  void append(const Mesh& other);
};

struct Model {
  int bone_count = 0;     // 0: rigid (file version 1); else skinned (version 2)
  std::string rig_name;   // one word naming the bones (skinned models only)
  std::vector<Mesh> meshes;

  size_t triangle_count() const;
  size_t vertex_count() const;
};

// Texture region in image space, see above.
struct UvRect {
  double u0 = 0, v0 = 0, u1 = 1, v1 = 1;
  // The point at fractions (s, t) across the region.
  double u_at(double s) const { return u0 + (u1 - u0) * s; }
  double v_at(double t) const { return v0 + (v1 - v0) * t; }
};

// Region of a texture of `size` pixels given in pixels.
UvRect pixel_rect(int size, double x0, double y0, double x1, double y1);

// Moves every vertex from index `first` on: p' = rotation * p + offset.
void transform(Mesh& mesh, const Mat3& rotation, Vec3 offset, size_t first = 0);
void translate(Mesh& mesh, Vec3 offset, size_t first = 0);
void scale(Mesh& mesh, Vec3 factors, size_t first = 0);

// A copy reflected through the plane x = 0 (the other side of the bike),
// with windings fixed; u is mirrored inside `flip_u` when given so that
// painted text still reads from outside.
Mesh mirrored_x(const Mesh& mesh, const UvRect* flip_u = nullptr);

// Sets the texture coordinates of vertices from `first` on by projecting
// their positions: s = dot(p - origin, s_axis), t = dot(p - origin,
// t_axis), mapped from 0..1 into `rect`.
void project_uv(Mesh& mesh, Vec3 origin, Vec3 s_axis, Vec3 t_axis, UvRect rect, size_t first = 0);

// Recomputes smooth normals from the faces (vertices shared by triangles
// are averaged; split vertices keep their own).
void compute_normals(Mesh& mesh);

}  // namespace kit
