// On a scaled screen the view shows the picture a screen of one device pixel to the pixel shows,
// enlarged: pens, dashes, hatches and handles grow with the screen's pixel ratio.
#include <gtest/gtest.h>

#include <QPainter>
#include <cmath>
#include <random>

#include "render/DrawingRenderer.h"
#include "tests/support/RandomShapes.h"
#include "tests/view/ViewFixture.h"

namespace {

class ScaledView : public viewtest::ViewTest {};

// What the view shows at one device pixel to the pixel: the background and the selection over it,
// as the view paints them.
QImage PictureOfRatioOne(const CTavlo& drawing, QPoint scroll, QSize size) {
  QImage picture(size, QImage::Format_RGB32);
  QPainter painter(&picture);
  DrawingRenderer renderer;
  renderer.PaintBackground(painter, drawing, scroll, size, 1);
  painter.translate(-scroll);
  CQPainterDC dc(painter);
  drawing.DrawSelected(dc);
  return picture;
}

// The share of the pixels of `shown` that are those of `picture` enlarged `ratio` times, each
// pixel a square of ratio x ratio.
double ShareEnlarged(const QImage& shown, const QImage& picture, int ratio) {
  int same = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x) same += shown.pixel(x, y) == picture.pixel(x / ratio, y / ratio);
  return double(same) / (shown.width() * shown.height());
}

TEST_F(ScaledView, AtAWholeRatioTheViewShowsThePictureOfRatioOneEnlarged) {
  const qreal ratio = vp()->devicePixelRatioF();
  if (ratio != std::round(ratio)) GTEST_SKIP() << "only a whole ratio enlarges pixel for pixel";
  std::mt19937 rng(16);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  view.resize(500, 400);
  ASSERT_TRUE(QTest::qWaitFor([&] { return vp()->width() > 400; }));
  const int zooms[] = {50, 100, 200, 300};
  for (int round = 0; round < 6; ++round) {
    // Drawings of every kind, pen and fill, with a selection, in rotate mode or not.
    doc.OnNewDocument();
    view.OnInitialUpdate();
    CTavlo& drawing = doc.GetDrawing();
    for (int n = 20 + pick(30); n > 0; --n) drawing.AddShape(random_shapes::RandomShape(rng));
    drawing.SetSelected(pick(drawing.GetUpperBound() + 1));
    if (round % 2) router.Run(ID_EDIT_ROTATE);
    SetZoom(zooms[pick(4)]);
    view.ScrollToPosition(CPoint(pick(200), pick(200)));
    const CPoint scroll = view.GetScrollPosition();
    const QImage shown = view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), vp()->size() * ratio);
    const QImage picture = PictureOfRatioOne(drawing, viewtest::Q(scroll), vp()->size());
    EXPECT_GE(ShareEnlarged(shown, picture, int(ratio)), 0.95)
        << "round " << round << ", ratio " << ratio << ", zoom " << drawing.GetZoom();
  }
}

}  // namespace
