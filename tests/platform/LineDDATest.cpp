// The line walker behind hit testing.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdlib>
#include <random>
#include <vector>

#include "platform/core/LineDDA.h"
#include "platform/core/Point.h"

namespace {

void Collect(int x, int y, void* data) { static_cast<std::vector<CPoint>*>(data)->push_back(CPoint(x, y)); }

std::vector<CPoint> Walk(int x1, int y1, int x2, int y2) {
  std::vector<CPoint> pixels;
  LineDDA(x1, y1, x2, y2, Collect, &pixels);
  return pixels;
}

std::vector<CPoint> Steps(int x1, int y1, int x2, int y2, int64_t first, int64_t last) {
  std::vector<CPoint> pixels;
  LineDDASteps(x1, y1, x2, y2, first, last, Collect, &pixels);
  return pixels;
}

}  // namespace

TEST(LineDDA, StartIncludedEndExcludedNothingForAPoint) {
  EXPECT_EQ(Walk(3, 4, 8, 4), (std::vector<CPoint>{{3, 4}, {4, 4}, {5, 4}, {6, 4}, {7, 4}}));
  EXPECT_EQ(Walk(3, 4, 3, 1), (std::vector<CPoint>{{3, 4}, {3, 3}, {3, 2}}));
  EXPECT_EQ(Walk(0, 0, -3, -3), (std::vector<CPoint>{{0, 0}, {-1, -1}, {-2, -2}}));
  EXPECT_TRUE(Walk(5, 5, 5, 5).empty());
  EXPECT_TRUE(Walk(INT_MIN, INT_MAX, INT_MIN, INT_MAX).empty());
  EXPECT_EQ(Walk(5, 5, 6, 7), (std::vector<CPoint>{{5, 5}, {6, 6}}));
}

TEST(LineDDA, OnePixelPerStepOfTheLongerAxisCloseToTheTrueLine) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coord(-300, 300);
  for (int round = 0; round < 2000; ++round) {
    const int x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
    const std::vector<CPoint> pixels = Walk(x1, y1, x2, y2);
    const int64_t steps = std::max(std::abs(x2 - x1), std::abs(y2 - y1));
    ASSERT_EQ(int64_t(pixels.size()), steps);
    ASSERT_EQ(LineDDAStepCount(x1, y1, x2, y2), steps);
    for (int64_t i = 0; i < steps; ++i) {
      // Exactly i along the longer axis, and within half a pixel of the line along the other.
      const double fx = x1 + double(i) * (x2 - x1) / double(steps), fy = y1 + double(i) * (y2 - y1) / double(steps);
      ASSERT_LE(std::abs(pixels[i].x - fx), 0.5 + 1e-9) << x1 << "," << y1 << " " << x2 << "," << y2 << " step " << i;
      ASSERT_LE(std::abs(pixels[i].y - fy), 0.5 + 1e-9) << x1 << "," << y1 << " " << x2 << "," << y2 << " step " << i;
      if (i > 0) {
        ASSERT_LE(std::abs(pixels[i].x - pixels[i - 1].x), 1);
        ASSERT_LE(std::abs(pixels[i].y - pixels[i - 1].y), 1);
      }
    }
    // Any stretch of steps is that stretch of the whole walk.
    const int64_t first = std::uniform_int_distribution<int64_t>(-5, steps + 5)(random);
    const int64_t last = std::uniform_int_distribution<int64_t>(-5, steps + 5)(random);
    std::vector<CPoint> slice;
    for (int64_t i = std::max<int64_t>(first, 0); i < std::min(last, steps); ++i) slice.push_back(pixels[i]);
    ASSERT_EQ(Steps(x1, y1, x2, y2, first, last), slice);
  }
}

TEST(LineDDA, CoordinatesAtTheEndsOfTheRangeDoNotOverflow) {
  EXPECT_EQ(LineDDAStepCount(INT_MIN, INT_MIN, INT_MAX, INT_MAX), 4294967295LL);
  EXPECT_EQ(LineDDAStepCount(INT_MAX, 0, INT_MIN, 1), 4294967295LL);
  EXPECT_EQ(Steps(INT_MIN, INT_MIN, INT_MAX, INT_MAX, -2, 3),
            (std::vector<CPoint>{{INT_MIN, INT_MIN}, {INT_MIN + 1, INT_MIN + 1}, {INT_MIN + 2, INT_MIN + 2}}));
  EXPECT_EQ(Steps(INT_MIN, INT_MIN, INT_MAX, INT_MAX, 4294967293LL, 4294967400LL),
            (std::vector<CPoint>{{INT_MAX - 2, INT_MAX - 2}, {INT_MAX - 1, INT_MAX - 1}}));
  EXPECT_EQ(Steps(INT_MAX, INT_MIN, INT_MIN, INT_MAX, 2147483647LL, 2147483649LL),
            (std::vector<CPoint>{{0, -1}, {-1, 0}}));
  // A long flat line climbs its one pixel half way along.
  const std::vector<CPoint> middle = Steps(INT_MIN, 0, INT_MAX, 1, 2147483640LL, 2147483656LL);
  ASSERT_EQ(middle.size(), 16u);
  EXPECT_EQ(middle.front(), CPoint(-8, 0));
  EXPECT_EQ(middle.back(), CPoint(7, 1));
  EXPECT_EQ(Steps(INT_MAX, 0, INT_MIN, 1, 4294967294LL, 4294967295LL), (std::vector<CPoint>{{INT_MIN + 1, 1}}));
}
