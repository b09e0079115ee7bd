// The drag rules as a table: a shape, a grip, a step of (5, 7) or the space bar, and where every
// point and the centre end up.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "model/DragRules.h"
#include "model/ShapeCodes.h"

namespace {

std::vector<CPoint> PointsOf(const CShape& s) {
  std::vector<CPoint> points;
  for (int i = 0; i < s.GetPointCount(); ++i) points.push_back(s.GetPoint(i));
  points.push_back(s.GetCenter());
  return points;
}

TEST(DragRules, EachGripMovesWhatItHoldsAndKeepsTheSidesOfBoxes) {
  const drag_rules::Step d{5, 7};
  const struct {
    int kind, mode, part;
    bool slide, moves;
    std::vector<CPoint> after;  // the points, then the centre
  } rows[] = {
      {kLine, HIT_VERTEX, 1, false, true, {{0, 0}, {105, 57}, {10, 10}}},
      {kLine, HIT_EDGE, 0, false, false, {{0, 0}, {100, 50}, {10, 10}}},
      {kLine, HIT_OUTLINE, 0, false, true, {{5, 7}, {105, 57}, {15, 17}}},
      {kRectangle, HIT_VERTEX, 2, false, true, {{0, 0}, {105, 0}, {105, 57}, {0, 57}, {10, 10}}},
      {kEllipse, HIT_VERTEX, 1, false, true, {{0, 7}, {105, 7}, {105, 50}, {0, 50}, {10, 10}}},
      {kRectangle, HIT_EDGE, 0, false, true, {{0, 7}, {100, 7}, {100, 50}, {0, 50}, {10, 10}}},
      {kRectangle, HIT_EDGE, 0, true, true, {{5, 0}, {105, 0}, {100, 50}, {0, 50}, {10, 10}}},
      {kEllipse, HIT_EDGE, 1, true, true, {{0, 0}, {105, 0}, {105, 50}, {0, 50}, {10, 10}}},
      {kPolygonRect, HIT_VERTEX, 0, false, true, {{5, 7}, {100, 0}, {100, 50}, {0, 50}, {10, 10}}},
      {kPolygonRect, HIT_EDGE, 3, false, true, {{5, 7}, {100, 0}, {100, 50}, {5, 57}, {10, 10}}},
      {kBezier, HIT_CENTER, 0, false, true, {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {15, 17}}},
      {kRectangle, HIT_VERTEX, 4, false, false, {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {10, 10}}},
      {kRectangle, HIT_ROTATE, 0, false, false, {{0, 0}, {100, 0}, {100, 50}, {0, 50}, {10, 10}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(testing::Message() << "kind " << row.kind << ", mode " << row.mode << ", part " << row.part);
    CShape s = drag_rules::NewShape(row.kind, CPoint(0, 0), CPoint(100, 50));
    s.SetType(row.kind);
    EXPECT_EQ(drag_rules::Reshape(s, row.kind, row.mode, row.part, d, row.slide), row.moves);
    EXPECT_EQ(PointsOf(s), row.after);
  }
  // Far out, a point stops at the end of the range instead of wrapping round.
  CShape far = drag_rules::NewShape(kLine, CPoint(INT_MAX - 2, 0), CPoint(0, INT_MIN + 1));
  ASSERT_TRUE(drag_rules::Reshape(far, kLine, HIT_OUTLINE, 0, d, false));
  EXPECT_EQ(far.GetPoint(0), CPoint(INT_MAX, 7));
  EXPECT_EQ(far.GetCenter(), CPoint(INT_MAX, 17));
  EXPECT_EQ(drag_rules::NewShapeGrip(kLine), 1);
  EXPECT_EQ(drag_rules::NewShapeGrip(kEllipse), 2);
}

}  // namespace
