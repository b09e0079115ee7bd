#pragma once

#include <vector>

#include <QPointF>
#include <QRectF>

class QPainter;

// Where a painter paints on a picture of Qt's raster engine (an image, a pixmap, or the window's
// picture a widget is painted into): device = unit * scale + shift. The outlines drawn in pieces
// (OnePixelOutline, WideOutline) rely on the shift being a whole number of device pixels, at which
// Qt paints the same piece the same wherever the picture lies.
struct OutlinePlacement {
  double scale = 1;
  QPointF shift;
  QRectF picture;  // device pixels
  QRectF painted;  // what of it the clip leaves

  // False for any other engine, a turned or sheared painter, or a shift of part of a pixel.
  static bool Of(const QPainter& painter, OutlinePlacement& place);
  // Whether `box` lies within `area`, edges included; a box may be a line or a point.
  static bool Within(const QRectF& box, const QRectF& area);
  // A point of the painter's units moved to the nearest 1/64 of a device pixel, which Qt takes
  // exactly and which a whole number of pixels moves exactly.
  static QPointF OnGrid(QPointF p, double scale);

  // The line from `a` to `b` (device pixels from the zoomed drawing's origin) cut at the
  // multiples of `piece` along its longer axis, each cut rounded to 1/64 of a pixel across the
  // line and the line's own ends kept: the pieces within `shows` along that axis, in the line's
  // direction. Where the cuts lie depends on the line alone, so a piece is the same piece on
  // every picture.
  struct Piece {
    QPointF from, to;
  };
  static std::vector<Piece> Pieces(QPointF a, QPointF b, const QRectF& shows, int piece);
};
