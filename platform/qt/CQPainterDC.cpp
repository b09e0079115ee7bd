#include "platform/qt/CQPainterDC.h"

#include <algorithm>

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygon>
#include <QTransform>

#include "platform/qt/HatchTile.h"
#include "platform/qt/WideOutline.h"

namespace {

QColor ToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }

int PenWidth(const CPen& pen) { return std::clamp(pen.width, 1, 255); }

// At ratio 1 a pen of odd width lies to the right of and below the points it joins, its middle
// half a pixel from them, and so does the same pen enlarged. A pen of several device pixels lies
// evenly about its points: on a scaled screen its shapes are moved half a pixel, and their insides
// with them, under the pen. A pen of one device pixel keeps the raster engine's own rounding.
qreal Shift(const CPen& pen, const QPen& drawn, qreal ratio) {
  return ratio != 1 && drawn.style() != Qt::NoPen && PenWidth(pen) % 2 == 1 && drawn.width() > 1 ? 0.5 : 0;
}

}  // namespace

int CQPainterDC::DeviceWidth(int width, qreal ratio) { return std::max(1, int(std::lround(width * ratio))); }

hatch_tile::Blocks CQPainterDC::HatchBlocks(qreal ratio) {
  const int side = DeviceWidth(1, ratio);
  return {side, std::max(2, int(std::lround(hatch_tile::kSize * ratio / side)))};
}

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
  Shifted([&] {
    bool wide = false;
    OnePixelOutline::Way way = OnePixelOutline::Choose(painter, box);
    if (way == OnePixelOutline::Way::qt) way = WideOutline::Choose(painter, box), wide = true;
    if (way == OnePixelOutline::Way::qt) return draw(painter);
    if (filled && painter.brush().style() != Qt::NoBrush) {
      // The inside alone first, as Qt paints it before the outline.
      const QPen outline = painter.pen();
      painter.setPen(Qt::NoPen);
      draw(painter);
      painter.setPen(outline);
    }
    if (way == OnePixelOutline::Way::ownPicture)
      m_outline.OnOwnPicture(painter, box, draw);
    else if (wide)
      WideOutline::InPieces(painter, m_outline, lines(), filled);
    else
      m_outline.InPieces(painter, lines(), filled);
  });
}

template <typename Draw>
void CQPainterDC::Shifted(Draw draw) {
  if (m_shift == 0) return draw();
  // The hatches stay laid from the picture's origin.
  const QPointF origin = m_painter.brushOrigin();
  m_painter.translate(m_shift, m_shift);
  m_painter.setBrushOrigin(origin - QPointF(m_shift, m_shift));
  draw();
  m_painter.setBrushOrigin(origin);
  m_painter.translate(-m_shift, -m_shift);
}

CQPainterDC::CQPainterDC(QPainter& painter)
    : m_painter(painter), m_ratio(painter.device() ? painter.device()->devicePixelRatio() : 1) {
  m_painter.setRenderHint(QPainter::Antialiasing, false);
  m_painter.setBackgroundMode(Qt::OpaqueMode);
  m_painter.setBackground(Qt::white);
  const CPen& pen = GetCurrentPen();
  const CBrush& brush = GetCurrentBrush();
  m_pen = {pen.style, pen.width, pen.color};
  m_brush = {brush.fill, brush.hatch, brush.color};
  m_painter.setPen(ToQPen(pen, m_ratio));
  m_painter.setBrush(ToQBrush(brush, m_ratio));
  m_shift = Shift(pen, m_painter.pen(), m_ratio);
}

QPainter& CQPainterDC::Painter() {
  if (!m_stale) return m_painter;
  m_stale = false;
  const CPen& pen = GetCurrentPen();
  const CBrush& brush = GetCurrentBrush();
  const Pen p{pen.style, pen.width, pen.color};
  const Brush b{brush.fill, brush.hatch, brush.color};
  if (!(p == m_pen)) {
    m_painter.setPen(ToQPen(pen, m_ratio));
    m_shift = Shift(pen, m_painter.pen(), m_ratio);
    m_pen = p;
  }
  if (!(b == m_brush)) m_painter.setBrush(ToQBrush(brush, m_ratio)), m_brush = b;
  return m_painter;
}

QPen CQPainterDC::ToQPen(const CPen& pen, qreal ratio) {
  static const Qt::PenStyle kStyles[] = {Qt::SolidLine,   Qt::DashLine,       Qt::DotLine,
                                         Qt::DashDotLine, Qt::DashDotDotLine, Qt::NoPen};
  const int width = PenWidth(pen), device = DeviceWidth(width, ratio);
  QPen q(ToQColor(pen.color), device, kStyles[std::clamp(pen.style, 0, 5)], Qt::RoundCap, Qt::RoundJoin);
  q.setCosmetic(true);
  if (width == 1 && device > 1) {
    // A pen of one device pixel ends on the last pixel and its dashes are whole pixels, without
    // caps. Square caps reach half the width beyond each end and each dash of the wider pen, so
    // its dashes are a width shorter (all but a sliver: a dash of no length is not drawn).
    constexpr qreal kSliver = 1.0 / 64;
    q.setCapStyle(Qt::SquareCap);
    if (q.style() != Qt::SolidLine && q.style() != Qt::NoPen) {
      QList<qreal> pattern = q.dashPattern();
      for (qsizetype i = 0; i < pattern.size(); ++i) pattern[i] += i % 2 == 0 ? kSliver - 1 : 1 - kSliver;
      q.setDashPattern(pattern);
    }
  }
  return q;
}

QBrush CQPainterDC::ToQBrush(const CBrush& brush, qreal ratio) {
  static const Qt::BrushStyle kHatches[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
  const int hatch = std::clamp(brush.hatch, 0, 5);
  switch (brush.fill) {
    case CBrush::hollow: return QBrush(Qt::NoBrush);
    case CBrush::hatched: {
      if (ratio == 1) return QBrush(ToQColor(brush.color), kHatches[hatch]);
      // Qt lays its hatches in device pixels: a tile of blocks instead, its gaps white as the
      // opaque background paints them, one tile pixel to a device pixel.
      const hatch_tile::Blocks blocks = HatchBlocks(ratio);
      const int side = blocks.side * blocks.count;
      const QRgb ink = ToQColor(brush.color).rgb(), white = qRgb(255, 255, 255);
      QImage tile(side, side, QImage::Format_RGB32);
      for (int y = 0; y < side; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(tile.scanLine(y));
        for (int x = 0; x < side; ++x) line[x] = hatch_tile::Sets(hatch, x, y, blocks) ? ink : white;
      }
      QBrush q(tile);
      q.setTransform(QTransform::fromScale(1 / ratio, 1 / ratio));
      return q;
    }
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

bool CQPainterDC::Closing(const QPainter& painter, const QRectF& box) {
  const double pen = painter.pen().widthF(), scale = painter.deviceTransform().m11();
  return painter.pen().style() != Qt::NoPen && pen >= 3 && std::min(box.width(), box.height()) * scale < 2 * pen &&
         std::max(box.width(), box.height()) * scale <= WideOutline::kPlaceFree;
}

bool CQPainterDC::ClosingOnOwnPicture(const QPainter& painter, const QRectF& box) {
  return Closing(painter, box) && painter.deviceTransform().type() <= QTransform::TxTranslate;
}

void CQPainterDC::Ellipse(int left, int top, int right, int bottom) {
  const QRectF box = Box(left, top, right, bottom);
  QPainter& painter = Painter();
  // Qt works out an ellipse's curves with numbers whose rounding changes from one power of two of
  // the coordinates to the next: on a picture of whole device pixels to the pixel an ellipse is
  // drawn from its own corner, so that its curves are the same wherever it lies.
  const double scale = painter.deviceTransform().m11();
  const QPointF corner = scale == std::round(scale) ? box.topLeft() : QPointF(0, 0);
  const QRectF own = box.translated(-corner);
  auto draw = [&](QPainter& p) { p.drawEllipse(own); };
  const QPointF origin = painter.brushOrigin();
  painter.translate(corner);
  painter.setBrushOrigin(origin - corner);
  // A small one under a pen that nearly closes it is also laid on the picture differently from
  // one such power to the next: where it can be, it is drawn whole, inside and pen, on a picture
  // of its own.
  if (ClosingOnOwnPicture(painter, box))
    Shifted([&] { m_outline.OnOwnPicture(painter, own, draw, true); });
  else
    Outline(own, true, draw, [&] { return OnePixelOutline::EllipseLines(m_painter, own); });
  painter.setBrushOrigin(origin);
  painter.translate(-corner);
}

void CQPainterDC::Rectangle(int left, int top, int right, int bottom) {
  QPainter& painter = Painter();
  Shifted([&] { painter.drawRect(Box(left, top, right, bottom)); });
}

void CQPainterDC::LineTo(int x, int y) {
  QPainter& painter = Painter();
  Shifted([&] { painter.drawLine(QPointF(m_position.x, m_position.y), QPointF(x, y)); });
  m_position = CPoint(x, y);
}
