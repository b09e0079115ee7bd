// The kept picture, brought up to date step by step, must equal one painted afresh.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "model/CTavlo.h"
#include "render/DrawingRenderer.h"
#include "tests/support/OnePiece.h"
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

TEST(KeptTiles, KeptAtEveryPixelRatioEqualsPaintedAfresh) {
  // Enough small shapes for the squares to be painted as runs side by side, scrolled in strips
  // and jumps across squares, zoomed and changed, at one, one and a half and two device pixels a
  // pixel.
  std::mt19937 rng(3);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (const qreal scale : {2.0, 1.5, 1.0}) {
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

namespace {

int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) n += a.pixel(x, y) != b.pixel(x, y);
  return n;
}

}  // namespace

TEST(KeptTiles, DashesRunOnAcrossTheEdgesOfTiles) {
  // A dash-dot line at 500 per cent reaches across tiles and beyond the pictures they are painted
  // in: its dashes must lie where they lie in the picture of the whole drawing.
  CTavlo drawing;
  CShape line;
  line.SetType(kLine);
  line.SetPointCount(2);
  line.SetPoint(0, 0, 0);
  line.SetPoint(1, 600, 450);
  line.SetPenStyle(PS_DASHDOT);
  drawing.AddShape(line);
  drawing.ClearSelection();
  drawing.SetZoom(500);
  for (const QPoint scroll : {QPoint(700, 500), QPoint(2300, 1700)}) {
    DrawingRenderer renderer;
    const QImage kept = Background(renderer, drawing, scroll, 1);
    const QImage whole = OnePiece(drawing, scroll, QSize(500, 400), 1);
    EXPECT_TRUE(kept == whole) << "scroll (" << scroll.x() << ", " << scroll.y() << "): " << Differing(kept, whole)
                               << " pixels differ";
  }
}

TEST(KeptTiles, OnePixelOutlinesThatLeaveTheirTilesShowWhatTheWholePictureShows) {
  // Lines, rectangles, polygons, curves and ellipses with one-pixel pens, solid and dashed, long
  // enough to reach far beyond the tiles they cross, from points off the picture too, at zooms and
  // pixel ratios that put the edges of tiles anywhere along them.
  std::mt19937 rng(21);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  const int kinds[] = {kLine, kRectangle, kPolygonRect, kBezier, kEllipse};
  for (int round = 0; round < 30; ++round) {
    CTavlo drawing;
    for (int n = 1 + pick(4); n > 0; --n) {
      CShape s;
      s.SetType(kinds[pick(5)]);
      s.SetPointCount(s.GetType() == kLine ? 2 + pick(3) : 4);
      for (int k = 0; k < s.GetPointCount(); ++k) s.SetPoint(k, pick(1400) - 200, pick(1100) - 200);
      s.SetPenStyle(pick(5));
      s.SetPenColor(RGB(uint8_t(pick(200)), 0, uint8_t(pick(256))));
      s.SetBrushStyle(pick(3) == 0 ? int(kBrushPaint) : int(kBrushTransparent));
      s.SetBrushColor(RGB(250, 240, uint8_t(pick(256))));
      drawing.AddShape(s);
    }
    drawing.ClearSelection();
    drawing.SetZoom(100 + pick(401));
    const qreal scale = round % 3 == 2 ? 2.0 : round % 6 == 1 ? 1.5 : 1.0;
    QPoint scroll(pick(int(2200 / scale)), pick(int(1800 / scale)));
    // A whole number of device pixels from the origin, where the whole picture can be cut.
    if (scale == 1.5) scroll = QPoint(scroll.x() / 2 * 2, scroll.y() / 2 * 2);
    DrawingRenderer renderer;
    const QImage kept = Background(renderer, drawing, scroll, scale);
    const QImage whole = OnePiece(drawing, scroll, QSize(500, 400), scale);
    ASSERT_TRUE(kept == whole) << "round " << round << ", zoom " << drawing.GetZoom() << ", scale " << scale
                               << ", scroll (" << scroll.x() << ", " << scroll.y() << "): " << Differing(kept, whole)
                               << " pixels differ";
  }
}

TEST(KeptTiles, ACrowdedDrawingShowsWhatTheWholePictureShows) {
  // Thousands of overlapping fills, so that the search through the index stops reading the cells
  // the fills above have covered, against the whole picture painted without the index, at several
  // zooms and places and after changes. The outlines are solid: a dashed outline two device
  // pixels wide and larger than WideOutline::kPlaceFree, which Qt draws itself, still comes out a
  // few pixels different on a tile's canvas than on the whole picture, a fault of its own that
  // this test is not about.
  std::mt19937 rng(41);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  auto crowded = [&] {
    CShape s = random_shapes::SmallShape(rng, 1100, 900, 70);
    if (s.GetPenStyle() != PS_NULL) s.SetPenStyle(PS_SOLID);
    // Turned about their middle, as the editor's shapes are, so that the index's cells are small.
    s.SetCenter(s.GetPoint(0).x + 10, s.GetPoint(0).y + 10);
    return s;
  };
  CTavlo drawing;
  for (int i = 0; i < 8000; ++i) drawing.AddShape(crowded());
  drawing.ClearSelection();
  DrawingRenderer kept;
  for (int step = 0; step < 12; ++step) {
    const int zooms[] = {100, 200, 50, 150};
    drawing.SetZoom(zooms[step % 4]);
    if (step % 3 == 2) {
      drawing.ReplaceShape(pick(drawing.GetUpperBound() + 1), crowded());
      drawing.SetSelected(pick(drawing.GetUpperBound() + 1));
    }
    const QPoint scroll(pick(600), pick(500));
    const qreal scale = step % 2 ? 2.0 : 1.0;
    ASSERT_TRUE(Background(kept, drawing, scroll, scale) == OnePiece(drawing, scroll, QSize(500, 400), scale))
        << "step " << step << ", zoom " << drawing.GetZoom();
  }
  // A deeper pile in view whole: the search reads every shape in turn at first, and the lists of
  // the cells once the fills have buried half of them.
  for (int i = 0; i < 6000; ++i) drawing.AddShape(random_shapes::SmallShape(rng, 1100, 900, 300));
  drawing.SetZoom(50);
  for (const qreal scale : {1.0, 2.0})
    ASSERT_TRUE(Background(kept, drawing, QPoint(), scale) == OnePiece(drawing, QPoint(), QSize(500, 400), scale))
        << "scale " << scale;
}

TEST(KeptTiles, ShapesBeyondWhereNearlyAllLieShowThroughTheCellsAtTheEdge) {
  // A few shapes on the left, at the bottom of the stack, and on the right a pile of boxes whose
  // left edges line up, under a few tall ones that reach a little further left: the grid begins
  // at the pile, and the cells at its left edge, which hold the few, are buried at once.
  std::mt19937 rng(43);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  CTavlo drawing;
  for (int i = 0; i < 6; ++i) {
    CShape s = random_shapes::SmallShape(rng, 300, 900, 100);
    s.SetCenter(s.GetPoint(0).x + 10, s.GetPoint(0).y + 10);
    drawing.AddShape(s);
  }
  auto box = [&](int x, int y, int w, int h) {
    CShape s;
    s.SetType(kRectangle);
    s.SetPointCount(4);
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + w, y);
    s.SetPoint(2, x + w, y + h);
    s.SetPoint(3, x, y + h);
    s.SetCenter(x + 10, y + 10);
    s.SetBrushStyle(kBrushPaint);
    s.SetBrushColor(RGB(uint8_t(pick(256)), 90, 200));
    drawing.AddShape(s);
  };
  for (int i = 0; i < 3000; ++i) box(600, pick(900), 100 + pick(500), 50 + pick(150));
  for (int i = 0; i < 10; ++i) box(580, 0, 100, 900);
  drawing.ClearSelection();
  drawing.SetZoom(50);
  DrawingRenderer kept;
  for (const qreal scale : {1.0, 2.0})
    ASSERT_TRUE(Background(kept, drawing, QPoint(), scale) == OnePiece(drawing, QPoint(), QSize(500, 400), scale))
        << "scale " << scale;
}
