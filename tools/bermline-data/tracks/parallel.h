// Runs independent jobs on every core. Each job writes only its own
// result, so the output is the same whatever the order they finish in.
#pragma once

#include <algorithm>
#include <atomic>
#include <functional>
#include <thread>
#include <vector>

namespace tracks {

inline void parallel_for(size_t count, const std::function<void(size_t)>& job) {
  size_t workers = std::min<size_t>(count, std::max(1u, std::thread::hardware_concurrency()));
  std::atomic<size_t> next{0};
  auto work = [&] {
    for (size_t i = next++; i < count; i = next++) job(i);
  };
  std::vector<std::thread> threads;
  for (size_t w = 1; w < workers; ++w) threads.emplace_back(work);
  work();
  for (std::thread& t : threads) t.join();
}

}  // namespace tracks
