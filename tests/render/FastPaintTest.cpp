// Painting fast (shapes outside the picture or buried under the fills above them left out, the
// picture painted in two runs side by side) must paint exactly what drawing every shape paints.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <random>

#include "model/CTavlo.h"
#include "platform/qt/CQPainterDC.h"
#include "render/DrawingRenderer.h"
#include "render/PaintOrder.h"
#include "render/ShapeCover.h"
#include "render/ShapeStamps.h"
#include "render/StampingDC.h"
#include "tests/support/RandomShapes.h"

namespace {

using random_shapes::CrowdedShape;
using random_shapes::RandomShape;

// An 800 x 600 picture scrolled to `scroll` and clipped to `clip` (none when null): with `fast`,
// only the shapes the renderer would paint there and the selection; otherwise the whole drawing.
QImage PaintCrowd(const CTavlo& drawing, QPoint scroll, const QRect& clip, bool fast, int* drawn) {
  QImage image(800, 600, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  if (!clip.isNull()) painter.setClipRect(clip);
  painter.translate(-scroll.x(), -scroll.y());
  CQPainterDC dc(painter);
  if (fast) {
    const QRect shown = (clip.isNull() ? image.rect() : clip).translated(scroll);
    const std::vector<int> order =
        paint_order::ShapesToPaint(drawing, drawing.GetZoom(), drawing.GetSelected(),
                                   {shown.left(), shown.top(), shown.right(), shown.bottom()}, 1);
    for (const int i : order) drawing.DrawShape(dc, i);
    drawing.DrawSelected(dc);
    *drawn = int(order.size());
  } else {
    drawing.Draw(dc);
  }
  return image;
}

}  // namespace

TEST(FastPaint, ShapesBuriedUnderFillsAreLeftOutUnseen) {
  std::mt19937 rng(11);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
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
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
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

TEST(FastPaint, AShapePaintsEveryDevicePixelOfItsCoreAndNoneBeyondItsReach) {
  // A shape over two pictures of different colours: a device pixel it paints is the same in both,
  // one it changes differs from the colour beneath in one of them. Upright boxes are common, as
  // plots and maps draw them, and their cores and reaches are their very pixels.
  std::mt19937 rng(17);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  int checked = 0;
  for (const qreal ratio : {1.0, 1.25, 1.5, 2.0, 3.0}) {
    QImage pictures[2];
    for (QImage& picture : pictures) {
      picture = QImage(QSize(300, 200) * ratio, QImage::Format_RGB32);
      picture.setDevicePixelRatio(ratio);
    }
    for (int round = 0; round < 600; ++round) {
      CTavlo drawing;
      CShape s = pick(3) ? RandomShape(rng) : CrowdedShape(rng);
      if (pick(2) && s.GetPointCount() == 4) {
        s.SetPoint(1, s.GetPoint(2).x, s.GetPoint(0).y);
        s.SetPoint(3, s.GetPoint(0).x, s.GetPoint(2).y);
        if (pick(8) == 0) s.SetPoint(2, s.GetPoint(0).x, s.GetPoint(0).y);  // folded back on itself
        if (pick(4) == 0) s.SetPenStyle(PS_NULL);                           // the fill alone
      }
      drawing.AddShape(s);
      const int zooms[] = {50, 100, 150, 200, 333, 500};
      const int zoom = zooms[pick(6)];
      const QPoint scroll(pick(400) - 200, pick(400) - 200);
      const bool thinPens = pick(4) == 0;
      for (int k = 0; k < 2; ++k) {
        pictures[k].fill(k == 0 ? qRgb(1, 2, 3) : qRgb(254, 253, 252));
        QPainter painter(&pictures[k]);
        painter.translate(-scroll.x(), -scroll.y());
        CQPainterDC dc(painter);
        drawing.DrawShape(dc, 0, zoom, thinPens);
      }
      PixelBox boxes[ShapeCover::kMaxBoxes];
      // The pixels of the picture the reach holds.
      std::vector<bool> reached(300 * 200, false);
      PixelBox extent;
      ASSERT_TRUE(ShapeCover::Extent(s, zoom, extent));
      const int reach = ShapeCover::Reach(s, zoom, ratio, extent, boxes);
      for (int r = 0; r < reach; ++r)
        for (int64_t y = std::max<int64_t>(boxes[r].top, scroll.y());
             y <= std::min<int64_t>(boxes[r].bottom, scroll.y() + 199); ++y)
          for (int64_t x = std::max<int64_t>(boxes[r].left, scroll.x());
               x <= std::min<int64_t>(boxes[r].right, scroll.x() + 299); ++x)
            reached[size_t((y - scroll.y()) * 300 + x - scroll.x())] = true;
      for (int dy = 0; dy < pictures[0].height(); ++dy) {
        const QRgb* lines[2] = {reinterpret_cast<const QRgb*>(pictures[0].constScanLine(dy)),
                                reinterpret_cast<const QRgb*>(pictures[1].constScanLine(dy))};
        for (int dx = 0; dx < pictures[0].width(); ++dx) {
          if (lines[0][dx] == qRgb(1, 2, 3) && lines[1][dx] == qRgb(254, 253, 252)) continue;
          bool held = false;  // by a pixel the device pixel meets
          for (int y = int(dy / ratio); y < std::min(200, int(std::ceil((dy + 1) / ratio))); ++y)
            for (int x = int(dx / ratio); x < std::min(300, int(std::ceil((dx + 1) / ratio))); ++x)
              held = held || reached[size_t(y * 300 + x)];
          ASSERT_TRUE(held) << "ratio " << ratio << ", round " << round << ", zoom " << zoom << ", device pixel " << dx
                            << ", " << dy << " beyond the reach";
        }
      }
      const int core = ShapeCover::Core(s, zoom, ratio, boxes);
      for (int c = 0; c < core; ++c)
        for (int64_t y = std::max<int64_t>(boxes[c].top, scroll.y()); y <= boxes[c].bottom && y < scroll.y() + 200; ++y)
          for (int64_t x = std::max<int64_t>(boxes[c].left, scroll.x()); x <= boxes[c].right && x < scroll.x() + 300;
               ++x) {
            // Every device pixel that meets the pixel (x, y).
            const int dx0 = int(std::floor((x - scroll.x()) * ratio)),
                      dx1 = int(std::ceil((x + 1 - scroll.x()) * ratio));
            const int dy0 = int(std::floor((y - scroll.y()) * ratio)),
                      dy1 = int(std::ceil((y + 1 - scroll.y()) * ratio));
            for (int dy = dy0; dy < std::min(dy1, pictures[0].height()); ++dy)
              for (int dx = dx0; dx < std::min(dx1, pictures[0].width()); ++dx, ++checked)
                ASSERT_EQ(pictures[0].pixel(dx, dy), pictures[1].pixel(dx, dy))
                    << "ratio " << ratio << ", round " << round << ", zoom " << zoom << ", pixel " << x << ", " << y;
          }
    }
  }
  EXPECT_GT(checked, 1000000);
}

TEST(FastPaint, TheTwoRunsOfTheViewsPictureLayTheSamePixels) {
  // Enough shapes for the picture to be painted in two runs side by side, at pixel ratios a
  // screen may have.
  std::mt19937 rng(13);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (int round = 0; round < 8; ++round) {
    CTavlo drawing;
    const int count = 64 + pick(600);
    for (int i = 0; i < count; ++i) drawing.AddShape(pick(2) ? CrowdedShape(rng) : RandomShape(rng));
    drawing.SetSelected(pick(2) ? pick(count) : -1);
    drawing.SetZoom(pick(2) ? 100 : 50 + pick(300));
    const QPoint scroll(pick(300), pick(200));
    const qreal ratio = round % 4 == 3 ? 2.0 : round % 4 == 1 ? 1.5 : 1.0;

    QImage fast(QSize(800, 600) * ratio, QImage::Format_RGB32);
    fast.setDevicePixelRatio(ratio);
    fast.fill(Qt::white);
    DrawingRenderer::PaintUnselected(drawing, fast, scroll);

    QImage plain(fast.size(), QImage::Format_RGB32);
    plain.setDevicePixelRatio(ratio);
    plain.fill(Qt::white);
    {
      QPainter painter(&plain);
      painter.translate(-scroll.x(), -scroll.y());
      CQPainterDC dc(painter);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i)
        if (i != drawing.GetSelected()) drawing.DrawShape(dc, i);
    }
    ASSERT_TRUE(fast == plain) << "round " << round << ", " << count << " shapes";
  }
}

TEST(FastPaint, APictureOfManyShapesFoundBandByBandAndPaintedInManyRunsIsThePlainOne) {
  // Enough shapes for the shapes to show to be found in bands side by side and the stack to be
  // painted in more runs than there are runners, crowded so that many are left out.
  std::mt19937 rng(29);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (const qreal ratio : {1.0, 2.0}) {
    CTavlo drawing;
    for (int i = 0; i < 20000; ++i) drawing.AddShape(pick(4) ? CrowdedShape(rng) : RandomShape(rng));
    drawing.SetSelected(pick(20000));
    QImage fast(QSize(640, 480) * ratio, QImage::Format_RGB32), plain(fast.size(), QImage::Format_RGB32);
    for (QImage* image : {&fast, &plain}) {
      image->setDevicePixelRatio(ratio);
      image->fill(Qt::white);
    }
    DrawingRenderer::PaintUnselected(drawing, fast, QPoint(10, 20));
    {
      QPainter painter(&plain);
      painter.translate(-10, -20);
      CQPainterDC dc(painter);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i)
        if (i != drawing.GetSelected()) drawing.DrawShape(dc, i);
    }
    ASSERT_TRUE(fast == plain) << "ratio " << ratio;
  }
}

TEST(FastPaint, SmallShapesStampedLayTheSamePixelsAsQtPaintingThem) {
  // Shapes of a few pixels in every kind, pen, width and fill, packed and overlapping, near the
  // picture's edges too, at zooms that make them smaller and larger, scrolled so that hatches lie
  // off the picture's tiles of 8, at one and two device pixels to the pixel: stamps of their
  // insides and pens, kept from one shape to the next, must set what Qt's filling and stroking set.
  std::mt19937 rng(14);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  ShapeStamps stamps;
  int stamped[3] = {};  // new forms at each ratio
  for (int round = 0; round < 16; ++round) {
    CTavlo drawing;
    // Wide pictures too: the raster engine's rounding depends on how far from the picture's
    // corner a shape lies.
    const int width = round % 4 == 3 ? 8000 : 400;
    for (int i = 0; i < 3000; ++i) {
      CShape s = RandomShape(rng);
      const int x = pick(width + 40) - 20, y = pick(340) - 20, w = pick(24) - 4, h = pick(24) - 4;
      for (int k = 0; k < s.GetPointCount(); ++k) {
        const int dx = k == 1 || k == 2 ? w : pick(3) - 1, dy = k >= 2 ? h : pick(3) - 1;
        s.SetPoint(k, x + (s.GetPointCount() == 2 && k == 1 ? w : dx), y + (s.GetPointCount() == 2 && k == 1 ? h : dy));
      }
      drawing.AddShape(s);
    }
    drawing.ClearSelection();
    drawing.SetZoom(round % 3 == 0 ? 100 : 50 + pick(200));
    const QPoint scroll(pick(40) - 20, pick(40) - 20);
    const qreal ratio = round % 4 == 1 ? 2 : 1;
    QImage fast(QSize(width, 300) * ratio, QImage::Format_RGB32), plain(fast.size(), QImage::Format_RGB32);
    fast.setDevicePixelRatio(ratio);
    plain.setDevicePixelRatio(ratio);
    fast.fill(Qt::white);
    plain.fill(Qt::white);
    const int before = stamps.Forms();
    {
      QPainter painter(&fast);
      painter.translate(-scroll);
      StampingDC dc(painter, fast, -scroll, stamps);
      const QRect clip = round % 2 ? QRect(0, 0, width, 300) : QRect(30, 20, width - 100, 200);
      painter.setClipRect(clip.translated(scroll));
      dc.SetClip(clip);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i) drawing.DrawShape(dc, i);
      QPainter plainPainter(&plain);
      plainPainter.setClipRect(clip);
      plainPainter.translate(-scroll);
      CQPainterDC plainDc(plainPainter);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i) drawing.DrawShape(plainDc, i);
    }
    ASSERT_TRUE(fast == plain) << "round " << round << ", zoom " << drawing.GetZoom() << ", width " << width
                               << ", ratio " << ratio;
    stamped[int(ratio)] += stamps.Forms() - before;
  }
  EXPECT_GT(stamped[1], 100) << "the test means nothing if no shape was stamped";
  EXPECT_GT(stamped[2], 100) << "the test means nothing if no shape was stamped at a ratio of 2";
}

TEST(FastPaint, AFormStampedAtManyPlacesLaysWhatQtPaintsAtEach) {
  // Forms whose pixels Qt paints differently from place to place (dashed curves under a pen two
  // device pixels wide or more, small ellipses under a pen that nearly closes them), each at many
  // places of the picture, next to the powers of two of its device pixels and elsewhere: a form is
  // found once and then stamped everywhere, so such a form must be drawn alike everywhere.
  struct Form {
    int kind, style, width, ratio;
    POINT points[4];
  };
  const Form forms[] = {{kBezier, PS_DASHDOT, 1, 2, {{2, 2}, {1, 0}, {1, 9}, {0, 9}}},
                        {kBezier, PS_DASH, 2, 2, {{0, 0}, {5, 2}, {5, 14}, {0, 14}}},
                        {kBezier, PS_DASHDOTDOT, 2, 1, {{0, 2}, {9, 0}, {9, 1}, {1, 1}}},
                        {kEllipse, PS_SOLID, 3, 1, {{0, 0}, {5, 0}, {5, 5}, {0, 5}}},
                        {kEllipse, PS_SOLID, 3, 1, {{0, 0}, {1, 1}, {1, 1}, {0, 1}}},
                        {kEllipse, PS_DOT, 3, 1, {{0, 0}, {3, 0}, {3, 2}, {0, 2}}}};
  std::mt19937 rng(33);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (const Form& f : forms) {
    CTavlo drawing;
    for (int i = 0; i < 3000; ++i) {
      const int power = (1 << (3 + pick(8))) / f.ratio;  // 8 to 1024 device pixels
      const int near = power - 12 + pick(24), anywhere = 2 + pick(1000);
      const int x = pick(2) ? near : anywhere, y = x == near ? anywhere : near;
      CShape s;
      s.SetType(f.kind);
      s.SetPenStyle(f.style);
      s.SetPenWidth(f.width);
      s.SetPenColor(RGB(pick(256), 0, 0));
      s.SetBrushStyle(pick(8) - 2);
      s.SetBrushColor(RGB(0, pick(256), 0));
      s.SetPointCount(4);
      for (int k = 0; k < 4; ++k) s.SetPoint(k, x + f.points[k].x, y + f.points[k].y);
      drawing.AddShape(s);
    }
    drawing.ClearSelection();
    QImage fast(QSize(1040, 1040) * f.ratio, QImage::Format_RGB32), plain(fast.size(), QImage::Format_RGB32);
    for (QImage* image : {&fast, &plain}) {
      image->setDevicePixelRatio(f.ratio);
      image->fill(Qt::white);
    }
    ShapeStamps stamps;
    {
      QPainter painter(&fast);
      StampingDC dc(painter, fast, QPoint(0, 0), stamps);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i) drawing.DrawShape(dc, i);
      QPainter plainPainter(&plain);
      CQPainterDC plainDc(plainPainter);
      for (int i = 0; i <= drawing.GetUpperBound(); ++i) drawing.DrawShape(plainDc, i);
    }
    EXPECT_TRUE(fast == plain) << "kind " << f.kind << ", pen " << f.style << "/" << f.width;
    EXPECT_GT(stamps.Forms(), 0) << "the test means nothing if no shape was stamped";
  }
}
