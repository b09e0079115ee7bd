#pragma once

#include <QBrush>
#include <QPen>
#include <QPolygon>
#include <QRectF>

#include "platform/core/CDC.h"

class QPainter;

// A device context over a QPainter on any paint device (widget, QImage, SVG generator, printer).
// The painter is set to opaque white background mode, no antialiasing; it is not restored when the
// context ends. Pen widths below 1 draw 1 pixel; widths above 255 draw 255.
class CQPainterDC : public CDC {
 public:
  explicit CQPainterDC(QPainter& painter);

  void Polyline(const POINT* points, int count) override;
  void Polygon(const POINT* points, int count) override;
  void PolyBezier(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void LineTo(int x, int y) override;

  static QPen ToQPen(const CPen& pen);
  static QBrush ToQBrush(const CBrush& brush);

 protected:
  void OnSelect(const CGdiObject& object) override;
  QPainter& Painter() { return m_painter; }
  static QPolygon ToQPolygon(const POINT* points, int count);
  // The box from one corner to the other, both included. Doubles: the corners may lie anywhere
  // in the 32-bit range, where their difference does not fit an int.
  static QRectF Box(int left, int top, int right, int bottom);

 private:
  QPainter& m_painter;
};
