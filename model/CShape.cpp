#include "model/CShape.h"

#include "model/Geometry.h"
#include "platform/core/CDC.h"

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

void CShape::Draw(CDC& dc, int zoom, double angle, int kindOverride) const {
  POINT out[kMaxPoints];
  const int n = pointCount;
  const CPoint c(geometry::Zoom(center.x, zoom), geometry::Zoom(center.y, zoom));
  for (int i = 0; i < n; ++i) {
    const CPoint p(geometry::Zoom(points[i].x, zoom), geometry::Zoom(points[i].y, zoom));
    out[i] = angle != 0.0 ? geometry::Turn(p, c, angle) : p;
  }
  switch (kindOverride != 0 ? kindOverride : type) {
    case kLine: dc.Polyline(out, n); break;
    case kRectangle:
    case kPolygonRect:
    case kClosedOutline: dc.Polygon(out, n); break;
    case kBezier: dc.PolyBezier(out, n); break;
    case kEllipse:
      // Its box needs point 2; a record with fewer points (only a file can hold one) draws nothing.
      if (n >= 3) dc.Ellipse(out[0].x, out[0].y, out[2].x, out[2].y);
      break;
    default: break;
  }
}
