// The art the data kit writes: every file the game asks for by name is
// there and loads through the game's own loaders, the same bytes come out
// every time, the fonts follow the separator layout, and the models, rig
// and shapes fit the bike geometry the physics uses.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <map>
#include <memory>
#include <set>

#include "art/art_files.h"
#include "art/bike_geometry.h"
#include "art/bike_models.h"
#include "art/bike_styles.h"
#include "art/rider.h"
#include "art/rider_rig.h"
#include "art/series.h"
#include "art/shapes.h"
#include "art/wheels.h"
#include "check/series_reader.h"
#include "data/data_dirs.h"
#include "data/data_file.h"
#include "data/image_read.h"
#include "data/scanner.h"
#include "data/texture_cache.h"
#include "kit/jm_format.h"
#include "physics/bike_info.h"
#include "physics/rider_limbs.h"
#include "race/robot_roster.h"
#include "testkit.h"
#include "track/shape.h"

namespace {

using kit::Vec3;

// Every file the bike table names for a model.
std::set<std::string> paths_named_by(const BikeInfo& info) {
  return {info.frame_model,      info.frame_shape,        info.bike_texture,      info.fork_upper_model,
          info.fork_upper_shape, info.fork_lower_model,   info.fork_lower_shape,  info.swingarm_model,
          info.swingarm_shape,   info.front_wheel_model,  info.front_wheel_shape, info.rear_wheel_model,
          info.rear_wheel_shape, info.wheel_texture,      info.rider_head_model,  info.rider_head_texture,
          info.rider_body_model, info.rider_body_fp_model, info.rider_shape,      info.rider_body_texture,
          info.side_plates_model, info.front_plate_model, info.rider_plate_model};
}

// The robot roster's textures and the interface files the start-up loads.
std::set<std::string> other_named_paths() {
  std::set<std::string> paths = {"@font.png",     "@numbers.png",  "@numbers-condensed.png", "@tach.png",
                                 "@shifter.png",  "@pitboard.png", "@title.ppm",             "@roost.png"};
  for (const RosterEntry& robot : robot_roster())
    for (const std::string& texture : {robot.body_texture, robot.head_texture, robot.bike_texture, robot.wheel_texture})
      if (!texture.empty()) paths.insert(texture);
  return paths;
}

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// Reads an image file through the game's readers, level 0 only.
bool read_image(const std::string& path, Image* image) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  if (!file) return false;
  if (ends_with(path, ".ppm")) {
    if (!read_colour_image(file.get(), image)) return false;
    image->pixels.resize(image_level_bytes(image->width, image->height, image->channels));
    return true;
  }
  return read_png(file.get(), image);
}

TEST(ArtData, EveryFileTheGameNamesIsWrittenAndLoadsThroughTheGamesReaders) {
  testkit::DataFolders folders;
  ASSERT_TRUE(art::write_art_files(folders.data, art::art_files({})));

  std::set<std::string> wanted = other_named_paths();
  ASSERT_EQ(bike_table().size(), 18u);
  for (const BikeInfo& info : bike_table()) {
    std::set<std::string> paths = paths_named_by(info);
    wanted.insert(paths.begin(), paths.end());
  }
  for (const std::string& path : wanted) {
    SCOPED_TRACE(path);
    if (ends_with(path, ".jm")) {
      kit::Model model;
      std::string error;
      EXPECT_TRUE(kit::read_jm_file(path, &model, &error)) << error;
      EXPECT_GT(model.triangle_count(), 0u);
    } else if (ends_with(path, ".shp")) {
      const Shape* shape = load_shape(path.c_str());
      ASSERT_NE(shape, nullptr);
      EXPECT_GE(shape->spheres.size(), 2u);
    } else {
      Image image;
      ASSERT_TRUE(read_image(path, &image));
      // Textures are uploaded as they are: sides are powers of two.
      EXPECT_TRUE(is_power_of_two(image.width) && is_power_of_two(image.height)) << image.width << "x" << image.height;
      EXPECT_GE(std::max(image.width, image.height), 128);
    }
  }
  // The start-up's textures go through the texture cache as the game loads them.
  for (const char* name : {"!@tach.png", "!@shifter.png", "!@pitboard.png", "!@title.ppm", "@crf250.png", "@rider_body.png"})
    EXPECT_NE(LoadTexture(name), 0) << name;
  // Every model's distance versions exist beside it.
  for (const std::string& name : list_data_files())
    if (ends_with(name, ".jm") && name.find("_lod") == std::string::npos && name != "rider_plate.jm")
      for (const char* lod : {"_lod5.jm", "_lod7.jm"}) {
        bool compressed;
        EXPECT_NE(find_data_entry(name.substr(0, name.size() - 3) + lod, &compressed), nullptr) << name;
      }
}

TEST(ArtData, TheSameBytesComeOutEveryTime) {
  art::ArtFiles files = art::art_files({{"rabbithill", "Rabbit Hill"}});
  std::set<std::string> names;
  for (const art::ArtFile& file : files) EXPECT_TRUE(names.insert(file.name).second) << "listed twice: " << file.name;
  // One file of every kind (painted, modelled, skinned, typeset, rendered,
  // series), made twice in parallel batches: byte for byte the same.
  const std::set<std::string> sample = {"crf250_frame.jm",  "crf250_fork_upper_lod5.jm", "crf250-alt1.png",
                                        "rear_wheel.jm",    "wheels-alt2.png",           "rider_body.jm",
                                        "rider_head.png",   "font.png",                  "tach.png",
                                        "title.ppm",        "generic_frame.shp",         "series/125-class.series"};
  art::ArtFiles chosen;
  for (const art::ArtFile& file : files)
    if (sample.count(file.name)) chosen.push_back(file);
  ASSERT_EQ(chosen.size(), sample.size());
  std::vector<std::string> first = art::make_art_files(chosen), second = art::make_art_files(chosen);
  for (size_t i = 0; i < chosen.size(); ++i) {
    EXPECT_FALSE(first[i].empty()) << chosen[i].name;
    EXPECT_EQ(first[i], second[i]) << chosen[i].name;
  }
}

// Reads a font picture as the game's text drawing does: the top-left
// colour separates bands (by the left column) and glyphs (by each band's
// top row). Returns each glyph's rectangle (x0, y0, x1, y1).
std::vector<std::array<int, 4>> font_glyphs(const Image& image) {
  auto pixel = [&](int x, int y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return std::array<uint8_t, 4>{p[0], p[1], p[2], p[3]};
  };
  auto separator = pixel(0, 0);
  std::vector<std::array<int, 4>> glyphs;
  int y = 0;
  while (y < image.height) {
    if (pixel(0, y) == separator) {
      ++y;
      continue;
    }
    int bottom = y;
    while (bottom < image.height && pixel(0, bottom) != separator) ++bottom;
    int x = 0;
    while (x < image.width) {
      if (pixel(x, y) == separator) {
        ++x;
        continue;
      }
      int end = x;
      while (end < image.width && pixel(end, y) != separator) ++end;
      glyphs.push_back({x, y, end, bottom});
      x = end;
    }
    y = bottom;
  }
  return glyphs;
}

TEST(ArtData, FontsHoldTheirCharactersInTheSeparatorLayout) {
  testkit::DataFolders folders;
  art::ArtFiles files = art::art_files({});
  const std::map<std::string, std::string> fonts = {{"font.png", "!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~"},
                                                    {"numbers.png", "0123456789"},
                                                    {"numbers-condensed.png", "0123456789"}};
  for (const art::ArtFile& file : files) {
    auto font = fonts.find(file.name);
    if (font == fonts.end()) continue;
    SCOPED_TRACE(file.name);
    testkit::write_file(folders.data + file.name, file.make());
    Image image;
    ASSERT_TRUE(read_rgba_image(("@" + file.name).c_str(), &image));
    auto glyphs = font_glyphs(image);
    ASSERT_EQ(glyphs.size(), font->second.size());
    double widest = 0, narrowest = 1e9;
    for (size_t i = 0; i < glyphs.size(); ++i) {
      auto [x0, y0, x1, y1] = glyphs[i];
      double advance = static_cast<double>(x1 - x0) / (y1 - y0);
      widest = std::max(widest, advance);
      narrowest = std::min(narrowest, advance);
      // Every glyph has ink, and only inside its own rectangle.
      int ink = 0;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) ink += image.pixels[(static_cast<size_t>(y) * image.width + x) * 4 + 3] > 128;
      EXPECT_GT(ink, 4) << "glyph " << font->second[i];
    }
    EXPECT_GT(narrowest, 0.15);  // "!" or "1" still reads
    EXPECT_LT(widest, 1.2);      // "W" and "M" are about a line wide
    EXPECT_GE(glyphs[0][3] - glyphs[0][1], 40);  // bands tall enough to stay sharp on screen
  }
}

// Distance from the axle of the farthest point of a wheel model in the
// wheel's plane: where the tyre meets the ground.
double wheel_reach(const kit::Model& model) {
  double reach = 0;
  for (const kit::Mesh& mesh : model.meshes)
    for (const kit::Vertex& v : mesh.vertices) reach = std::max(reach, std::hypot(v.position.y, v.position.z));
  return reach;
}

TEST(ArtData, WheelsMeetTheGroundWhereTheTyreContactDoes) {
  EXPECT_NEAR(wheel_reach(art::front_wheel_model({})), art::FRONT_RIM_RADIUS + art::TYRE_RADIUS, 0.01);
  EXPECT_NEAR(wheel_reach(art::rear_wheel_model({})), art::REAR_RIM_RADIUS + art::TYRE_RADIUS, 0.01);
  for (int level : {1, 2}) {
    EXPECT_NEAR(wheel_reach(art::front_wheel_model({level})), art::FRONT_RIM_RADIUS + art::TYRE_RADIUS, 0.03);
    EXPECT_NEAR(wheel_reach(art::rear_wheel_model({level})), art::REAR_RIM_RADIUS + art::TYRE_RADIUS, 0.03);
  }
}

TEST(ArtData, BikesHaveAFewThousandTrianglesAndLighterDistanceVersions) {
  for (const art::BikeStyle& style : art::bike_styles()) {
    SCOPED_TRACE(style.texture_prefix);
    size_t previous = 0;
    for (int level : {0, 1, 2}) {
      art::Detail d{level};
      size_t triangles = art::frame_model(style, d).triangle_count() + art::fork_upper_model(d).triangle_count() +
                         art::fork_lower_model(d).triangle_count() +
                         art::swingarm_model(d).triangle_count() + art::front_wheel_model(d).triangle_count() +
                         art::rear_wheel_model(d).triangle_count();
      if (level == 0) {
        EXPECT_GE(triangles, 3000u);
        EXPECT_LE(triangles, 20000u);
      } else {
        EXPECT_LT(triangles, previous * 0.7);
      }
      previous = triangles;
    }
  }
}

kit::Vec3 v(const double* p) { return {p[0], p[1], p[2]}; }

TEST(ArtData, ModelsArePlacedWhereThePhysicsPutsEveryBody) {
  for (const BikeInfo& info : bike_table()) {
    SCOPED_TRACE(info.name);
    const std::pair<Vec3, const double*> points[] = {
        {art::FRONT_AXLE, info.front_wheel},           {art::REAR_AXLE, info.rear_wheel},
        {art::FRAME_CENTRE, info.frame_position},      {art::FORK_UPPER_CENTRE, info.fork_upper_position},
        {art::FORK_LOWER_CENTRE, info.fork_lower_position}, {art::SWINGARM_CENTRE, info.swingarm_position},
        {art::SWINGARM_PIVOT, info.swingarm_pivot},    {art::RIDER_CENTRE, info.rider_position},
        {art::SHOULDER, info.rider.shoulder},          {art::HIP, info.rider.hip},
        {art::GRIP, info.rider.grip},                  {art::FOOTPEG, info.rider.peg},
        {art::HEAD, info.rider.head},                  {art::ELBOW_BEND, info.rider.elbow_bend},
        {art::KNEE_BEND, info.rider.knee_bend}};
    for (const auto& [art_point, physics_point] : points) EXPECT_NEAR(kit::length(art_point - v(physics_point)), 0, 1e-6);
    EXPECT_NEAR(art::FRONT_RIM_RADIUS, info.front_rim_radius, 1e-4);
    EXPECT_NEAR(art::REAR_RIM_RADIUS, info.rear_rim_radius, 1e-4);
    EXPECT_NEAR(art::TYRE_RADIUS, info.front_tyre_radius, 1e-4);
    EXPECT_NEAR(art::TYRE_RADIUS, info.rear_tyre_radius, 1e-4);
    EXPECT_NEAR(art::FORK_LEG_SPACING, info.fork_leg_spacing, 1e-4);
    EXPECT_EQ(art::UPPER_ARM, info.rider.upper_arm);
    EXPECT_EQ(art::SHIN, info.rider.shin);
  }
}

TEST(ArtData, TheRestPoseIsTheLimbSolveOfThePhysics) {
  // The skin's rest pose is the pose the physics solves for the design
  // pose, so a renderer posing the limbs with that solve starts from
  // identity rotations.
  const art::RiderPose& pose = art::rider_rest_pose();
  const BikeInfo& info = bike_table().front();
  const RiderGeometry& g = info.rider;
  ::Vec3 to_fork = ::Vec3(info.fork_upper_position) - ::Vec3(info.rider_position);
  ::Vec3 to_frame = ::Vec3(info.frame_position) - ::Vec3(info.rider_position);
  auto same = [](Vec3 a, ::Vec3 b) { return kit::length(a - Vec3{b.x, b.y, b.z}); };
  for (int i = 0; i < 2; ++i) {  // 0 left, 1 right, as both sides count them
    Limb arm = solve_limb(side_point(g.shoulder, i), side_point(g.grip, i) + to_fork, g.upper_arm, g.forearm,
                          ::Vec3(g.elbow_bend));
    Limb leg = solve_limb(side_point(g.hip, i), side_point(g.peg, i) + to_frame, g.thigh, g.shin, ::Vec3(g.knee_bend));
    EXPECT_NEAR(same(pose.elbow[i], arm.joint), 0, 1e-9);
    EXPECT_NEAR(same(pose.hand[i], arm.end), 0, 1e-9);
    EXPECT_NEAR(same(pose.knee[i], leg.joint), 0, 1e-9);
    EXPECT_NEAR(same(pose.foot[i], leg.end), 0, 1e-9);
    EXPECT_LT(pose.knee[i].z, std::min(pose.hip[i].z, pose.foot[i].z));  // knees forward
  }
}

TEST(ArtData, TheRiderIsSkinnedToItsNineBonesWithHandsAndFeetFollowingTheirLimbs) {
  for (const kit::Model& model : {art::rider_body_model({}), art::rider_body_first_person_model({})}) {
    ASSERT_EQ(model.bone_count, art::RIDER_BONE_COUNT);
    const art::RiderPose& pose = art::rider_rest_pose();
    for (const kit::Mesh& mesh : model.meshes) {
      ASSERT_EQ(mesh.weights.size(), mesh.vertices.size() * art::RIDER_BONE_COUNT);
      for (size_t v = 0; v < mesh.vertices.size(); ++v) {
        const double* w = &mesh.weights[v * art::RIDER_BONE_COUNT];
        double sum = 0;
        for (int b = 0; b < art::RIDER_BONE_COUNT; ++b) sum += w[b];
        ASSERT_NEAR(sum, 1, 1e-9);
        // What lies at a hand follows the forearm; at a foot, the shin.
        Vec3 p = mesh.vertices[v].position;
        for (int i = 0; i < 2; ++i) {
          if (kit::length(p - pose.hand[i]) < 0.1) {
            EXPECT_GT(w[i == 0 ? art::BONE_FOREARM_L : art::BONE_FOREARM_R], 0.95);
          }
          if (kit::length(p - pose.foot[i]) < 0.1) {
            EXPECT_GT(w[i == 0 ? art::BONE_SHIN_L : art::BONE_SHIN_R], 0.95);
          }
        }
      }
    }
  }
}

TEST(ArtData, AnUprightBikeTouchesTheGroundWithItsTyresOnly) {
  // Ground under the design pose: where the front tyre meets it.
  double ground = art::FRONT_AXLE.y - art::FRONT_RIM_RADIUS - art::TYRE_RADIUS;
  const std::map<std::string, Vec3> centres = {{"generic_frame.shp", art::FRAME_CENTRE},
                                               {"generic_fork_upper.shp", art::FORK_UPPER_CENTRE},
                                               {"generic_fork_lower.shp", art::FORK_LOWER_CENTRE},
                                               {"generic_swingarm.shp", art::SWINGARM_CENTRE},
                                               {"generic_rider.shp", art::RIDER_CENTRE}};
  double lowest_frame = 1e9;
  for (const art::NamedShape& shape : art::bike_shapes()) {
    auto centre = centres.find(shape.file);
    if (centre == centres.end()) continue;
    for (const kit::ShapeSphere& s : shape.spheres) {
      double bottom = (s.centre + centre->second).y - s.radius;
      // Clear of the ground by more than the fork's travel squashes it.
      EXPECT_GT(bottom - ground, 0.3) << shape.file;
      if (shape.file == "generic_frame.shp") lowest_frame = std::min(lowest_frame, bottom - ground);
      EXPECT_GT(s.friction, 0) << shape.file;
      EXPECT_GT(s.spring, 0) << shape.file;
    }
  }
  // The skid plate still meets the ground before the frame's own body
  // would pass through it at full compression (about a foot).
  EXPECT_LT(lowest_frame, 1.1);
}


using check::read_series;
using check::Series;
using check::SeriesEvent;

TEST(ArtSeries, ChampionshipsRunOverTheShippedTracksWithRosterRiders) {
  const std::vector<art::TrackEntry> tracks = {{"rabbithill", "Rabbit Hill"}, {"sandpit", "The \"Pit\""}};
  auto files = art::series_files(tracks);
  ASSERT_GE(files.size(), 2u);
  std::set<std::string> roster_numbers;
  for (const RosterEntry& robot : robot_roster()) roster_numbers.insert(robot.number);
  bool has_125 = false, has_250 = false;
  for (const auto& [name, bytes] : files) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(ends_with(name, ".series"));
    Series series;
    ASSERT_TRUE(read_series(bytes, &series));
    EXPECT_FALSE(series.title.empty());
    EXPECT_TRUE(series.skill == "Novice" || series.skill == "Amateur" || series.skill == "Expert") << series.skill;
    EXPECT_LE(series.riders.size() + 1, 40u);
    std::set<int> unique(series.riders.begin(), series.riders.end());
    EXPECT_EQ(unique.size(), series.riders.size());
    for (int number : series.riders) {
      EXPECT_TRUE(roster_numbers.count(std::to_string(number))) << number;
      const RosterEntry& robot = robot_roster()[number - 20];
      (robot.bike.find("125") != std::string::npos ? has_125 : has_250) = true;
    }
    // Each track hosts one round: a moto that scores for the round, then
    // one that closes it with championship points.
    ASSERT_EQ(series.events.size(), tracks.size() * 2);
    for (size_t e = 0; e < series.events.size(); ++e) {
      const SeriesEvent& event = series.events[e];
      EXPECT_EQ(event.track, tracks[e / 2].folder);
      EXPECT_GT(event.minutes * 60 + event.laps, 0);
      EXPECT_EQ(event.championship[0] != 0, e % 2 == 1) << event.name;
      EXPECT_GT(event.moto[0], 0);
      for (int p = 1; p < 40; ++p) EXPECT_LE(event.moto[p], event.moto[p - 1]);
    }
  }
  EXPECT_TRUE(has_125);
  EXPECT_TRUE(has_250);
  EXPECT_TRUE(art::series_files({}).empty());  // no series without a track
}


TEST(ArtShapes, WheelShapesLeaveNoGapRoundTheTyre) {
  for (const art::NamedShape& shape : art::bike_shapes()) {
    if (shape.file.find("wheel") == std::string::npos) continue;
    SCOPED_TRACE(shape.file);
    const auto& s = shape.spheres;
    ASSERT_GE(s.size(), 6u);
    for (size_t k = 0; k < s.size(); ++k) {
      EXPECT_NEAR(s[k].centre.x, 0, 1e-9);  // in the wheel's plane
      EXPECT_LT(kit::length(s[k].centre - s[(k + 1) % s.size()].centre), s[k].radius * 2);
    }
    double outer = kit::length(s[0].centre) + s[0].radius;
    EXPECT_NEAR(outer, shape.file == "front_wheel.shp" ? art::FRONT_RIM_RADIUS + art::TYRE_RADIUS
                                                        : art::REAR_RIM_RADIUS + art::TYRE_RADIUS,
                1e-9);
  }
}

}  // namespace
