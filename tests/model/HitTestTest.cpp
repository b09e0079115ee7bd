// Hit testing of the selected shape and the search for the shape under a double-click.
#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <random>
#include <vector>

#include "model/CTavlo.h"
#include "platform/core/LineDDA.h"

namespace {

CShape Shape(int type, std::vector<CPoint> points, CPoint centre = CPoint()) {
  CShape s;
  s.SetType(type);
  s.SetCenter(centre.x, centre.y);
  s.SetPointCount(int(points.size()));
  for (int i = 0; i < int(points.size()); ++i) s.SetPoint(i, points[i].x, points[i].y);
  return s;
}

const std::vector<CPoint> kBox{{0, 0}, {100, 0}, {100, 50}, {0, 50}};

struct Hit {
  int kind, part;
  friend bool operator==(const Hit&, const Hit&) = default;
  friend std::ostream& operator<<(std::ostream& os, const Hit& h) {
    return os << "kind " << h.kind << " part " << h.part;
  }
};
const Hit kMiss{HIT_NONE, -1};

// HitTest on the only shape of a drawing at `zoom`.
Hit Press(const CShape& shape, int x, int y, int zoom = 100, bool rotate = false) {
  CTavlo drawing;
  drawing.AddShape(shape);
  drawing.SetZoom(zoom);
  drawing.SetRotateMode(rotate);
  Hit h{-7, -7};
  const bool result = drawing.HitTest(x, y, 0, h.kind, h.part);
  EXPECT_EQ(result, h.kind != HIT_NONE);
  return h;
}

}  // namespace

TEST(HitTest, VertexHandleIsASquareWithItsBorderAndIndexMinusOneIsNoShape) {
  const CShape line = Shape(kLine, {{100, 100}, {100, 300}});
  CTavlo drawing;
  drawing.AddShape(line);
  int kind = 9, part = 9;
  EXPECT_FALSE(drawing.HitTest(100, 100, -1, kind, part));
  EXPECT_EQ((Hit{kind, part}), kMiss);
  for (CPoint p : {CPoint(103, 97), CPoint(97, 103), CPoint(97, 97), CPoint(103, 103), CPoint(100, 100)})
    EXPECT_EQ(Press(line, p.x, p.y), (Hit{HIT_VERTEX, 0})) << p.x << "," << p.y;
  EXPECT_EQ(Press(line, 104, 100), kMiss);
  EXPECT_EQ(Press(line, 100, 96), kMiss);
  EXPECT_EQ(Press(line, 100, 303), (Hit{HIT_VERTEX, 1}));
}

TEST(HitTest, SegmentNearnessIsStrictAndScalesWithTheZoom) {
  const CShape line = Shape(kLine, {{0, 0}, {100, 0}});
  EXPECT_EQ(Press(line, 50, 2), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(line, 50, -2), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(line, 50, 3), kMiss);
  EXPECT_EQ(Press(line, 100, 3), (Hit{HIT_VERTEX, 1}));
  EXPECT_EQ(Press(line, 50, 0), (Hit{HIT_OUTLINE, 0})) << "a Line has no edge handle";
  EXPECT_EQ(Press(line, 104, 0), kMiss);
  // 200 %: tolerance 6 zoomed units, (50, 2) is (100, 4) zoomed.
  EXPECT_EQ(Press(line, 50, 2, 200), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(line, 50, 3, 200), kMiss);
  // 50 %: tolerance 3 zoomed units, which are 6 drawing units.
  EXPECT_EQ(Press(line, 50, 5, 50), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(line, 50, 6, 50), kMiss);
  // 500 %: tolerance 15.
  EXPECT_EQ(Press(line, 50, 2, 500), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(line, 50, 3, 500), kMiss);
}

TEST(HitTest, RectangleEdgeHandlesComeBeforeItsSidesAndItsInsideIsDead) {
  const CShape box = Shape(kRectangle, kBox);
  EXPECT_EQ(Press(box, 50, 0), (Hit{HIT_EDGE, 0}));
  EXPECT_EQ(Press(box, 100, 25), (Hit{HIT_EDGE, 1}));
  EXPECT_EQ(Press(box, 0, 27), (Hit{HIT_EDGE, 3})) << "the closing edge runs from point 3 to point 0";
  EXPECT_EQ(Press(box, 25, 1), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(box, 1, 10), (Hit{HIT_OUTLINE, 3}));
  EXPECT_EQ(Press(box, 50, 25), kMiss);
  EXPECT_EQ(Press(box, 100, 50), (Hit{HIT_VERTEX, 2}));
}

TEST(HitTest, CentreComesFirstInRotateModeOnly) {
  const CShape atVertex = Shape(kRectangle, kBox, CPoint(0, 0));
  EXPECT_EQ(Press(atVertex, 1, 1, 100, true), (Hit{HIT_CENTER, -1}));
  EXPECT_EQ(Press(atVertex, 1, 1, 100, false), (Hit{HIT_VERTEX, 0}));
  const CShape inside = Shape(kRectangle, kBox, CPoint(50, 25));
  EXPECT_EQ(Press(inside, 53, 22, 100, true), (Hit{HIT_CENTER, -1}));
  EXPECT_EQ(Press(inside, 54, 25, 100, true), kMiss);
  EXPECT_EQ(Press(inside, 50, 25, 100, false), kMiss);
  EXPECT_EQ(Press(inside, 52, 26, 200, true), (Hit{HIT_CENTER, -1})) << "tolerance 6 at 200 %";
}

TEST(HitTest, BezierCurveAndControlPolygon) {
  const CShape curve = Shape(kBezier, {{0, 0}, {100, 0}, {100, 100}, {0, 100}});
  EXPECT_EQ(Press(curve, 50, 50), kMiss);
  EXPECT_EQ(Press(curve, 75, 50), (Hit{HIT_OUTLINE, 4}));
  EXPECT_EQ(Press(curve, 100, 75), (Hit{HIT_OUTLINE, 1})) << "the control polygon is tested before the curve";
  EXPECT_EQ(Press(curve, 71, 50), kMiss);
  EXPECT_EQ(Press(curve, 75, 50, 200), (Hit{HIT_OUTLINE, 4}));
  EXPECT_EQ(Press(curve, 71, 50, 50), (Hit{HIT_OUTLINE, 4})) << "3 zoomed units are 6 drawing units at 50 %";
}

TEST(HitTest, EllipseOutlineFrameAndHandles) {
  const CShape oval = Shape(kEllipse, {{0, 0}, {100, 0}, {100, 60}, {0, 60}});
  EXPECT_EQ(Press(oval, 100, 30), (Hit{HIT_EDGE, 1}));
  EXPECT_EQ(Press(oval, 100, 5), (Hit{HIT_OUTLINE, 1}));
  EXPECT_EQ(Press(oval, 85, 52), (Hit{HIT_OUTLINE, 4}));
  EXPECT_EQ(Press(oval, 50, 30), kMiss);
  EXPECT_EQ(Press(oval, 80, 45), kMiss);
  EXPECT_EQ(Press(oval, 15, 8), (Hit{HIT_OUTLINE, 4}));
}

TEST(HitTest, EllipseNearnessIsStrictInBothAxes) {
  // Box (0, 0) to (100, 60): centre (50, 30), semi-axes 50 and 30.
  const CPoint p(0, 0), q(100, 60);
  EXPECT_TRUE(CTavlo::HitEllipse(102, 30, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(103, 30, p, q, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(-2, 30, q, p, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(-3, 30, q, p, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(50, -2, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(50, -3, p, q, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(50, 62, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(50, 63, p, q, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(50, 63, p, q, 4));
  // A frame of no height has only its centre.
  EXPECT_TRUE(CTavlo::HitEllipse(51, 9, CPoint(0, 10), CPoint(100, 10), 3));
  EXPECT_FALSE(CTavlo::HitEllipse(10, 10, CPoint(0, 10), CPoint(100, 10), 3));
}

TEST(HitTest, FindShapeAtCyclesFromFrontToBack) {
  CTavlo drawing;
  drawing.AddShape(Shape(kLine, {{0, 50}, {100, 50}}));
  drawing.AddShape(Shape(kLine, {{50, 0}, {50, 100}}));
  drawing.AddShape(Shape(kLine, {{0, 0}, {100, 100}}));
  drawing.AddShape(Shape(kLine, {{300, 300}, {400, 300}}));  // elsewhere, in front of them all
  drawing.ClearSelection();
  int index = -5, kind = 0, part = 0;
  for (int expected : {2, 1, 0, 2, 1}) {
    ASSERT_TRUE(drawing.FindShapeAt(50, 50, index, kind, part));
    EXPECT_EQ(index, expected);
    EXPECT_EQ(kind, HIT_OUTLINE);
    drawing.SetSelected(index);
  }
  // Only shape 1 lies under (50, 90), and it is selected.
  drawing.SetSelected(1);
  ASSERT_TRUE(drawing.FindShapeAt(50, 90, index, kind, part));
  EXPECT_EQ(index, 1);
  EXPECT_EQ(drawing.GetSelected(), 1);
  // Nothing under (200, 10).
  EXPECT_FALSE(drawing.FindShapeAt(200, 10, index, kind, part));
  EXPECT_EQ(kind, HIT_NONE);
  EXPECT_EQ(part, -1);
}

namespace {

struct Probe {
  int64_t X, Y, t;
  bool found;
};

void Near(int x, int y, void* data) {
  auto* p = static_cast<Probe*>(data);
  if (x - p->t < p->X && p->X < x + p->t && y - p->t < p->Y && p->Y < y + p->t) p->found = true;
}

bool OnHandle(int64_t X, int64_t Y, CPoint h, int64_t t) {
  return std::llabs(X - h.x) <= t && std::llabs(Y - h.y) <= t;
}

// What HitTest must say about a Line, from the two handles and a walk over every pixel.
Hit Expected(CPoint a, CPoint b, int X, int Y, int t) {
  if (OnHandle(X, Y, a, t)) return {HIT_VERTEX, 0};
  if (OnHandle(X, Y, b, t)) return {HIT_VERTEX, 1};
  Probe probe{X, Y, t, false};
  LineDDA(a.x, a.y, b.x, b.y, Near, &probe);
  return probe.found ? Hit{HIT_OUTLINE, 0} : kMiss;
}

}  // namespace

TEST(HitTest, SegmentTestAgreesWithAWalkOverEveryPixel) {
  std::mt19937 random(20240611);
  auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  const int zooms[] = {50, 100, 200, 300, 500};
  int outline = 0, misses = 0;
  for (int round = 0; round < 3000; ++round) {
    const int zoom = zooms[uniform(0, 4)];
    CPoint a(uniform(-700, 700), uniform(-700, 700));
    CPoint b(uniform(-700, 700), uniform(-700, 700));
    switch (round % 6) {  // the awkward directions, now and then
      case 1: b.y = a.y; break;
      case 2: b.x = a.x; break;
      case 3: b = CPoint(a.x + (b.x - a.x), a.y + (b.x - a.x) * (uniform(0, 1) ? 1 : -1)); break;
      case 4: b = CPoint(a.x + uniform(-3, 3), a.y + uniform(-3, 3)); break;
    }
    CTavlo drawing;
    drawing.AddShape(Shape(kLine, {a, b}));
    drawing.SetZoom(zoom);
    const int t = drawing.GetTolerance();
    CPoint za = a, zb = b;
    drawing.ZoomPoint(za);
    drawing.ZoomPoint(zb);
    for (int probe = 0; probe < 8; ++probe) {
      // Mostly near some point of the segment, where the answer can go either way.
      const double f = uniform(0, 1000) / 1000.0;
      int x = int(a.x + f * (b.x - a.x)) + uniform(-8, 8), y = int(a.y + f * (b.y - a.y)) + uniform(-8, 8);
      if (probe == 7) x = uniform(-800, 800), y = uniform(-800, 800);
      CPoint z(x, y);
      drawing.ZoomPoint(z);
      Hit got;
      drawing.HitTest(x, y, 0, got.kind, got.part);
      const Hit want = Expected(za, zb, z.x, z.y, t);
      ASSERT_EQ(got, want) << "line " << a.x << "," << a.y << " - " << b.x << "," << b.y << " at " << zoom
                           << "%, point " << x << "," << y;
      outline += want.kind == HIT_OUTLINE;
      misses += want.kind == HIT_NONE;
    }
  }
  EXPECT_GT(outline, 2000);
  EXPECT_GT(misses, 2000);
}

TEST(HitTest, SegmentsAcrossTheWholeRange) {
  const CShape wide = Shape(kLine, {{-2000000000, 0}, {2000000000, 7}});
  EXPECT_EQ(Press(wide, 0, 3), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(wide, 0, -3), kMiss);
  EXPECT_EQ(Press(wide, -1999999990, 1), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(wide, 1999999990, 8), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(wide, 1999999990, 2), kMiss);
  const CShape tall = Shape(kLine, {{INT_MAX, INT_MIN}, {INT_MIN, INT_MAX}});
  EXPECT_EQ(Press(tall, 0, 0), (Hit{HIT_OUTLINE, 0}));
  EXPECT_EQ(Press(tall, 5, 5), kMiss);
  EXPECT_EQ(Press(tall, INT_MIN + 5, INT_MAX - 7), (Hit{HIT_OUTLINE, 0}));
}

TEST(HitTest, EllipseWalkCopesWithHugeBoxes) {
  // Semi-axes of 2^24: the squared axis times the other passes 64 bits.
  const CPoint p(0, 0), q(1 << 25, 1 << 25);
  const int c = 1 << 24, diagonal = 11863283;  // 2^24 / sqrt(2)
  EXPECT_TRUE(CTavlo::HitEllipse(0, c, p, q, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(1 << 25, c, p, q, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(c + diagonal, c + diagonal, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(c + diagonal + 10, c + diagonal + 10, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(c + diagonal - 10, c + diagonal - 10, p, q, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(c, c, p, q, 3));

  // The whole 32-bit plane: centre (-1, -1), semi-axes 2^31 - 1.
  const CPoint lo(INT_MIN, INT_MIN), hi(INT_MAX, INT_MAX);
  EXPECT_TRUE(CTavlo::HitEllipse(-1, INT_MIN, lo, hi, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(-1, INT_MIN + 2, lo, hi, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(-1, INT_MIN + 3, lo, hi, 3));
  EXPECT_TRUE(CTavlo::HitEllipse(1, INT_MAX - 1, hi, lo, 3));
  EXPECT_FALSE(CTavlo::HitEllipse(0, 0, lo, hi, 15));
  EXPECT_FALSE(CTavlo::HitEllipse(INT_MIN, INT_MIN, lo, hi, 15));
  EXPECT_FALSE(CTavlo::HitEllipse(INT_MAX, INT_MAX, lo, hi, 15));

  // Through HitTest at 500 %: semi-axes of 5,000,000 zoomed units.
  const CShape oval =
      Shape(kEllipse, {{-1000000, -1000000}, {1000000, -1000000}, {1000000, 1000000}, {-1000000, 1000000}});
  EXPECT_EQ(Press(oval, 707107, 707107, 500), (Hit{HIT_OUTLINE, 4}));
  EXPECT_EQ(Press(oval, -707107, 707107, 500), (Hit{HIT_OUTLINE, 4}));
  EXPECT_EQ(Press(oval, 707100, 707100, 500), kMiss);
  EXPECT_EQ(Press(oval, 0, 0, 500), kMiss);
}
