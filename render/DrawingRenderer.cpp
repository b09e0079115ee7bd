#include "render/DrawingRenderer.h"

#include <QPainter>
#include <QRect>

#include "model/CTavlo.h"
#include "render/BackdropPainter.h"
#include "render/PaintOrder.h"

void DrawingRenderer::PaintBackground(QPainter& painter, const CTavlo& drawing, QPoint scroll, QSize size,
                                      qreal scale) {
  m_tiles.Paint(
      painter, drawing, [&]() -> const ShapeIndex& { return Index(drawing); }, QRect(scroll, size), scale);
}

const ShapeIndex& DrawingRenderer::Index(const CTavlo& drawing) {
  if (m_indexRevision != drawing.GetListRevision()) {
    std::vector<ListChanges::Change> changes;
    // A first index, or one of another drawing, is built: the log knows no such revision.
    if (!drawing.GetListChangesSince(m_indexRevision, changes) || !m_index.Follow(changes, drawing.GetShapes()))
      m_index.Build(drawing.GetShapes());
    m_indexRevision = drawing.GetListRevision();
  }
  return m_index;
}

bool DrawingRenderer::FindShapeAt(const CTavlo& drawing, int x, int y, int& index, int& kind, int& part) {
  CPoint test(x, y);
  drawing.ZoomPoint(test);
  // HitTest looks no further than the tolerance and one pixel beyond a shape's points.
  const std::vector<int> near =
      Index(drawing).Find({test.x, test.y, test.x, test.y}, drawing.GetZoom(), drawing.GetTolerance() + 1);
  return drawing.FindShapeAmong(x, y, near, index, kind, part);
}

void DrawingRenderer::PaintUnselected(const CTavlo& drawing, QImage& image, QPoint scroll) {
  backdrop_painter::Paint(drawing, drawing.GetZoom(), drawing.GetSelected(), false, image, scroll);
}

void DrawingRenderer::PaintPicture(const CTavlo& drawing, const Picture& picture, QImage& image) {
  backdrop_painter::Paint(drawing, picture.zoom, -1, picture.thinPens, image, QPoint(0, 0));
}

std::vector<int> DrawingRenderer::ShapesToPaint(const CTavlo& drawing, int zoom, const QRect& area) {
  return paint_order::ShapesReaching(drawing, zoom, -1, {area.left(), area.top(), area.right(), area.bottom()});
}
