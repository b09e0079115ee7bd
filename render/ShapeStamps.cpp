#include "render/ShapeStamps.h"

#include <algorithm>

#include <QImage>
#include <QPainter>

#include "platform/qt/CQPainterDC.h"

namespace {

constexpr QRgb kPenMark = 0xFFFF0000, kGapMark = 0xFF0000FF, kInsideMark = 0xFF00FF00;

void Draw(CDC& dc, ShapeStamps::Primitive primitive, const POINT* points, int count) {
  switch (primitive) {
    case ShapeStamps::polyline: dc.Polyline(points, count); break;
    case ShapeStamps::polygon: dc.Polygon(points, count); break;
    case ShapeStamps::bezier: dc.PolyBezier(points, count); break;
    case ShapeStamps::ellipse: dc.Ellipse(points[0].x, points[0].y, points[1].x, points[1].y); break;
  }
}

}  // namespace

ShapeStamps::Easel::Easel()
    : picture(kEaselSide, kEaselSide, QImage::Format_ARGB32_Premultiplied), painter(&picture), dc(painter) {
  painter.setBackground(QColor::fromRgb(kGapMark));
}

size_t ShapeStamps::Hash::operator()(const Key& k) const {
  size_t h =
      k.primitive * 131 + k.style * 31 + k.width * 7 + k.count + (size_t(k.xBits) << 8) + (size_t(k.yBits) << 16);
  for (int i = 0; i < 2 * k.count; ++i) h = h * 1000003 ^ size_t(uint16_t(k.xy[i]));
  return h;
}

const std::vector<ShapeStamps::Run>& ShapeStamps::Of(Primitive primitive, const POINT* points, int count,
                                                     const CPen& pen, Place place) {
  Key key{primitive, uint8_t(pen.style), uint8_t(pen.width), uint8_t(count), place.xBits, place.yBits, {}};
  for (int i = 0; i < count; ++i) key.xy[2 * i] = int16_t(points[i].x), key.xy[2 * i + 1] = int16_t(points[i].y);
  if (const auto it = m_forms.find(key); it != m_forms.end()) return it->second;
  if (m_forms.size() >= kMostForms) m_forms.clear();

  // Painted as the shape itself would be, pen and background in colours of their own, with room
  // for the pen all round.
  int right = 0, bottom = 0;
  for (int i = 0; i < count; ++i)
    right = std::max(right, int(points[i].x)), bottom = std::max(bottom, int(points[i].y));
  // A form of a place is painted at the start of that place, as far in as the place asks.
  const int room = pen.width + 2;
  const int x0 = place.xBits ? (1 << place.xBits) + kPlaceMargin : room;
  const int y0 = place.yBits ? (1 << place.yBits) + kPlaceMargin : room;
  const QRect used(x0 - room, y0 - room, right + 1 + 2 * room, bottom + 1 + 2 * room);
  if (!m_easel) m_easel = std::make_unique<Easel>();
  QPainter& painter = m_easel->painter;
  CQPainterDC& dc = m_easel->dc;
  painter.setCompositionMode(QPainter::CompositionMode_Source);
  painter.fillRect(used, Qt::transparent);
  painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter.translate(x0, y0);
  // The inside first, as Qt fills before it strokes; then the pen over it.
  if (primitive == polygon || primitive == ellipse) {
    CPen none;
    CBrush inside;
    dc.CreatePen(none, PS_NULL, 1, 0);
    dc.CreateSolidBrush(inside, RGB(0, 255, 0));
    CPen* oldPen = dc.SelectObject(&none);
    CBrush* oldBrush = dc.SelectObject(&inside);
    Draw(dc, primitive, points, count);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
    dc.DeleteObject(none);
    dc.DeleteObject(inside);
  }
  if (pen.style != PS_NULL) {
    CPen marked;
    dc.CreatePen(marked, pen.style, pen.width, RGB(255, 0, 0));
    CPen* oldPen = dc.SelectObject(&marked);
    CGdiObject* oldBrush = dc.SelectStockObject(NULL_BRUSH);
    Draw(dc, primitive, points, count);
    dc.SelectObject(oldPen);
    dc.SelectGdiObject(oldBrush);
    dc.DeleteObject(marked);
  }
  painter.translate(-x0, -y0);
  const QImage& picture = m_easel->picture;
  std::vector<Run>& runs = m_forms[key];
  for (int y = used.top(); y <= used.bottom(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = used.left(); x <= used.right(); ++x) {
      const QRgb mark = row[x];
      if (mark != kPenMark && mark != kGapMark && mark != kInsideMark) continue;
      const Part part = mark == kPenMark ? ink : mark == kGapMark ? gap : inside;
      if (x > used.left() && row[x - 1] == mark && runs.back().length < 255)
        ++runs.back().length;
      else
        runs.push_back({int16_t(x - x0), int16_t(y - y0), 1, part});
    }
  }
  return runs;
}
