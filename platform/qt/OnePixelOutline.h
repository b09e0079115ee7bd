#pragma once

#include <functional>
#include <memory>

#include <QImage>
#include <QPainter>
#include <QPolygonF>
#include <QRectF>

// Outlines drawn with a one-pixel pen by Qt's raster engine (pictures in memory, and widgets
// through their window's picture), with pixels that do not depend on where the picture's edges
// lie: the kept tiles of a view, the view itself and the picture of the whole drawing show the
// same dashes and the same lines.
//
// Qt's raster engine cuts a one-pixel line where it leaves the picture by more than a pixel: the
// cut point is rounded, so the line may run a pixel off from there on, and the dashes start afresh
// at the cut. So:
// - a small outline (up to kSmall device pixels a side) is drawn by Qt whole; where the picture's
//   edge would cut it, on a picture of its own that holds it all, whose pixels are then laid over
//   the target;
// - a larger one is drawn line by line, a line longer than kPiece device pixels in pieces cut at
//   the multiples of kPiece of the zoomed drawing (the cut points rounded to 1/64 pixel, which Qt
//   takes exactly), each piece on its own with the dash offset that runs the pattern on from the
//   outline's first point, and a piece the edge would cut on a picture of its own again. Only the
//   pieces that reach the painted part of the picture are drawn.
// Every piece is the same wherever the picture lies, and Qt paints the same piece the same at any
// whole number of device pixels from another.
class OnePixelOutline {
 public:
  static constexpr int kSmall = 448;
  static constexpr int kPiece = 256;

  enum class Way { qt, ownPicture, pieces };
  // How an outline within `box` (the painter's units) is drawn with the painter's pen: by Qt
  // directly, whole on a picture of its own, or in pieces. Only pens one pixel wide painted by the
  // raster engine, unturned, at a whole number of device pixels from the picture's origin, go any
  // other way than Qt's.
  static Way Choose(const QPainter& painter, const QRectF& box);

  // Draws what `draw` draws (the outline alone, with the painter's pen and background, or with
  // `inside` its brush as well, laid from the painter's brush origin) on a picture of its own and
  // lays it over the painter's picture. Any pen, on the raster engine.
  void OnOwnPicture(QPainter& painter, const QRectF& box, const std::function<void(QPainter&)>& draw,
                    bool inside = false);
  // Draws the lines from point to point (and back to the first when `closed`) in pieces. Points
  // should lie on 1/64 of a device pixel.
  void InPieces(QPainter& painter, const QPolygonF& points, bool closed);

  // Curves as lines for InPieces: chords of about 8 device pixels, their ends on 1/64 of a device
  // pixel. The cubic Bezier curves from points[0] through each three points after it, and the
  // ellipse inscribed in `box`.
  static QPolygonF Curves(const QPainter& painter, const QPolygonF& points);
  static QPolygonF EllipseLines(const QPainter& painter, const QRectF& box);

 private:
  QImage m_own;
  std::unique_ptr<QPainter> m_ownPainter;  // on m_own, ended before it goes
};
