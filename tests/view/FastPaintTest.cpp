// The view paints fast (a kept picture of the unselected shapes, shapes outside the painted area
// passed over) and must paint exactly what drawing every shape every time paints.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <random>

#include <QPainter>

#include "platform/core/CDC.h"
#include "platform/qt/CQPainterDC.h"
#include "tests/view/ViewFixture.h"
#include "view/BackdropPainter.h"

namespace {

using viewtest::Window;

CShape RandomShape(std::mt19937& rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  CShape s;
  s.SetType(kinds[pick(5)]);
  const int x = pick(900) - 100, y = pick(700) - 100, w = pick(300) - 60, h = pick(240) - 50;
  if (s.GetType() == kLine) {
    s.SetPointCount(2);
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + w, y + h);
  } else {
    s.SetPointCount(4);
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + w, y + pick(9) - 4);
    s.SetPoint(2, x + w, y + h);
    s.SetPoint(3, x + pick(9) - 4, y + h);
    const int fill = pick(8);
    s.SetBrushStyle(fill == 6 ? int(kBrushTransparent) : fill == 7 ? int(kBrushPaint) : fill);
    s.SetBrushColor(RGB(uint8_t(pick(256)), uint8_t(pick(256)), uint8_t(pick(256))));
  }
  s.SetCenter(x + 10, y + 10);
  s.SetPenStyle(pick(6));
  s.SetPenWidth(1 + pick(3));
  s.SetPenColor(RGB(uint8_t(pick(256)), uint8_t(pick(256)), uint8_t(pick(256))));
  return s;
}

// A part of the viewport painted on its own, as a window system asks for an exposed area, into
// a picture of the whole viewport (hatches line up with the window, not with the part).
QImage PaintPart(QWidget* viewport, const QRect& part) {
  QImage image(viewport->size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  viewport->render(&image, part.topLeft(), QRegion(part));
  return image.copy(part);
}

// Draws every shape, none passed over for lying outside the picture.
class EveryShapeDC : public CQPainterDC {
 public:
  using CQPainterDC::CQPainterDC;
  bool GetClipBox(int64_t&, int64_t&, int64_t&, int64_t&) const override { return false; }
};

// The picture the plain way: white, every shape in order, the selection on top.
QImage Reference(CQuirraView& view) {
  QImage image(view.viewport()->size(), QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  const CPoint scroll = view.GetScrollPosition();
  painter.translate(-scroll.x, -scroll.y);
  EveryShapeDC dc(painter);
  view.GetDocument().GetDrawing().Draw(dc);
  return image;
}

// The view's picture and a part of it painted on its own equal the plain picture; so does the
// view painting straight onto the window.
void ExpectSamePixels(CQuirraView& view, const std::string& when) {
  QWidget* vp = view.viewport();
  const QRect part(37, 23, 151, 97);
  const QImage reference = Reference(view);
  view.SetBackdropCaching(true);
  const QImage fast = vp->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage fastPart = PaintPart(vp, part);
  view.SetBackdropCaching(false);
  const QImage direct = vp->grab().toImage().convertToFormat(QImage::Format_RGB32);
  view.SetBackdropCaching(true);
  ASSERT_EQ(fast.size(), reference.size());
  ASSERT_TRUE(fast == reference) << when;
  ASSERT_TRUE(fastPart == reference.copy(part)) << when << " (a part)";
  ASSERT_TRUE(direct == reference) << when << " (straight onto the window)";
}

}  // namespace

TEST(FastPaint, RandomDrawingsAndGesturesPaintTheSamePixels) {
  std::mt19937 rng(5);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
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
      ASSERT_NO_FATAL_FAILURE(ExpectSamePixels(w.view, "drawing " + std::to_string(drawing) + " step " +
                                                             std::to_string(step)));
    }
  }
}

TEST(FastPaint, KeptPictureFollowsChangesElsewhere) {
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

namespace {

// Counts the shapes that reach the picture.
class CountingDC : public CQPainterDC {
 public:
  using CQPainterDC::CQPainterDC;
  void Polyline(const POINT* p, int n) override { ++drawn, CQPainterDC::Polyline(p, n); }
  void Polygon(const POINT* p, int n) override { ++drawn, CQPainterDC::Polygon(p, n); }
  void PolyBezier(const POINT* p, int n) override { ++drawn, CQPainterDC::PolyBezier(p, n); }
  void Ellipse(int l, int t, int r, int b) override { ++drawn, CQPainterDC::Ellipse(l, t, r, b); }
  int drawn = 0;
};

// Crowded drawings: quadrilaterals turned any way (some folded or bent inwards), ellipses, lines and
// curves, piled many deep.
CShape CrowdedShape(std::mt19937& rng) {
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  CShape s = RandomShape(rng);
  if (s.GetType() == kRectangle || s.GetType() == kPolygonRect) {
    const double cx = pick(800), cy = pick(600), turn = pick(360) * M_PI / 180;
    for (int k = 0; k < 4; ++k) {
      const double a = turn + k * M_PI / 2 + (pick(5) == 0 ? pick(120) * M_PI / 180 : 0), r = 10 + pick(200);
      s.SetPoint(k, int(cx + r * std::cos(a)), int(cy + r * std::sin(a)));
    }
  }
  if (pick(7) == 0) s.SetBrushStyle(pick(3) - 3);  // unset and the codes beside it: not a fill
  return s;
}

QImage PaintCrowd(const CTavlo& drawing, QPoint scroll, const QRect& clip, bool hide, int* drawn) {
  QImage image(800, 600, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  if (!clip.isNull()) painter.setClipRect(clip);
  painter.translate(-scroll.x(), -scroll.y());
  if (hide) {
    CountingDC dc(painter);
    drawing.Draw(dc);
    *drawn = dc.drawn;
  } else {
    EveryShapeDC dc(painter);
    drawing.Draw(dc);
  }
  return image;
}

}  // namespace

TEST(FastPaint, ShapesBuriedUnderFillsAreLeftOutUnseen) {
  std::mt19937 rng(11);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  int drawnInAll = 0, shapesInAll = 0;
  for (int round = 0; round < 16; ++round) {
    CTavlo drawing;
    const int count = 50 + pick(500);
    for (int i = 0; i < count; ++i) drawing.AddShape(CrowdedShape(rng));
    drawing.SetSelected(pick(3) == 0 ? pick(count) : -1);
    const int zooms[] = {50, 100, 150, 200, 333, 500};
    drawing.SetZoom(zooms[pick(6)]);
    const QPoint scroll(pick(3) == 0 ? 0 : pick(600) - 100, pick(3) == 0 ? 0 : pick(400) - 100);
    const QRect clip = pick(2) ? QRect() : QRect(pick(400), pick(300), 1 + pick(400), 1 + pick(300));
    int drawn = 0;
    const QImage fast = PaintCrowd(drawing, scroll, clip, true, &drawn);
    const QImage plain = PaintCrowd(drawing, scroll, clip, false, nullptr);
    ASSERT_TRUE(fast == plain) << "round " << round << ", zoom " << drawing.GetZoom();
    drawnInAll += drawn;
    shapesInAll += count;
  }
  // Most of a pile this deep lies buried; the test means nothing if nothing was left out.
  EXPECT_LT(drawnInAll, shapesInAll / 2);
}

TEST(FastPaint, ShapesAlongTheEdgeOfAFillStayWhereTheyShow) {
  // One filled shape on top, with no pen to hide its edge, over tiny shapes strewn across its
  // outline: those just inside are buried, those reaching out must still be drawn.
  std::mt19937 rng(12);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  int drawnInAll = 0, shapesInAll = 0;
  for (int round = 0; round < 40; ++round) {
    CTavlo drawing;
    CShape top = CrowdedShape(rng);
    if (top.GetType() == kLine || top.GetType() == kBezier) top.SetType(kEllipse);
    top.SetPenStyle(PS_NULL);
    top.SetBrushStyle(pick(2) ? int(kBrushPaint) : pick(6));
    const int count = 300;
    for (int i = 0; i < count; ++i) {
      // A point on the outline of the top shape's points, nudged up to 12 pixels either way.
      const int k = pick(4);
      const CPoint a = top.GetPoint(k), b = top.GetPoint((k + 1) % 4);
      const double t = pick(1001) / 1000.0;
      const int x = int(a.x + t * (b.x - a.x)) + pick(25) - 12, y = int(a.y + t * (b.y - a.y)) + pick(25) - 12;
      CShape dot;
      dot.SetType(kLine);
      dot.SetPointCount(2);
      dot.SetPoint(0, x, y);
      dot.SetPoint(1, x + pick(3), y + pick(3));
      dot.SetPenColor(RGB(200, 0, 0));
      drawing.AddShape(dot);
    }
    drawing.AddShape(top);
    drawing.ClearSelection();
    drawing.SetZoom(pick(2) ? 100 : 50 + pick(450));
    int drawn = 0;
    const QImage fast = PaintCrowd(drawing, QPoint(), QRect(), true, &drawn);
    const QImage plain = PaintCrowd(drawing, QPoint(), QRect(), false, nullptr);
    ASSERT_TRUE(fast == plain) << "round " << round << ", zoom " << drawing.GetZoom();
    drawnInAll += drawn;
    shapesInAll += count + 1;
  }
  EXPECT_LT(drawnInAll, shapesInAll);
}

TEST(FastPaint, TheTwoRunsOfTheViewsPictureLayTheSamePixels) {
  // Enough shapes for the picture to be painted in two runs side by side, at both pixel ratios
  // a screen may have.
  std::mt19937 rng(13);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int round = 0; round < 8; ++round) {
    CTavlo drawing;
    const int count = 64 + pick(600);
    for (int i = 0; i < count; ++i) drawing.AddShape(pick(2) ? CrowdedShape(rng) : RandomShape(rng));
    drawing.SetSelected(pick(2) ? pick(count) : -1);
    drawing.SetZoom(pick(2) ? 100 : 50 + pick(300));
    const QPoint scroll(pick(300), pick(200));
    const qreal ratio = round % 4 == 3 ? 2.0 : 1.0;

    QImage fast(QSize(800, 600) * ratio, QImage::Format_RGB32);
    fast.setDevicePixelRatio(ratio);
    fast.fill(Qt::white);
    backdrop_painter::Paint(drawing, fast, scroll);

    QImage plain(fast.size(), QImage::Format_RGB32);
    plain.setDevicePixelRatio(ratio);
    plain.fill(Qt::white);
    {
      QPainter painter(&plain);
      painter.translate(-scroll.x(), -scroll.y());
      EveryShapeDC dc(painter);
      drawing.DrawUnselected(dc);
    }
    ASSERT_TRUE(fast == plain) << "round " << round << ", " << count << " shapes";
  }
}
