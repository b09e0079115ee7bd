// The kept picture, brought up to date step by step, must equal one painted afresh.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "model/CTavlo.h"
#include "render/DrawingRenderer.h"
#include "tests/support/RandomShapes.h"

namespace {

QImage Background(DrawingRenderer& renderer, const CTavlo& drawing, QPoint scroll, qreal scale) {
  QImage image(QSize(500, 400) * scale, QImage::Format_RGB32);
  image.setDevicePixelRatio(scale);
  image.fill(Qt::black);
  QPainter painter(&image);
  renderer.PaintBackground(painter, drawing, scroll, QSize(500, 400), scale);
  return image;
}

}  // namespace

TEST(KeptTiles, KeptAtEitherPixelRatioEqualsPaintedAfresh) {
  // Enough small shapes for the squares to be painted as runs side by side, scrolled in strips
  // and jumps across squares, zoomed and changed, at one and two device pixels a pixel.
  std::mt19937 rng(3);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (const qreal scale : {2.0, 1.0}) {
    CTavlo drawing;
    for (int i = 0; i < 3000; ++i)
      drawing.AddShape(i % 400 == 0 ? random_shapes::RandomShape(rng) : random_shapes::SmallShape(rng, 1100, 900, 14));
    drawing.ClearSelection();
    DrawingRenderer kept;
    QPoint scroll(700, 800);
    for (int step = 0; step < 16; ++step) {
      switch (pick(5)) {
        case 0: scroll += QPoint(pick(81) - 40, pick(81) - 40); break;
        case 1: scroll = QPoint(pick(1200), pick(1000)); break;
        case 2: drawing.SetZoom(50 + 50 * pick(4)); break;
        case 3: drawing.SetSelected(pick(drawing.GetUpperBound() + 1)); break;
        default: {
          const int i = pick(drawing.GetUpperBound() + 1);
          CShape s = drawing.GetShapes()[i];
          s.SetPoint(0, s.GetPoint(0).x + pick(41) - 20, s.GetPoint(0).y + pick(41) - 20);
          drawing.SetShape(s, i);
        }
      }
      DrawingRenderer fresh;
      ASSERT_TRUE(Background(kept, drawing, scroll, scale) == Background(fresh, drawing, scroll, scale))
          << "scale " << scale << ", step " << step << ", zoom " << drawing.GetZoom();
    }
  }
}
