#pragma once

#include <cstdint>
#include <vector>

#include <QSize>

#include "render/KeptTiles.h"
#include "render/ShapeIndex.h"

class CTavlo;
class QImage;
class QPainter;
class QPoint;
class QRect;

// Everything that makes a drawing quick to paint and to search, behind one door: the kept picture
// of a view's unselected shapes, the painting of those shapes on Qt's thread pool, the spatial
// index of the shapes and the choice of the shapes that can show at all. What it paints is what
// drawing every unselected shape in stacking order with CTavlo::DrawShape paints; the selection is
// the caller's (CTavlo::DrawSelected).
class DrawingRenderer final {
 public:
  // A view's background: white and then every unselected shape, as the view scrolled to `scroll`
  // shows them, painted at the painter's origin over `size` (device-independent pixels, drawn at
  // `scale` device pixels each). The picture is kept in tiles (see KeptTiles): a change of the
  // drawing paints again only where it touched, a scroll only the strips that come into view, a
  // zoom all that is in view, split over the cores.
  void PaintBackground(QPainter& painter, const CTavlo& drawing, QPoint scroll, QSize size, qreal scale);

  // CTavlo::FindShapeAt, asking only the shapes the index finds near the point.
  bool FindShapeAt(const CTavlo& drawing, int x, int y, int& index, int& kind, int& part);

  // Every unselected shape over `image`, scrolled to `scroll`, as a view shows them.
  static void PaintUnselected(const CTavlo& drawing, QImage& image, QPoint scroll);

  // How a picture of a drawing shows it, whatever the drawing's own zoom and selection: every
  // shape at `zoom`, and, on a picture scaled down, every pen one pixel wide and solid.
  struct Picture {
    int zoom = 100;
    bool thinPens = false;
  };
  // Every shape over `image` from the drawing's origin (a picture export: white first).
  static void PaintPicture(const CTavlo& drawing, const Picture& picture, QImage& image);

  // Every shape, in stacking order, that can change a pixel of `area` (zoomed pixels) at `zoom`,
  // for a target that keeps every call it is given (a document format) rather than pixels.
  static std::vector<int> ShapesToPaint(const CTavlo& drawing, int zoom, const QRect& area);

  // The index of the drawing's current list, built again when the list changed.
  const ShapeIndex& Index(const CTavlo& drawing);

 private:
  KeptTiles m_tiles;
  ShapeIndex m_index;
  uint64_t m_indexRevision = 0;
};
