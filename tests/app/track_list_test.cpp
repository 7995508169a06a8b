#include "track/track_list.h"

#include <gtest/gtest.h>

#include "race/demo_list.h"
#include "testkit.h"
#include "track/track.h"

namespace {

struct TrackListTest : ::testing::Test {
  testkit::DataFolders folders;
  void add_track(const std::string& dir, const char* desc, const char* heights = "terrain.hf") {
    testkit::write_file(folders.data + dir + "/" + heights, "");
    if (desc) testkit::write_file(folders.data + dir + "/desc", desc);
  }
};

}  // namespace

TEST_F(TrackListTest, TitlesFromDescSortedIgnoringCase) {
  add_track("rabbithill", "Rabbit Hill\r\nsecond line");
  add_track("zed", "alpine Meadows\n");
  add_track("mx/sandpit", nullptr, "terrain.hf.gz");
  add_track("empty", "");
  add_track("packed", "Zebra Dunes", "terrain.hf.gz");
  testkit::write_file(folders.data + "packed/terrain.hf", "");  // listed once
  testkit::write_file(folders.data + "notatrack/terrain.hf.bak", "");
  ASSERT_TRUE(build_track_list());
  EXPECT_EQ(track_list.titles, (std::vector<std::string>{"alpine Meadows", "empty", "mx/sandpit", "Rabbit Hill", "Zebra Dunes"}));
  EXPECT_EQ(track_list.dirs, (std::vector<std::string>{"zed", "empty", "mx/sandpit", "rabbithill", "packed"}));
}

TEST_F(TrackListTest, ExchangeSortIsDeterministicForTitlesEqualButForCase) {
  std::vector<std::string> dirs = {"a", "b", "c", "d"};
  std::vector<std::string> titles = {"Mud", "mud", "Bog", "MUD"};
  sort_tracks_by_title(&dirs, &titles);
  EXPECT_EQ(titles, (std::vector<std::string>{"Bog", "mud", "Mud", "MUD"}));
  EXPECT_EQ(dirs, (std::vector<std::string>{"c", "b", "a", "d"}));
}

TEST_F(TrackListTest, SelectionFollowsTheNamedTrackOrRabbitHill) {
  add_track("rabbithill", "Rabbit Hill");
  add_track("arena", "Arena Cross");
  add_track("twin", "Arena Cross");  // same title: the first index with it is selected
  ASSERT_TRUE(build_track_list());
  select_track("");
  EXPECT_EQ(track_list.dirs[track_list.selected], "rabbithill");
  select_track("twin");
  EXPECT_EQ(track_list.selected, 0);
  select_track("nowhere");
  EXPECT_EQ(track_list.selected, 0);
}

TEST_F(TrackListTest, NoTracksFound) { EXPECT_FALSE(build_track_list()); }

TEST_F(TrackListTest, DemosAreTitledByFileName) {
  testkit::write_file(folders.home + "demos/default.bldemo", "");
  testkit::write_file(folders.data + "demos/old/race.two.bldemo", "");
  testkit::write_file(folders.data + "demos/notes.txt", "");
  testkit::write_file(folders.data + "elsewhere/x.bldemo", "");
  build_demo_list();
  EXPECT_EQ(demo_list.files, (std::vector<std::string>{"demos/default.bldemo", "demos/old/race.two.bldemo"}));
  EXPECT_EQ(demo_list.titles, (std::vector<std::string>{"default", "race.two"}));
  EXPECT_EQ(demo_page_count(), 1);
}
