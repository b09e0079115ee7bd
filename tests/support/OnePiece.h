// The oracle of the fast painters' tests and of the paint fuzzer.
#pragma once

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include "model/CTavlo.h"
#include "render/DrawingRenderer.h"

// The drawing's unselected shapes painted in one piece from its origin, white first, as the
// picture export paints them, and the part of it a view of `size` scrolled to `scroll` shows, at
// `scale` device pixels to the pixel.
inline QImage OnePiece(const CTavlo& drawing, QPoint scroll, QSize size, qreal scale) {
  QImage whole(QSize(scroll.x() + size.width(), scroll.y() + size.height()) * scale, QImage::Format_RGB32);
  whole.setDevicePixelRatio(scale);
  whole.fill(Qt::white);
  DrawingRenderer::PaintUnselected(drawing, whole, QPoint(0, 0));
  QImage part = whole.copy(QRect(scroll * scale, size * scale));
  part.setDevicePixelRatio(scale);
  return part;
}
