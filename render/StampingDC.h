#pragma once

#include <QPoint>
#include <QRect>

#include "platform/qt/CQPainterDC.h"
#include "render/ShapeStamps.h"

class QImage;

// The device context of the fast painters: a CQPainterDC over a painter on `image` (one pixel per
// unit, moved by `offset` and clipped to `clip`, both in pixels of the picture: its device pixels
// over its pixel ratio) that sets the pixels of a small shape itself, inside and pen, from
// `stamps`. What reaches the image is what CQPainterDC paints: the stamps are the pixels Qt's fill
// and stroke set for that form, a hatch is laid from the painter's origin as Qt lays it, and gaps
// are white. Shapes that are not small, and shapes that come near the image's edge (where Qt cuts
// them with roundings of its own) go to Qt whole, and so do the few whose pixels depend on where
// on the picture they lie (see Stamp), and every shape on a picture of a ratio other than 1 or 2.
class StampingDC final : public CQPainterDC {
 public:
  StampingDC(QPainter& painter, QImage& image, QPoint offset, ShapeStamps& stamps);
  // Where the painter is clipped to now, in pixels of the picture.
  void SetClip(const QRect& clip) { m_clip = clip; }

  void Polyline(const POINT* points, int count) override;
  void Polygon(const POINT* points, int count) override;
  void PolyBezier(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;

 private:
  // Sets the pixels `primitive` paints with the current pen and brush and returns true, or
  // returns false for Qt to draw it.
  bool Stamp(ShapeStamps::Primitive primitive, const POINT* points, int count);

  QImage& m_image;
  QPoint m_offset;
  QRect m_clip;
  ShapeStamps& m_stamps;
  int m_ratio;  // of the image: 1, 2, or 0 for any other, where nothing is stamped
};
