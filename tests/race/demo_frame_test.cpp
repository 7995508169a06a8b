// DemoFrame packing: quantisation, a bike packed and rebuilt from its
// frame, the state byte, interpolation and version 4 frames; demo headers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "bike_ticks.h"
#include "core/race_clock.h"
#include "core/units.h"
#include "data/data_file.h"
#include "physics/bike_controls.h"
#include "physics/bike_load.h"
#include "physics/bike_tick.h"
#include "physics/physics_world.h"
#include "race/demo_frame.h"
#include "race/demo_header.h"
#include "race_kit.h"
#include "track/terrain.h"
#include "track/track.h"

namespace {

using race_kit::RaceTest;

TEST(Quantise, RoundTripsAndClamps) {
  for (int bits : {8, 16, 24}) {
    SCOPED_TRACE(bits);
    const uint32_t top = (1u << bits) - 1;
    for (uint32_t v : {0u, 1u, top / 3, top / 2, top - 1, top}) EXPECT_EQ(quantise(dequantise(v, -7.5, 300, bits), -7.5, 300, bits), v);
    EXPECT_EQ(quantise(-100, -7.5, 300, bits), 0u);
    EXPECT_EQ(quantise(1e9, -7.5, 300, bits), top);
    EXPECT_EQ(quantise(NAN, -7.5, 300, bits), 0u);
    // Any value decodes to within one step below itself.
    double step = 307.5 / top, v = 123.456;
    double back = dequantise(quantise(v, -7.5, 300, bits), -7.5, 300, bits);
    EXPECT_LE(back, v + 1e-9);
    EXPECT_GT(back, v - step);
  }
  EXPECT_EQ(demo_frame_size(4), 26);
  EXPECT_EQ(demo_frame_size(5), 39);
  EXPECT_EQ(demo_frame_size(6), 0);
}

class Frames : public RaceTest {
 protected:
  void SetUp() override {
    RaceTest::SetUp();
    race_kit::use_flat_terrain();
    race_clock = 0;
  }
  void TearDown() override {
    for (Bike* b : bikes) free_bike(b);
    RaceTest::TearDown();
  }
  Bike* bike(double x, double z, double heading) {
    Bike* b = load_bike("kx250f(2009)", static_cast<int>(bikes.size()), "5", nullptr, nullptr, nullptr, nullptr);
    place_bike(*b, x, z, heading);
    bikes.push_back(b);
    return b;
  }
  // Rides a bike through a right turn, so that every joint is off its rest.
  void ride_into_turn(Bike* b) {
    for (int t = 0; t < 3 * 128; ++t) {
      set_clutch(*b, 0);
      set_throttle(*b, t < 2 * 128 ? 0.8 : 0.3);
      set_steer(*b, t < 2 * 128 ? 0 : 0.6);
      tick_bikes(&b, 1);
      ++race_clock;
    }
  }
  std::vector<Bike*> bikes;
};

TEST_F(Frames, ABikeRebuiltFromItsFrameHasEveryBodyWhereItWas) {
  Bike* original = bike(200, 300, 0.7);
  ride_into_turn(original);
  ASSERT_GT(bike_speed(*original), 10);
  ASSERT_GT(std::fabs(dJointGetHingeAngle(original->steering_head)), 0.005);
  DemoFrame frame = encode_frame(*original);

  Bike* copy = bike(50, 50, 0);
  for (int k = 0; k < BODY_COUNT; ++k) dBodyDisable(bike_body(*copy, k));
  apply_frame(*copy, frame.bytes, 5, 1);
  // Every body within the quantisation of the joints (8 bits over the fork
  // travel and the steering range) of the original.
  for (int k = 0; k < BODY_COUNT; ++k) {
    SCOPED_TRACE(k);
    EXPECT_LT(length(body_position(bike_body(*copy, k)) - body_position(bike_body(*original, k))), 0.02);
    const dReal* q = dBodyGetQuaternion(bike_body(*copy, k));
    const dReal* p = dBodyGetQuaternion(bike_body(*original, k));
    double alignment = std::fabs(q[0] * p[0] + q[1] * p[1] + q[2] * p[2] + q[3] * p[3]);
    // Wheel angles are stored in 255 steps of a turn, rounded down.
    EXPECT_GT(alignment, k == BODY_FRONT_WHEEL || k == BODY_REAR_WHEEL ? std::cos(1.1 * M_PI / 255) : 0.99995);
  }
  // The joints read back what the frame holds: packing the copy gives the same frame.
  DemoFrame again = encode_frame(*copy);
  for (int k = 0; k < DEMO_FRAME_BYTES; ++k) EXPECT_NEAR(again.bytes[k], frame.bytes[k], 1) << "byte " << k;
  EXPECT_EQ(copy->controls.gear, original->controls.gear);
  EXPECT_NEAR(copy->engine_speed, original->engine_speed, 2 * M_PI * 32768 / 65535 / 60 * 1.01);
}

TEST_F(Frames, PositionsOutsideTheTerrainAreClampedToItsEdge) {
  Bike* b = bike(200, 300, 0);
  for (int k = 0; k < BODY_COUNT; ++k) {
    const Vec3 p = body_position(bike_body(*b, k));
    dBodySetPosition(bike_body(*b, k), p.x - 500, p.y, p.z + 900);
  }
  DemoFrame frame = encode_frame(*b);
  Bike* copy = bike(50, 50, 0);
  apply_frame(*copy, frame.bytes, 5, 1);
  EXPECT_NEAR(body_position(copy->frame).x, 0, 1e-9);
  EXPECT_NEAR(body_position(copy->frame).z, track().terrain.extent, 1e-9);
}

TEST_F(Frames, StateByteCarriesGearDabThrottleOrTheCrash) {
  Bike* b = bike(200, 300, 0);
  Bike* copy = bike(100, 100, 0);
  b->controls.gear = 3;
  b->controls.throttle = 0.6;
  b->controls.dab_timer = 0.5;
  DemoFrame frame = encode_frame(*b);
  EXPECT_EQ(frame.bytes[36], 3 | 8 | 9 << 4);
  apply_frame(*copy, frame.bytes, 5, 1);
  EXPECT_EQ(copy->controls.gear, 3);
  EXPECT_DOUBLE_EQ(copy->controls.throttle, 9 / 15.0);
  EXPECT_EQ(copy->crash_timer, 0);

  b->crash_timer = 300;
  frame = encode_frame(*b);
  EXPECT_EQ(frame.bytes[36], 7 | 15 << 4);  // (15 x 300 - 15) / 127, at most 15
  apply_frame(*copy, frame.bytes, 5, 1);
  EXPECT_EQ(copy->crash_timer, 15 * 127 / 15 + 1);
  EXPECT_EQ(copy->controls.throttle, 0);
  // A frame never selects a gear the bike lacks.
  frame.bytes[36] = 6;
  apply_frame(*copy, frame.bytes, 5, 1);
  EXPECT_GT(gear_ratio(*copy, copy->controls.gear), 0);
}

TEST_F(Frames, ReplayedBodiesMoveAtTheSpeedOfTheirFrames) {
  Bike* b = bike(200, 300, 0);
  Bike* copy = bike(100, 100, 0);
  race_clock = 10;
  apply_frame(*copy, encode_frame(*b).bytes, 5, 1);
  for (int k = 0; k < BODY_COUNT; ++k) {
    const Vec3 p = body_position(bike_body(*b, k));
    dBodySetPosition(bike_body(*b, k), p.x, p.y, p.z - 0.25);
  }
  apply_frame(*copy, encode_frame(*b).bytes, 5, 2);  // two ticks' move
  EXPECT_NEAR(body_velocity(copy->frame).z, -0.25 / (2 * dt), 0.01);
  EXPECT_NEAR(body_velocity(copy->frame).x, 0, 0.01);
  EXPECT_NEAR(length(body_angular_velocity(copy->frame)), 0, 0.01);
}

TEST_F(Frames, InterpolationBlendsFieldsAndWrapsWheelsForward) {
  Bike* b = bike(200, 300, 0);
  DemoFrame p = encode_frame(*b);
  for (int k = 0; k < BODY_COUNT; ++k) {
    const Vec3 at = body_position(bike_body(*b, k));
    dBodySetPosition(bike_body(*b, k), at.x + 10, at.y, at.z);
  }
  DemoFrame q = encode_frame(*b);
  q.bytes[34] = 13;   // front wheel at 0.05 of a turn
  p.bytes[34] = 242;  // from 0.95
  p.bytes[36] = 2 | 5 << 4;
  q.bytes[36] = 4 | 8 | 1 << 4;
  // The frame body's orientation is the same rotation with opposite signs.
  for (int k = 0; k < 4; ++k) {
    uint16_t v = static_cast<uint16_t>(q.bytes[9 + 2 * k] | q.bytes[10 + 2 * k] << 8);
    v = static_cast<uint16_t>(65535 - v);
    q.bytes[9 + 2 * k] = static_cast<uint8_t>(v);
    q.bytes[10 + 2 * k] = static_cast<uint8_t>(v >> 8);
  }

  DemoFrame half = interpolate_frames(p, q, 0.5);
  Bike* copy = bike(100, 100, 0);
  apply_frame(*copy, half.bytes, 5, 1);
  EXPECT_NEAR(body_position(copy->frame).x, body_position(b->frame).x - 5, 1e-3);
  // Forward through a whole turn: 0 and 255 are the same angle.
  EXPECT_LE(std::min<int>(half.bytes[34], 255 - half.bytes[34]), 1);
  EXPECT_EQ(half.bytes[36] >> 4, 5);                // throttle from p
  EXPECT_EQ(half.bytes[36] & 15, (2 + 12) / 2);     // gear and dab bits as one number
  // Opposite-signed quaternions: no spin through the blend.
  const dReal* r = dBodyGetQuaternion(copy->frame);
  EXPECT_GT(std::fabs(r[0]), 0.999);

  DemoFrame start = interpolate_frames(p, q, 0), end = interpolate_frames(p, q, 1);
  for (int k : {0, 1, 2, 17, 18, 19, 37, 38}) EXPECT_EQ(start.bytes[k], p.bytes[k]) << k;
  for (int k : {0, 1, 2, 17, 18, 19}) EXPECT_EQ(end.bytes[k], q.bytes[k]) << k;
  const int back = interpolate_frames(q, p, 0.5).bytes[34];  // 0.05 back to 0.95 the same way round
  EXPECT_LE(std::min(back, 255 - back), 1);
}

TEST_F(Frames, VersionFourFramesPlaceTheRiderOnTheMount) {
  Bike* b = bike(200, 300, 0);
  DemoFrame v5 = encode_frame(*b);
  uint8_t v4[DEMO_FRAME_V4_BYTES];
  std::memcpy(v4, v5.bytes, 20);
  v4[20] = 255;                         // the top of the mount's travel
  std::memcpy(v4 + 21, v5.bytes + 34, 5);
  v4[21] = 64;                          // front wheel a quarter turn on
  v4[23] = 2 | 15 << 4;                 // third gear, full throttle
  Bike* copy = bike(100, 100, 0);
  apply_frame(*copy, v4, 4, 1);
  EXPECT_NEAR(body_position(copy->frame).x, body_position(b->frame).x, 1e-3);
  const Vec3 rider = body_position(copy->rider) - body_position(copy->frame);
  const Vec3 design = Vec3(copy->info.rider_position) - Vec3(copy->info.frame_position);
  EXPECT_NEAR(rider.y, design.y + 0.5, 1e-3);
  EXPECT_NEAR(dJointGetHingeAngle(copy->front_axle), -M_PI + 2 * M_PI * 64 / 255, 1e-3);
  EXPECT_EQ(copy->controls.gear, 2);
  EXPECT_DOUBLE_EQ(copy->controls.throttle, 1);
}

DataFile* text_file(const std::string& text) {
  FILE* f = fmemopen(nullptr, text.size() + 1, "w+");
  std::fwrite(text.data(), 1, text.size(), f);
  std::rewind(f);
  return df_open_stream(f);
}

TEST(DemoHeaderText, RoundTripsAndLeavesTheFileAtTheFirstFrame) {
  DemoHeader h;
  h.race_length_ticks = 7680;
  h.race_laps = 3;
  h.gate_drop_tick = 1800;
  h.track = "rabbithill";
  h.riders = {{"crf250(2009)", "", "", "", "", "999"},
              {"kx125", "@rider_body-alt1.png", "@rider_head-alt2.png", "@kx125-alt1.png", "@wheels-alt2.png", "42"}};
  std::string text = demo_header_text(h);
  EXPECT_EQ(text,
            "BL05 2 7680 3 1800\nrabbithill\ncrf250(2009)||||\n999\n"
            "kx125|@rider_body-alt1.png|@kx125-alt1.png|@wheels-alt2.png|@rider_head-alt2.png\n42\n");
  DataFile* f = text_file(text + "FRAMES");
  DemoHeader back;
  ASSERT_TRUE(read_demo_header(f, &back));
  EXPECT_EQ(back.version, 5);
  EXPECT_EQ(back.race_length_ticks, 7680);
  EXPECT_EQ(back.race_laps, 3);
  EXPECT_EQ(back.gate_drop_tick, 1800);
  EXPECT_EQ(back.track, "rabbithill");
  ASSERT_EQ(back.riders.size(), 2u);
  EXPECT_EQ(back.riders[1].head_texture, "@rider_head-alt2.png");
  EXPECT_EQ(back.riders[1].bike_texture, "@kx125-alt1.png");
  EXPECT_EQ(back.riders[0].number, "999");
  EXPECT_EQ(back.size, static_cast<int32_t>(text.size()));
  char rest[7] = {};
  EXPECT_EQ(df_read(f, rest, 6), 6);
  EXPECT_STREQ(rest, "FRAMES");
  df_close(f);
}

TEST(DemoHeaderText, OlderAndOddHeadersAndBrokenOnes) {
  struct Case {
    const char* text;
    bool accepted;
    int version;
    int32_t gate_drop;
  } cases[] = {
      {"BL04 1 0 10\ndunes\nrm125\n12345\n", true, 4, 14 * 128},     // no gate drop: 14 s
      {"BL05 1 0 10 1700\nt\na|b|c|d|e|f\n7\n", true, 5, 1700},     // a sixth field is cut off
      {"BL05 0 0\nt\n", true, 5, 14 * 128},                          // three values suffice
      {"BL05 0\nt\n", false, 0, 0},
      {"BL06 0 0 1 2\nt\n", false, 0, 0},
      {"XX05 0 0 1 2\nt\n", false, 0, 0},
      {"BL05 0 0 1 2\nt", false, 0, 0},                              // track line without its end
      {"BL05 2 0 1 2\nt\nrm125\n1\nrm125\n", false, 0, 0},           // a rider short
      {"BL05 41 0 1 2\nt\n", false, 0, 0},                           // more riders than slots
      {"BL05 -1 0 1 2\nt\n", false, 0, 0},
      {"BL05 1 -5 1 2\nt\nrm125\n1\n", false, 0, 0},
      {"", false, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    DataFile* f = text_file(c.text);
    DemoHeader h;
    EXPECT_EQ(read_demo_header(f, &h), c.accepted);
    if (c.accepted) {
      EXPECT_EQ(h.version, c.version);
      EXPECT_EQ(h.gate_drop_tick, c.gate_drop);
    }
    df_close(f);
  }
  DataFile* f = text_file("BL05 1 0 10 1700\nt\na|b|c|d|e|f\n12345\n");
  DemoHeader h;
  ASSERT_TRUE(read_demo_header(f, &h));
  EXPECT_EQ(h.riders[0].head_texture, "e");
  EXPECT_EQ(h.riders[0].number, "123");
  df_close(f);
}

}  // namespace
