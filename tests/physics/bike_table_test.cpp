// The built-in bike models, the fallback rule and the torque tables.
#include <cmath>
#include <string>

#include "physics/bike_info.h"
#include "platform/base/log.h"
#include "testkit.h"

namespace {

TEST(BikeTable, HoldsEighteenModelsInOrder) {
  const char* order[] = {"crf250(2009)", "kx250f(2009)", "rmz250(2009)", "yz250f(2009)", "crf250(2008)", "kx250f(2008)",
                         "rmz250(2008)", "yz250f(2008)", "cr125",        "kx125",        "rm125",        "yz125",
                         "125sx",        "crf250(2007)", "kx250f(2007)", "rmz250(2007)", "yz250f(2007)", "yz250f_se(2006)"};
  ASSERT_EQ(bike_table().size(), 18u);
  for (size_t i = 0; i < 18; ++i) EXPECT_EQ(bike_table()[i].name, order[i]);
}

TEST(BikeTable, FindsExactNamesOnly) {
  ASSERT_NE(find_bike_info("rm125"), nullptr);
  EXPECT_EQ(find_bike_info("rm125")->name, "rm125");
  EXPECT_EQ(find_bike_info("RM125"), nullptr);
  EXPECT_EQ(find_bike_info("rm12"), nullptr);
  EXPECT_EQ(find_bike_info(nullptr), nullptr);
}

TEST(BikeTable, UnknownNamesFallBackAndAreLogged) {
  std::string log = testkit::scratch_dir() + "log.txt";
  setenv("VOXA_LOGFILE", (">" + log).c_str(), 1);
  voxa_log_reset();
  struct Case {
    const char* requested;
    const char* chosen;
  } cases[] = {{"crf250(2006)", "kx250f(2009)"}, {"cr250", "kx250f(2009)"}, {"xyz125", "cr125"}, {"", "kx250f(2009)"}};
  for (const Case& c : cases) EXPECT_EQ(choose_bike_info(c.requested).name, c.chosen) << c.requested;
  EXPECT_EQ(choose_bike_info("kx125").name, "kx125");
  voxa_log_reset();
  unsetenv("VOXA_LOGFILE");
  std::string text = testkit::read_file(log);
  EXPECT_NE(text.find("bike info for 'crf250(2006)' not found using 'kx250f(2009)' instead"), std::string::npos);
  EXPECT_NE(text.find("bike info for 'xyz125' not found using 'cr125' instead"), std::string::npos);
  EXPECT_EQ(text.find("'kx125' not found"), std::string::npos);
}

TEST(BikeTable, ModelPathsUseTheFilePrefix) {
  const BikeInfo* se = find_bike_info("yz250f_se(2006)");
  ASSERT_NE(se, nullptr);
  EXPECT_EQ(se->frame_model, "@yz250f_frame.jm");
  EXPECT_EQ(se->bike_texture, "@yz250f_se.png");
  EXPECT_EQ(find_bike_info("125sx")->side_plates_model, "@125sx_side_plates.jm");
  EXPECT_EQ(find_bike_info("kx250f(2008)")->bike_texture, "@kx250f.png");
  EXPECT_EQ(find_bike_info("cr125")->rider_shape, "@generic_rider.shp");
}

// Peak full-throttle torque of every model, at its rpm.
TEST(TorqueCurves, PeaksAreWhereEachModelHasThem) {
  struct Peak {
    const char* model;
    double torque, rpm;
  } peaks[] = {{"crf250(2009)", 20.39, 8500}, {"kx250f(2009)", 19.79, 8000}, {"rmz250(2009)", 20.24, 8500},
               {"yz250f(2009)", 20.07, 8500}, {"crf250(2008)", 19.1, 9500},  {"kx250f(2008)", 19.0, 8500},
               {"rmz250(2008)", 19.3, 8500},  {"yz250f(2008)", 19.0, 8500},  {"cr125", 15.97, 10000},
               {"kx125", 16.81, 9500},        {"rm125", 16.51, 10500},       {"yz125", 15.86, 10000},
               {"125sx", 17.41, 10500},       {"crf250(2007)", 19.0, 8000},  {"kx250f(2007)", 19.6, 8000},
               {"rmz250(2007)", 19.9, 8000},  {"yz250f(2007)", 18.3, 8000},  {"yz250f_se(2006)", 18.3, 8000}};
  for (const Peak& p : peaks) {
    SCOPED_TRACE(p.model);
    const double* full = find_bike_info(p.model)->full_torque;
    int best = 0;
    for (int i = 1; i < TORQUE_ENTRIES; ++i)
      if (full[i] > full[best] + 1e-9) best = i;
    EXPECT_EQ(best * 500, p.rpm);
    EXPECT_NEAR(full[best], p.torque, 1e-9);
  }
}

TEST(TorqueCurves, KeepTheLowEndTheMeasuredRowsAndTheFallingTail) {
  const double* crf = find_bike_info("crf250(2009)")->full_torque;
  EXPECT_DOUBLE_EQ(crf[10], 13.8);
  EXPECT_DOUBLE_EQ(crf[27], 13.97);
  EXPECT_DOUBLE_EQ(crf[28], 0);
  const double* sx = find_bike_info("125sx")->full_torque;
  EXPECT_DOUBLE_EQ(sx[25], 10.5);
  EXPECT_DOUBLE_EQ(sx[28], -1);
  struct Low {
    const char* model;
    double e7, e8, e9;
  } lows[] = {{"crf250(2009)", 5, 5, 5}, {"cr125", 5, 7, 7}, {"kx125", 5, 7, 7}, {"rm125", 5, 5, 7}, {"yz125", 5, 5, 8}};
  for (const Low& l : lows) {
    const double* t = find_bike_info(l.model)->full_torque;
    EXPECT_EQ(t[0], 5) << l.model;
    EXPECT_EQ(t[7], l.e7) << l.model;
    EXPECT_EQ(t[8], l.e8) << l.model;
    EXPECT_EQ(t[9], l.e9) << l.model;
  }
  for (const BikeInfo& info : bike_table()) {
    SCOPED_TRACE(info.name);
    const double* t = info.full_torque;
    EXPECT_EQ(t[49], -11);
    // Past the curve the table never rises again: it falls by 1 every second entry.
    int last_positive = 0;
    for (int i = 0; i < TORQUE_ENTRIES; ++i)
      if (t[i] > 0) last_positive = i;
    EXPECT_GE(last_positive * 500, 12000);
    EXPECT_LE(last_positive * 500, 13500);
    for (int i = last_positive + 1; i < TORQUE_ENTRIES; ++i) {
      EXPECT_LE(t[i], 0);
      EXPECT_LE(t[i], t[i - 1] > 0 ? 0 : t[i - 1]);
      if (i + 2 < TORQUE_ENTRIES && t[i] < 0) {
        EXPECT_EQ(t[i + 2], t[i] - 1);
      }
    }
    // The filled curve is smooth: no step of more than 6 ft*lbf per 500 rpm (the measured rows climb by 5.5).
    for (int i = 11; i < last_positive; ++i) EXPECT_LT(std::fabs(t[i] - t[i - 1]), 6) << i;
  }
}

TEST(TorqueCurves, ClosedThrottleBrakesTheEngine) {
  const double* four = find_bike_info("yz250f(2009)")->closed_torque;
  const double four_expected[] = {2, 1, 0, 0, -1, -1, -2, -2, -3};
  for (int i = 0; i < 9; ++i) EXPECT_EQ(four[i], four_expected[i]) << i;
  EXPECT_EQ(four[48], -23);
  EXPECT_EQ(four[49], -23);
  const double* two = find_bike_info("yz125")->closed_torque;
  const double two_expected[] = {2, 1, 0, 0, -1, -1.2, -1.4, -1.6, -1.8, -2, -2.25, -2.5, -2.75, -3, -3.33, -3.67,
                                 -4, -5, -6, -7, -8, -9, -10, -10, -11, -11};
  for (int i = 0; i < 26; ++i) EXPECT_EQ(two[i], two_expected[i]) << i;
  EXPECT_EQ(two[49], -23);
}

}  // namespace
