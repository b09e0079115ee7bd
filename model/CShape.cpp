#include "model/CShape.h"

#include <algorithm>

namespace {
// min(a, b) + |b - a| / 2, without overflow anywhere in the 32-bit range.
int32_t Middle(int32_t a, int32_t b) {
  const int64_t lo = std::min(a, b);
  const int64_t hi = std::max(a, b);
  return int32_t(lo + (hi - lo) / 2);
}
}  // namespace

CPoint CShape::GetEdgeMidpoint(int i, int j) const {
  return CPoint(Middle(points[i].x, points[j].x), Middle(points[i].y, points[j].y));
}

bool operator==(const CShape& a, const CShape& b) {
  return a.center == b.center && a.type == b.type && a.penColor == b.penColor && a.brushColor == b.brushColor &&
         a.penWidth == b.penWidth && a.penStyle == b.penStyle && a.brushStyle == b.brushStyle &&
         a.pointCount == b.pointCount && std::equal(a.points, a.points + kMaxPoints, b.points);
}
