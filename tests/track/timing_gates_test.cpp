#include "track/timing_gates.h"

#include <cstdio>

#include "data/data_file.h"
#include "testkit.h"
#include "track/track.h"

namespace {

void read(std::string text) {
  DataFile* file = df_open_stream(fmemopen(text.data(), text.size(), "rb"));
  ReadTimingGates(file);
  df_close(file);
}

const char* FIVE_GATES =
    "checkpoints:\n"
    "10 [ 0 0 0 ] [ 1 0 0 ]\n"
    "10 [ 50 0 0 ] [ 1 0 0 ]\n"
    "10 [ 100 0 0 ] [ 0 0 1 ]\n"
    "10 [ 100 0 50 ] [ -1 0 0 ]\n"
    "10 [ 0 0 50 ] [ 0 0 -1 ]\n";

TEST(TimingGates, SectionsAndSequencePositions) {
  read(std::string("startinggate:\n[ 1 2 3 ] 0.5\n [4 5 6] -1\n") + FIVE_GATES + "firstlap:\n0 1 2\nnormallap:\n1 2\n");
  ASSERT_EQ(track().timing.start_positions.size(), 2u);
  EXPECT_FLOAT_EQ(track().timing.start_positions[1].z, 6.0f);
  EXPECT_FLOAT_EQ(track().timing.start_positions[1].heading, -1.0f);
  ASSERT_EQ(track().timing.gates.size(), 5u);
  EXPECT_FLOAT_EQ(track().timing.gates[3].centre[2], 50.0f);
  EXPECT_FLOAT_EQ(track().timing.gates[3].direction[0], -1.0f);
  EXPECT_EQ(track().timing.first_lap_count, 3);
  EXPECT_EQ(track().timing.normal_lap_count, 2);
  // Position 5 is entry F + (5 - 3) mod 2: gate 1.
  EXPECT_EQ(sequence_gate(5), 1);
  EXPECT_EQ(sequence_gate(2), 2);
  EXPECT_EQ(sequence_gate(6), 2);
  EXPECT_EQ(laps_completed_at(2), 0);
  EXPECT_EQ(laps_completed_at(3), 1);
  EXPECT_EQ(laps_completed_at(4), 1);
  EXPECT_EQ(laps_completed_at(5), 2);
  EXPECT_EQ(lap_finish_position(1), 2);
  EXPECT_EQ(lap_finish_position(3), 6);
}

TEST(TimingGates, EntriesAreNormalised) {
  read(std::string(FIVE_GATES) + "firstlap:\n-5 100007 3\nnormallap:\n100002 7 1\n");
  EXPECT_EQ(track().timing.lap_sequence, (std::vector<int32_t>{0, 100004, 3, 100002, 4, 1}));
  EXPECT_EQ(track().timing.first_lap_real_count, 2);
  EXPECT_EQ(track().timing.normal_lap_real_count, 2);
  EXPECT_EQ(sequence_entry(1), 100004);
  EXPECT_EQ(sequence_gate(1), 4);
}

TEST(TimingGates, AcceptanceRule) {
  struct Case {
    std::string text;
    bool accepted;
  };
  const Case cases[] = {
      {std::string(FIVE_GATES) + "firstlap:\n100000 100001\nnormallap:\n1\n", false},
      {std::string(FIVE_GATES) + "firstlap:\n1\nnormallap:\n100001\n", false},
      {std::string(FIVE_GATES) + "firstlap:\n1\n", false},
      {std::string(FIVE_GATES) + "normallap:\n1\n", false},
      {"startinggate:\n[1 2 3] 0\nfirstlap:\n0\nnormallap:\n0\n", false},
      {"checkpoints:\nfirstlap:\n0\nnormallap:\n0\n", false},
      {std::string(FIVE_GATES) + "normallap:\n1 2\n", false},
      {std::string(FIVE_GATES) + "firstlap:\n100001 2\nnormallap:\n1 100003\n", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    read("startinggate:\n[ 7 8 9 ] 1\n" + c.text);
    EXPECT_EQ(!track().timing.gates.empty(), c.accepted);
    EXPECT_EQ(!track().timing.lap_sequence.empty(), c.accepted);
    EXPECT_EQ(track().timing.first_lap_count > 0, c.accepted);
    EXPECT_EQ(track().timing.start_positions.size(), 1u);  // kept either way
    if (!c.accepted) {
      EXPECT_EQ(sequence_gate(4), 0);
      EXPECT_EQ(laps_completed_at(4), 0);
    }
  }
}

TEST(TimingGates, LimitsOnEveryList) {
  std::string text = "startinggate:\n";
  for (int k = 0; k < 45; ++k) text += "[ " + std::to_string(k) + " 0 0 ] 0\n";
  text += "checkpoints:\n";
  for (int k = 0; k < 260; ++k) text += "5 [ " + std::to_string(k) + " 0 0 ] [ 1 0 0 ]\n";
  text += "firstlap:\n";
  for (int k = 0; k < 300; ++k) text += "1 ";
  text += "\nnormallap:\n2\n";
  read(text);
  // The surplus is skipped, and the sections after it still count.
  EXPECT_EQ(track().timing.start_positions.size(), 40u);
  EXPECT_FLOAT_EQ(track().timing.start_positions.back().x, 39.0f);
  EXPECT_EQ(track().timing.gates.size(), 256u);
  EXPECT_EQ(track().timing.first_lap_count, 256);
  EXPECT_EQ(track().timing.normal_lap_count, 1);
}

TEST(TimingGates, NumbersTooLargeForAFloatEndTheirSection) {
  read("startinggate:\n[ 1 2 3 ] 0\n[ 1e39 0 0 ] 0\n[ 4 5 6 ] 0\n" + std::string(FIVE_GATES) +
       "firstlap:\n0\nnormallap:\n1\n");
  EXPECT_EQ(track().timing.start_positions.size(), 1u);
  EXPECT_EQ(track().timing.gates.size(), 0u);  // "[ 4 5 6 ]" is no section word
  read("startinggate:\n[ 1 2 3 ] 0\n[ 1e39 0 0 ] 0\n" + std::string(FIVE_GATES) + "firstlap:\n0\nnormallap:\n1\n");
  EXPECT_EQ(track().timing.start_positions.size(), 1u);
  EXPECT_EQ(track().timing.gates.size(), 5u);
  read("checkpoints:\n5 [ 0 0 0 ] [ 1 0 0 ]\n5 [ 0 0 0 ] [ 1 0 -1e40 ]\nfirstlap:\n0\nnormallap:\n0\n");
  EXPECT_EQ(track().timing.gates.size(), 1u);
}

TEST(TimingGates, GateTestIsTheExitHalfDisc) {
  TimingGate gate = {{10, 0, 10}, {0, 5, 2}, 4};
  struct Case {
    float x, z;
    bool inside;
  };
  const Case cases[] = {{10, 10, true},  {10, 13.9f, true}, {13, 13, false}, {12, 11, true},
                        {10, 9.5f, false}, {14, 10, true},  {6, 10, true},      {10, 14.1f, false}};
  for (const Case& c : cases) EXPECT_EQ(in_gate(gate, c.x, c.z), c.inside) << c.x << "," << c.z;
}

TEST(TimingGates, WriterRoundTrips) {
  testkit::DataFolders folders;
  std::string original = std::string("startinggate:\n[ 1 2 3 ] 0.5\n") + FIVE_GATES + "firstlap:\n0 100001 2\nnormallap:\n1 2\n";
  read(original);
  std::string written = timing_gates_file_text();
  EXPECT_EQ(written.substr(0, 52), "startinggate:\n[1.000000 2.000000 3.000000] 0.500000\n");
  EXPECT_NE(written.find("firstlap:\n0 100001 2 \nnormallap:\n1 2 \n"), std::string::npos);
  ASSERT_TRUE(SaveTimingGates("@oval"));
  EXPECT_EQ(testkit::read_file(folders.home + "oval/timing_gates"), written);
  std::vector<int32_t> sequence = track().timing.lap_sequence;
  read(written);
  EXPECT_EQ(track().timing.lap_sequence, sequence);
  EXPECT_EQ(track().timing.gates.size(), 5u);
  EXPECT_EQ(timing_gates_file_text(), written);
}

TEST(TimingGates, WriterFailureIsPosted) {
  testkit::DataFolders folders;
  read(std::string(FIVE_GATES) + "firstlap:\n0\nnormallap:\n1\n");
  testkit::write_file(folders.home + "oval", "a file where the folder should be");
  EXPECT_FALSE(SaveTimingGates("@oval"));
}

}  // namespace
