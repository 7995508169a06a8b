#include "kit/primitives.h"

#include <algorithm>
#include <cmath>

namespace kit {

namespace {

Vec3 centroid(const std::vector<Vec3>& ring) {
  Vec3 sum;
  for (Vec3 p : ring) sum += p;
  return sum / static_cast<double>(ring.size());
}

// Cumulative arc-length fractions 0..1 along a polyline (with the closing
// segment when `closed`), one more entry than points when closed.
std::vector<double> arc_fractions(const std::vector<Vec3>& points, bool closed) {
  std::vector<double> out{0};
  size_t count = closed ? points.size() : points.size() - 1;
  for (size_t i = 0; i < count; ++i) out.push_back(out.back() + length(points[(i + 1) % points.size()] - points[i]));
  double total = out.back();
  for (size_t i = 0; i < out.size(); ++i) out[i] = total > 1e-12 ? out[i] / total : static_cast<double>(i) / (out.size() - 1);
  return out;
}

void add_cap(Mesh& mesh, const std::vector<Vec3>& ring, Vec3 normal, UvRect uv) {
  Vec3 e1 = any_perpendicular(normal), e2 = cross(normal, e1);
  Vec3 c = centroid(ring);
  std::vector<Vec2> flat;
  double x0 = 1e30, x1 = -1e30, y0 = 1e30, y1 = -1e30;
  for (Vec3 p : ring) {
    Vec2 q{dot(p - c, e1), dot(p - c, e2)};
    flat.push_back(q);
    x0 = std::min(x0, q.x);
    x1 = std::max(x1, q.x);
    y0 = std::min(y0, q.y);
    y1 = std::max(y1, q.y);
  }
  int base = static_cast<int>(mesh.vertices.size());
  for (size_t i = 0; i < ring.size(); ++i)
    mesh.add_vertex(ring[i], normal, uv.u_at((flat[i].x - x0) / std::max(1e-9, x1 - x0)),
                    uv.v_at((flat[i].y - y0) / std::max(1e-9, y1 - y0)));
  for (auto t : triangulate(flat)) mesh.add_facing_triangle(base + t[0], base + t[1], base + t[2]);
}

}  // namespace

Frame frame_looking(Vec3 origin, Vec3 forward, Vec3 up) {
  Frame f;
  f.origin = origin;
  f.z = normalized(forward);
  f.x = normalized(cross(up, f.z));
  if (length(f.x) < 0.5) f.x = any_perpendicular(f.z);
  f.y = cross(f.z, f.x);
  return f;
}

void add_rings(Mesh& mesh, const std::vector<std::vector<Vec3>>& rings, UvRect uv, const RingOptions& options) {
  size_t rows = rings.size();
  if (rows < 2 || rings[0].size() < 2) return;
  size_t n = rings[0].size();
  auto point = [&](long i, long j) -> Vec3 {
    long r = options.closed_along ? (i % static_cast<long>(rows) + rows) % rows : std::clamp(i, 0L, long(rows) - 1);
    long c = options.closed_around ? (j % static_cast<long>(n) + n) % n : std::clamp(j, 0L, long(n) - 1);
    return rings[r][c];
  };

  // Raw normals from the grid's two directions.
  std::vector<Vec3> normals(rows * n);
  Vec3 all_centre;
  for (const auto& ring : rings) all_centre += centroid(ring);
  all_centre = all_centre / static_cast<double>(rows);
  double outward = 0;
  for (size_t i = 0; i < rows; ++i)
    for (size_t j = 0; j < n; ++j) {
      Vec3 around = point(i, j + 1) - point(i, long(j) - 1);
      Vec3 along = point(i + 1, j) - point(long(i) - 1, j);
      Vec3 raw = cross(around, along);
      normals[i * n + j] = raw;
      outward += dot(raw, rings[i][j] - all_centre);
    }
  double sign = (options.closed_around && outward < 0) ? -1 : 1;
  if (options.flip) sign = -sign;
  for (Vec3& v : normals) v = normalized(v) * sign;
  // Collapsed rings (poles) take the average normal of their neighbours.
  for (size_t i = 0; i < rows; ++i) {
    bool degenerate = true;
    for (size_t j = 0; j < n; ++j) degenerate &= length(normals[i * n + j]) < 0.5;
    if (!degenerate) continue;
    Vec3 sum;
    for (long k : {long(i) - 1, long(i) + 1}) {
      if (!options.closed_along && (k < 0 || k >= long(rows))) continue;
      size_t r = (k % long(rows) + rows) % rows;
      for (size_t j = 0; j < n; ++j) sum += normals[r * n + j];
    }
    for (size_t j = 0; j < n; ++j) normals[i * n + j] = normalized(sum);
  }

  // Texture parameters.
  std::vector<Vec3> centres;
  for (const auto& ring : rings) centres.push_back(centroid(ring));
  std::vector<double> along = arc_fractions(centres, options.closed_along);
  size_t cols = options.closed_around ? n + 1 : n;
  size_t grid_rows = options.closed_along ? rows + 1 : rows;
  int base = static_cast<int>(mesh.vertices.size());
  for (size_t i = 0; i < grid_rows; ++i) {
    size_t r = i % rows;
    std::vector<double> around = arc_fractions(rings[r], options.closed_around);
    for (size_t j = 0; j < cols; ++j) {
      size_t c = j % n;
      double s = around[j] * options.u_repeat, t = along[i] * options.v_repeat;
      if (options.along_u) std::swap(s, t);
      mesh.add_vertex(rings[r][c], normals[r * n + c], uv.u_at(s), uv.v_at(t));
    }
  }
  for (size_t i = 0; i + 1 < grid_rows; ++i)
    for (size_t j = 0; j + 1 < cols; ++j) {
      int a = base + int(i * cols + j), b = a + 1, c = a + int(cols) + 1, d = a + int(cols);
      mesh.add_facing_triangle(a, b, c);
      mesh.add_facing_triangle(a, c, d);
    }

  if (options.closed_around && !options.closed_along) {
    double flip = options.flip ? -1 : 1;
    if (options.cap_start) add_cap(mesh, rings.front(), normalized(centres[0] - centres[1]) * flip, uv);
    if (options.cap_end) add_cap(mesh, rings.back(), normalized(centres[rows - 1] - centres[rows - 2]) * flip, uv);
  }
}

std::vector<std::array<int, 3>> triangulate(const std::vector<Vec2>& polygon) {
  std::vector<std::array<int, 3>> out;
  size_t n = polygon.size();
  if (n < 3) return out;
  double area = 0;
  for (size_t i = 0; i < n; ++i) area += cross(polygon[i], polygon[(i + 1) % n]);
  double orientation = area >= 0 ? 1 : -1;
  std::vector<int> left(n);
  for (size_t i = 0; i < n; ++i) left[i] = static_cast<int>(i);
  // A point on an ear's edge blocks it too: a reflex corner lying on the
  // cut would otherwise let the ear cover the notch behind it.
  auto inside = [](Vec2 p, Vec2 a, Vec2 b, Vec2 c, double o) {
    constexpr double EPS = -1e-12;
    return cross(b - a, p - a) * o >= EPS && cross(c - b, p - b) * o >= EPS && cross(a - c, p - c) * o >= EPS;
  };
  while (left.size() > 3) {
    size_t m = left.size();
    bool clipped = false;
    for (size_t k = 0; k < m && !clipped; ++k) {
      int ia = left[(k + m - 1) % m], ib = left[k], ic = left[(k + 1) % m];
      Vec2 a = polygon[ia], b = polygon[ib], c = polygon[ic];
      if (cross(b - a, c - b) * orientation <= 1e-14) continue;
      bool ear = true;
      for (int other : left) {
        Vec2 q = polygon[other];
        bool corner = (q.x == a.x && q.y == a.y) || (q.x == b.x && q.y == b.y) || (q.x == c.x && q.y == c.y);
        if (!corner && inside(q, a, b, c, orientation)) {
          ear = false;
          break;
        }
      }
      if (!ear) continue;
      out.push_back({ia, ib, ic});
      left.erase(left.begin() + static_cast<long>(k));
      clipped = true;
    }
    if (!clipped) {  // only collinear or tangled points remain: fan them
      for (size_t k = 1; k + 1 < left.size(); ++k) out.push_back({left[0], left[k], left[k + 1]});
      return out;
    }
  }
  out.push_back({left[0], left[1], left[2]});
  return out;
}

std::vector<std::vector<Vec3>> tube_rings(const std::vector<Vec3>& path, const std::vector<Vec2>& radii, int sides,
                                          Vec3 up) {
  std::vector<std::vector<Vec3>> rings;
  size_t n = path.size();
  if (n < 2) return rings;
  std::vector<Vec3> tangents(n);
  for (size_t i = 0; i < n; ++i)
    tangents[i] = normalized(path[std::min(i + 1, n - 1)] - path[i == 0 ? 0 : i - 1]);
  Vec3 normal = normalized(up - tangents[0] * dot(up, tangents[0]));
  if (length(normal) < 0.5) normal = any_perpendicular(tangents[0]);
  for (size_t i = 0; i < n; ++i) {
    if (i > 0) normal = normalized(rotation_between(tangents[i - 1], tangents[i]) * normal);
    Vec3 side = cross(normal, tangents[i]);
    Vec2 r = radii[std::min(i, radii.size() - 1)];
    std::vector<Vec3> ring;
    for (int j = 0; j < sides; ++j) {
      double angle = 2 * PI * j / sides;
      ring.push_back(path[i] + side * (r.x * std::cos(angle)) + normal * (r.y * std::sin(angle)));
    }
    rings.push_back(ring);
  }
  return rings;
}

void add_tube(Mesh& mesh, const std::vector<Vec3>& path, const std::vector<Vec2>& radii, int sides, UvRect uv,
              bool caps, Vec3 up) {
  RingOptions options;
  options.cap_start = options.cap_end = caps;
  add_rings(mesh, tube_rings(path, radii, sides, up), uv, options);
}

void add_tube(Mesh& mesh, const std::vector<Vec3>& path, double radius, int sides, UvRect uv, bool caps) {
  add_tube(mesh, path, std::vector<Vec2>{{radius, radius}}, sides, uv, caps);
}

void add_cylinder(Mesh& mesh, Vec3 a, Vec3 b, double radius_a, double radius_b, int sides, UvRect uv, bool caps) {
  add_tube(mesh, {a, b}, std::vector<Vec2>{{radius_a, radius_a}, {radius_b, radius_b}}, sides, uv, caps);
}

void add_lathe(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& profile, int sides, UvRect uv,
               const RingOptions& options) {
  std::vector<std::vector<Vec3>> rings;
  for (Vec2 p : profile) {
    std::vector<Vec3> ring;
    for (int j = 0; j < sides; ++j) {
      double angle = 2 * PI * j / sides;
      ring.push_back(frame.at(p.x * std::cos(angle), p.x * std::sin(angle), p.y));
    }
    rings.push_back(ring);
  }
  add_rings(mesh, rings, uv, options);
}

void add_ellipsoid(Mesh& mesh, const Frame& frame, Vec3 radii, int ring_count, int sides, UvRect uv) {
  std::vector<std::vector<Vec3>> rings;
  for (int i = 0; i <= ring_count; ++i) {
    double phi = PI * i / ring_count;
    std::vector<Vec3> ring;
    for (int j = 0; j < sides; ++j) {
      double theta = 2 * PI * j / sides;
      ring.push_back(frame.at(radii.x * std::sin(phi) * std::cos(theta), radii.y * std::sin(phi) * std::sin(theta),
                              -radii.z * std::cos(phi)));
    }
    rings.push_back(ring);
  }
  add_rings(mesh, rings, uv);
}

void add_box(Mesh& mesh, const Frame& frame, Vec3 half, UvRect uv) {
  const Vec3 axes[3] = {frame.x, frame.y, frame.z};
  const double sizes[3] = {half.x, half.y, half.z};
  for (int axis = 0; axis < 3; ++axis)
    for (int side : {-1, 1}) {
      Vec3 n = axes[axis] * side;
      Vec3 a = axes[(axis + 1) % 3] * sizes[(axis + 1) % 3], b = axes[(axis + 2) % 3] * sizes[(axis + 2) % 3];
      Vec3 centre = frame.origin + n * sizes[axis];
      int base = static_cast<int>(mesh.vertices.size());
      mesh.add_vertex(centre - a - b, n, uv.u0, uv.v1);
      mesh.add_vertex(centre + a - b, n, uv.u1, uv.v1);
      mesh.add_vertex(centre + a + b, n, uv.u1, uv.v0);
      mesh.add_vertex(centre - a + b, n, uv.u0, uv.v0);
      mesh.add_facing_triangle(base, base + 1, base + 2);
      mesh.add_facing_triangle(base, base + 2, base + 3);
    }
}

void add_extrusion(Mesh& mesh, const Frame& frame, const std::vector<Vec2>& outline_in, double depth, UvRect face_uv,
                   UvRect side_uv) {
  std::vector<Vec2> outline = outline_in;
  size_t n = outline.size();
  if (n < 3) return;
  double area = 0;
  for (size_t i = 0; i < n; ++i) area += cross(outline[i], outline[(i + 1) % n]);
  if (area < 0) std::reverse(outline.begin(), outline.end());
  double x0 = 1e30, x1 = -1e30, y0 = 1e30, y1 = -1e30;
  for (Vec2 p : outline) {
    x0 = std::min(x0, p.x);
    x1 = std::max(x1, p.x);
    y0 = std::min(y0, p.y);
    y1 = std::max(y1, p.y);
  }
  auto fu = [&](double x) { return (x - x0) / std::max(1e-9, x1 - x0); };
  auto fv = [&](double y) { return (y1 - y) / std::max(1e-9, y1 - y0); };
  auto triangles = triangulate(outline);
  for (int side : {1, -1}) {
    int base = static_cast<int>(mesh.vertices.size());
    for (Vec2 p : outline) {
      double s = side > 0 ? fu(p.x) : 1 - fu(p.x);  // the back reads the right way round too
      mesh.add_vertex(frame.at(p.x, p.y, side * depth / 2), frame.z * side, face_uv.u_at(s), face_uv.v_at(fv(p.y)));
    }
    for (auto t : triangles) mesh.add_facing_triangle(base + t[0], base + t[1], base + t[2]);
  }
  // Side walls: smooth across gentle bends, sharp at corners.
  std::vector<Vec2> edge_normals(n);
  for (size_t i = 0; i < n; ++i) {
    Vec2 d = outline[(i + 1) % n] - outline[i];
    double l = std::hypot(d.x, d.y);
    edge_normals[i] = l > 0 ? Vec2{d.y / l, -d.x / l} : Vec2{0, 0};
  }
  auto corner_normal = [&](size_t vertex, size_t edge) {
    Vec2 a = edge_normals[(vertex + n - 1) % n], b = edge_normals[vertex % n];
    if (a.x * b.x + a.y * b.y > 0.82) return Vec2{a.x + b.x, a.y + b.y};
    return edge_normals[edge];
  };
  std::vector<double> perimeter{0};
  for (size_t i = 0; i < n; ++i) {
    Vec2 d = outline[(i + 1) % n] - outline[i];
    perimeter.push_back(perimeter.back() + std::hypot(d.x, d.y));
  }
  for (size_t i = 0; i < n; ++i) {
    size_t j = (i + 1) % n;
    Vec2 na = corner_normal(i, i), nb = corner_normal(j, i);
    double ua = perimeter[i] / perimeter[n], ub = perimeter[i + 1] / perimeter[n];
    int base = static_cast<int>(mesh.vertices.size());
    mesh.add_vertex(frame.at(outline[i].x, outline[i].y, depth / 2), frame.direction(na.x, na.y), side_uv.u_at(ua), side_uv.v0);
    mesh.add_vertex(frame.at(outline[j].x, outline[j].y, depth / 2), frame.direction(nb.x, nb.y), side_uv.u_at(ub), side_uv.v0);
    mesh.add_vertex(frame.at(outline[j].x, outline[j].y, -depth / 2), frame.direction(nb.x, nb.y), side_uv.u_at(ub), side_uv.v1);
    mesh.add_vertex(frame.at(outline[i].x, outline[i].y, -depth / 2), frame.direction(na.x, na.y), side_uv.u_at(ua), side_uv.v1);
    mesh.add_facing_triangle(base, base + 1, base + 2);
    mesh.add_facing_triangle(base, base + 2, base + 3);
  }
}

void add_annulus(Mesh& mesh, const Frame& frame, double r0, double r1, double thickness, int segments,
                 UvRect face_uv, UvRect edge_uv) {
  auto point = [&](double r, int k, double z) {
    double a = 2 * PI * k / segments;
    return frame.at(r * std::cos(a), r * std::sin(a), z);
  };
  for (int side : {1, -1}) {
    int base = static_cast<int>(mesh.vertices.size());
    for (int k = 0; k <= segments; ++k)
      for (double r : {r0, r1}) {
        double a = 2 * PI * k / segments, s = r * std::cos(a) * side, t = r * std::sin(a);
        mesh.add_vertex(point(r, k, side * thickness / 2), frame.z * side, face_uv.u_at(0.5 + s / (2 * r1)),
                        face_uv.v_at(0.5 - t / (2 * r1)));
      }
    for (int k = 0; k < segments; ++k) {
      int a = base + 2 * k;
      mesh.add_facing_triangle(a, a + 1, a + 3);
      mesh.add_facing_triangle(a, a + 3, a + 2);
    }
  }
  for (double r : {r0, r1}) {
    double outward = r == r1 ? 1 : -1;
    int base = static_cast<int>(mesh.vertices.size());
    for (int k = 0; k <= segments; ++k) {
      double a = 2 * PI * k / segments, u = edge_uv.u_at(static_cast<double>(k) / segments);
      Vec3 n = frame.direction(std::cos(a), std::sin(a)) * outward;
      mesh.add_vertex(point(r, k, thickness / 2), n, u, edge_uv.v0);
      mesh.add_vertex(point(r, k, -thickness / 2), n, u, edge_uv.v1);
    }
    for (int k = 0; k < segments; ++k) {
      int a = base + 2 * k;
      mesh.add_facing_triangle(a, a + 1, a + 3);
      mesh.add_facing_triangle(a, a + 3, a + 2);
    }
  }
}

std::vector<Vec2> rounded_rect_outline(double width, double height, double radius, int corner_steps) {
  double hx = width / 2, hy = height / 2;
  radius = std::min({radius, hx, hy});
  std::vector<Vec2> out;
  const Vec2 centres[4] = {{hx - radius, -hy + radius}, {hx - radius, hy - radius}, {-hx + radius, hy - radius},
                           {-hx + radius, -hy + radius}};
  for (int corner = 0; corner < 4; ++corner)
    for (int k = 0; k <= corner_steps; ++k) {
      double angle = (corner - 1 + static_cast<double>(k) / std::max(1, corner_steps)) * PI / 2;
      out.push_back(centres[corner] + Vec2{std::cos(angle), std::sin(angle)} * radius);
    }
  return out;
}

std::vector<Vec2> circle_outline(double radius, int steps) { return superellipse(radius, radius, 2, steps); }

std::vector<Vec2> superellipse(double a, double b, double exponent, int steps) {
  std::vector<Vec2> out;
  for (int i = 0; i < steps; ++i) {
    double t = 2 * PI * i / steps, c = std::cos(t), s = std::sin(t);
    double px = std::copysign(std::pow(std::fabs(c), 2 / exponent), c);
    double py = std::copysign(std::pow(std::fabs(s), 2 / exponent), s);
    out.push_back({a * px, b * py});
  }
  return out;
}

std::vector<Vec3> place_section(const Frame& frame, const std::vector<Vec2>& section) {
  std::vector<Vec3> out;
  for (Vec2 p : section) out.push_back(frame.at(p.x, p.y, 0));
  return out;
}

std::vector<Vec3> smooth_path(const std::vector<Vec3>& points, int per_segment) {
  std::vector<Vec3> out;
  size_t n = points.size();
  if (n < 3) return points;
  for (size_t i = 0; i + 1 < n; ++i) {
    Vec3 p0 = points[i == 0 ? 0 : i - 1], p1 = points[i], p2 = points[i + 1], p3 = points[std::min(i + 2, n - 1)];
    for (int k = 0; k < per_segment; ++k) {
      double t = static_cast<double>(k) / per_segment, t2 = t * t, t3 = t2 * t;
      out.push_back((p1 * 2 + (p2 - p0) * t + (p0 * 2 - p1 * 5 + p2 * 4 - p3) * t2 + (p1 * 3 - p0 - p2 * 3 + p3) * t3) *
                    0.5);
    }
  }
  out.push_back(points.back());
  return out;
}

}  // namespace kit
