#pragma once

#include <QPolygonF>
#include <QRectF>

#include "platform/qt/OnePixelOutline.h"

class QPainter;

// Outlines drawn with a pen wider than one device pixel by Qt's raster engine, with pixels that do
// not depend on where the picture's edges lie, as OnePixelOutline does for the thinnest pen.
//
// Qt lays the dashes of such a pen afresh where the picture's edge cuts the outline, and it cuts
// an outline that reaches beyond the range it rasterizes (about 2^23 device pixels) where the
// picture's position puts that range. So:
// - a small dashed outline (up to OnePixelOutline::kSmall device pixels a side) is drawn by Qt
//   whole, on a picture of its own where the picture's edge would cut it, and always when it is up
//   to kPlaceFree a side;
// - a larger dashed one, and any outline reaching beyond kFar device pixels from the zoomed
//   drawing's origin, is drawn from its lines. They are cut at the multiples of
//   OnePixelOutline::kPiece along their longer axis, as OnePixelOutline cuts them; the dashes are
//   laid along them from the outline's first point by this class; and only the pieces that reach
//   the painted part of the picture are drawn, every dash across them as one line with the pen's
//   caps and joins, on a picture of its own. Solid outlines within kFar stay Qt's own.
class WideOutline {
 public:
  static constexpr double kFar = 1 << 22;
  // Dashed outlines up to this many device pixels a side are drawn on a picture of their own
  // wherever they lie. Qt's rounding of their dashes changes from one power of two of the
  // picture's coordinates to the next, so the same outline moved by whole pixels could show
  // other pixels; on its own picture it has the same small coordinates everywhere, and a painter
  // that keeps the pixels of small shapes by their form may lay them anywhere.
  static constexpr double kPlaceFree = 96;

  // How an outline within `box` (the painter's units) is drawn with the painter's pen. Pens one
  // pixel wide, and any painter that OnePixelOutline would not take either, are Qt's.
  static OnePixelOutline::Way Choose(const QPainter& painter, const QRectF& box);
  // Draws the lines from point to point (and back to the first when `closed`) in pieces, each
  // dash through `own`'s picture.
  static void InPieces(QPainter& painter, OnePixelOutline& own, const QPolygonF& points, bool closed);
};
