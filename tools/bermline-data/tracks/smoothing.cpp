#include "tracks/smoothing.h"

#include <algorithm>
#include <cmath>

namespace tracks {

namespace {

std::vector<double> gaussian_kernel(double sigma) {
  int radius = std::max(1, static_cast<int>(std::ceil(3 * sigma)));
  std::vector<double> kernel(2 * radius + 1);
  double total = 0;
  for (int k = -radius; k <= radius; ++k) {
    double w = sigma > 0 ? std::exp(-0.5 * k * k / (sigma * sigma)) : (k == 0 ? 1 : 0);
    kernel[k + radius] = w;
    total += w;
  }
  for (double& w : kernel) w /= total;
  return kernel;
}

template <typename Index>
std::vector<double> convolve(const std::vector<double>& values, double sigma, Index index) {
  if (values.empty() || sigma <= 0) return values;
  std::vector<double> kernel = gaussian_kernel(sigma);
  const int radius = static_cast<int>(kernel.size() / 2);
  const int n = static_cast<int>(values.size());
  std::vector<double> out(values.size());
  for (int i = 0; i < n; ++i) {
    double sum = 0;
    for (int k = -radius; k <= radius; ++k) sum += kernel[k + radius] * values[index(i + k, n)];
    out[i] = sum;
  }
  return out;
}

}  // namespace

std::vector<double> smooth_closed(const std::vector<double>& values, double sigma) {
  return convolve(values, sigma, [](int i, int n) { return ((i % n) + n) % n; });
}

std::vector<double> smooth_open(const std::vector<double>& values, double sigma) {
  return convolve(values, sigma, [](int i, int n) { return std::clamp(i, 0, n - 1); });
}

std::vector<double> dilate_closed(const std::vector<double>& values, int radius) {
  const int n = static_cast<int>(values.size());
  std::vector<double> out(values.size());
  for (int i = 0; i < n; ++i) {
    double best = values[i];
    for (int k = -radius; k <= radius; ++k) best = std::max(best, values[((i + k) % n + n) % n]);
    out[i] = best;
  }
  return out;
}

}  // namespace tracks
