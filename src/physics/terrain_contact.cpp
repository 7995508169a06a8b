#include "physics/terrain_contact.h"

#include <algorithm>
#include <cmath>

#include "track/terrain.h"

namespace {

constexpr double TINY = 1.0 / (1 << 20);
constexpr int RIM_SEGMENT_ITERATIONS = 8;

// The cells [i0, i1) x [j0, j1) a body reaching `reach` around (x, z) may touch.
struct CellRange {
  int i0, i1, j0, j1;
};

bool cell_range(const Terrain& t, double x, double z, double reach, CellRange* r) {
  if (t.heights.empty() || !(t.spacing > 0)) return false;
  double s = t.spacing;
  // The border continues outwards without end; only positions that can't
  // be cell indices (not a number, or beyond a million cells) touch nothing.
  double limit = 1e6 * s;
  if (!(std::fabs(x) < limit && std::fabs(z) < limit && reach >= 0 && reach < limit)) return false;
  r->i0 = static_cast<int>(std::floor((x - reach) / s));
  r->i1 = static_cast<int>(std::ceil((x + reach) / s));
  r->j0 = static_cast<int>(std::floor((z - reach) / s));
  r->j1 = static_cast<int>(std::ceil((z + reach) / s));
  return true;
}

// The four corner heights of cell (i, j).
struct Cell {
  double h00, h10, h01, h11;
  double highest() const { return std::max(std::max(h00, h10), std::max(h01, h11)); }
};

Cell cell_heights(const Terrain& t, int i, int j) {
  return {TerrainVertexHeight(t, i, j), TerrainVertexHeight(t, i + 1, j), TerrainVertexHeight(t, i, j + 1),
          TerrainVertexHeight(t, i + 1, j + 1)};
}

// The two triangles of cell (i, j), wound so that their face normals point up.
void cell_triangles(const Terrain& t, int i, int j, const Cell& h, Vec3 tri[2][3]) {
  double s = t.spacing;
  double x0 = i * s, x1 = (i + 1) * s, z0 = j * s, z1 = (j + 1) * s;
  Vec3 v00{x0, h.h00, z0}, v10{x1, h.h10, z0}, v01{x0, h.h01, z1}, v11{x1, h.h11, z1};
  if ((i + j) & 1) {  // diagonal from (i+1, j) to (i, j+1)
    tri[0][0] = v00, tri[0][1] = v01, tri[0][2] = v10;
    tri[1][0] = v10, tri[1][1] = v01, tri[1][2] = v11;
  } else {  // diagonal from (i, j) to (i+1, j+1)
    tri[0][0] = v00, tri[0][1] = v01, tri[0][2] = v11;
    tri[1][0] = v00, tri[1][1] = v11, tri[1][2] = v10;
  }
}

Vec3 closest_on_segment(const Vec3& a, const Vec3& b, const Vec3& p) {
  Vec3 e = b - a;
  double l2 = length_squared(e);
  double u = l2 > 0 ? std::clamp(dot(p - a, e) / l2, 0.0, 1.0) : 0.0;
  return a + e * u;
}

// The rim circle: centre, unit axle, radius, and a fallback direction in
// its plane for points on the axle.
struct Rim {
  Vec3 centre, axle;
  double radius;
  Vec3 any_direction;

  Vec3 nearest(const Vec3& p) const {
    Vec3 d = p - centre;
    d -= axle * dot(d, axle);
    double l = length(d);
    if (l < 1e-6 * radius) return centre + any_direction * radius;
    return centre + d * (radius / l);
  }
};

// Closest points between the rim and a segment, by alternating projection
// from the rim point `start`. Returns the squared distance.
double rim_segment(const Rim& rim, const Vec3& a, const Vec3& b, const Vec3& start, Vec3* on_rim, Vec3* on_segment) {
  Vec3 r = start;
  Vec3 s = closest_on_segment(a, b, r);
  for (int k = 0; k < RIM_SEGMENT_ITERATIONS; ++k) {
    Vec3 r2 = rim.nearest(s);
    Vec3 s2 = closest_on_segment(a, b, r2);
    bool settled = length_squared(r2 - r) < 1e-14 && length_squared(s2 - s) < 1e-14;
    r = r2;
    s = s2;
    if (settled) break;
  }
  *on_rim = r;
  *on_segment = s;
  return length_squared(r - s);
}

// Whether p lies within the prism over the triangle along `n` (n pointing
// to the side from which the corners run counter-clockwise).
bool inside_prism(const Vec3 c[3], const Vec3& n, const Vec3& p) {
  for (int k = 0; k < 3; ++k) {
    Vec3 edge_out = cross(c[(k + 1) % 3] - c[k], n);
    if (dot(p - c[k], edge_out) > 0) return false;
  }
  return true;
}

// Whether the rim circle passes through the triangle's face: one of the two
// points where it crosses the plane (n, the wheel at `height` above it)
// lies within the triangle.
bool rim_pierces(const Rim& rim, const Vec3 c[3], const Vec3& up, const Vec3& n, double height) {
  Vec3 u = rim.any_direction, v = cross(rim.axle, u);
  double a = dot(u, n), b = dot(v, n);
  double reach = std::sqrt(a * a + b * b);
  if (reach * rim.radius < height || reach < 1e-9) return false;
  double middle = std::atan2(b, a), spread = std::acos(std::clamp(-height / (rim.radius * reach), -1.0, 1.0));
  for (double angle : {middle + spread, middle - spread}) {
    Vec3 crossing = rim.centre + (u * std::cos(angle) + v * std::sin(angle)) * rim.radius;
    if (inside_prism(c, up, crossing)) return true;
  }
  return false;
}

// The tyre against one triangle; a hit only when deeper than `best`.
bool torus_triangle(const Rim& rim, double tyre_radius, const Vec3 c[3], double best, GroundHit* hit) {
  Vec3 face = cross(c[1] - c[0], c[2] - c[0]);
  double face_length = length(face);
  if (face_length < TINY) return false;
  Vec3 up = face / face_length;
  Vec3 n = up;
  double centre_height = dot(rim.centre - c[0], n);
  if (centre_height < 0) {  // turn the normal to face the wheel
    n = -n;
    centre_height = -centre_height;
  }
  // The rim point nearest the plane: furthest along -n.
  Vec3 toward = -n - rim.axle * dot(-n, rim.axle);
  double toward_length = length(toward);
  Vec3 lowest_direction = toward_length > 1e-6 ? toward / toward_length : rim.any_direction;
  Vec3 lowest = rim.centre + lowest_direction * rim.radius;
  double plane_depth = tyre_radius - (centre_height - rim.radius * std::min(toward_length, 1.0));
  // Nothing on the triangle is nearer than its plane.
  if (plane_depth <= best) return false;

  // The rim's lowest point lies over the triangle, or the rim sinks through
  // the triangle's face elsewhere (the edges alone would not see that): a
  // face contact.
  if (inside_prism(c, up, lowest) || (plane_depth > tyre_radius && rim_pierces(rim, c, up, n, centre_height))) {
    hit->depth = plane_depth;
    hit->normal = n;
    hit->point = lowest - n * tyre_radius;
    return true;
  }
  double nearest = INFINITY;
  Vec3 rim_point, triangle_point;
  for (int k = 0; k < 3; ++k) {
    // No point of an edge is nearer the rim than its distance from the
    // wheel centre less the rim radius: far edges need no search.
    double gap = length(closest_on_segment(c[k], c[(k + 1) % 3], rim.centre) - rim.centre) - rim.radius;
    if (gap > 0 && gap * gap >= nearest) continue;
    if (gap >= tyre_radius - best) continue;
    Vec3 r, s;
    double d2 = rim_segment(rim, c[k], c[(k + 1) % 3], lowest, &r, &s);
    if (d2 < nearest) {
      nearest = d2;
      rim_point = r;
      triangle_point = s;
    }
  }
  double distance = std::sqrt(nearest);
  double depth = tyre_radius - distance;
  if (depth <= best) return false;
  hit->depth = depth;
  hit->normal = distance > 1e-9 ? (rim_point - triangle_point) / distance : n;
  hit->point = rim_point - hit->normal * tyre_radius;
  return true;
}

}  // namespace

bool find_torus_ground(const Terrain& t, const Vec3& centre, const Vec3& axle, double rim_radius,
                       double tyre_radius, GroundHit* hit) {
  Rim rim{centre, normalized(axle), rim_radius, {}};
  // The cells under the tyre: its extent along x and z is the rim's
  // (shortened by how far the axle points that way) plus the tyre radius.
  double reach_x = rim_radius * std::sqrt(std::max(0.0, 1 - rim.axle.x * rim.axle.x)) + tyre_radius;
  double reach_z = rim_radius * std::sqrt(std::max(0.0, 1 - rim.axle.z * rim.axle.z)) + tyre_radius;
  CellRange cells, cells_z;
  if (!cell_range(t, centre.x, centre.z, reach_x, &cells) || !cell_range(t, centre.x, centre.z, reach_z, &cells_z)) return false;
  cells.j0 = cells_z.j0;
  cells.j1 = cells_z.j1;
  // Any unit direction in the rim plane, for the degenerate cases.
  Vec3 side = std::fabs(rim.axle.y) < 0.9 ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
  rim.any_direction = normalized(cross(rim.axle, side));
  // Lowest point of the tyre: cells whose corners all lie below it can't be touched.
  double lowest = centre.y - rim_radius * std::sqrt(std::max(0.0, 1 - rim.axle.y * rim.axle.y)) - tyre_radius;

  // The cell under the tyre's lowest point first: its depth lets most
  // other triangles be passed over by their planes alone.
  Vec3 below = centre - normalized(Vec3{0, 1, 0} - rim.axle * rim.axle.y) * rim_radius;
  int seed_i = static_cast<int>(std::floor(below.x / t.spacing)), seed_j = static_cast<int>(std::floor(below.z / t.spacing));
  bool found = false;
  double best = 0;
  Vec3 tri[2][3];
  auto test_cell = [&](int i, int j) {
    Cell h = cell_heights(t, i, j);
    if (h.highest() < lowest) return;
    cell_triangles(t, i, j, h, tri);
    for (const auto& corners : tri)
      if (torus_triangle(rim, tyre_radius, corners, best, hit)) {
        best = hit->depth;
        found = true;
      }
  };
  bool seeded = seed_i >= cells.i0 && seed_i < cells.i1 && seed_j >= cells.j0 && seed_j < cells.j1;
  if (seeded) test_cell(seed_i, seed_j);
  for (int j = cells.j0; j < cells.j1; ++j)
    for (int i = cells.i0; i < cells.i1; ++i)
      if (!seeded || i != seed_i || j != seed_j) test_cell(i, j);
  return found;
}

bool sphere_triangle(const Vec3& c, double r, const Vec3 p[3], GroundHit* hit) {
  Vec3 n = cross(p[1] - p[0], p[2] - p[0]);
  double n_length = length(n);
  if (n_length < TINY) return false;
  Vec3 m;
  double depth;
  int outside = -1;
  for (int k = 0; k < 3 && outside < 0; ++k)
    if (dot(c - p[k], cross(p[(k + 1) % 3] - p[k], n)) > 0) outside = k;
  if (outside >= 0) {
    // Nearest point on the first edge, among those c lies outside of, that
    // c projects onto; else the nearest corner.
    Vec3 q;
    bool on_edge = false;
    for (int k = 0; k < 3 && !on_edge; ++k) {
      Vec3 a = p[k], e = p[(k + 1) % 3] - p[k];
      if (dot(c - a, cross(e, n)) <= 0) continue;
      double u = dot(c - a, e) / length_squared(e);
      if (u >= 0 && u <= 1) {
        q = a + e * u;
        on_edge = true;
      }
    }
    if (!on_edge) {
      q = p[0];
      for (int k = 1; k < 3; ++k)
        if (length_squared(c - p[k]) < length_squared(c - q)) q = p[k];
    }
    double d = length(c - q);
    depth = r - d;
    if (depth <= 0) return false;
    m = d > TINY ? (c - q) / d : n / n_length;
  } else {
    m = n / n_length;
    double s = dot(c - p[0], m);
    depth = r - s;
    if (depth <= 0) return false;
    // Far below the plane it counts only straight under the triangle.
    if (s < -r && !inside_prism(p, {0, 1, 0}, c)) return false;
  }
  hit->depth = depth;
  hit->normal = m;
  hit->point = c - m * r;
  return true;
}

double highest_ground(const Terrain& t, double x, double z, double reach) {
  CellRange cells;
  if (!cell_range(t, x, z, reach, &cells)) return -INFINITY;
  // Beyond the border the heights repeat the border's: clamping the range
  // keeps the highest the same.
  int last = t.grid_size - 1;
  int i0 = std::clamp(cells.i0, 0, last), i1 = std::clamp(cells.i1, 0, last);
  int j0 = std::clamp(cells.j0, 0, last), j1 = std::clamp(cells.j1, 0, last);
  float highest = -INFINITY;
  for (int j = j0; j <= j1; ++j) {
    const float* row = t.heights.data() + static_cast<size_t>(j) * static_cast<size_t>(t.grid_size);
    for (int i = i0; i <= i1; ++i) highest = std::max(highest, row[i]);
  }
  return highest;
}

bool sphere_ground(const Terrain& t, const Vec3& centre, double radius, GroundHit* hit) {
  CellRange cells;
  if (!cell_range(t, centre.x, centre.z, radius, &cells)) return false;
  double lowest = centre.y - radius;
  bool found = false;
  GroundHit candidate;
  Vec3 tri[2][3];
  for (int j = cells.j0; j < cells.j1; ++j)
    for (int i = cells.i0; i < cells.i1; ++i) {
      Cell h = cell_heights(t, i, j);
      if (h.highest() < lowest) continue;
      cell_triangles(t, i, j, h, tri);
      for (const auto& corners : tri)
        if (sphere_triangle(centre, radius, corners, &candidate) && candidate.depth > (found ? hit->depth : 0)) {
          *hit = candidate;
          found = true;
        }
    }
  return found;
}
