#include "kit/raster.h"

#include <algorithm>
#include <cmath>

namespace kit {

Canvas::Canvas(int width, int height, Colour background)
    : colour(width, height, background), depth(static_cast<size_t>(width) * height, 1e30f) {}

namespace {

struct Projected {
  double x, y, w;  // screen position and view depth
  Vec3 normal;
  double u, v;
};

constexpr double NEAR = 0.05;

}  // namespace

void render_model(Canvas& canvas, const Camera& camera, const Model& model, const Image* texture,
                  const Mat3& rotation, Vec3 offset, Vec3 sun) {
  Vec3 back = normalized(camera.eye - camera.target);
  Vec3 right = normalized(cross(camera.up, back));
  Vec3 up = cross(back, right);
  int width = canvas.colour.width, height = canvas.colour.height;
  double focal = height / 2.0 / std::tan(camera.fov_degrees * PI / 360);
  Vec3 light = normalized(sun);

  for (const Mesh& mesh : model.meshes) {
    if (mesh.material.shininess < 0) continue;  // the highlight layer is drawn additively in the game
    std::vector<Projected> points;
    std::vector<Vec3> world;
    for (const Vertex& v : mesh.vertices) {
      Vec3 p = rotation * v.position + offset;
      Vec3 d = p - camera.eye;
      double depth = -dot(d, back);
      world.push_back(p);
      points.push_back({width / 2.0 + dot(d, right) / std::max(depth, NEAR) * focal,
                        height / 2.0 - dot(d, up) / std::max(depth, NEAR) * focal, depth,
                        normalized(rotation * v.normal), v.u, v.v});
    }
    for (auto t : mesh.triangles) {
      const Projected &a = points[t[0]], &b = points[t[1]], &c = points[t[2]];
      if (a.w < NEAR || b.w < NEAR || c.w < NEAR) continue;
      double area = (b.x - a.x) * (c.y - a.y) - (c.x - a.x) * (b.y - a.y);
      if (area >= 0) continue;  // screen y runs down: counter-clockwise fronts have negative area here
      int x0 = std::max(0, static_cast<int>(std::floor(std::min({a.x, b.x, c.x}))));
      int x1 = std::min(width - 1, static_cast<int>(std::ceil(std::max({a.x, b.x, c.x}))));
      int y0 = std::max(0, static_cast<int>(std::floor(std::min({a.y, b.y, c.y}))));
      int y1 = std::min(height - 1, static_cast<int>(std::ceil(std::max({a.y, b.y, c.y}))));
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
          double px = x + 0.5, py = y + 0.5;
          double wa = ((b.x - px) * (c.y - py) - (c.x - px) * (b.y - py)) / area;
          double wb = ((c.x - px) * (a.y - py) - (a.x - px) * (c.y - py)) / area;
          double wc = 1 - wa - wb;
          if (wa < 0 || wb < 0 || wc < 0) continue;
          // Perspective-correct interpolation.
          double ia = wa / a.w, ib = wb / b.w, ic = wc / c.w, sum = ia + ib + ic;
          double depth = 1 / sum;
          float& stored = canvas.depth[static_cast<size_t>(y) * width + x];
          if (depth >= stored) continue;
          double u = (a.u * ia + b.u * ib + c.u * ic) / sum, v = (a.v * ia + b.v * ib + c.v * ic) / sum;
          Colour surface{1, 1, 1, 1};
          if (texture) surface = sample(*texture, u * texture->width, v * texture->height, true);
          if (surface.a < 0.5f) continue;
          Vec3 n = normalized((a.normal * ia + b.normal * ib + c.normal * ic) / sum);
          double diffuse = std::max(0.0, dot(n, light));
          Vec3 view = normalized(camera.eye - (world[t[0]] * wa + world[t[1]] * wb + world[t[2]] * wc));
          Vec3 half = normalized(light + view);
          double shine = std::max(1.0, mesh.material.shininess);
          double specular = diffuse > 0 ? std::pow(std::max(0.0, dot(n, half)), shine) : 0;
          float lit = static_cast<float>(0.38 + 0.72 * diffuse);
          Vec3 s = mesh.material.specular * specular;
          stored = static_cast<float>(depth);
          canvas.colour.at(x, y) = {std::min(1.0f, surface.r * lit + float(s.x)), std::min(1.0f, surface.g * lit + float(s.y)),
                                    std::min(1.0f, surface.b * lit + float(s.z)), 1};
        }
    }
  }
}

}  // namespace kit
