#pragma once

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
};
