#include "render/ShapeCover.h"

#include <algorithm>
#include <cmath>

#include "model/Geometry.h"
#include "platform/core/CDC.h"

namespace {

constexpr int64_t kLimit = int64_t(1) << 22;
// Kept between a fill's outline and the boxes it is sure to paint, for the rounding of its edge.
constexpr double kCoreMargin = 2.0;
// Curves are drawn as cubic pieces that bulge out from a true ellipse by up to this share of its
// radius.
constexpr double kBulge = 3e-4;
// Pixels a side of the shapes whose bound stands for what they reach.
constexpr int64_t kSmall = 32;

struct Pt {
  double x, y;
};

int Zoomed(const CShape& s, int zoom, Pt* p) {
  const int n = s.GetPointCount();
  for (int i = 0; i < n; ++i) {
    const CPoint q = s.GetPoint(i);
    p[i] = {double(geometry::Zoom(q.x, zoom)), double(geometry::Zoom(q.y, zoom))};
  }
  return n;
}

// How far beyond its path a shape's pixels may reach: the pen, with room for rounding.
int PenReach(const CShape& s) { return std::clamp(s.GetPenWidth(), 1, 255) + 2; }

// The box of the points, widened by m and rounded outwards.
PixelBox Around(const Pt* p, int n, double m) {
  double x0 = p[0].x, x1 = p[0].x, y0 = p[0].y, y1 = p[0].y;
  for (int i = 1; i < n; ++i) {
    x0 = std::min(x0, p[i].x), x1 = std::max(x1, p[i].x);
    y0 = std::min(y0, p[i].y), y1 = std::max(y1, p[i].y);
  }
  return {int64_t(std::floor(x0 - m)), int64_t(std::floor(y0 - m)), int64_t(std::ceil(x1 + m)),
          int64_t(std::ceil(y1 + m))};
}

// Inside: the box shrunk by the core margin, empty boxes dropped.
int AddCore(PixelBox* boxes, int count, double left, double top, double right, double bottom) {
  const PixelBox b{int64_t(std::ceil(left + kCoreMargin)), int64_t(std::ceil(top + kCoreMargin)),
                   int64_t(std::floor(right - kCoreMargin)), int64_t(std::floor(bottom - kCoreMargin))};
  if (b.left > b.right || b.top > b.bottom || !ShapeCover::Trusted(b) || count >= ShapeCover::kMaxBoxes) return count;
  boxes[count] = b;
  return count + 1;
}

// The ellipse inscribed in the box of points 0 and 2: its centre and half-axes.
struct Oval {
  double cx, cy, rx, ry;
};
Oval OvalOf(const Pt* p) {
  return {(p[0].x + p[2].x) / 2, (p[0].y + p[2].y) / 2, std::abs(p[2].x - p[0].x) / 2, std::abs(p[2].y - p[0].y) / 2};
}

bool FillsEveryPixel(const CShape& s) {
  const int brush = s.GetBrushStyle();
  return brush == kBrushPaint || (brush >= HS_HORIZONTAL && brush <= HS_DIAGCROSS);
}

// Straight runs from point to point (closing back to the first when `closed`), each cut into
// pieces so that the boxes hug a slanted run; the pieces share out the boxes by length.
int Runs(const Pt* p, int n, bool closed, double m, PixelBox* boxes) {
  const int runs = closed ? n : n - 1;
  double total = 0;
  for (int i = 0; i < runs; ++i) total += std::hypot(p[(i + 1) % n].x - p[i].x, p[(i + 1) % n].y - p[i].y);
  int count = 0;
  for (int i = 0; i < runs; ++i) {
    const Pt a = p[i], b = p[(i + 1) % n];
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    const int spare = ShapeCover::kMaxBoxes - count - (runs - 1 - i);  // at least one for each run left
    const int pieces = std::clamp(total > 0 ? int(length / total * ShapeCover::kMaxBoxes) : 1, 1, std::max(spare, 1));
    for (int k = 0; k < pieces; ++k) {
      const double t0 = double(k) / pieces, t1 = double(k + 1) / pieces;
      const Pt ends[2] = {{a.x + (b.x - a.x) * t0, a.y + (b.y - a.y) * t0},
                          {a.x + (b.x - a.x) * t1, a.y + (b.y - a.y) * t1}};
      boxes[count++] = Around(ends, 2, m + 1);
    }
  }
  return count;
}

// Each cubic piece split in four; every quarter lies within the box of its own control points.
int Curve(const Pt* p, int n, double m, PixelBox* boxes) {
  int count = 0;
  for (int i = 0; i + 3 < n && count + 4 <= ShapeCover::kMaxBoxes; i += 3) {
    auto at = [&](double t) {
      const double u = 1 - t;
      return Pt{u * u * u * p[i].x + 3 * u * u * t * p[i + 1].x + 3 * u * t * t * p[i + 2].x + t * t * t * p[i + 3].x,
                u * u * u * p[i].y + 3 * u * u * t * p[i + 1].y + 3 * u * t * t * p[i + 2].y + t * t * t * p[i + 3].y};
    };
    auto slope = [&](double t) {
      const double u = 1 - t;
      return Pt{3 * (u * u * (p[i + 1].x - p[i].x) + 2 * u * t * (p[i + 2].x - p[i + 1].x) +
                     t * t * (p[i + 3].x - p[i + 2].x)),
                3 * (u * u * (p[i + 1].y - p[i].y) + 2 * u * t * (p[i + 2].y - p[i + 1].y) +
                     t * t * (p[i + 3].y - p[i + 2].y))};
    };
    for (int k = 0; k < 4; ++k) {
      // The quarter from t0 to t1 as a cubic of its own: its control points from the ends and
      // the slopes there.
      const double t0 = k / 4.0, t1 = (k + 1) / 4.0, d = (t1 - t0) / 3;
      const Pt a = at(t0), b = at(t1), sa = slope(t0), sb = slope(t1);
      const Pt quarter[4] = {a, {a.x + sa.x * d, a.y + sa.y * d}, {b.x - sb.x * d, b.y - sb.y * d}, b};
      boxes[count++] = Around(quarter, 4, m + 1);
    }
  }
  return count;
}

// Four points that go round an upright box: each step runs along one axis, across and down by
// turns, never back on itself and never standing still.
bool Upright(const CShape& s) {
  if ((s.GetType() != kRectangle && s.GetType() != kPolygonRect) || s.GetPointCount() != 4) return false;
  bool across = s.GetPoint(0).y == s.GetPoint(1).y;
  for (int i = 0; i < 4; ++i, across = !across) {
    const CPoint a = s.GetPoint(i), b = s.GetPoint((i + 1) % 4);
    if (across ? a.y != b.y || a.x == b.x : a.x != b.x || a.y == b.y) return false;
  }
  return true;
}

}  // namespace

bool ShapeCover::Trusted(const PixelBox& b) {
  return b.left > -kLimit && b.top > -kLimit && b.right < kLimit && b.bottom < kLimit;
}

bool ShapeCover::Extent(const CShape& s, int zoom, PixelBox& box) {
  const int n = s.GetPointCount();
  if (n == 0) return false;
  // Zooming keeps the order of coordinates, so the box of the points is zoomed alone: the box
  // Around gives for the zoomed points, in whole numbers, without a division for every point.
  CPoint low = s.GetPoint(0), high = low;
  for (int i = 1; i < n; ++i) {
    const CPoint q = s.GetPoint(i);
    low.x = std::min(low.x, q.x), low.y = std::min(low.y, q.y);
    high.x = std::max(high.x, q.x), high.y = std::max(high.y, q.y);
  }
  const int64_t m = PenReach(s);
  box = {geometry::Zoom(low.x, zoom) - m, geometry::Zoom(low.y, zoom) - m, geometry::Zoom(high.x, zoom) + m,
         geometry::Zoom(high.y, zoom) + m};
  return true;
}

PixelBox ShapeCover::BoundOf(const PixelBox& box) {
  // Reach's boxes are widened by one more than the extent, an ellipse's bands by its bulge too.
  const int64_t grow = 2 + int64_t(std::ceil(kBulge * double(std::max(box.right - box.left, box.bottom - box.top))));
  return {box.left - grow, box.top - grow, box.right + grow, box.bottom + grow};
}

int ShapeCover::Reach(const CShape& s, int zoom, double ratio, const PixelBox& extent, PixelBox* boxes) {
  boxes[0] = extent;
  // Far out, or a record the tighter bounds were not made for: the whole extent.
  if (!Trusted(extent)) return 1;
  if (ratio == 1 && Upright(s)) {
    // The fill takes the box's pixels but its last column and row; a pen w pixels wide takes w/2
    // (rounded down) of them before each side and the rest from the side on.
    const int64_t m = PenReach(s);
    const PixelBox c{extent.left + m, extent.top + m, extent.right - m, extent.bottom - m};
    const int64_t w = s.GetPenStyle() == PS_NULL ? 0 : std::clamp(s.GetPenWidth(), 1, 255);
    const int64_t before = w / 2, after = (w + 1) / 2 - 1;
    const PixelBox outer{c.left - before, c.top - before, c.right + after, c.bottom + after};
    if (s.GetBrushStyle() != kBrushTransparent || w == 0) {
      boxes[0] = outer;
      return 1;
    }
    boxes[0] = {outer.left, outer.top, outer.right, c.top + after};
    boxes[1] = {outer.left, c.bottom - before, outer.right, outer.bottom};
    boxes[2] = {outer.left, outer.top, c.left + after, outer.bottom};
    boxes[3] = {c.right - before, outer.top, outer.right, outer.bottom};
    return 4;
  }
  // A small shape's bound is hardly larger than the boxes it reaches, which cost more to work out
  // than a painter's question about them.
  if (const PixelBox bound = BoundOf(boxes[0]);
      bound.right - bound.left <= kSmall && bound.bottom - bound.top <= kSmall) {
    boxes[0] = bound;
    return 1;
  }
  Pt p[kMaxPoints];
  const int n = Zoomed(s, zoom, p);
  const double m = PenReach(s);
  switch (s.GetType()) {
    case kLine: return n >= 2 ? Runs(p, n, false, m, boxes) : 1;
    case kRectangle:
    case kPolygonRect:
      // A brush that is not see-through paints the inside too.
      return n >= 2 && s.GetBrushStyle() == kBrushTransparent ? Runs(p, n, true, m, boxes) : 1;
    case kBezier: return n >= 4 && (n - 1) % 3 == 0 ? Curve(p, n, m, boxes) : 1;
    case kEllipse: {
      if (n < 3) return 1;
      // Bands across the ellipse, each as wide as the ellipse gets within it.
      const auto [cx, cy, rx, ry] = OvalOf(p);
      if (ry < 8) return 1;
      const double mm = m + 1 + kBulge * std::max(rx, ry);
      constexpr int kBands = 8;
      for (int k = 0; k < kBands; ++k) {
        const double y0 = cy - ry + 2 * ry * k / kBands, y1 = cy - ry + 2 * ry * (k + 1) / kBands;
        const double nearest = std::clamp(cy, y0, y1) - cy;
        const double half = rx * std::sqrt(std::max(0.0, 1 - (nearest / ry) * (nearest / ry)));
        const Pt corners[2] = {{cx - half, y0}, {cx + half, y1}};
        boxes[k] = Around(corners, 2, mm);
      }
      return kBands;
    }
    default: return 1;
  }
}

int ShapeCover::Core(const CShape& s, int zoom, double ratio, PixelBox* boxes) {
  if (!FillsEveryPixel(s)) return 0;
  Pt p[kMaxPoints];
  const int n = Zoomed(s, zoom, p);
  if (s.GetType() == kEllipse && n >= 3) {
    // Boxes whose corners lie on the ellipse, at three angles from its axes.
    const auto [cx, cy, rx, ry] = OvalOf(p);
    int count = 0;
    for (const double angle : {M_PI / 4, M_PI / 8, 3 * M_PI / 8}) {
      const double hx = rx * std::cos(angle), hy = ry * std::sin(angle);
      count = AddCore(boxes, count, cx - hx, cy - hy, cx + hx, cy + hy);
    }
    return count;
  }
  if ((s.GetType() != kRectangle && s.GetType() != kPolygonRect) || (n != 3 && n != 4)) return 0;
  // Convex: every turn the same way round and none straight. Three or four points cannot wind
  // twice, so that is enough for the odd-even fill to paint all of the inside.
  int sign = 0;
  for (int i = 0; i < n; ++i) {
    const Pt a = p[i], b = p[(i + 1) % n], c = p[(i + 2) % n];
    const double cross = (b.x - a.x) * (c.y - b.y) -
                         (b.y - a.y) * (c.x - b.x);  // exact within the trusted range; no core is kept beyond it
    const int turn = cross > 0 ? 1 : cross < 0 ? -1 : 0;
    if (turn == 0 || (sign != 0 && turn != sign)) return 0;
    sign = turn;
  }
  bool upright = n == 4;
  for (int i = 0; i < n; ++i)
    if (p[i].x != p[(i + 1) % n].x && p[i].y != p[(i + 1) % n].y) upright = false;
  if (upright) {
    // The raster engine fills the device pixels whose middles lie inside, and the painter may
    // move the box half a pixel right and down under a pen (see CQPainterDC). At one device pixel
    // to the pixel neither happens: the fill is the box's pixels but its last column and row, a
    // crowded drawing's edge included, and a pen of any width and dash lays pixels over those two
    // as well (the gaps of a dashed pen take the background). At more device pixels to the pixel
    // the first pixel of the box may be left half bare, and the device pixel that meets the last
    // two may lie outside.
    const PixelBox b = Around(p, n, 0);
    const int64_t pen = s.GetPenStyle() == PS_NULL ? 0 : 1;
    const PixelBox sure = ratio == 1 ? PixelBox{b.left, b.top, b.right - 1 + pen, b.bottom - 1 + pen}
                                     : PixelBox{b.left + 1, b.top + 1, b.right - 2, b.bottom - 2};
    if (ratio < 1 || sure.left > sure.right || sure.top > sure.bottom || !Trusted(sure)) {
      return AddCore(boxes, 0, double(b.left), double(b.top), double(b.right), double(b.bottom));
    }
    boxes[0] = sure;
    return 1;
  }
  // The square inside the largest circle about the points' mean that stays clear of every edge.
  double cx = 0, cy = 0;
  for (int i = 0; i < n; ++i) cx += p[i].x, cy += p[i].y;
  cx /= n, cy /= n;
  double reach = INFINITY;
  for (int i = 0; i < n; ++i) {
    const Pt a = p[i], b = p[(i + 1) % n];
    const double ex = b.x - a.x, ey = b.y - a.y;
    reach = std::min(reach, std::abs(ex * (cy - a.y) - ey * (cx - a.x)) / std::hypot(ex, ey));
  }
  const double half = reach / std::sqrt(2.0);
  return AddCore(boxes, 0, cx - half, cy - half, cx + half, cy + half);
}
