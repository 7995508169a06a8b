// The data kit's building blocks: model and shape formats round-trip, solids
// come out closed and facing outwards, pictures encode into images the game
// reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <memory>

#include "data/data_file.h"
#include "data/image_read.h"
#include "kit/image.h"
#include "kit/jm_format.h"
#include "kit/number_text.h"
#include "kit/paint.h"
#include "kit/primitives.h"
#include "kit/shp_format.h"
#include "kit/typeface.h"

namespace {

using kit::Vec2;
using kit::Vec3;

// Signed volume by the divergence theorem: positive when every face of a
// closed mesh points outwards, and equal to the enclosed volume.
double signed_volume(const kit::Mesh& mesh) {
  double volume = 0;
  for (auto t : mesh.triangles) {
    Vec3 a = mesh.vertices[t[0]].position, b = mesh.vertices[t[1]].position, c = mesh.vertices[t[2]].position;
    volume += kit::dot(a, kit::cross(b, c)) / 6;
  }
  return volume;
}

// Fraction of triangles whose face normal disagrees with its vertex normals.
double misfacing_fraction(const kit::Mesh& mesh) {
  int bad = 0;
  for (auto t : mesh.triangles) {
    Vec3 a = mesh.vertices[t[0]].position, b = mesh.vertices[t[1]].position, c = mesh.vertices[t[2]].position;
    Vec3 face = kit::cross(b - a, c - a);
    Vec3 normals = mesh.vertices[t[0]].normal + mesh.vertices[t[1]].normal + mesh.vertices[t[2]].normal;
    if (kit::dot(face, normals) <= 0) ++bad;
  }
  return mesh.triangles.empty() ? 1 : static_cast<double>(bad) / mesh.triangles.size();
}

struct SolidCase {
  const char* name;
  std::function<void(kit::Mesh&)> build;
  double volume;
};

TEST(KitSolids, ClosedSolidsFaceOutwardsAndEncloseTheirVolume) {
  const kit::UvRect uv{};
  const SolidCase cases[] = {
      {"cylinder", [&](kit::Mesh& m) { kit::add_cylinder(m, {0, 0, 0}, {0, 2, 0}, 0.5, 0.5, 48, uv); },
       kit::PI * 0.25 * 2},
      {"bent tube",
       [&](kit::Mesh& m) { kit::add_tube(m, {{0, 0, 0}, {1, 0, 0}, {1.7, 0.7, 0}, {1.7, 1.7, 0}}, 0.2, 32, uv); },
       0},
      {"box", [&](kit::Mesh& m) { kit::add_box(m, kit::frame_looking({1, 2, 3}, {1, 1, 0}), {0.5, 1, 1.5}, uv); }, 6},
      {"ellipsoid", [&](kit::Mesh& m) { kit::add_ellipsoid(m, kit::Frame{}, {1, 2, 0.5}, 48, 64, uv); },
       4.0 / 3 * kit::PI * 1},
      {"capped lathe",
       [&](kit::Mesh& m) {
         kit::RingOptions o;
         o.cap_start = o.cap_end = true;
         kit::add_lathe(m, kit::Frame{}, {{1, 0}, {1, 1}, {0.5, 2}}, 64, uv, o);
       },
       kit::PI * 1 + kit::PI / 3 * (1 + 0.5 + 0.25)},
      {"torus",
       [&](kit::Mesh& m) {
         kit::RingOptions o;
         o.closed_along = true;
         std::vector<Vec2> profile;
         for (int i = 0; i < 48; ++i)
           profile.push_back({2 + 0.5 * std::cos(2 * kit::PI * i / 48), 0.5 * std::sin(2 * kit::PI * i / 48)});
         kit::add_lathe(m, kit::Frame{}, profile, 96, uv, o);
       },
       2 * kit::PI * kit::PI * 2 * 0.25},
      {"concave extrusion",
       [&](kit::Mesh& m) {
         kit::add_extrusion(m, kit::frame_looking({0, 0, 0}, {1, 0, 0}), {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}},
                            0.25, uv, uv);
       },
       3 * 0.25},
      {"annulus",
       [&](kit::Mesh& m) { kit::add_annulus(m, kit::frame_looking({0.2, 1, 0}, {1, 0, 0}), 0.5, 1, 0.1, 96, uv, uv); },
       kit::PI * (1 - 0.25) * 0.1},
      {"mirrored cylinder",
       [&](kit::Mesh& m) {
         kit::Mesh right;
         kit::add_cylinder(right, {0.5, 0, 0}, {1, 1, 0}, 0.3, 0.1, 32, uv);
         m = kit::mirrored_x(right);
       },
       0},
  };
  for (const SolidCase& c : cases) {
    SCOPED_TRACE(c.name);
    kit::Mesh mesh;
    c.build(mesh);
    ASSERT_FALSE(mesh.triangles.empty());
    EXPECT_GT(signed_volume(mesh), 0);
    if (c.volume > 0) {
      EXPECT_NEAR(signed_volume(mesh), c.volume, c.volume * 0.02);
    }
    EXPECT_EQ(misfacing_fraction(mesh), 0);
  }
}

TEST(KitSolids, TriangulationCoversConcaveOutlinesExactly) {
  // An L shape and a star (either winding): the triangles' areas sum to the
  // polygon's and no triangle is inverted.
  std::vector<Vec2> star;
  for (int i = 0; i < 10; ++i) {
    double r = i % 2 ? 0.4 : 1, a = 2 * kit::PI * i / 10;
    star.push_back({r * std::cos(a), r * std::sin(a)});
  }
  std::vector<Vec2> clockwise_l = {{0, 0}, {0, 2}, {1, 2}, {1, 1}, {2, 1}, {2, 0}};
  for (const auto& polygon : {star, clockwise_l}) {
    double area = 0;
    for (size_t i = 0; i < polygon.size(); ++i) area += kit::cross(polygon[i], polygon[(i + 1) % polygon.size()]) / 2;
    double sum = 0;
    auto triangles = kit::triangulate(polygon);
    EXPECT_EQ(triangles.size(), polygon.size() - 2);
    for (auto t : triangles) {
      double part = kit::cross(polygon[t[1]] - polygon[t[0]], polygon[t[2]] - polygon[t[0]]) / 2;
      EXPECT_GT(part * area, 0);
      sum += part;
    }
    EXPECT_NEAR(sum, area, 1e-9);
  }
}

TEST(KitSolids, MirroringFlipsTextureInsideItsRegionOnly) {
  kit::Mesh mesh;
  mesh.add_vertex({1, 0, 0}, {1, 0, 0}, 0.3, 0.5);   // inside the region
  mesh.add_vertex({1, 1, 0}, {1, 0, 0}, 0.75, 0.5);  // outside it
  kit::UvRect region{0.2, 0, 0.5, 1};
  kit::Mesh mirror = kit::mirrored_x(mesh, &region);
  EXPECT_DOUBLE_EQ(mirror.vertices[0].position.x, -1);
  EXPECT_DOUBLE_EQ(mirror.vertices[0].normal.x, -1);
  EXPECT_NEAR(mirror.vertices[0].u, 0.4, 1e-12);
  EXPECT_DOUBLE_EQ(mirror.vertices[1].u, 0.75);
}

kit::Model sample_model(int bones) {
  kit::Model model;
  model.bone_count = bones;
  if (bones) model.rig_name = "test-rig";
  kit::Mesh body;
  body.material = {24, 0, {0.25, 0.5, 0.75}};
  kit::add_cylinder(body, {0, 0, 0}, {0, 1, 0}, 0.25, 0.2, 12, {0.1, 0.2, 0.3, 0.4});
  kit::Mesh shine;
  shine.material = kit::Material::reflective(0.3);
  kit::add_box(shine, kit::Frame{}, {0.1, 0.2, 0.3}, {});
  for (kit::Mesh* mesh : {&body, &shine})
    for (size_t i = 0; i < mesh->vertices.size(); ++i)
      for (int b = 0; b < bones; ++b) mesh->weights.push_back(b == static_cast<int>(i % bones) ? 0.75 : 0.25 / (bones - 1));
  model.meshes = {body, shine};
  return model;
}

TEST(KitModelFormat, RigidAndSkinnedModelsRoundTrip) {
  for (int bones : {0, 3}) {
    SCOPED_TRACE(bones);
    kit::Model model = sample_model(bones);
    std::string bytes = kit::write_jm(model);
    EXPECT_EQ(bytes.substr(0, 4), bones ? "JM2\n" : "JM1\n");
    kit::Model back;
    std::string error;
    ASSERT_TRUE(kit::read_jm_bytes(bytes, &back, &error)) << error;
    EXPECT_EQ(back.bone_count, bones);
    if (bones) {
      EXPECT_EQ(back.rig_name, "test-rig");
    }
    ASSERT_EQ(back.meshes.size(), 2u);
    for (size_t m = 0; m < 2; ++m) {
      const kit::Mesh &a = model.meshes[m], &b = back.meshes[m];
      EXPECT_EQ(a.triangles, b.triangles);
      EXPECT_DOUBLE_EQ(a.material.shininess, b.material.shininess);
      EXPECT_DOUBLE_EQ(a.material.specular.z, b.material.specular.z);
      ASSERT_EQ(a.vertices.size(), b.vertices.size());
      for (size_t i = 0; i < a.vertices.size(); ++i) {
        EXPECT_NEAR(kit::length(a.vertices[i].position - b.vertices[i].position), 0, 1e-4);
        EXPECT_NEAR(a.vertices[i].u, b.vertices[i].u, 1e-5);
        EXPECT_NEAR(a.vertices[i].v, b.vertices[i].v, 1e-5);  // stored flipped, read back in image space
      }
      ASSERT_EQ(a.weights.size(), b.weights.size());
      for (size_t i = 0; i < a.weights.size(); ++i) EXPECT_NEAR(a.weights[i], b.weights[i], 1e-4);
    }
    EXPECT_EQ(kit::write_jm(model), bytes);  // the same bytes every time
  }
}

TEST(KitModelFormat, ReaderFollowsTheLoaderRules) {
  // Zero weights become 1/B; a mesh whose numbers run out ends the list.
  kit::Model model;
  ASSERT_TRUE(kit::read_jm_bytes("JM2\n4 rig\n32 0 1 1 1 3 1\n"
                                 "0 0 0 0 1 0 0 0  0 0 0 0\n"
                                 "1 0 0 0 1 0 1 0  2 2 0 0\n"
                                 "0 1 0 0 1 0 0 1  0 0 0 1\n"
                                 "0 1 2\n"
                                 "32 0 1 1 1 3 1\n0 0 0\n",
                                 &model));
  ASSERT_EQ(model.meshes.size(), 1u);
  const std::vector<double> expected = {0.25, 0.25, 0.25, 0.25, 0.5, 0.5, 0, 0, 0, 0, 0, 1};
  EXPECT_EQ(model.meshes[0].weights, expected);

  const char* rejected[] = {"JM3\n32 0 1 1 1 0 0\n", "JM1\n", "", "JM1\n32 0 1 1 1 3 1\n0 0 0 0 1 0 0 0\n",
                            "JM1\n32 0 1 1 1 1 1\n0 0 0 0 1 0 0 0\n0 0 5\n"};
  for (const char* bytes : rejected) {
    std::string error;
    EXPECT_FALSE(kit::read_jm_bytes(bytes, &model, &error)) << bytes;
    EXPECT_FALSE(error.empty());
  }
  // Version 0: no header, one mesh.
  ASSERT_TRUE(kit::read_jm_bytes("3 1\n0 0 0 0 1 0 0 0\n1 0 0 0 1 0 1 0\n0 1 0 0 1 0 0 1\n0 1 2\n", &model));
  EXPECT_EQ(model.meshes.size(), 1u);
  EXPECT_EQ(model.meshes[0].material.shininess, 32);
}

TEST(KitShapeFormat, ShapesRoundTripAndDamagedOnesAreRefused) {
  std::vector<kit::ShapeSphere> spheres = {{{0, -0.9, 0.1}, 0.4, 0.6, 5000, 300}, {{0.68, -0.55, 0.58}, 0.1, 0.9, 5000, 300}};
  std::vector<kit::ShapeSphere> back;
  ASSERT_TRUE(kit::read_shp_bytes(kit::write_shp(spheres), &back));
  ASSERT_EQ(back.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_NEAR(kit::length(back[i].centre - spheres[i].centre), 0, 1e-4);
    EXPECT_DOUBLE_EQ(back[i].radius, spheres[i].radius);
    EXPECT_DOUBLE_EQ(back[i].spring, spheres[i].spring);
  }
  EXPECT_NEAR(kit::shape_bound(spheres), std::hypot(0.9, 0.1) + 0.4, 1e-12);
  EXPECT_FALSE(kit::read_shp_bytes("2\n0 0 0 1 1 1 1\n0 0 0 1 1 1\n", &back));
  EXPECT_TRUE(back.empty());
  EXPECT_FALSE(kit::read_shp_bytes("x", &back));
}

TEST(KitNumbers, TextIsShortAndNeverNegativeZero) {
  const std::pair<double, const char*> cases[] = {{0.5, "0.5"}, {-1.25, "-1.25"}, {3, "3"}, {-0.00001, "0"},
                                                   {2.00004, "2"}, {1e-4, "0.0001"}};
  for (auto [value, text] : cases) EXPECT_EQ(kit::number_text(value, 4), text) << value;
}

// Reads PNG bytes with the game's own reader.
bool decode_png(const std::string& bytes, ::Image* image) {
  std::string copy = bytes;
  FILE* stream = fmemopen(copy.data(), copy.size(), "rb");
  std::unique_ptr<DataFile, DataFileCloser> file(df_open_stream(stream));
  return file && read_png(file.get(), image);
}

TEST(KitPictures, PaintedPicturesEncodeIntoImagesTheGameReads) {
  kit::Image picture(64, 32, kit::hex(0x202020));
  kit::fill_circle(picture, 16, 16, 10, kit::hex(0xFF0000));
  kit::fill_rect(picture, 40, 0, 64, 32, kit::hex(0x00FF00, 0.5f));
  ::Image image;
  ASSERT_TRUE(decode_png(kit::to_png(picture, 4), &image));
  ASSERT_EQ(image.width, 64);
  ASSERT_EQ(image.channels, 4);
  auto pixel = [&](int x, int y, int c) { return image.pixels[(y * 64 + x) * 4 + c]; };
  EXPECT_EQ(pixel(16, 16, 0), 255);  // inside the circle
  EXPECT_EQ(pixel(2, 2, 0), 0x20);   // background
  EXPECT_EQ(pixel(50, 10, 1), 0x90);  // half green over grey: 0.5 * 255 + 0.5 * 32
  EXPECT_EQ(pixel(50, 10, 3), 255);
  // The circle's edge is anti-aliased: a pixel on its rim is a mixture.
  int rim = pixel(22, 23, 0);
  EXPECT_GT(rim, 0x20);
  EXPECT_LT(rim, 255);
}

TEST(KitPictures, TextLeavesInkWhereItIsDrawn) {
  kit::Typeface* face = kit::open_typeface("DejaVuSans-Bold.ttf");
  ASSERT_NE(face, nullptr);
  kit::Image picture(128, 64, {0, 0, 0, 0});
  kit::TextStyle style;
  style.size = 40;
  kit::draw_text_centred(picture, face, "42", 64, 32, style, kit::hex(0xFFFFFF));
  double ink_left = 0, ink_right = 0, ink_outside = 0;
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 128; ++x) {
      float a = picture.at(x, y).a;
      if (y < 12 || y > 52) ink_outside += a;
      (x < 64 ? ink_left : ink_right) += a;
    }
  EXPECT_GT(ink_left, 50);
  EXPECT_GT(ink_right, 50);
  EXPECT_EQ(ink_outside, 0);
  EXPECT_NEAR(kit::text_width(face, "42", style), 2 * kit::text_width(face, "4", style), 2);
}

}  // namespace
