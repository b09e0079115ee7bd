#include "platform/core/LineDDA.h"

#include <algorithm>
#include <cstdlib>

namespace {

// num / den rounded to nearest, halves away from zero; den > 0.
int64_t RoundDiv(__int128 num, int64_t den) {
  const __int128 twice = 2 * num;
  if (num >= 0) return int64_t((twice + den) / (2 * __int128(den)));
  return -int64_t((-twice + den) / (2 * __int128(den)));
}

}  // namespace

int64_t LineDDAStepCount(int x1, int y1, int x2, int y2) {
  return std::max(std::llabs(int64_t(x2) - x1), std::llabs(int64_t(y2) - y1));
}

void LineDDASteps(int x1, int y1, int x2, int y2, int64_t first, int64_t last, LINEDDAPROC proc, void* data) {
  const int64_t dx = int64_t(x2) - x1;
  const int64_t dy = int64_t(y2) - y1;
  const int64_t steps = LineDDAStepCount(x1, y1, x2, y2);
  first = std::max<int64_t>(first, 0);
  last = std::min(last, steps);
  for (int64_t i = first; i < last; ++i) {
    // Every pixel strictly before the end lies between the two ends, so it fits in 32 bits.
    const int64_t x = x1 + RoundDiv(__int128(i) * dx, steps);
    const int64_t y = y1 + RoundDiv(__int128(i) * dy, steps);
    proc(int(x), int(y), data);
  }
}

void LineDDA(int x1, int y1, int x2, int y2, LINEDDAPROC proc, void* data) {
  LineDDASteps(x1, y1, x2, y2, 0, LineDDAStepCount(x1, y1, x2, y2), proc, data);
}
