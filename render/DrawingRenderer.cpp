#include "render/DrawingRenderer.h"

#include <QPainter>
#include <QRect>

#include "model/CTavlo.h"
#include "render/BackdropPainter.h"
#include "render/PaintOrder.h"

void DrawingRenderer::PaintBackground(QPainter& painter, const CTavlo& drawing, QPoint scroll, QSize size,
                                      qreal scale) {
  const Key key{drawing.GetBackdropRevision(), drawing.GetZoom(), scroll, size, scale};
  if (m_picture.isNull() || !(key == m_key)) {
    m_picture = QImage(size * scale, QImage::Format_RGB32);
    m_picture.setDevicePixelRatio(scale);
    m_picture.fill(Qt::white);
    backdrop_painter::Paint(drawing, m_picture, scroll);
    m_key = key;
  }
  painter.drawImage(QPoint(0, 0), m_picture);
}

void DrawingRenderer::PaintUnselected(const CTavlo& drawing, QImage& image, QPoint scroll) {
  backdrop_painter::Paint(drawing, image, scroll);
}

std::vector<int> DrawingRenderer::ShapesToPaint(const CTavlo& drawing, const QRect& area) {
  return paint_order::ShapesToPaint(drawing, {area.left(), area.top(), area.right(), area.bottom()}, false);
}
