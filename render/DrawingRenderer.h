#pragma once

#include <cstdint>
#include <vector>

#include <QImage>
#include <QPoint>
#include <QSize>

class CTavlo;
class QPainter;
class QRect;

// Everything that makes a drawing quick to paint, behind one door: the kept picture of a view's
// unselected shapes, the painting of those shapes on Qt's thread pool, and the choice of the
// shapes that can show at all. What it paints is what drawing every unselected shape in stacking
// order with CTavlo::DrawShape paints; the selection is the caller's (CTavlo::DrawSelected).
class DrawingRenderer final {
 public:
  // A view's background: white and then every unselected shape, as the view scrolled to `scroll`
  // shows them, painted at the painter's origin over `size` (device-independent pixels, drawn at
  // `scale` device pixels each). The picture is kept, and made again only when another shape,
  // the list, the selection, the zoom, the scroll position, the size or the scale changes: a
  // painter clipped to a part copies that part of the same picture, so it matches the rest
  // exactly (the dashes of wide pens, which Qt lays out afresh for every clipped paint, included).
  void PaintBackground(QPainter& painter, const CTavlo& drawing, QPoint scroll, QSize size, qreal scale);

  // Every unselected shape over `image`, scrolled to `scroll` (a picture export: white first).
  static void PaintUnselected(const CTavlo& drawing, QImage& image, QPoint scroll);

  // The unselected shapes, in stacking order, that can change a pixel of `area` (zoomed pixels),
  // for a target that keeps every call it is given (a document format) rather than pixels.
  static std::vector<int> ShapesToPaint(const CTavlo& drawing, const QRect& area);

 private:
  // What the kept picture shows.
  struct Key {
    uint64_t revision = 0;
    int zoom = 0;
    QPoint scroll;
    QSize size;
    qreal scale = 0;
    friend bool operator==(const Key&, const Key&) = default;
  };
  QImage m_picture;
  Key m_key;
};
