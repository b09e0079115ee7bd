// The view paints its unselected shapes from a kept picture and the selection over it: what it
// shows, whole or a part at a time, must be what drawing every shape every time paints.
#include <gtest/gtest.h>

#include <QPainter>
#include <QScrollBar>
#include <QTest>
#include <random>

#include "platform/qt/CQPainterDC.h"
#include "render/KeptTiles.h"
#include "tests/support/RandomShapes.h"
#include "tests/view/ViewFixture.h"

namespace {

using random_shapes::RandomShape;
using viewtest::Window;

// A part of the viewport painted on its own, as a window system asks for an exposed area, into
// a picture of the whole viewport (hatches line up with the window, not with the part).
QImage PaintPart(QWidget* viewport, const QRect& part) {
  QImage image(viewport->size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  viewport->render(&image, part.topLeft(), QRegion(part));
  return image.copy(part);
}

// The picture the plain way: white and every unselected shape in order, painted for each square
// of the view's kept picture on a canvas that reaches as far beyond the square as the view's does
// (see KeptTiles), then the selection on top, as the view draws it, over the viewport.
QImage Reference(CQuirraView& view) {
  constexpr int kSize = KeptTiles::kSize, kMargin = KeptTiles::kMargin;
  const QSize size = view.viewport()->size();
  const CTavlo& drawing = view.GetDocument().GetDrawing();
  const QPoint scroll(view.GetScrollPosition().x, view.GetScrollPosition().y);
  QImage image(size, QImage::Format_RGB32);
  QImage canvas(kSize + 2 * kMargin, kSize + 2 * kMargin, QImage::Format_RGB32);
  const QRect square(kMargin, kMargin, kSize, kSize);
  for (int y = scroll.y() / kSize * kSize; y < scroll.y() + size.height(); y += kSize)
    for (int x = scroll.x() / kSize * kSize; x < scroll.x() + size.width(); x += kSize) {
      {
        QPainter painter(&canvas);
        painter.fillRect(square, Qt::white);
        painter.setClipRect(square);
        painter.translate(kMargin - x, kMargin - y);
        CQPainterDC dc(painter);
        for (int i = 0; i <= drawing.GetUpperBound(); ++i)
          if (i != drawing.GetSelected()) drawing.DrawShape(dc, i);
      }
      QPainter painter(&image);
      painter.drawImage(QPoint(x, y) - scroll, canvas, square);
    }
  QPainter painter(&image);
  painter.translate(-scroll);
  CQPainterDC dc(painter);
  drawing.DrawSelected(dc);
  return image;
}

// The view's picture and a part of it painted on its own equal the plain picture.
void ExpectSamePixels(CQuirraView& view, const std::string& when) {
  QWidget* vp = view.viewport();
  const QRect part(37, 23, 151, 97);
  const QImage reference = Reference(view);
  const QImage fast = vp->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage fastPart = PaintPart(vp, part);
  ASSERT_EQ(fast.size(), reference.size());
  ASSERT_TRUE(fast == reference) << when;
  ASSERT_TRUE(fastPart == reference.copy(part)) << when << " (a part)";
}

}  // namespace

TEST(ViewPaint, RandomDrawingsAndGesturesPaintTheSamePixels) {
  std::mt19937 rng(5);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (int drawing = 0; drawing < 6; ++drawing) {
    Window w;
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.view));
    for (int i = 0; i < 40; ++i) w.doc.GetDrawing().AddShape(RandomShape(rng));
    w.doc.GetDrawing().ClearSelection();
    ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(w.view, "nothing selected"));
    QWidget* vp = w.view.viewport();
    for (int step = 0; step < 25; ++step) {
      const CTavlo& d = w.doc.GetDrawing();
      const CShape s = d.GetShapes()[pick(d.GetUpperBound() + 1)];
      CPoint target = s.GetPoint(pick(s.GetPointCount()));
      d.ZoomPoint(target);
      const CPoint scroll = w.view.GetScrollPosition();
      const QPoint at(target.x - scroll.x, target.y - scroll.y);
      switch (pick(6)) {
        case 0: w.router.Run(ID_ZOOM_50 + pick(3)); break;  // 50, 100 or 200 per cent
        case 1: w.view.horizontalScrollBar()->setValue(pick(w.view.horizontalScrollBar()->maximum() + 1)); break;
        case 2: w.router.Run(ID_EDIT_ROTATE); break;
        default:
          QTest::mouseDClick(vp, Qt::LeftButton, {}, at);
          QTest::mouseMove(vp, at + QPoint(pick(31) - 15, pick(31) - 15));
          QTest::mouseRelease(vp, Qt::LeftButton, {}, at + QPoint(3, 2));
          break;
      }
      ASSERT_NO_FATAL_FAILURE(
          ExpectSamePixels(w.view, "drawing " + std::to_string(drawing) + " step " + std::to_string(step)));
    }
  }
}

TEST(ViewPaint, KeptPictureFollowsChangesElsewhere) {
  // Two views of one document: a change made in one shows in the other's next paint.
  Window w;
  CQuirraView second(w.doc);
  second.resize(400, 300);
  second.show();
  second.OnInitialUpdate();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
  CTavlo& d = w.doc.GetDrawing();
  std::mt19937 rng(8);
  for (int i = 0; i < 10; ++i) d.AddShape(RandomShape(rng));
  d.SetSelected(3);
  const QImage before = second.viewport()->grab().toImage();
  // Another shape moves (as a command in the first view would do) while the selection stays.
  CShape other = d.GetShapes()[5];
  other.SetPoint(0, 20, 20);
  d.SetShape(other, 5);
  const QImage after = second.viewport()->grab().toImage();
  EXPECT_FALSE(before == after);
  ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(second, "after a change elsewhere"));
}

TEST(ViewPaint, ManyShapesPaintedInRunsSideBySideGiveTheSamePixels) {
  // Thousands of small shapes that hide little of each other, under a few large ones: every
  // square of the view's picture then holds enough shapes to be painted as runs of its stack side
  // by side, each run above the lowest on a layer laid over it afterwards.
  std::mt19937 rng(21);
  Window w;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&w.view));
  CTavlo& d = w.doc.GetDrawing();
  for (int i = 0; i < 6000; ++i)
    d.AddShape(i % 500 == 0 ? RandomShape(rng) : random_shapes::SmallShape(rng, 800, 600, 12));
  d.ClearSelection();
  for (const int zoom : {100, 200, 50}) {
    w.router.Run(viewtest::ZoomCommand(zoom));
    ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(w.view, "zoom " + std::to_string(zoom)));
    w.view.verticalScrollBar()->setValue(w.view.verticalScrollBar()->maximum() / 2);
    ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(w.view, "scrolled at zoom " + std::to_string(zoom)));
  }
}
