// Which shapes a painter may leave out: the coverage mask, the boxes a shape can reach and the
// boxes its fill is sure to paint, and the list of shapes to paint built from them.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "model/CTavlo.h"
#include "platform/core/CRecordingDC.h"
#include "render/CoverageMask.h"
#include "render/PaintOrder.h"
#include "render/ShapeCover.h"

namespace {

CShape Shape(int type, std::vector<CPoint> points, int brush, int penWidth = 1) {
  CShape s;
  s.SetType(type);
  s.SetBrushStyle(brush);
  s.SetPenWidth(penWidth);
  s.SetPointCount(int(points.size()));
  for (int i = 0; i < int(points.size()); ++i) s.SetPoint(i, points[i].x, points[i].y);
  return s;
}

bool InsideAny(const std::vector<PixelBox>& boxes, double x, double y) {
  for (const PixelBox& b : boxes)
    if (b.left <= x && x <= b.right && b.top <= y && y <= b.bottom) return true;
  return false;
}

std::vector<PixelBox> Reach(const CShape& s, int zoom) {
  PixelBox boxes[ShapeCover::kMaxBoxes];
  // At other ratios than 1 the reach of upright boxes is worked out as for other shapes.
  PixelBox extent;
  if (!ShapeCover::Extent(s, zoom, extent)) return {};
  return std::vector<PixelBox>(boxes, boxes + ShapeCover::Reach(s, zoom, 2, extent, boxes));
}

std::vector<PixelBox> Core(const CShape& s, int zoom) {
  PixelBox boxes[ShapeCover::kMaxBoxes];
  return std::vector<PixelBox>(boxes, boxes + ShapeCover::Core(s, zoom, 1, boxes));
}

// The shapes a 1000-pixel-square picture gets, painted as pixels or kept as calls.
std::vector<int> ShapesToPaint(const CTavlo& d, bool opaque) {
  const PixelBox shown{0, 0, 999, 999};
  return opaque ? paint_order::ShapesToPaint(d, d.GetZoom(), d.GetSelected(), shown, 1)
                : paint_order::ShapesReaching(d, d.GetZoom(), d.GetSelected(), shown);
}

}  // namespace

TEST(CoverageMask, MarksOnlyWholeCellsAndAnswersForItsOwnBox) {
  CoverageMask fine({0, 0, 199, 99});
  ASSERT_EQ(fine.CellSize(), 1);
  fine.Cover({10, 10, 20, 30});
  EXPECT_TRUE(fine.Covers({10, 10, 20, 30}));
  EXPECT_FALSE(fine.Covers({9, 10, 20, 30}));
  EXPECT_FALSE(fine.Covers({10, 10, 21, 30}));
  EXPECT_FALSE(fine.Covers({10, 10, 20, 31}));
  fine.Cover({21, 10, 150, 30});  // joins on across a word boundary
  EXPECT_TRUE(fine.Covers({12, 11, 150, 29}));
  EXPECT_TRUE(fine.Covers({300, 300, 400, 400})) << "a box beyond the mask is not its business";
  EXPECT_TRUE(fine.Covers({-50, -50, -1, -1}));
  EXPECT_FALSE(fine.Covers({-50, -50, 10, 10})) << "pixel (0, 0) is inside and uncovered";

  // Cells of 4 pixels: a box that holds no whole cell marks nothing.
  CoverageMask coarse({-100, -100, 99, 99}, 2500);
  ASSERT_EQ(coarse.CellSize(), 4);
  coarse.Cover({-99, -99, -94, -94});
  EXPECT_FALSE(coarse.Covers({-97, -97, -96, -96}));
  coarse.Cover({-100, -100, -93, -93});
  EXPECT_TRUE(coarse.Covers({-100, -100, -93, -93}));
  EXPECT_FALSE(coarse.Covers({-100, -100, -92, -93}));
}

TEST(CoverageMask, NeverClaimsAPixelNoBoxCovered) {
  std::mt19937 rng(3);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (const int64_t maxCells : {int64_t(1) << 20, int64_t(900), int64_t(60)}) {
    CoverageMask mask({-40, -30, 139, 89}, maxCells);
    std::vector<std::vector<bool>> truth(120, std::vector<bool>(180, false));
    for (int round = 0; round < 300; ++round) {
      const int x = in(-60, 150), y = in(-50, 100), w = in(0, 40), h = in(0, 40);
      mask.Cover({x, y, x + w, y + h});
      for (int py = std::max(y, -30); py <= std::min(y + h, 89); ++py)
        for (int px = std::max(x, -40); px <= std::min(x + w, 139); ++px) truth[py + 30][px + 40] = true;

      const int qx = in(-60, 150), qy = in(-50, 100), qw = in(0, 30), qh = in(0, 30);
      bool all = true;
      for (int py = std::max(qy, -30); py <= std::min(qy + qh, 89); ++py)
        for (int px = std::max(qx, -40); px <= std::min(qx + qw, 139); ++px) all = all && truth[py + 30][px + 40];
      if (mask.Covers({qx, qy, qx + qw, qy + qh})) {
        ASSERT_TRUE(all) << "cells of " << mask.CellSize();
      }
      if (mask.CellSize() == 1) {
        ASSERT_EQ(mask.Covers({qx, qy, qx + qw, qy + qh}), all);
      }
    }
  }
}

TEST(ShapeCover, ReachHoldsEveryPointOfTheOutlineWidenedByThePenAndLiesInTheBound) {
  std::mt19937 rng(4);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int round = 0; round < 400; ++round) {
    const int kinds[] = {kLine, kRectangle, kBezier, kEllipse};
    const int kind = kinds[round % 4];
    const int n = kind == kBezier ? (in(0, 1) ? 4 : 7) : kind == kEllipse ? 4 : in(2, 10);
    std::vector<CPoint> points;
    for (int i = 0; i < n; ++i) points.push_back(CPoint(in(-500, 500), in(-500, 500)));
    const CShape s = Shape(kind, points, in(0, 1) ? int(kBrushTransparent) : int(kBrushPaint), in(1, 9));
    const int zoom = in(0, 2) ? 100 : in(50, 500);
    const std::vector<PixelBox> reach = Reach(s, zoom);
    ASSERT_FALSE(reach.empty());
    PixelBox bound;
    ASSERT_TRUE(ShapeCover::Extent(s, zoom, bound));
    bound = ShapeCover::BoundOf(bound);
    for (const PixelBox& b : reach)
      ASSERT_TRUE(b.left >= bound.left && b.top >= bound.top && b.right <= bound.right && b.bottom <= bound.bottom)
          << "round " << round << ": a box of the reach beyond the bound";

    std::vector<std::pair<double, double>> samples;  // points of the outline, zoomed
    auto z = [&](CPoint p) { return std::pair<double, double>(p.x * zoom / 100, p.y * zoom / 100); };
    if (kind == kEllipse) {
      const auto [x0, y0] = z(points[0]);
      const auto [x2, y2] = z(points[2]);
      for (int k = 0; k < 720; ++k)
        samples.push_back({(x0 + x2) / 2 + std::abs(x2 - x0) / 2 * std::cos(k * M_PI / 360),
                           (y0 + y2) / 2 + std::abs(y2 - y0) / 2 * std::sin(k * M_PI / 360)});
    } else if (kind == kBezier) {
      for (int seg = 0; seg + 3 < n; seg += 3)
        for (int k = 0; k <= 400; ++k) {
          const double t = k / 400.0, u = 1 - t;
          const double w[4] = {u * u * u, 3 * u * u * t, 3 * u * t * t, t * t * t};
          double x = 0, y = 0;
          for (int j = 0; j < 4; ++j) x += w[j] * z(points[seg + j]).first, y += w[j] * z(points[seg + j]).second;
          samples.push_back({x, y});
        }
    } else {
      const int runs = kind == kLine ? n - 1 : n;
      for (int i = 0; i < runs; ++i)
        for (int k = 0; k <= 400; ++k) {
          const auto [ax, ay] = z(points[i]);
          const auto [bx, by] = z(points[(i + 1) % n]);
          samples.push_back({ax + (bx - ax) * k / 400.0, ay + (by - ay) * k / 400.0});
        }
    }
    const double half = s.GetPenWidth() / 2.0 + 0.5;
    for (const auto& [x, y] : samples)
      for (const double dx : {-half, half})
        for (const double dy : {-half, half})
          ASSERT_TRUE(InsideAny(reach, x + dx, y + dy))
              << "round " << round << " kind " << kind << " at " << x << ", " << y;
  }
}

TEST(ShapeCover, CoreLiesInsideFillsThatPaintEveryPixel) {
  std::mt19937 rng(6);
  auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  int cores = 0;
  for (int round = 0; round < 2000; ++round) {
    const bool ellipse = round % 2 == 0;
    std::vector<CPoint> points;
    for (int i = 0; i < 4; ++i) points.push_back(CPoint(in(-300, 300), in(-300, 300)));
    const CShape s = Shape(ellipse ? kEllipse : kPolygonRect, points, in(0, 5));
    for (const PixelBox& b : Core(s, 100)) {
      ++cores;
      for (const double x : {b.left - 0.5, b.right + 0.5})
        for (const double y : {b.top - 0.5, b.bottom + 0.5}) {
          if (ellipse) {
            const double cx = (points[0].x + points[2].x) / 2.0, cy = (points[0].y + points[2].y) / 2.0;
            const double rx = std::abs(points[2].x - points[0].x) / 2.0, ry = std::abs(points[2].y - points[0].y) / 2.0;
            ASSERT_LT(std::pow((x - cx) / rx, 2) + std::pow((y - cy) / ry, 2), 1.0) << "round " << round;
          } else {
            // Inside a convex quadrilateral: on the same side of every edge.
            int sides = 0;
            for (int i = 0; i < 4; ++i) {
              const CPoint a = points[i], c = points[(i + 1) % 4];
              const double cross = double(c.x - a.x) * (y - a.y) - double(c.y - a.y) * (x - a.x);
              sides += cross > 0 ? 1 : -1;
            }
            ASSERT_EQ(std::abs(sides), 4) << "round " << round;
          }
        }
    }
  }
  EXPECT_GT(cores, 500);

  // Fills that leave pixels alone, and outlines whose odd-even inside is not all of it.
  const std::vector<CPoint> square{{0, 0}, {100, 0}, {100, 100}, {0, 100}};
  EXPECT_EQ(Core(Shape(kRectangle, square, kBrushPaint), 100).size(), 1u);
  EXPECT_TRUE(Core(Shape(kRectangle, square, kBrushTransparent), 100).empty());
  EXPECT_TRUE(Core(Shape(kRectangle, square, kBrushUnset), 100).empty());
  EXPECT_TRUE(Core(Shape(kRectangle, square, 6), 100).empty());
  EXPECT_TRUE(Core(Shape(kLine, square, kBrushPaint), 100).empty());
  EXPECT_TRUE(Core(Shape(kRectangle, {{0, 0}, {100, 100}, {100, 0}, {0, 100}}, kBrushPaint), 100).empty()) << "folded";
  EXPECT_TRUE(Core(Shape(kRectangle, {{0, 0}, {100, 0}, {20, 20}, {0, 100}}, kBrushPaint), 100).empty()) << "bent in";
  EXPECT_TRUE(Core(Shape(kRectangle, {{0, 0}, {100, 0}, {100, 100}, {0, 100}, {50, 50}}, kBrushPaint), 100).empty());
  // Far out the engine's pixels are not bounded by the shape: no core there.
  EXPECT_TRUE(
      Core(Shape(kRectangle, {{0, 0}, {9000000, 0}, {9000000, 9000000}, {0, 9000000}}, kBrushPaint), 100).empty());
}

TEST(ShapeCover, ShapesUnderAFillThatPaintsEveryPixelAreNotListed) {
  CTavlo d;
  d.AddShape(Shape(kEllipse, {{100, 100}, {140, 100}, {140, 130}, {100, 130}}, kBrushPaint));  // 0: buried
  d.AddShape(Shape(kLine, {{100, 100}, {380, 380}}, kBrushUnset, 3));                          // 1: buried
  d.AddShape(Shape(kLine, {{100, 100}, {420, 100}}, kBrushUnset));                             // 2: pokes out
  d.AddShape(Shape(kRectangle, {{1100, 0}, {1200, 0}, {1200, 50}, {1100, 50}}, kBrushPaint));  // 3: outside
  d.AddShape(Shape(kRectangle, {{50, 50}, {400, 50}, {400, 400}, {50, 400}}, HS_CROSS));       // 4: covers
  d.AddShape(Shape(kRectangle, {{0, 0}, {999, 0}, {999, 999}, {0, 999}}, kBrushTransparent));  // 5: see-through
  d.ClearSelection();
  EXPECT_EQ(ShapesToPaint(d, true), (std::vector<int>{2, 4, 5}));
  // A context that keeps every call, or blends, gets every shape it shows.
  EXPECT_EQ(ShapesToPaint(d, false), (std::vector<int>{0, 1, 2, 4, 5}));
  d.SetSelected(4);  // the selection is drawn as an outline only and hides nothing
  EXPECT_EQ(ShapesToPaint(d, true), (std::vector<int>{0, 1, 2, 5}));

  // The listed shapes are the ones that paint.
  d.ClearSelection();
  CRecordingDC dc;
  for (const int i : ShapesToPaint(d, true)) d.DrawShape(dc, i);
  EXPECT_EQ(dc.Calls("Ellipse").size(), 0u);
  EXPECT_EQ(dc.Calls("Polyline").size(), 1u);
  EXPECT_EQ(dc.Calls("Polygon").size(), 2u);
}
