// The Qt device context, judged by the pixels it leaves in a QImage.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "PaintHelpers.h"

using namespace paint_test;

namespace {

using Direction = std::pair<int, int>;
const Direction kAcross{1, 0}, kDown{0, 1}, kFalling{1, 1}, kRising{1, -1};

// A black square with a red hatched square of `hatch` painted over it, no outline.
QImage Hatched(int hatch) {
  return Paint(80, 80, [hatch](CDC& dc) {
    CPen none;
    CBrush black, red;
    dc.CreatePen(none, PS_NULL, 1, 0);
    dc.CreateSolidBrush(black, RGB(0, 0, 0));
    EXPECT_TRUE(dc.CreateHatchBrush(red, hatch, RGB(255, 0, 0)));
    dc.SelectObject(&none);
    dc.SelectObject(&black);
    dc.Rectangle(0, 0, 79, 79);
    dc.SelectObject(&red);
    dc.Rectangle(0, 0, 79, 79);
    dc.SelectObject(&CDC::StockWhiteBrush());
    dc.SelectObject(&CDC::StockBlackPen());
  });
}

}  // namespace

TEST(CQPainterDC, HatchLinesRunTheirWayAndTheirGapsAreWhite) {
  const std::pair<int, std::set<Direction>> cases[] = {
      {HS_HORIZONTAL, {kAcross}}, {HS_VERTICAL, {kDown}},       {HS_FDIAGONAL, {kFalling}},
      {HS_BDIAGONAL, {kRising}},  {HS_CROSS, {kAcross, kDown}}, {HS_DIAGCROSS, {kFalling, kRising}},
  };
  const QRect inner(10, 10, 60, 60);
  for (const auto& [hatch, expected] : cases) {
    const QImage image = Hatched(hatch);
    // The hatch paints over the black square completely: its lines red, its gaps white.
    EXPECT_EQ(Count(image, kRed, inner) + Count(image, kWhite, inner), inner.width() * inner.height()) << hatch;
    EXPECT_GT(Count(image, kWhite, inner), 0) << hatch;
    std::set<Direction> seen;
    for (int y = inner.top(); y <= inner.bottom(); ++y)
      for (int x = inner.left(); x <= inner.right(); ++x) {
        if (At(image, x, y) != kRed) continue;
        // The ways a line runs through this pixel: red on both sides.
        std::set<Direction> here;
        for (const Direction& d : {kAcross, kDown, kFalling, kRising})
          if (At(image, x + d.first, y + d.second) == kRed && At(image, x - d.first, y - d.second) == kRed)
            here.insert(d);
        ASSERT_FALSE(here.empty()) << "lone pixel at " << x << "," << y << " of hatch " << hatch;
        for (const Direction& d : here)
          ASSERT_TRUE(expected.count(d)) << "hatch " << hatch << " runs " << d.first << "," << d.second;
        seen.insert(here.begin(), here.end());
      }
    EXPECT_EQ(seen, expected) << hatch;
  }
}

TEST(CQPainterDC, DashGapsAreWhiteOverABlackGround) {
  for (int style : {PS_DASH, PS_DOT, PS_DASHDOT}) {
    const QImage image = Paint(200, 40, [style](CDC& dc) {
      CPen none, red;
      CBrush black;
      dc.CreatePen(none, PS_NULL, 1, 0);
      dc.CreatePen(red, style, 1, RGB(255, 0, 0));
      dc.CreateSolidBrush(black, RGB(0, 0, 0));
      dc.SelectObject(&none);
      dc.SelectObject(&black);
      dc.Rectangle(0, 0, 199, 39);
      dc.SelectObject(&red);
      const POINT line[] = {{5, 20}, {195, 20}};
      dc.Polyline(line, 2);
      dc.SelectObject(&CDC::StockWhiteBrush());
      dc.SelectObject(&CDC::StockBlackPen());
    });
    const QRect row(10, 20, 180, 1);
    EXPECT_GT(Count(image, kRed, row), 0) << style;
    EXPECT_GT(Count(image, kWhite, row), 0) << style;
    EXPECT_EQ(Count(image, kRed, row) + Count(image, kWhite, row), row.width()) << style;
    EXPECT_EQ(Count(image, kBlack, QRect(10, 21, 180, 1)), 180) << "a 1-pixel pen stays on its row";
  }
}

TEST(CQPainterDC, RectangleAndEllipseBoxesHoldBothCorners) {
  const QImage image = Paint(100, 60, [](CDC& dc) {
    dc.SelectStockObject(NULL_BRUSH);
    dc.Rectangle(10, 12, 30, 22);
    dc.Ellipse(80, 50, 40, 10);  // corners in either order
    dc.SelectObject(&CDC::StockWhiteBrush());
  });
  EXPECT_EQ(Bounds(image, kBlack), QRect(QPoint(10, 10), QPoint(80, 50)));
  EXPECT_EQ(Bounds(image.copy(0, 0, 35, 60), kBlack), QRect(QPoint(10, 12), QPoint(30, 22)));
  for (QPoint corner : {QPoint(10, 12), QPoint(30, 12), QPoint(10, 22), QPoint(30, 22)})
    EXPECT_EQ(At(image, corner.x(), corner.y()), kBlack) << corner.x() << "," << corner.y();
  // The ellipse touches its box in the middle of each side, not at the corners.
  for (QPoint touch : {QPoint(40, 30), QPoint(80, 30), QPoint(60, 10), QPoint(60, 50)})
    EXPECT_GT(Count(image, kBlack, QRect(touch - QPoint(1, 1), QSize(3, 3))), 0) << touch.x() << "," << touch.y();
  EXPECT_EQ(At(image, 41, 11), kWhite);
  EXPECT_EQ(At(image, 20, 17), kWhite) << "the null brush leaves the inside alone";
}

TEST(CQPainterDC, SelfCrossingPolygonFillsOddEven) {
  // A five-pointed star drawn in one stroke: its middle pentagon is crossed twice and stays empty.
  const QImage image = Paint(100, 100, [](CDC& dc) {
    CPen none;
    CBrush red;
    dc.CreatePen(none, PS_NULL, 1, 0);
    dc.CreateSolidBrush(red, RGB(255, 0, 0));
    dc.SelectObject(&none);
    dc.SelectObject(&red);
    const POINT star[] = {{50, 5}, {77, 90}, {5, 35}, {95, 35}, {23, 90}};
    dc.Polygon(star, 5);
    dc.SelectObject(&CDC::StockWhiteBrush());
    dc.SelectObject(&CDC::StockBlackPen());
  });
  EXPECT_EQ(At(image, 50, 55), kWhite);
  EXPECT_EQ(At(image, 50, 20), kRed);
  EXPECT_EQ(At(image, 85, 38), kRed);
}

TEST(CQPainterDC, PolyBezierTakesThreeKPlusOnePointsAndNeverFills) {
  const POINT curve[] = {{10, 80}, {10, 10}, {90, 10}, {90, 80}, {90, 95}, {50, 95}, {50, 90}};
  for (int count = 0; count <= 7; ++count) {
    const QImage image = Paint(100, 100, [&](CDC& dc) {
      CBrush red;
      dc.CreateSolidBrush(red, RGB(255, 0, 0));
      dc.SelectObject(&red);
      dc.PolyBezier(curve, count);
      dc.SelectObject(&CDC::StockWhiteBrush());
    });
    const bool drawn = count == 4 || count == 7;
    EXPECT_EQ(Count(image, kBlack) > 0, drawn) << count;
    EXPECT_EQ(Count(image, kRed), 0) << count;
    if (drawn) {
      EXPECT_EQ(At(image, 10, 80), kBlack);
      EXPECT_EQ(At(image, 90, 80), kBlack);
      EXPECT_EQ(At(image, 50, 50), kWhite);
    }
    EXPECT_EQ(At(image, 50, 90), count == 7 ? kBlack : kWhite) << count;
  }
}

TEST(CQPainterDC, OutlinesDoNotDependOnWhereThePicturesEdgesLie) {
  // Long outlines of every kind, with pens of one pixel and wider, solid and dashed, painted on one
  // large picture and on small pictures that show parts of it (the origin moved as a scroll moves
  // it, by whole pixels, at one and two device pixels a pixel): each small picture shows what the
  // large one shows there, dashes and all, though the small one's edges cut the outlines
  // elsewhere. Some reach far beyond the range Qt rasterizes.
  std::mt19937 rng(8);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (int round = 0; round < 100; ++round) {
    const qreal scale = round % 4 == 3 ? 2 : 1;
    const int kind = round % 5, count = kind == 0 ? 2 + pick(4) : 4, style = round % 7 == 0 ? PS_SOLID : 1 + pick(4);
    const int width = round < 40 ? 1 : 2 + pick(6);
    POINT points[5];
    for (int i = 0; i < count; ++i) points[i] = {pick(3000) - 800, pick(2400) - 600};
    if (round % 3 == 2) points[1 + pick(count - 1)].y = pick(2) ? (1 << 29) : -(1 << 29);
    const COLORREF ink = RGB(0, 0, uint8_t(100 + pick(156)));
    auto draw = [&](CDC& dc) {
      CPen pen;
      CBrush brush;
      dc.CreatePen(pen, style, width, ink);
      dc.CreateSolidBrush(brush, RGB(255, 0, 0));
      dc.SelectObject(&pen);
      dc.SelectObject(kind == 2 ? &brush : &CDC::StockNullBrush());
      switch (kind) {
        case 0: dc.Polyline(points, count); break;
        case 1: dc.Polygon(points, count); break;
        case 2: dc.Polygon(points, count); break;
        case 3: dc.PolyBezier(points, count); break;
        default: dc.Ellipse(points[0].x, points[0].y, points[2].x, points[2].y); break;
      }
      dc.SelectObject(&CDC::StockWhiteBrush());
      dc.SelectObject(&CDC::StockBlackPen());
    };
    auto picture = [&](QSize size, QPoint scroll) {
      QImage image(size * scale, QImage::Format_RGB32);
      image.setDevicePixelRatio(scale);
      image.fill(Qt::white);
      QPainter painter(&image);
      painter.translate(-scroll);
      CQPainterDC dc(painter);
      draw(dc);
      return image;
    };
    const QImage whole = picture(QSize(1600, 1300), QPoint(0, 0));
    for (int part = 0; part < 4; ++part) {
      const QPoint scroll(pick(1400), pick(1100));
      const QImage shown = picture(QSize(200, 200), scroll);
      ASSERT_TRUE(shown == whole.copy(QRect(scroll * scale, QSize(200, 200) * scale)))
          << "round " << round << ", kind " << kind << ", style " << style << ", width " << width << ", scroll ("
          << scroll.x() << ", " << scroll.y() << ")";
    }
  }
}

namespace {

// The runs of pixels of `colour` along row `at` of `image`, or along its column when `down`:
// where each starts and how long it is.
std::vector<std::pair<int, int>> Runs(const QImage& image, int at, bool down, QRgb colour) {
  std::vector<std::pair<int, int>> runs;
  const int length = down ? image.height() : image.width();
  for (int i = 0; i < length; ++i) {
    if (At(image, down ? at : i, down ? i : at) != colour) continue;
    if (!runs.empty() && runs.back().first + runs.back().second == i)
      ++runs.back().second;
    else
      runs.push_back({i, 1});
  }
  return runs;
}

}  // namespace

TEST(CQPainterDC, AtAnyPixelRatioPensAndHatchesAreOfWholeEvenDevicePixels) {
  // Lines of every width across and down, and each one-way hatch, at whole and fractional ratios:
  // a pen w pixels wide covers the whole number of device pixels nearest w times the ratio across,
  // everywhere along it; hatch lines are as wide as a one-pixel pen and lie the whole number
  // nearest 8 times the ratio apart.
  std::mt19937 rng(15);
  auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
  for (const qreal ratio : {1.25, 1.5, 1.75, 2.0, 3.0}) {
    QImage image(QSize(120, 120) * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    for (int round = 0; round < 12; ++round) {
      const int width = 1 + pick(5), at = 20 + pick(80);
      const bool down = pick(2);
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        CQPainterDC dc(painter);
        CPen pen;
        dc.CreatePen(pen, PS_SOLID, width, RGB(255, 0, 0));
        dc.SelectObject(&pen);
        const POINT line[] = {{down ? at : 10, down ? 10 : at}, {down ? at : 110, down ? 110 : at}};
        dc.Polyline(line, 2);
        dc.SelectObject(&CDC::StockBlackPen());
      }
      for (int along = int(20 * ratio); along < int(100 * ratio); ++along) {
        const auto runs = Runs(image, along, !down, kRed);
        ASSERT_EQ(runs.size(), 1u) << "ratio " << ratio << ", width " << width;
        ASSERT_EQ(runs[0].second, std::lround(width * ratio)) << "ratio " << ratio << ", width " << width;
      }
    }
    for (const int hatch : {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL}) {
      image.fill(Qt::white);
      {
        QPainter painter(&image);
        painter.translate(-pick(40), -pick(40));  // wherever the picture's origin lies
        CQPainterDC dc(painter);
        CPen none;
        CBrush brush;
        dc.CreatePen(none, PS_NULL, 1, 0);
        dc.CreateHatchBrush(brush, hatch, RGB(255, 0, 0));
        dc.SelectObject(&none);
        dc.SelectObject(&brush);
        dc.Rectangle(-100, -100, 300, 300);
        dc.SelectObject(&CDC::StockBlackPen());
        dc.SelectObject(&CDC::StockWhiteBrush());
      }
      // Across the lines: down the columns for the horizontal hatch, along the rows for the others.
      const bool down = hatch == HS_HORIZONTAL;
      for (int at = 0; at < image.width(); ++at) {
        // The runs cut by the picture's edges left out.
        auto runs = Runs(image, at, down, kRed);
        ASSERT_GT(runs.size(), 4u) << "ratio " << ratio << ", hatch " << hatch;
        runs = {runs.begin() + 1, runs.end() - 1};
        for (size_t i = 0; i < runs.size(); ++i) {
          ASSERT_EQ(runs[i].second, std::lround(ratio)) << "ratio " << ratio << ", hatch " << hatch;
          if (i == 0) continue;
          ASSERT_EQ(runs[i].first - runs[i - 1].first, std::lround(8 * ratio))
              << "ratio " << ratio << ", hatch " << hatch;
        }
      }
    }
  }
}
