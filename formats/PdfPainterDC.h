#pragma once

#include "platform/qt/CQPainterDC.h"

class QPainterPath;

// The device context of the PDF export. PDF viewers draw Qt's own hatch patterns half a pixel off,
// as two pale lines for each line; here a hatched fill is painted instead as the very pixels that
// Qt's hatch sets on the screen (8 by 8 tiles laid from the picture's origin), clipped to the
// shape, over the white of the opaque background. Everything else is CQPainterDC's.
class PdfPainterDC final : public CQPainterDC {
 public:
  using CQPainterDC::CQPainterDC;

  void Polygon(const POINT* points, int count) override;
  void Ellipse(int left, int top, int right, int bottom) override;
  void Rectangle(int left, int top, int right, int bottom) override;

 private:
  // True when the current brush is a hatch: then the inside of `shape` is painted, and the caller
  // draws the outline alone.
  bool Hatch(const QPainterPath& shape);
  template <typename Draw>
  void Outline(Draw draw);
};
