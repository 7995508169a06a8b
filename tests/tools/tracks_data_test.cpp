// The files the data kit writes for the tracks: built again they come out
// byte for byte as shipped; every picture, model and shape they name is
// there and reads; the ground tiles meet without a seam.
// GCC 12 reports std::function inside <regex> as maybe used uninitialised
// when optimising with the sanitizers: a false alarm in the library.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <regex>
#include <set>
#include <sstream>

#include "data/data_dirs.h"
#include "data/data_file.h"
#include "data/image_read.h"
#include "kit/jm_format.h"
#include "testkit.h"
#include "track/shape.h"
#include "track/track_load.h"
#include "tracks/ground_textures.h"
#include "tracks/track_build.h"
#include "tracks/track_check.h"
#include "tracks/track_preview.h"
#include "tracks_shipped.h"

namespace {

class TrackData : public ::testing::TestWithParam<std::string> {};

TEST_P(TrackData, BuildingAgainGivesTheShippedBytes) {
  tracks::BuiltTrack track = tracks::build_track(shipped::design(GetParam()));
  std::set<std::string> shipped_names;
  for (const auto& entry : std::filesystem::directory_iterator(testkit::game_dir() + GetParam()))
    shipped_names.insert(entry.path().filename().string());
  for (const auto& [name, bytes] : track.files) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(shipped_names.count(name));
    std::string shipped = testkit::read_file(testkit::game_dir() + GetParam() + "/" + name);
    EXPECT_EQ(shipped.size(), bytes.size());
    EXPECT_TRUE(shipped == bytes);
  }
  // Every file of the track's folder, and nothing it lacks.
  for (const char* name : {"desc", "terrain.hf", "shadingx2.ppm", "shadows.pgm", "tileinfo", "tilemap",
                           "timing_gates", "billboards", "statues", "flaggers", "decals", "lighting", "map.png"})
    EXPECT_TRUE(track.files.count(name)) << name;
}

// Every name a track's text files give, with "@" and any colour prefix
// ("#rrggbb#") removed.
std::set<std::string> named_files(const std::string& folder) {
  std::set<std::string> names;
  std::regex word(R"(@[^\s\]]+)");
  for (const char* file : {"tileinfo", "billboards", "statues", "flaggers", "decals", "lighting"}) {
    std::string text = testkit::read_file(testkit::game_dir() + folder + "/" + file);
    for (auto it = std::sregex_iterator(text.begin(), text.end(), word); it != std::sregex_iterator(); ++it)
      names.insert(it->str().substr(1));
  }
  // The starting gate the loader places in front of every start position.
  for (const char* gate : {"startgate.jm", "startgate.ppm", "startgate.shp"}) names.insert(gate);
  return names;
}

bool ends_with(const std::string& text, const std::string& end) {
  return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool read_picture(const std::string& path, Image* image) {
  std::unique_ptr<DataFile, DataFileCloser> file(df_open(path.c_str(), "rb"));
  if (!file) return false;
  return ends_with(path, ".ppm") ? read_colour_image(file.get(), image) : read_png(file.get(), image);
}

TEST_P(TrackData, EveryPictureModelAndShapeItNamesReads) {
  ASSERT_TRUE(shipped::load(GetParam()));  // points the data layer at the game folder
  std::set<std::string> names = named_files(GetParam());
  EXPECT_GT(names.size(), 40u);
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    std::string path = "@" + name;
    if (ends_with(name, ".jm")) {
      kit::Model model;
      std::string error;
      EXPECT_TRUE(kit::read_jm_file(path, &model, &error)) << error;
      EXPECT_GE(model.triangle_count(), 12u);
    } else if (ends_with(name, ".shp")) {
      const Shape* shape = load_shape(path.c_str());
      ASSERT_NE(shape, nullptr);
      EXPECT_GE(shape->spheres.size(), 2u);
    } else {
      Image image;
      ASSERT_TRUE(read_picture(path, &image));
      EXPECT_TRUE(is_power_of_two(image.width) && is_power_of_two(image.height)) << image.width << "x" << image.height;
      EXPECT_GE(std::min(image.width, image.height), 64);
    }
  }
}

TEST_P(TrackData, ChecksCleanWithTheGamesLoaders) {
  ASSERT_TRUE(shipped::load(GetParam()));
  UnloadTrack();
  std::string report;
  EXPECT_TRUE(tracks::check_track(GetParam(), shipped::design(GetParam()).title, &report)) << report;
  EXPECT_NE(report.find("\"" + shipped::design(GetParam()).title + "\" hash "), std::string::npos) << report;
}

INSTANTIATE_TEST_SUITE_P(Shipped, TrackData, ::testing::ValuesIn(shipped::folders()));

TEST(TrackCheck, AStatueWithoutItsShapeFailsTheCheck) {
  // A statues file in the home folder shadows the shipped one.
  ASSERT_TRUE(shipped::load("ironworks"));
  UnloadTrack();
  testkit::write_file(home_folder() + "ironworks/statues", "[300 0 300] 0 @tuffblock.jm @tuffblock.png @nothere.shp\n");
  std::string report;
  EXPECT_FALSE(tracks::check_track("ironworks", "Ironworks", &report));
  EXPECT_NE(report.find("has no shape"), std::string::npos) << report;
  EXPECT_NE(report.find("missing shape file"), std::string::npos) << report;
}

TEST(TrackPreview, DrawsALoadedTrackAndRefusesAMissingOne) {
  ASSERT_TRUE(shipped::load("ironworks"));
  UnloadTrack();
  std::string out = testkit::scratch_dir() + "ironworks.png";
  ASSERT_TRUE(tracks::write_track_preview("ironworks", out));
  Image picture;
  ASSERT_TRUE(read_picture(out, &picture));
  EXPECT_EQ(picture.width, 1024);
  // The clay track, the floor, the stands and the red starting places all
  // show: many different colours.
  std::set<uint32_t> colours;
  for (size_t p = 0; p < picture.pixels.size(); p += picture.channels * 97)
    colours.insert(picture.pixels[p] << 16 | picture.pixels[p + 1] << 8 | picture.pixels[p + 2]);
  EXPECT_GT(colours.size(), 200u);

  std::string missing = testkit::scratch_dir("missing") + "none.png";
  EXPECT_FALSE(tracks::write_track_preview("nosuchtrack", missing));
  EXPECT_FALSE(testkit::file_exists(missing));
}

// One column (x fixed) or row (y fixed) of a picture.
std::vector<uint8_t> line_of(const Image& image, bool column, int at) {
  std::vector<uint8_t> out;
  for (int k = 0; k < (column ? image.height : image.width); ++k) {
    int x = column ? at : k, y = column ? k : at;
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * image.channels];
    out.insert(out.end(), p, p + 3);
  }
  return out;
}

TEST(TrackTiles, GroundTilesMeetWithoutASeam) {
  // The game shows the middle 224 of each tile's 256 pixels: column 16 of
  // one tile meets column 240 of its left neighbour (and rows likewise).
  // Where a transition's two corners on one side are both of a material,
  // that side is exactly the material's plain tile there, and a plain tile
  // repeats with that period.
  std::set<std::string> done;
  int checked = 0;
  for (const tracks::TrackDesign& design : shipped::designs())
    for (const tracks::TileKind& kind : tracks::tile_kinds(design.materials)) {
      std::string name = kind.texture_name();
      if (!done.insert(name).second) continue;
      SCOPED_TRACE(name);
      Image tile, base, over;
      ASSERT_TRUE(read_picture(testkit::game_dir() + name, &tile));
      ASSERT_TRUE(read_picture(testkit::game_dir() + tracks::TileKind{kind.base, kind.base}.texture_name(), &base));
      ASSERT_TRUE(read_picture(testkit::game_dir() + tracks::TileKind{kind.overlay, kind.overlay}.texture_name(), &over));
      ASSERT_EQ(tile.width, tracks::TILE_PIXELS);
      // Sides: (column?, position, corner bits at its two ends).
      struct Side {
        bool column;
        int at, bits;
      };
      for (Side side : {Side{true, 16, 8 | 2}, Side{true, 240, 4 | 1}, Side{false, 16, 8 | 4}, Side{false, 240, 2 | 1}}) {
        int shown = kind.mask & side.bits;
        if (shown != 0 && shown != side.bits) continue;  // a mixed side: its neighbour mixes the same way
        const Image& plain = shown == 0 ? base : over;
        EXPECT_EQ(line_of(tile, side.column, side.at), line_of(plain, side.column, side.at)) << side.at;
        ++checked;
      }
      if (kind.overlay == kind.base) {
        EXPECT_EQ(line_of(tile, true, 16), line_of(tile, true, 240));
        EXPECT_EQ(line_of(tile, false, 16), line_of(tile, false, 240));
      }
    }
  EXPECT_GT(checked, 300);
}

}  // namespace
