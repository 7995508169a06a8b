// Engine torque tables. Every table has an entry per 500 rpm from 0 to
// 24500 rpm and is used without interpolation between entries.
//
// Four models have measured curves from 5000 to 14000 rpm (entries 10 to
// 28). Every other model is known by its peak only; its curve is the
// measured curve of the closest relative, bent so that the peak moves to the
// model's peak rpm and scaled to the model's peak torque:
//   - the rpm axis is stretched piecewise linearly, keeping 5000 rpm and the
//     last rpm with positive torque in place and moving the peak;
//   - the relative's curve is read between its entries with a monotone cubic
//     (no overshoot, so the named peak stays the highest entry);
//   - the run-out to zero and the falling tail beyond (-1, -1, -2, -2, ...,
//     -11 at 24500 rpm, which limits the engine speed) are the relative's.
// Relatives: the 2009 and 2008 four-strokes follow crf250(2009), the 2007
// four-strokes crf250(2007), kx125 and yz125 follow cr125, rm125 follows
// 125sx (the two curve shapes with their peaks at 10000 and 10500 rpm).
#include <algorithm>
#include <cstring>

#include "physics/bike_info.h"

namespace {

constexpr int FIRST_MEASURED = 10;  // 5000 rpm
constexpr int MEASURED_COUNT = 19;  // 5000 ... 14000 rpm

struct MeasuredCurve {
  const char* model;
  double torque[MEASURED_COUNT];
};

constexpr MeasuredCurve MEASURED[] = {
    {"crf250(2009)", {13.8, 15.3, 16.3, 17.76, 19.1, 19.9, 20.27, 20.39, 20.23, 19.99, 19.21, 18.69,
                      18.23, 17.21, 16.61, 15.92, 15.21, 13.97, 0}},
    {"crf250(2007)", {5, 10.5, 16, 16.8, 17.6, 18.6, 19, 19, 19, 18.5, 18, 17.5, 16.9, 16.1, 15.4,
                      14.7, 13.6, 0, -1}},
    {"cr125", {9.45, 10.22, 10.33, 10.67, 11.4, 12.47, 13.26, 14.15, 14.76, 15.81, 15.97, 15.91,
               15.76, 15.12, 12.74, 2.1, 0, 0, -1}},
    {"125sx", {6, 7, 8.14, 10.59, 11.63, 13.1, 14.12, 15.01, 15.46, 16.31, 17.02, 17.41, 16.85,
               15.62, 13.26, 10.5, 0, 0, -1}},
};

struct DerivedCurve {
  const char* model;
  const char* relative;
  double peak_torque;
  double peak_rpm;
};

constexpr DerivedCurve DERIVED[] = {
    {"kx250f(2009)", "crf250(2009)", 19.79, 8000},  {"rmz250(2009)", "crf250(2009)", 20.24, 8500},
    {"yz250f(2009)", "crf250(2009)", 20.07, 8500},  {"crf250(2008)", "crf250(2009)", 19.1, 9500},
    {"kx250f(2008)", "crf250(2009)", 19.0, 8500},   {"rmz250(2008)", "crf250(2009)", 19.3, 8500},
    {"yz250f(2008)", "crf250(2009)", 19.0, 8500},   {"kx125", "cr125", 16.81, 9500},
    {"rm125", "125sx", 16.51, 10500},               {"yz125", "cr125", 15.86, 10000},
    {"kx250f(2007)", "crf250(2007)", 19.6, 8000},   {"rmz250(2007)", "crf250(2007)", 19.9, 8000},
    {"yz250f(2007)", "crf250(2007)", 18.3, 8000},   {"yz250f_se(2006)", "crf250(2007)", 18.3, 8000},
};

// Low-rpm entries 8 and 9, which differ between the 125s.
struct LowEntries {
  const char* model;
  double entry8, entry9;
};
constexpr LowEntries LOW_ENTRIES[] = {{"cr125", 7, 7}, {"kx125", 7, 7}, {"rm125", 5, 7}, {"yz125", 5, 8}};

const MeasuredCurve* measured(const std::string& model) {
  for (const MeasuredCurve& c : MEASURED)
    if (model == c.model) return &c;
  return nullptr;
}

// The whole table of a measured model: flat low end, measured part, and the
// falling tail continued from the first -1 (two entries per step).
void measured_table(const MeasuredCurve& c, double table[TORQUE_ENTRIES]) {
  for (int i = 0; i < FIRST_MEASURED; ++i) table[i] = 5;
  for (int i = 0; i < MEASURED_COUNT; ++i) table[FIRST_MEASURED + i] = c.torque[i];
  int first_negative = FIRST_MEASURED + MEASURED_COUNT;
  for (int i = FIRST_MEASURED; i < FIRST_MEASURED + MEASURED_COUNT; ++i)
    if (table[i] < 0) {
      first_negative = i;
      break;
    }
  for (int i = FIRST_MEASURED + MEASURED_COUNT; i < TORQUE_ENTRIES; ++i)
    table[i] = -1.0 - static_cast<double>((i - first_negative) / 2);
}

// Monotone cubic (Fritsch-Carlson) reading of table[first..last] at a
// fractional entry index.
double monotone_cubic(const double* table, int first, int last, double index) {
  index = std::clamp(index, static_cast<double>(first), static_cast<double>(last));
  int k = std::min(static_cast<int>(index), last - 1);
  double t = index - k;
  auto secant = [&](int i) { return table[i + 1] - table[i]; };
  auto tangent = [&](int i) {
    if (i <= first) return secant(first);
    if (i >= last) return secant(last - 1);
    double a = secant(i - 1), b = secant(i);
    if (a * b <= 0) return 0.0;
    return 2.0 / (1.0 / a + 1.0 / b);  // harmonic mean keeps the piece monotone
  };
  double y0 = table[k], y1 = table[k + 1], m0 = tangent(k), m1 = tangent(k + 1);
  double t2 = t * t, t3 = t2 * t;
  return (2 * t3 - 3 * t2 + 1) * y0 + (t3 - 2 * t2 + t) * m0 + (-2 * t3 + 3 * t2) * y1 + (t3 - t2) * m1;
}

void derived_table(const DerivedCurve& d, double table[TORQUE_ENTRIES]) {
  double source[TORQUE_ENTRIES];
  measured_table(*measured(d.relative), source);
  int last_positive = FIRST_MEASURED;
  int source_peak = FIRST_MEASURED;
  for (int i = FIRST_MEASURED; i < TORQUE_ENTRIES; ++i) {
    if (source[i] > 0) last_positive = i;
    if (source[i] > source[source_peak]) source_peak = i;
  }
  int peak = static_cast<int>(d.peak_rpm / TORQUE_RPM_STEP);
  double scale = d.peak_torque / source[source_peak];
  std::copy(source, source + TORQUE_ENTRIES, table);
  for (int i = FIRST_MEASURED; i <= last_positive; ++i) {
    double index;
    if (i <= peak)
      index = FIRST_MEASURED + (i - FIRST_MEASURED) * double(source_peak - FIRST_MEASURED) / (peak - FIRST_MEASURED);
    else
      index = source_peak + (i - peak) * double(last_positive - source_peak) / (last_positive - peak);
    table[i] = monotone_cubic(source, FIRST_MEASURED, last_positive, index) * scale;
  }
  table[peak] = d.peak_torque;  // exact, free of rounding
}

}  // namespace

void fill_full_throttle_curve(const std::string& model, double table[TORQUE_ENTRIES]) {
  if (const MeasuredCurve* c = measured(model)) {
    measured_table(*c, table);
  } else {
    const DerivedCurve* found = nullptr;
    for (const DerivedCurve& d : DERIVED)
      if (model == d.model) found = &d;
    if (!found) {
      measured_table(MEASURED[0], table);
      return;
    }
    derived_table(*found, table);
  }
  for (const LowEntries& low : LOW_ENTRIES)
    if (model == low.model) {
      table[8] = low.entry8;
      table[9] = low.entry9;
    }
}

void fill_closed_throttle_curve(bool two_stroke, double table[TORQUE_ENTRIES]) {
  // Four-strokes: 2, 1, 0, 0, then -1, -1, -2, -2, ... to -23 at the end.
  table[0] = 2;
  table[1] = 1;
  table[2] = 0;
  table[3] = 0;
  for (int i = 4; i < TORQUE_ENTRIES; ++i) table[i] = -1.0 - static_cast<double>((i - 4) / 2);
  if (two_stroke) {
    // Two-strokes brake less at low and middle rpm; from entry 23 on the same.
    static constexpr double low[] = {-1, -1.2, -1.4, -1.6, -1.8, -2, -2.25, -2.5, -2.75, -3,
                                     -3.33, -3.67, -4, -5, -6, -7, -8, -9, -10};
    std::memcpy(table + 4, low, sizeof low);
  }
}
