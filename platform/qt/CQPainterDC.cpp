#include "platform/qt/CQPainterDC.h"

#include <algorithm>

#include <QPainter>
#include <QPainterPath>
#include <QPolygon>

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

}  // namespace

QPolygon CQPainterDC::ToQPolygon(const POINT* points, int count) {
  QPolygon polygon(std::max(count, 0));
  for (int i = 0; i < count; ++i) polygon[i] = QPoint(points[i].x, points[i].y);
  return polygon;
}

QRectF CQPainterDC::Box(int left, int top, int right, int bottom) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  return QRectF(l, t, r - l, b - t);
}

QRectF CQPainterDC::Bound(const POINT* points, int count) {
  double left = points[0].x, top = points[0].y, right = left, bottom = top;
  for (int i = 1; i < count; ++i) {
    left = std::min<double>(left, points[i].x), right = std::max<double>(right, points[i].x);
    top = std::min<double>(top, points[i].y), bottom = std::max<double>(bottom, points[i].y);
  }
  return QRectF(left, top, right - left, bottom - top);
}

template <typename Draw, typename Lines>
void CQPainterDC::Outline(const QRectF& box, bool filled, Draw draw, Lines lines) {
  QPainter& painter = Painter();
  const OnePixelOutline::Way way = OnePixelOutline::Choose(painter, box);
  if (way == OnePixelOutline::Way::qt) return draw(painter);
  if (filled && painter.brush().style() != Qt::NoBrush) {
    // The inside alone first, as Qt paints it before the outline.
    const QPen pen = painter.pen();
    painter.setPen(Qt::NoPen);
    draw(painter);
    painter.setPen(pen);
  }
  if (way == OnePixelOutline::Way::ownPicture)
    m_outline.OnOwnPicture(painter, box, draw);
  else
    m_outline.InPieces(painter, lines(), filled);
}

CQPainterDC::CQPainterDC(QPainter& painter) : m_painter(painter) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setBackgroundMode(Qt::OpaqueMode);
  m_painter.setBackground(Qt::white);
  const CPen& pen = GetCurrentPen();
  const CBrush& brush = GetCurrentBrush();
  m_pen = {pen.style, pen.width, pen.color};
  m_brush = {brush.fill, brush.hatch, brush.color};
  m_painter.setPen(ToQPen(pen));
  m_painter.setBrush(ToQBrush(brush));
}

QPainter& CQPainterDC::Painter() {
  if (!m_stale) return m_painter;
  m_stale = false;
  const CPen& pen = GetCurrentPen();
  const CBrush& brush = GetCurrentBrush();
  const Pen p{pen.style, pen.width, pen.color};
  const Brush b{brush.fill, brush.hatch, brush.color};
  if (!(p == m_pen)) m_painter.setPen(ToQPen(pen)), m_pen = p;
  if (!(b == m_brush)) m_painter.setBrush(ToQBrush(brush)), m_brush = b;
  return m_painter;
}

QPen CQPainterDC::ToQPen(const CPen& pen) {
  static const Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                         Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  QPen q(ToQColor(pen.color), std::clamp(pen.width, 1, 255), kStyles[std::clamp(pen.style, 0, 5)], Qt::RoundCap,
         Qt::RoundJoin);
  q.setCosmetic(true);
  return q;
}

QBrush CQPainterDC::ToQBrush(const CBrush& brush) {
  static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  switch (brush.fill) {
    case CBrush::hollow: return QBrush(Qt::NoBrush);
    case CBrush::hatched: return QBrush(ToQColor(brush.color), kHatches[std::clamp(brush.hatch, 0, 5)]);
    case CBrush::solid: break;
  }
  return QBrush(ToQColor(brush.color));
}

void CQPainterDC::OnSelect(const CGdiObject&) { m_stale = true; }

void CQPainterDC::Polyline(const POINT* points, int count) {
  if (count < 2) return;
  const QPolygon line = ToQPolygon(points, count);
  Outline(
      Bound(points, count), false, [&](QPainter& p) { p.drawPolyline(line); }, [&] { return QPolygonF(line); });
}

void CQPainterDC::Polygon(const POINT* points, int count) {
  if (count < 2) return;
  const QPolygon polygon = ToQPolygon(points, count);
  Outline(
      Bound(points, count), true, [&](QPainter& p) { p.drawPolygon(polygon, Qt::OddEvenFill); },
      [&] { return QPolygonF(polygon); });
}

void CQPainterDC::PolyBezier(const POINT* points, int count) {
  if (count < 4 || (count - 1) % 3 != 0) return;
  QPainterPath path(QPointF(points[0].x, points[0].y));
  for (int i = 1; i + 2 < count; i += 3)
    path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                 QPointF(points[i + 2].x, points[i + 2].y));
  // A curve is drawn with the pen only, whatever brush is current.
  auto draw = [&](QPainter& p) {
    const QBrush brush = p.brush();
    p.setBrush(Qt::NoBrush);
    p.drawPath(path);
    p.setBrush(brush);
  };
  Outline(Bound(points, count), false, draw,
          [&] { return OnePixelOutline::Curves(m_painter, QPolygonF(ToQPolygon(points, count))); });
}

void CQPainterDC::Ellipse(int left, int top, int right, int bottom) {
  const QRectF box = Box(left, top, right, bottom);
  Outline(
      box, true, [&](QPainter& p) { p.drawEllipse(box); },
      [&] { return OnePixelOutline::EllipseLines(m_painter, box); });
}

void CQPainterDC::Rectangle(int left, int top, int right, int bottom) {
  Painter().drawRect(Box(left, top, right, bottom));
}

void CQPainterDC::LineTo(int x, int y) {
  Painter().drawLine(QPointF(m_position.x, m_position.y), QPointF(x, y));
  m_position = CPoint(x, y);
}
