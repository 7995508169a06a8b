#include "data/scanner.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "data/data_file.h"

namespace {

// A DataFile over in-memory text.
struct TextFile {
  std::string text;
  DataFile* file;
  explicit TextFile(std::string contents) : text(std::move(contents)) {
    FILE* stream = text.empty() ? std::tmpfile() : fmemopen(text.data(), text.size(), "rb");
    file = df_open_stream(stream);
  }
  ~TextFile() { df_close(file); }
  std::string rest() {
    std::string out;
    for (int c; (c = df_getc(file)) >= 0;) out += static_cast<char>(c);
    return out;
  }
};

struct IntCase {
  const char* input;
  const char* format;
  int result;
  int value;
  const char* rest;
};

}  // namespace

TEST(Scanner, IntegerConversions) {
  const IntCase cases[] = {
      {"  -42x", "%d", 1, -42, "x"},
      {"0x1F", "%i", 1, 31, ""},
      {"017", "%i", 1, 15, ""},
      {"0x1F", "%x", 1, 0, "x1F"},
      {"ff", "%x", 1, 255, ""},
      {"-0", "%i", 1, 0, ""},
      {"777", "%o", 1, 511, ""},
      {"+12", "%d", 1, 12, ""},
      {"12345", "%3d", 1, 123, "45"},
      {"-123", "%2d", 1, -1, "23"},
      {"4294967297", "%d", 1, 1, ""},  // wraps in 32 bits
      {"x", "%d", 0, -7, "x"},
      {"-x", "%d", 0, -7, "x"},  // the sign is taken
      {"", "%d", -1, -7, ""},
      {"   ", "%d", -1, -7, ""},
      {"08", "%i", 1, 0, "8"},
  };
  for (const IntCase& c : cases) {
    TextFile in(c.input);
    int value = -7;
    EXPECT_EQ(df_scanf(in.file, c.format, &value), c.result) << c.format << " on '" << c.input << "'";
    EXPECT_EQ(value, c.value) << c.format << " on '" << c.input << "'";
    EXPECT_EQ(in.rest(), c.rest) << c.format << " on '" << c.input << "'";
  }
}

TEST(Scanner, RealConversions) {
  struct Case {
    const char* input;
    int result;
    double value;
    const char* rest;
  } cases[] = {
      {"1.5e3", 1, 1500.0, ""},
      {"-.25", 1, -0.25, ""},
      {".", 1, 0.0, ""},
      {"3.", 1, 3.0, ""},
      {"1.2.3", 1, 1.2, ".3"},
      {"2e", 1, 2.0, ""},
      {"2e-2", 1, 0.02, ""},
      {"2E+1x", 1, 20.0, "x"},
      {"7e+", 1, 7.0, ""},
      {"-", 0, 99.0, ""},
      {"abc", 0, 99.0, "abc"},
      {"1e400", 1, 1e300 * 1e100, ""},  // beyond a double: infinity
      {"1e-400", 1, 0.0, ""},
      {"1e999999999999", 1, 1e300 * 1e100, ""},
      {"0.1", 1, 0.1, ""},
      {"123456789012345678901234567890", 1, 1.2345678901234568e29, ""},
  };
  for (const auto& c : cases) {
    TextFile in(c.input);
    double value = 99.0;
    EXPECT_EQ(df_scanf(in.file, "%lf", &value), c.result) << c.input;
    EXPECT_DOUBLE_EQ(value, c.value) << c.input;
    EXPECT_EQ(in.rest(), c.rest) << c.input;
  }
}

TEST(Scanner, RealStorageSizesAndWidth) {
  TextFile in("0.1 0.1 0.1 1.25678");
  float f = 0;
  double d = 0;
  long double e = 0;
  float cut = 0;
  EXPECT_EQ(df_scanf(in.file, "%f %lf %Lf %4f", &f, &d, &e, &cut), 4);
  EXPECT_EQ(f, 0.1f);
  EXPECT_EQ(d, 0.1);
  EXPECT_EQ(e, 0.1L);
  EXPECT_EQ(cut, 1.25f);
  EXPECT_EQ(in.rest(), "678");
}

TEST(Scanner, ShortIntegersAndCountN) {
  TextFile in("  70000 abc");
  int16_t small = 0;
  int consumed = 0;
  int16_t consumed_short = 0;
  EXPECT_EQ(df_scanf(in.file, "%hd%n %*s%hn", &small, &consumed, &consumed_short), 1);
  EXPECT_EQ(small, static_cast<int16_t>(70000 & 0xFFFF));
  EXPECT_EQ(consumed, 7);
  EXPECT_EQ(consumed_short, 11);
}

TEST(Scanner, LiteralMismatchGivesMinusOneEvenAfterStores) {
  TextFile in("5 6");
  int a = 0, b = 0;
  EXPECT_EQ(df_scanf(in.file, "%d,%d", &a, &b), -1);
  EXPECT_EQ(a, 5);
  EXPECT_EQ(b, 0);
  EXPECT_EQ(in.rest(), " 6");
}

TEST(Scanner, PercentLiteralAndUnknownConversion) {
  TextFile in("50% 7 8");
  int a = 0, b = 0;
  EXPECT_EQ(df_scanf(in.file, "%d%% %d %u", &a, &b, &b), 2);
  EXPECT_EQ(a, 50);
  EXPECT_EQ(b, 7);
}

TEST(Scanner, StringsCharactersAndWidths) {
  TextFile in("  hello world!xyz");
  char word[16] = {}, cut[8] = {}, chars[4] = {'?', '?', '?', '?'};
  EXPECT_EQ(df_scanf(in.file, "%3s", word), 1);
  EXPECT_STREQ(word, "hel");
  EXPECT_EQ(df_scanf(in.file, "%s %5s", word, cut), 2);
  EXPECT_STREQ(word, "lo");
  EXPECT_STREQ(cut, "world");
  EXPECT_EQ(df_scanf(in.file, "%3c", chars), 1);
  EXPECT_EQ(std::string(chars, 4), "!xy?");  // no terminator added
  EXPECT_EQ(df_scanf(in.file, "%c%c", chars, chars + 1), 1);  // input ends
  EXPECT_EQ(chars[0], 'z');
}

TEST(Scanner, ScanSets) {
  struct Case {
    const char* input;
    const char* format;
    int result;
    const char* stored;
    const char* rest;
  } cases[] = {
      {"ab-cbd", "%[a-c-]", 1, "ab-cb", "d"},
      {"]]x", "%[]]", 1, "]]", "x"},
      {"xyz]", "%[^]]", 1, "xyz", "]"},
      {"line one\nline two", "%[^\n]", 1, "line one", "\nline two"},
      {"abc", "%2[a-z]", 1, "ab", "c"},
      {"123", "%[a-z]", 0, "", "123"},
      {"", "%[a-z]", -1, "", ""},
  };
  for (const auto& c : cases) {
    TextFile in(c.input);
    char out[32] = {};
    EXPECT_EQ(df_scanf(in.file, c.format, out), c.result) << c.format << " on " << c.input;
    EXPECT_STREQ(out, c.stored) << c.format << " on " << c.input;
    EXPECT_EQ(in.rest(), c.rest) << c.format << " on " << c.input;
  }
}

TEST(Scanner, CommentSkipIdiom) {
  {
    TextFile in("# a comment\n12");
    char hash[2];
    EXPECT_EQ(df_scanf(in.file, " %1[#]%*[^\n]", hash), 1);
    EXPECT_EQ(in.rest(), "\n12");
  }
  {
    TextFile in("12");
    char hash[2];
    EXPECT_EQ(df_scanf(in.file, " %1[#]%*[^\n]", hash), 0);
    EXPECT_EQ(in.rest(), "12");
  }
  {
    TextFile in("  # one\n#\n\n   # three\n 5 6");
    df_skip_comments(in.file);
    int a = 0, b = 0;
    EXPECT_EQ(df_scanf(in.file, "%d %d", &a, &b), 2);
    EXPECT_EQ(a + b, 11);
  }
}

TEST(Scanner, EmptyInputGivesMinusOneForEveryConversion) {
  for (const char* format : {"%d", "%i", "%x", "%f", "%s", "%c", "%[a]", " %d"}) {
    TextFile in("");
    char buffer[8];
    EXPECT_EQ(df_scanf(in.file, format, buffer), -1) << format;
  }
}

TEST(Scanner, SuppressedConversionsContinueButDoNotCount) {
  TextFile in("skip 3 4.5 name");
  int n = 0;
  float f = 0;
  char name[8] = {};
  EXPECT_EQ(df_scanf(in.file, "%*s %d %*f %s", &n, name), 2);
  EXPECT_EQ(n, 3);
  EXPECT_STREQ(name, "name");
  (void)f;
}
