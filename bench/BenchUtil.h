// Timing helpers shared by the benchmarks: each figure is printed as "name value unit".
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

inline double Millis(const std::function<void()>& fn) {
  const auto start = std::chrono::steady_clock::now();
  fn();
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

inline double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

inline void Report(const char* name, double value, const char* unit, int decimals = 2) {
  std::printf("%s %.*f %s\n", name, decimals, value, unit);
}
