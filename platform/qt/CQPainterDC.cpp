#include "platform/qt/CQPainterDC.h"

#include <algorithm>
#include <cmath>

#include <QPainter>
#include <QPaintEngine>
#include <QPainterPath>
#include <QPolygon>

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

QPolygon ToQPolygon(const POINT* points, int count) {
  QPolygon polygon(std::max(count, 0));
  for (int i = 0; i < count; ++i) polygon[i] = QPoint(points[i].x, points[i].y);
  return polygon;
}

// The box from one corner to the other, both included. Doubles: the corners may lie anywhere
// in the 32-bit range, where their difference does not fit an int.
QRectF Box(int left, int top, int right, int bottom) {
  const double l = std::min(left, right), r = std::max(left, right);
  const double t = std::min(top, bottom), b = std::max(top, bottom);
  return QRectF(l, t, r - l, b - t);
}

}  // namespace

CQPainterDC::CQPainterDC(QPainter& painter) : m_painter(painter) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setBackgroundMode(Qt::OpaqueMode);
  m_painter.setBackground(Qt::white);
  m_painter.setPen(ToQPen(GetCurrentPen()));
  m_painter.setBrush(ToQBrush(GetCurrentBrush()));
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

void CQPainterDC::OnSelect(const CGdiObject& object) {
  if (object.GetKind() == CGdiObject::pen)
    m_painter.setPen(ToQPen(static_cast<const CPen&>(object)));
  else
    m_painter.setBrush(ToQBrush(static_cast<const CBrush&>(object)));
}

void CQPainterDC::Polyline(const POINT* points, int count) {
  if (count >= 2) m_painter.drawPolyline(ToQPolygon(points, count));
}

void CQPainterDC::Polygon(const POINT* points, int count) {
  if (count >= 2) m_painter.drawPolygon(ToQPolygon(points, count), Qt::OddEvenFill);
}

void CQPainterDC::PolyBezier(const POINT* points, int count) {
  if (count < 4 || (count - 1) % 3 != 0) return;
  QPainterPath path(QPointF(points[0].x, points[0].y));
  for (int i = 1; i + 2 < count; i += 3)
    path.cubicTo(QPointF(points[i].x, points[i].y), QPointF(points[i + 1].x, points[i + 1].y),
                 QPointF(points[i + 2].x, points[i + 2].y));
  // A curve is drawn with the pen only, whatever brush is current.
  const QBrush brush = m_painter.brush();
  m_painter.setBrush(Qt::NoBrush);
  m_painter.drawPath(path);
  m_painter.setBrush(brush);
}

void CQPainterDC::Ellipse(int left, int top, int right, int bottom) { m_painter.drawEllipse(Box(left, top, right, bottom)); }

void CQPainterDC::Rectangle(int left, int top, int right, int bottom) { m_painter.drawRect(Box(left, top, right, bottom)); }

void CQPainterDC::LineTo(int x, int y) {
  m_painter.drawLine(QPointF(m_position.x, m_position.y), QPointF(x, y));
  m_position = CPoint(x, y);
}

bool CQPainterDC::GetClipBox(int64_t& left, int64_t& top, int64_t& right, int64_t& bottom) const {
  QRectF box;
  if (m_painter.hasClipping()) {
    box = m_painter.clipBoundingRect();
  } else if (const QPaintDevice* device = m_painter.device()) {
    bool invertible = false;
    const QTransform toLogical = m_painter.transform().inverted(&invertible);
    if (!invertible) return false;
    box = toLogical.mapRect(QRectF(0, 0, device->width(), device->height()));
  } else {
    return false;
  }
  left = int64_t(std::floor(box.left())) - 1;
  top = int64_t(std::floor(box.top())) - 1;
  right = int64_t(std::ceil(box.right())) + 1;
  bottom = int64_t(std::ceil(box.bottom())) + 1;
  return true;
}

bool CQPainterDC::ReplacesPixels() const {
  // The engine, not the device: a widget may be painted through a redirection into anything.
  const QPaintEngine* engine = m_painter.paintEngine();
  return engine && engine->type() == QPaintEngine::Raster && !m_painter.testRenderHint(QPainter::Antialiasing) &&
         m_painter.compositionMode() == QPainter::CompositionMode_SourceOver && m_painter.opacity() == 1.0 &&
         m_painter.transform().type() <= QTransform::TxTranslate;
}
