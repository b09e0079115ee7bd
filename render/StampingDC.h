#pragma once

#include <QPoint>
#include <QRect>

#include "platform/qt/CQPainterDC.h"
#include "render/PenStamps.h"

class QImage;

// The device context of the fast painters: a CQPainterDC over a painter on `image` (one pixel per
// unit, moved by `offset` and clipped to `clip`, both in the image's pixels) that sets the pixels
// of a small shape's wide or dashed pen itself, from `stamps`, after Qt has filled the inside.
// What reaches the image is what CQPainterDC paints: Qt fills and strokes one after the other, and
// the stamps are the pixels its stroke sets for that form. Rectangles, shapes that are not small,
// and shapes that come near the image's edge (where Qt cuts them with roundings of its own) go to
// Qt whole.
class StampingDC final : public CQPainterDC {
 public:
  StampingDC(QPainter& painter, QImage& image, QPoint offset, PenStamps& stamps);
  // Where the painter is clipped to now, in the image's pixels.
  void SetClip(const QRect& clip) { m_clip = clip; }

  void Polyline(const POINT* points, int count) override;
  void Polygon(const POINT* points, int count) override;
  void PolyBezier(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;

 private:
  // Stamps the pen of `primitive` and returns true, or returns false for Qt to draw it all.
  // `fills`: the primitive also fills with the current brush, which Qt does first.
  bool Stamp(PenStamps::Primitive primitive, const POINT* points, int count, bool fills);

  QImage& m_image;
  QPoint m_offset;
  QRect m_clip;
  PenStamps& m_stamps;
};
