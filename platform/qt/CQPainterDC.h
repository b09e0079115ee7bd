#pragma once

#include <QBrush>
#include <QPen>
#include <QPolygon>
#include <QRectF>

#include "platform/core/CDC.h"
#include "platform/qt/HatchTile.h"
#include "platform/qt/OnePixelOutline.h"

class QPainter;

// A device context over a QPainter on any paint device (widget, QImage, SVG generator, printer).
// The painter is set to opaque white background mode, no antialiasing; it is not restored when the
// context ends. Pen widths below 1 draw 1 pixel; widths above 255 draw 255. On a picture in
// memory, outlines do not depend on where the picture's edges lie (see OnePixelOutline and
// WideOutline).
//
// On a device of r device pixels to the pixel (a scaled screen, a QImage given that ratio) it
// paints the picture of ratio 1 enlarged r times, unsmoothed: a pen w pixels wide is the whole
// number of device pixels nearest w * r wide, its dashes as long as the width makes them, and a
// hatch is laid in blocks of device pixels as wide as a pen one pixel wide (see hatch_tile). At a
// whole r most pixels are those of the picture of ratio 1 enlarged; ellipses, curves and slanted
// lines are drawn at the device's own resolution.
class CQPainterDC : public CDC {
 public:
  explicit CQPainterDC(QPainter& painter);

  void Polyline(const POINT* points, int count) override;
  void Polygon(const POINT* points, int count) override;
  void PolyBezier(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void LineTo(int x, int y) override;

  // The pen and brush drawn at `ratio` device pixels to the pixel.
  static QPen ToQPen(const CPen& pen, qreal ratio = 1);
  static QBrush ToQBrush(const CBrush& brush, qreal ratio = 1);
  // The device pixels a pen `width` pixels wide covers across at `ratio`, and the blocks of the
  // hatches there.
  static int DeviceWidth(int width, qreal ratio);
  static hatch_tile::Blocks HatchBlocks(qreal ratio);
  // Whether a small ellipse over `box` (the painter's units; up to WideOutline::kPlaceFree device
  // pixels a side) lies under a pen that nearly closes it: one at least 3 device pixels wide, more
  // than half the ellipse's smaller side. Qt's pixels for such an ellipse change from one power of
  // two of the picture's coordinates to the next, and it is drawn on a picture of its own where it
  // can be (see Ellipse).
  static bool Closing(const QPainter& painter, const QRectF& box);
  // Whether Ellipse draws such an ellipse over `box` whole on a picture of its own: on a picture
  // of one device pixel to the pixel, where its hatch lies there as on the painter's. Elsewhere Qt
  // draws it, with pixels that depend on where it lies.
  static bool ClosingOnOwnPicture(const QPainter& painter, const QRectF& box);

 protected:
  void OnSelect(const CGdiObject& object) override;
  // The painter with the current pen and brush. Selecting only marks them for the painter: they
  // reach it before the next drawing, and then only when they differ from what it has. A shape's
  // own pen and brush are selected and then the ones before again, so most of those selections
  // never cost the painter anything, and shapes of the same pen and brush share them.
  QPainter& Painter();
  static QPolygon ToQPolygon(const POINT* points, int count);
  // The box from one corner to the other, both included. Doubles: the corners may lie anywhere
  // in the 32-bit range, where their difference does not fit an int.
  static QRectF Box(int left, int top, int right, int bottom);
  // The box of the points, in doubles for the same reason.
  static QRectF Bound(const POINT* points, int count);
  // A shape within `box`, its inside too when `filled`: `draw` draws it whole on a painter as Qt
  // does, `lines` gives its outline as lines (closed when filled) for drawing it in pieces (see
  // OnePixelOutline and WideOutline).
  template <typename Draw, typename Lines>
  void Outline(const QRectF& box, bool filled, Draw draw, Lines lines);
  // Draws with the painter moved by the current pen's shift (see Painter).
  template <typename Draw>
  void Shifted(Draw draw);

 private:
  struct Pen {
    int style, width;
    COLORREF color;
    friend bool operator==(const Pen&, const Pen&) = default;
  };
  struct Brush {
    CBrush::Fill fill;
    int hatch;
    COLORREF color;
    friend bool operator==(const Brush&, const Brush&) = default;
  };
  QPainter& m_painter;
  qreal m_ratio;
  // Pixels of the picture (0 or 0.5) the current pen's shapes are moved by.
  qreal m_shift = 0;
  Pen m_pen;
  Brush m_brush;
  bool m_stale = false;
  OnePixelOutline m_outline;
};
