#include "render/StampingDC.h"

#include <algorithm>
#include <bit>
#include <climits>

#include <QImage>
#include <QPainter>

#include "platform/qt/HatchTile.h"

namespace {

// A stamp is used this far inside the image's edge at least.
constexpr int kEdge = 4;

}  // namespace

StampingDC::StampingDC(QPainter& painter, QImage& image, QPoint offset, ShapeStamps& stamps)
    : CQPainterDC(painter), m_image(image), m_offset(offset), m_clip(image.rect()), m_stamps(stamps) {}

bool StampingDC::Stamp(ShapeStamps::Primitive primitive, const POINT* points, int count) {
  const CPen& pen = GetCurrentPen();
  if (pen.style < 0 || pen.style > PS_NULL || pen.width > ShapeStamps::kLargest || m_image.devicePixelRatio() != 1 ||
      count < 1)
    return false;
  int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
  for (int i = 0; i < count; ++i) {
    left = std::min<int64_t>(left, points[i].x), right = std::max<int64_t>(right, points[i].x);
    top = std::min<int64_t>(top, points[i].y), bottom = std::max<int64_t>(bottom, points[i].y);
  }
  if (right - left > ShapeStamps::kLargest || bottom - top > ShapeStamps::kLargest) return false;
  const int64_t reach = std::clamp(pen.width, 1, 255) + kEdge;
  if (left + m_offset.x() - reach < 0 || top + m_offset.y() - reach < 0 ||
      right + m_offset.x() + reach >= m_image.width() || bottom + m_offset.y() + reach >= m_image.height())
    return false;

  // The dashes of pens two pixels wide round a polygon come out differently between one power of
  // two of the picture's x or y and the next (the raster engine's rounding depends on the size of
  // the numbers): their stamps are kept by that place, and a polygon that crosses a power of two
  // goes to Qt.
  ShapeStamps::Place place;
  if (primitive == ShapeStamps::polygon && pen.width == 2 && pen.style != PS_SOLID && pen.style != PS_NULL) {
    auto power = [](int64_t from, int64_t to) {
      if (from < 1 || to >= int64_t(2) << ShapeStamps::kFurthestBits) return 0;
      const int b = int(std::bit_width(uint64_t(from))) - 1;
      return int(std::bit_width(uint64_t(to))) - 1 == b ? b : 0;
    };
    const int64_t margin = ShapeStamps::kPlaceMargin;
    place.xBits = uint8_t(power(left + m_offset.x() - margin, right + m_offset.x() + margin));
    place.yBits = uint8_t(power(top + m_offset.y() - margin, bottom + m_offset.y() + margin));
    if (place.xBits == 0 || place.yBits == 0) return false;
  }
  POINT form[10];
  for (int i = 0; i < count; ++i) form[i] = {int(points[i].x - left), int(points[i].y - top)};
  const CBrush& brush = GetCurrentBrush();
  const bool fills =
      (primitive == ShapeStamps::polygon || primitive == ShapeStamps::ellipse) && brush.fill != CBrush::hollow;
  const bool hatched = brush.fill == CBrush::hatched;
  const int hatch = std::clamp(brush.hatch, 0, 5);
  auto rgb = [](COLORREF c) { return qRgb(GetRValue(c), GetGValue(c), GetBValue(c)); };
  const QRgb ink = rgb(pen.color), inside = rgb(brush.color), white = qRgb(255, 255, 255);
  const int x0 = int(left + m_offset.x()), y0 = int(top + m_offset.y());
  uchar* const bits = m_image.bits();
  const qsizetype stride = m_image.bytesPerLine();
  // Most stamps lie wholly inside the clip, which is then not asked pixel by pixel.
  const bool unclipped = m_clip.contains(QRect(QPoint(int(x0 - reach), int(y0 - reach)),
                                               QPoint(int(right - left + x0 + reach), int(bottom - top + y0 + reach))));
  for (const ShapeStamps::Run& run : m_stamps.Of(primitive, form, count, pen, place)) {
    if (run.part == ShapeStamps::inside && !fills) continue;
    const int y = y0 + run.dy;
    int from = x0 + run.dx, to = from + run.length;
    if (!unclipped) {
      if (y < m_clip.top() || y > m_clip.bottom()) continue;
      from = std::max(from, m_clip.left()), to = std::min(to, m_clip.right() + 1);
    }
    QRgb* const line = reinterpret_cast<QRgb*>(bits + y * stride);
    if (run.part == ShapeStamps::inside && hatched) {
      // A hatch is laid from the painter's origin; its gaps are the white background.
      for (int x = from; x < to; ++x)
        line[x] = hatch_tile::Sets(hatch, x - m_offset.x(), y - m_offset.y()) ? inside : white;
    } else {
      std::fill(line + from, line + std::max(from, to),
                run.part == ShapeStamps::ink   ? ink
                : run.part == ShapeStamps::gap ? white
                                               : inside);
    }
  }
  return true;
}

void StampingDC::Polyline(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(ShapeStamps::polyline, points, count)) CQPainterDC::Polyline(points, count);
}

void StampingDC::Polygon(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(ShapeStamps::polygon, points, count)) CQPainterDC::Polygon(points, count);
}

void StampingDC::PolyBezier(const POINT* points, int count) {
  if (count != 4 || !Stamp(ShapeStamps::bezier, points, count)) CQPainterDC::PolyBezier(points, count);
}

void StampingDC::Ellipse(int left, int top, int right, int bottom) {
  const POINT corners[2] = {{left, top}, {right, bottom}};
  if (!Stamp(ShapeStamps::ellipse, corners, 2)) CQPainterDC::Ellipse(left, top, right, bottom);
}
