// Smoothing of values sampled at even steps along a path: Gaussian blur
// and widening of masks, over a closed loop (the ends wrap) or an open path
// (the ends are held).
#pragma once

#include <vector>

namespace tracks {

// Gaussian blur with standard deviation `sigma` samples.
std::vector<double> smooth_closed(const std::vector<double>& values, double sigma);
std::vector<double> smooth_open(const std::vector<double>& values, double sigma);

// Each value becomes the largest within `radius` samples.
std::vector<double> dilate_closed(const std::vector<double>& values, int radius);

}  // namespace tracks
