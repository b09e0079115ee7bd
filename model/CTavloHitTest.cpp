#include <algorithm>
#include <climits>
#include <cstdlib>

#include "model/CTavlo.h"
#include "model/EllipseWalk.h"
#include "model/Geometry.h"
#include "platform/core/LineDDA.h"

namespace {

// The test point and the found flag of one segment walk travel in the walker's user value, so
// hit tests may nest and run anywhere.
struct SegmentWalk {
  int64_t X;
  int64_t Y;
  int64_t t;
  bool found;
};

bool PixelNear(int64_t X, int64_t Y, int64_t qx, int64_t qy, int64_t t) {
  return qx - t < X && X < qx + t && qy - t < Y && Y < qy + t;
}

bool OnHandle(CPoint test, CPoint handle, int64_t t) {
  return int64_t(handle.x) - t <= test.x && test.x <= int64_t(handle.x) + t && int64_t(handle.y) - t <= test.y &&
         test.y <= int64_t(handle.y) + t;
}

void LineHitProc(int px, int py, void* data) {
  auto* walk = static_cast<SegmentWalk*>(data);
  if (PixelNear(walk->X, walk->Y, px, py, walk->t)) walk->found = true;
}

// Walks the segment from a to b, visiting only the steps whose pixel can lie within t of the test
// point along the longer axis: every other pixel of the walk is too far away to count.
bool SegmentNear(CPoint a, CPoint b, SegmentWalk& walk) {
  const int64_t dx = int64_t(b.x) - a.x, dy = int64_t(b.y) - a.y;
  const bool alongX = std::llabs(dx) >= std::llabs(dy);
  const int64_t sign = (alongX ? dx : dy) < 0 ? -1 : 1;
  const int64_t offset = ((alongX ? walk.X - a.x : walk.Y - a.y)) * sign;
  walk.found = false;
  LineDDASteps(a.x, a.y, b.x, b.y, offset - walk.t + 1, offset + walk.t, LineHitProc, &walk);
  return walk.found;
}

// A double truncated toward zero, clamped well inside 64 bits.
int64_t Truncate(double v) {
  constexpr double kLimit = 4.0e18;
  if (!(v > -kLimit)) return -int64_t(kLimit);
  if (!(v < kLimit)) return int64_t(kLimit);
  return int64_t(v);
}

}  // namespace

bool CTavlo::HitTest(int x, int y, int index, int& kind, int& part) const {
  const int t = GetTolerance();
  kind = HIT_NONE;
  part = -1;
  if (index < 0 || index >= shapes.GetSize()) return false;

  CPoint test(x, y);
  ZoomPoint(test);
  const CShape& s = shapes[index];
  const int n = s.GetPointCount();
  auto zoomed = [this](CPoint p) {
    ZoomPoint(p);
    return p;
  };

  if (rotateMode && OnHandle(test, zoomed(s.GetCenter()), t)) {
    kind = HIT_CENTER;
    return true;
  }

  // Every handle, segment pixel and curve sample lies in the box of the zoomed points that make
  // them, the ellipse walk at least in its rows; a point further than t from that box hits none.
  // Most shapes of a large drawing are ruled out here, before any walk.
  int64_t left = INT64_MAX, right = INT64_MIN, top = INT64_MAX, bottom = INT64_MIN;
  auto cover = [&](int i) {
    const CPoint z = zoomed(s.GetPoint(i));
    left = std::min<int64_t>(left, z.x);
    right = std::max<int64_t>(right, z.x);
    top = std::min<int64_t>(top, z.y);
    bottom = std::max<int64_t>(bottom, z.y);
  };
  for (int i = 0; i < n; ++i) cover(i);
  if (s.GetType() == kBezier)
    for (int i = 0; i < 4; ++i) cover(i);
  if (s.GetType() == kEllipse) {
    cover(0);
    cover(2);
  }
  const int64_t reach = int64_t(t) + 1;
  if (test.y < top - reach || test.y > bottom + reach) return false;
  if (test.x < left - reach || test.x > right + reach) {
    // Beside the box: only the ellipse walk may stray that far across.
    if (s.GetType() != kEllipse || !HitEllipse(test.x, test.y, zoomed(s.GetPoint(0)), zoomed(s.GetPoint(2)), t))
      return false;
    kind = HIT_OUTLINE;
    part = n == 2 ? 1 : n;
    return true;
  }

  for (int i = 0; i < n; ++i) {
    const int j = i + 1 == n ? 0 : i + 1;
    if (OnHandle(test, zoomed(s.GetPoint(i)), t)) {
      kind = HIT_VERTEX;
      part = i;
      return true;
    }
    if (s.GetType() != kLine && OnHandle(test, zoomed(s.GetEdgeMidpoint(i, j)), t)) {
      kind = HIT_EDGE;
      part = i;
      return true;
    }
  }

  // A two-point shape is one segment; any other is the closed polygon through its points.
  const int segments = n == 2 ? 1 : n;
  SegmentWalk walk{test.x, test.y, t, false};
  for (int i = 0; i < segments; ++i) {
    const int j = i + 1 == n ? 0 : i + 1;
    if (SegmentNear(zoomed(s.GetPoint(i)), zoomed(s.GetPoint(j)), walk)) {
      kind = HIT_OUTLINE;
      part = i;
      return true;
    }
  }

  const bool onCurve =
      (s.GetType() == kBezier && HitBezier(test.x, test.y, zoomed(s.GetPoint(0)), zoomed(s.GetPoint(1)),
                                           zoomed(s.GetPoint(2)), zoomed(s.GetPoint(3)), t)) ||
      (s.GetType() == kEllipse && HitEllipse(test.x, test.y, zoomed(s.GetPoint(0)), zoomed(s.GetPoint(2)), t));
  if (onCurve) {
    kind = HIT_OUTLINE;
    part = segments;
  }
  return kind != HIT_NONE;
}

bool CTavlo::FindShapeAt(int x, int y, int& index, int& kind, int& part) const {
  return Search(x, y, nullptr, index, kind, part);
}

bool CTavlo::FindShapeAmong(int x, int y, const std::vector<int>& candidates, int& index, int& kind, int& part) const {
  return Search(x, y, &candidates, index, kind, part);
}

bool CTavlo::Search(int x, int y, const std::vector<int>* candidates, int& index, int& kind, int& part) const {
  const int s = HasSelection() ? selected : -1;
  const int u = GetUpperBound();
  kind = HIT_NONE;
  part = -1;
  index = -1;
  auto attempt = [&](int i) {
    if (!HitTest(x, y, i, kind, part)) return false;
    index = i;
    return true;
  };
  // Tries the shapes from `high` down to `low`: every one, or the candidates among them.
  auto down = [&](int high, int low) {
    if (!candidates) {
      for (int i = high; i >= low; --i)
        if (attempt(i)) return true;
      return false;
    }
    auto it = std::upper_bound(candidates->begin(), candidates->end(), high);
    while (it != candidates->begin() && *(it - 1) >= low)
      if (attempt(*--it)) return true;
    return false;
  };
  if (s < 0) return down(u, 0);
  return down(s - 1, 0) || down(u, s + 1) || down(s, s);
}

bool CTavlo::HitBezier(int X, int Y, CPoint p0, CPoint p1, CPoint p2, CPoint p3, int t) {
  const double cx = 3.0 * double(int64_t(p1.x) - p0.x);
  const double bx = 3.0 * double(int64_t(p0.x) + p2.x - 2 * int64_t(p1.x));
  const double ax = double(int64_t(p3.x) - 3 * int64_t(p2.x) + 3 * int64_t(p1.x) - p0.x);
  const double cy = 3.0 * double(int64_t(p1.y) - p0.y);
  const double by = 3.0 * double(int64_t(p0.y) + p2.y - 2 * int64_t(p1.y));
  const double ay = double(int64_t(p3.y) - 3 * int64_t(p2.y) + 3 * int64_t(p1.y) - p0.y);
  for (double tau = 0.0; tau < 1.0; tau += 0.005) {
    const int64_t x = Truncate(cx * tau + p0.x + bx * tau * tau + ax * tau * tau * tau);
    const int64_t y = Truncate(cy * tau + p0.y + by * tau * tau + ay * tau * tau * tau);
    if (PixelNear(X, Y, x, y, t)) return true;
  }
  return false;
}

bool CTavlo::HitEllipse(int X, int Y, CPoint p, CPoint q, int t) { return EllipseWalkNear(X, Y, p, q, t); }
