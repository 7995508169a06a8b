#include "data/data_file.h"

#include <gtest/gtest.h>

#include <string>

#include "data/data_dirs.h"
#include "data/saf_archive.h"
#include "testkit.h"

namespace {

using testkit::DataFolders;

// Reads a whole file through the data layer; "<null>" when it won't open.
std::string read_all(const char* path) {
  DataFile* file = df_open(path, "rb");
  if (!file) return "<null>";
  std::string out;
  char buffer[7];  // odd size: reads cross every internal buffer edge
  for (int got; (got = df_read(file, buffer, sizeof buffer)) > 0;) out.append(buffer, static_cast<size_t>(got));
  df_close(file);
  return out;
}

std::string saf_bytes(const std::string& header, const std::string& body) { return header + body; }

}  // namespace

TEST(DataDirs, HomeFirstThenDataFolderNormalised) {
  DataFolders folders;
  setenv("BL_HOME", (folders.data + "\\sub//").c_str(), 1);
  reset_data_layer();
  ASSERT_EQ(data_dir_count(), 2);
  EXPECT_EQ(std::string(data_dir(0)), folders.home);
  EXPECT_EQ(std::string(data_dir(1)), folders.data + "sub/");
  EXPECT_EQ(data_dir(2), nullptr);
  EXPECT_EQ(data_dir(-1), nullptr);
}

TEST(DataFile, WritingAnAtPathCreatesTheHomeFolder) {
  DataFolders folders;
  DataFile* file = df_open("@config", "wb");
  ASSERT_NE(file, nullptr);
  df_printf(file, "xres=%d\n", 800);
  df_close(file);
  EXPECT_EQ(testkit::read_file(folders.home + "config"), "xres=800\n");
  DataFile* nested = df_open("@demos/deep/x.bldemo", "wb");
  ASSERT_NE(nested, nullptr);
  df_close(nested);
  EXPECT_TRUE(testkit::file_exists(folders.home + "demos/deep/x.bldemo"));
}

TEST(DataFile, HomeShadowsDataAndIndexIgnoresCase) {
  DataFolders folders;
  testkit::write_file(folders.data + "tracks/Mud/desc", "data copy");
  testkit::write_file(folders.data + "only.txt", "in data");
  testkit::write_file(folders.home + "tracks/Mud/desc", "home copy");
  EXPECT_EQ(read_all("@tracks/Mud/desc"), "home copy");
  EXPECT_EQ(read_all("@only.txt"), "in data");
  EXPECT_EQ(read_all("@ONLY.TXT"), "in data");  // found through the index
  EXPECT_EQ(read_all("@missing.txt"), "<null>");
  EXPECT_EQ(read_all("@tracks/Mud"), "<null>");  // a folder does not open as a file
  DataFile* written = df_open("@ONLY.TXT", "wb");  // writes go home, never into the index
  ASSERT_NE(written, nullptr);
  df_close(written);
  EXPECT_TRUE(testkit::file_exists(folders.home + "ONLY.TXT"));
}

TEST(DataFile, GzipTwinsReadDecompressed) {
  DataFolders folders;
  std::string text;
  for (int i = 0; i < 5000; ++i) text += "line " + std::to_string(i) + "\n";
  testkit::write_file(folders.data + "big.txt.gz", testkit::gzip(text));
  EXPECT_EQ(read_all("@big.txt"), text);
  EXPECT_EQ(read_all((folders.data + "big.txt").c_str()), text);  // plain path twin
  DataFile* file = df_open("@big.txt", "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(df_seek(file, 0), 0);  // compressed: no seeking
  df_close(file);
}

TEST(DataFile, DamagedGzipEndsWithAShortRead) {
  DataFolders folders;
  std::string text(100000, 'q');
  std::string packed = testkit::gzip(text);
  testkit::write_file(folders.data + "cut.txt.gz", packed.substr(0, packed.size() / 2));
  std::string corrupt = packed;
  for (size_t i = 12; i < corrupt.size(); i += 3) corrupt[i] = static_cast<char>(corrupt[i] ^ 0x5A);
  testkit::write_file(folders.data + "bad.txt.gz", corrupt);
  testkit::write_file(folders.data + "notgz.txt.gz", "plain text, not gzip");
  EXPECT_LT(read_all("@cut.txt").size(), text.size());
  EXPECT_LT(read_all("@bad.txt").size(), text.size());
  EXPECT_EQ(read_all("@notgz.txt"), "<null>");
}

TEST(DataFile, FilesWrittenDuringTheRunOpenButAreNotListed) {
  DataFolders folders;
  testkit::write_file(folders.data + "a.txt", "a");
  EXPECT_EQ(list_data_files(), std::vector<std::string>{"a.txt"});
  DataFile* file = df_open("@new.txt", "wb");
  ASSERT_NE(file, nullptr);
  df_puts(file, "fresh");
  df_close(file);
  EXPECT_EQ(read_all("@new.txt"), "fresh");
  EXPECT_EQ(list_data_files(), std::vector<std::string>{"a.txt"});
}

TEST(DataFile, GetsKeepsLineEndsAndSplitsLongLines) {
  DataFolders folders;
  testkit::write_file(folders.data + "lines.txt", "one\ntwo and more\nlast");
  DataFile* file = df_open("@lines.txt", "rb");
  ASSERT_NE(file, nullptr);
  char buffer[8];
  ASSERT_NE(df_gets(file, buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "one\n");
  ASSERT_NE(df_gets(file, buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "two and");
  ASSERT_NE(df_gets(file, buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, " more\n");
  ASSERT_NE(df_gets(file, buffer, sizeof buffer), nullptr);
  EXPECT_STREQ(buffer, "last");
  EXPECT_EQ(df_gets(file, buffer, sizeof buffer), nullptr);
  df_close(file);
}

TEST(DataFile, SeekRules) {
  DataFolders folders;
  testkit::write_file(folders.data + "plain.bin", "0123456789");
  DataFile* file = df_open("@plain.bin", "rb");
  ASSERT_NE(file, nullptr);
  EXPECT_EQ(df_getc(file), '0');
  df_ungetc(file, 'Z');
  EXPECT_EQ(df_seek(file, 5), 1);
  EXPECT_EQ(df_getc(file), '5');  // the pushed-back byte was dropped
  EXPECT_EQ(df_seek(file, -1), 0);
  df_close(file);
}

TEST(SafArchive, MembersAreIndexedAndReadInPlace) {
  DataFolders folders;
  std::string header = "5 hello.txt\n3 deep//sub///three.txt\n0 empty\n-\n";
  testkit::write_file(folders.data + "pack.saf", saf_bytes(header, "HELLOabc"));
  EXPECT_EQ(read_all("@hello.txt"), "HELLO");
  EXPECT_EQ(read_all("@deep/sub/three.txt"), "abc");
  EXPECT_EQ(read_all("@empty"), "");
  const std::vector<std::string>& names = list_data_files();
  EXPECT_EQ(names, (std::vector<std::string>{"deep/sub/three.txt", "empty", "hello.txt", "pack.saf"}));

  DataFile* member = df_open("@hello.txt", "rb");
  ASSERT_NE(member, nullptr);
  EXPECT_EQ(df_seek(member, 4), 1);
  EXPECT_EQ(df_getc(member), 'O');
  EXPECT_EQ(df_getc(member), -1);  // never reads into the next member
  EXPECT_EQ(df_seek(member, 5), 0);
  df_close(member);
}

TEST(SafArchive, CompressedMembersAreFoundWithoutTheirSuffix) {
  DataFolders folders;
  std::string text = "packed and compressed\n";
  std::string packed = testkit::gzip(text);
  std::string header = std::to_string(packed.size()) + " notes.txt.gz\n2 after\n-\n";
  testkit::write_file(folders.data + "z.saf", header + packed + "OK");
  EXPECT_EQ(read_all("@notes.txt"), text);
  EXPECT_EQ(read_all("@after"), "OK");
}

TEST(SafArchive, MalformedHeadersContributeNothing) {
  struct Case {
    const char* label;
    std::string bytes;
  } cases[] = {
      {"no terminating line", "3 a.txt\n3 b.txt\nabcdef"},
      {"terminator without line feed", "3 a.txt\n-"},
      {"stray text line", "3 a.txt\nhello\n-\nabc"},
      {"negative size", "-3 a.txt\n-\nabc"},
      {"missing name", "3\n-\nabc"},
      {"size beyond 32 bits", "99999999999 a.txt\n-\nabc"},
      {"line longer than the buffer", "3 " + std::string(1100, 'n') + "\n-\nabc"},
  };
  for (const Case& c : cases) {
    DataFolders folders;
    testkit::write_file(folders.data + "bad.saf", c.bytes);
    testkit::write_file(folders.data + "good.saf", "2 ok.txt\n-\nOK");
    EXPECT_EQ(read_all("@a.txt"), "<null>") << c.label;
    EXPECT_EQ(read_all("@ok.txt"), "OK") << c.label;
    EXPECT_EQ(list_data_files(), (std::vector<std::string>{"bad.saf", "good.saf", "ok.txt"})) << c.label;
  }
}

TEST(SafArchive, WriterRoundTrips) {
  std::string path = testkit::scratch_dir() + "out.saf";
  ASSERT_TRUE(write_saf_archive(path.c_str(), {{"x/one", "1"}, {"two", std::string(3000, 't')}}));
  std::vector<SafMember> members;
  ASSERT_TRUE(read_saf_header_file(path.c_str(), &members));
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].name, "x/one");
  EXPECT_EQ(members[0].offset, static_cast<int32_t>(std::string("1 x/one\n3000 two\n-\n").size()));
  EXPECT_EQ(members[1].offset, members[0].offset + 1);
  EXPECT_EQ(members[1].size, 3000);
}

TEST(DataIndex, SortedByNameThenSourceWithHomeFirst) {
  DataFolders folders;
  testkit::write_file(folders.data + "b.txt", "data b");
  testkit::write_file(folders.home + "b.txt", "home b");
  testkit::write_file(folders.data + "A.txt", "data A");
  const std::vector<DataEntry>& index = data_index();
  ASSERT_EQ(index.size(), 3u);
  EXPECT_EQ(index[0].name, "A.txt");
  EXPECT_EQ(index[1].name, "b.txt");
  EXPECT_EQ(index[1].source, 0);
  EXPECT_EQ(index[2].source, 1);
  EXPECT_EQ(list_data_files(), (std::vector<std::string>{"A.txt", "b.txt"}));
}
