// Timing helpers shared by the benchmarks: each figure is printed as "name value unit".
#pragma once

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

#include <QString>
#include <QStringList>

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

// A step a figure needs, which returns the reason it failed, or an empty string: a figure of a
// failed step would mean nothing, so the benchmark ends there.
inline void Must(const QString& why) {
  if (why.isEmpty()) return;
  std::fprintf(stderr, "benchmark step failed: %s\n", qUtf8Printable(why));
  std::exit(1);
}

// Names given on a benchmark's command line pick the figures to measure by the start of their
// names ("paint" gives every paint figure); none gives every figure.
inline bool Wanted(const QStringList& picks, const char* name) {
  if (picks.isEmpty()) return true;
  for (const QString& p : picks)
    if (QString::fromLatin1(name).startsWith(p)) return true;
  return false;
}
