#include "render/StampingDC.h"

#include <algorithm>
#include <climits>

#include <QImage>
#include <QPainter>

namespace {

// A stamp is used this far inside the image's edge at least.
constexpr int kEdge = 4;

}  // namespace

StampingDC::StampingDC(QPainter& painter, QImage& image, QPoint offset, PenStamps& stamps)
    : CQPainterDC(painter), m_image(image), m_offset(offset), m_clip(image.rect()), m_stamps(stamps) {}

bool StampingDC::Stamp(PenStamps::Primitive primitive, const POINT* points, int count, bool fills) {
  const CPen& pen = GetCurrentPen();
  // The dashes of pens two pixels wide round a polygon end on whole pixels, where the raster
  // engine's rounding follows where on the picture they lie: those go to Qt.
  if (primitive == PenStamps::polygon && pen.width == 2 && pen.style != PS_SOLID) return false;
  // A pen one pixel wide is Qt's quick case already; no pen needs no stamp.
  if (pen.style < 0 || pen.style >= PS_NULL || pen.width <= 1 || pen.width > PenStamps::kLargest ||
      m_image.devicePixelRatio() != 1 || count < 1)
    return false;
  int64_t left = INT64_MAX, top = INT64_MAX, right = INT64_MIN, bottom = INT64_MIN;
  for (int i = 0; i < count; ++i) {
    left = std::min<int64_t>(left, points[i].x), right = std::max<int64_t>(right, points[i].x);
    top = std::min<int64_t>(top, points[i].y), bottom = std::max<int64_t>(bottom, points[i].y);
  }
  if (right - left > PenStamps::kLargest || bottom - top > PenStamps::kLargest) return false;
  const int64_t reach = std::clamp(pen.width, 1, 255) + kEdge;
  const QPoint at(int(left + m_offset.x()), int(top + m_offset.y()));
  if (left + m_offset.x() - reach < 0 || top + m_offset.y() - reach < 0 ||
      right + m_offset.x() + reach >= m_image.width() || bottom + m_offset.y() + reach >= m_image.height())
    return false;

  if (fills && GetCurrentBrush().fill != CBrush::hollow) {
    QPainter& painter = Painter();
    const QPen qpen = painter.pen();
    painter.setPen(Qt::NoPen);
    switch (primitive) {
      case PenStamps::polygon: CQPainterDC::Polygon(points, count); break;
      case PenStamps::ellipse:
        CQPainterDC::Ellipse(points[0].x, points[0].y, points[count - 1].x, points[count - 1].y);
        break;
      default: break;
    }
    painter.setPen(qpen);
  }
  POINT form[10];
  for (int i = 0; i < count; ++i) form[i] = {int(points[i].x - left), int(points[i].y - top)};
  const QRgb ink = qRgb(GetRValue(pen.color), GetGValue(pen.color), GetBValue(pen.color)), white = qRgb(255, 255, 255);
  for (const PenStamps::Pixel& p : m_stamps.Of(primitive, form, count, pen)) {
    const int x = at.x() + p.dx, y = at.y() + p.dy;
    if (m_clip.contains(x, y)) reinterpret_cast<QRgb*>(m_image.scanLine(y))[x] = p.gap ? white : ink;
  }
  return true;
}

void StampingDC::Polyline(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(PenStamps::polyline, points, count, false))
    CQPainterDC::Polyline(points, count);
}

void StampingDC::Polygon(const POINT* points, int count) {
  if (count < 2 || count > 10 || !Stamp(PenStamps::polygon, points, count, true)) CQPainterDC::Polygon(points, count);
}

void StampingDC::PolyBezier(const POINT* points, int count) {
  if (count != 4 || !Stamp(PenStamps::bezier, points, count, false)) CQPainterDC::PolyBezier(points, count);
}

void StampingDC::Ellipse(int left, int top, int right, int bottom) {
  const POINT corners[2] = {{left, top}, {right, bottom}};
  if (!Stamp(PenStamps::ellipse, corners, 2, true)) CQPainterDC::Ellipse(left, top, right, bottom);
}
