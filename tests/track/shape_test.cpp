#include "track/shape.h"

#include <cmath>

#include "testkit.h"

namespace {

TEST(Shape, LoadsSpheresWithTheirBound) {
  testkit::DataFolders folders;
  testkit::write_file(folders.data + "rider.shp",
                      "2\n0 1.5 0\n0.5 0.8 20000 300\n"
                      "0.3 -0.4\n1.2 0.25 1 15000 150\n");
  const Shape* shape = load_shape("@rider.shp");
  ASSERT_NE(shape, nullptr);
  EXPECT_EQ(shape->name, "@rider.shp");
  ASSERT_EQ(shape->spheres.size(), 2u);
  EXPECT_FLOAT_EQ(shape->spheres[1].centre[2], 1.2f);
  EXPECT_FLOAT_EQ(shape->spheres[1].damper, 150.0f);
  EXPECT_FLOAT_EQ(shape->bound, std::max(2.0f, std::sqrt(0.09f + 0.16f + 1.44f) + 0.25f));
  // Cached: the same record every time.
  EXPECT_EQ(load_shape("@rider.shp"), shape);
  Shape copy;
  ASSERT_TRUE(copy_shape("@rider.shp", &copy));
  EXPECT_EQ(copy.source, shape);
  EXPECT_EQ(copy.spheres.size(), 2u);
}

TEST(Shape, AnyFailedReadYieldsNothing) {
  testkit::DataFolders folders;
  const char* bad[] = {"", "x", "-1", "2\n0 0 0 1 1 1 1\n", "1\n0 0 0 1 1 1\n", "1\n0 zero 0 1 1 1 1\n",
                       "1\n0 0 0 1e99 1 1 1\n", "100000\n"};
  int k = 0;
  for (const char* text : bad) {
    std::string name = "@bad" + std::to_string(k++) + ".shp";
    testkit::write_file(folders.data + name.substr(1), text);
    EXPECT_EQ(load_shape(name.c_str()), nullptr) << text;
  }
  EXPECT_EQ(load_shape("@absent.shp"), nullptr);
  Shape copy;
  EXPECT_FALSE(copy_shape("@absent.shp", &copy));
  // An empty shape is valid: no spheres.
  testkit::write_file(folders.data + "none.shp", "0\n");
  ASSERT_NE(load_shape("@none.shp"), nullptr);
  EXPECT_FLOAT_EQ(load_shape("@none.shp")->bound, 0.0f);
}

}  // namespace
