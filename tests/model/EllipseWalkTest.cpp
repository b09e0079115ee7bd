// The ellipse walk jumps over stretches it can predict; the answers must be the step-by-step ones.
#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "model/EllipseWalk.h"
#include "model/EllipseWalkJumps.h"

namespace {

// Points around the outline and across the box, where the answer changes.
std::vector<std::pair<int64_t, int64_t>> Probes(CPoint p, CPoint q, std::mt19937_64& rng) {
  const int64_t x0 = std::min(p.x, q.x), x1 = std::max(p.x, q.x), y0 = std::min(p.y, q.y), y1 = std::max(p.y, q.y);
  std::uniform_int_distribution<int64_t> dx(x0 - 20, x1 + 20), dy(y0 - 20, y1 + 20);
  std::vector<std::pair<int64_t, int64_t>> probes;
  for (int i = 0; i < 40; ++i) probes.emplace_back(dx(rng), dy(rng));
  const double cx = (x0 + x1) / 2.0, cy = (y0 + y1) / 2.0, a = (x1 - x0) / 2.0, b = (y1 - y0) / 2.0;
  std::uniform_real_distribution<double> angle(0, 6.283185307179586), jitter(-4, 4);
  for (int i = 0; i < 80; ++i) {
    const double u = angle(rng);
    probes.emplace_back(int64_t(cx + a * std::cos(u) + jitter(rng)), int64_t(cy + b * std::sin(u) + jitter(rng)));
  }
  return probes;
}

}  // namespace

TEST(EllipseWalk, JumpsGiveTheStepwiseAnswerForEveryBox) {
  std::mt19937_64 rng(20261207);
  std::uniform_int_distribution<int> side(0, 3000), corner(-500, 500), tol(0, 3);
  const int64_t tolerances[] = {3, 6, 9, 15};
  int disagreements = 0, probes = 0;
  for (int box = 0; box < 300; ++box) {
    // Flat, tall, round and degenerate boxes, corners given in any order.
    const int w = box % 7 == 0 ? box % 3 : side(rng), h = box % 11 == 0 ? box % 2 : side(rng) / (1 + box % 4);
    const CPoint p(corner(rng), corner(rng));
    const CPoint q = box % 2 ? CPoint(p.x + w, p.y + h) : CPoint(p.x - w, p.y - h);
    const int64_t t = tolerances[tol(rng)];
    for (const auto& [x, y] : Probes(p, q, rng)) {
      ++probes;
      const bool stepwise = EllipseOutlineNear(x, y, p, q, t);
      for (int64_t jump : {1, 2, 64}) {
        if (EllipseWalkNearJumping(x, y, p, q, t, jump) != stepwise) {
          ++disagreements;
          ADD_FAILURE() << "box " << p.x << "," << p.y << " " << q.x << "," << q.y << " t " << t << " point " << x
                        << "," << y << " jump " << jump;
        }
      }
    }
  }
  EXPECT_EQ(disagreements, 0);
  EXPECT_EQ(probes, 300 * 120);
}

TEST(EllipseWalk, FullRangeBoxesAnswerAtOnceAndFindTheirOutline) {
  const CPoint lo(INT_MIN, INT_MIN), hi(INT_MAX, INT_MAX);
  const int64_t cx = -1, cy = -1;  // the middle of [INT_MIN, INT_MAX], rounded down
  const int64_t a = (int64_t(INT_MAX) - INT_MIN) / 2;
  // The four extreme points of the outline, and points beside and on a diagonal.
  EXPECT_TRUE(EllipseWalkNear(cx + a, cy, lo, hi, 15));
  EXPECT_TRUE(EllipseWalkNear(cx - a, cy, lo, hi, 15));
  EXPECT_TRUE(EllipseWalkNear(cx, cy + a, lo, hi, 15));
  EXPECT_TRUE(EllipseWalkNear(cx, cy - a, lo, hi, 15));
  const int64_t d = int64_t(a / 1.4142135623730951);
  EXPECT_TRUE(EllipseWalkNear(cx + d, cy + d, lo, hi, 15));
  EXPECT_FALSE(EllipseWalkNear(cx + a - 40, cy, lo, hi, 15));
  EXPECT_FALSE(EllipseWalkNear(0, 0, lo, hi, 15));
  EXPECT_FALSE(EllipseWalkNear(cx + d - 100, cy + d - 100, lo, hi, 15));
  // A box two units high: the walk runs along row 1 up to about 0.87 a, then drops to row 0 and
  // ends, so the far ends of so flat an ellipse are never reached.
  const CPoint flatLo(INT_MIN, -1), flatHi(INT_MAX, 1);
  EXPECT_TRUE(EllipseWalkNear(cx + a / 2, 1, flatLo, flatHi, 3));
  EXPECT_TRUE(EllipseWalkNear(cx - a / 2, -1, flatLo, flatHi, 3));
  EXPECT_FALSE(EllipseWalkNear(cx + a - 2, 0, flatLo, flatHi, 3));
  EXPECT_FALSE(EllipseWalkNear(cx + a / 2, 40, flatLo, flatHi, 3));
  // A box two units wide: every row is walked, one column out.
  EXPECT_TRUE(EllipseWalkNear(0, cy + a, CPoint(-1, INT_MIN), CPoint(1, INT_MAX), 3));
  EXPECT_TRUE(EllipseWalkNear(1, cy - a / 3, CPoint(-1, INT_MIN), CPoint(1, INT_MAX), 3));
  EXPECT_FALSE(EllipseWalkNear(9, cy - a / 3, CPoint(-1, INT_MIN), CPoint(1, INT_MAX), 3));
  // Four units wide: the flat part leaves the walk a column right of where the steep part's closed
  // form puts it, and it must still jump down to the point's rows.
  EXPECT_TRUE(EllipseWalkNear(4, cy - a / 3, CPoint(-2, INT_MIN), CPoint(2, INT_MAX), 3));
  EXPECT_FALSE(EllipseWalkNear(5, cy + a / 3, CPoint(-2, INT_MIN), CPoint(2, INT_MAX), 3));
}
