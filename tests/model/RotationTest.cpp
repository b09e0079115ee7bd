#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <numbers>

#include "model/CTavlo.h"
#include "model/Geometry.h"

namespace {

constexpr double kQuarter = std::numbers::pi / 2;

// A selected rectangle turning about (100, 100), in front of another shape.
CTavlo Pivot100() {
  CTavlo d;
  CShape other;
  other.SetPoint(0, 110, 100);
  other.SetPointCount(1);
  d.AddShape(other);
  CShape s;
  s.SetType(kRectangle);
  s.SetCenter(100, 100);
  s.SetPoint(0, 110, 100);
  s.SetPoint(1, 100, 90);
  s.SetPoint(2, 103, 104);
  s.SetPoint(3, 100, 100);
  s.SetPoint(4, 110, 100);  // beyond the point count: never turned
  s.SetPointCount(4);
  s.SetBrushStyle(kBrushPaint);
  d.AddShape(s);
  return d;
}

// The quarter turn of the examples: pressed right of the pivot, pointer straight below it.
void QuarterTurn(CTavlo& d) { d.TrackRotation(110, 100, 100, 110); }

CPoint Rotated(const CTavlo& d, CPoint p) {
  d.RotatePoint(p);
  return p;
}

}  // namespace

TEST(Rotation, RoundHalfUpRoundsPositiveHalvesUpAndTruncatesNegatives) {
  using geometry::RoundHalfUp;
  EXPECT_EQ(RoundHalfUp(2.5), 3);
  EXPECT_EQ(RoundHalfUp(2.49), 2);
  EXPECT_EQ(RoundHalfUp(0.5), 1);
  EXPECT_EQ(RoundHalfUp(-2.5), -2);
  EXPECT_EQ(RoundHalfUp(-2.7), -2);
  EXPECT_EQ(RoundHalfUp(-7.0), -7);
  EXPECT_EQ(RoundHalfUp(4294967294.6), 4294967295LL);
  EXPECT_EQ(RoundHalfUp(-4294967294.6), -4294967294LL);
  // Out of reach of any drawing, but still a number.
  EXPECT_EQ(RoundHalfUp(1e300), int64_t(1) << 53);
  EXPECT_EQ(RoundHalfUp(-std::numeric_limits<double>::infinity()), -(int64_t(1) << 53));
  EXPECT_EQ(RoundHalfUp(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(Rotation, TrackRotationMeasuresFromThePressPoint) {
  CTavlo d = Pivot100();
  QuarterTurn(d);
  // The pointer is straight below the pivot; its zero horizontal offset counts as 1e-9.
  EXPECT_LT(d.GetAngle(), kQuarter);
  EXPECT_GT(d.GetAngle(), kQuarter - 1e-8);
  // Round the pivot and back to the press point: 0, not a full turn.
  for (CPoint p : {CPoint(90, 100), CPoint(100, 90), CPoint(110, 100)}) d.TrackRotation(110, 100, p.x, p.y);
  EXPECT_EQ(d.GetAngle(), 0.0);
  d.TrackRotation(110, 100, 100, 90);  // straight above: a quarter back, not three quarters on
  EXPECT_NEAR(d.GetAngle(), -kQuarter, 1e-8);
  d.TrackRotation(110, 100, 90, 101);
  EXPECT_NEAR(d.GetAngle(), std::atan2(1.0, -10.0), 1e-12);
  d.TrackRotation(100, 90, 100, 100);  // pointer on the pivot: it lies at angle 0
  EXPECT_NEAR(d.GetAngle(), kQuarter, 1e-8);
}

TEST(Rotation, ApplyRotationTurnsThePointsAboutTheCentre) {
  CTavlo d = Pivot100();
  const CShape before = d.GetShape(0);
  const CShape back = d.GetShapes()[0];
  QuarterTurn(d);
  d.ApplyRotation();
  EXPECT_EQ(d.GetAngle(), 0.0);
  CShape expected = before;
  expected.SetPoint(0, 100, 110);
  expected.SetPoint(1, 110, 100);
  expected.SetPoint(2, 97, 103);  // the x offset is slightly above -4 and truncates to -3
  // The centre, the slots beyond the point count, the attributes and the other shape stay.
  EXPECT_TRUE(d.GetShape(0) == expected);
  EXPECT_TRUE(d.GetShapes()[0] == back);
  EXPECT_EQ(d.GetSelected(), 1);
}

TEST(Rotation, ApplyingNoTurnLeavesThePointsAlone) {
  CTavlo d = Pivot100();
  const CTavlo before = d;
  d.ApplyRotation();
  EXPECT_TRUE(d == before);
  d.TrackRotation(110, 100, 120, 100);  // dragged straight out from the pivot
  d.ApplyRotation();
  EXPECT_TRUE(d == before);
}

TEST(Rotation, RotatePointTurnsOnlyInRotateModeWhileATurnIsPending) {
  CTavlo d = Pivot100();
  d.SetRotateMode(true);
  EXPECT_EQ(Rotated(d, CPoint(110, 100)), CPoint(110, 100));  // angle still 0
  QuarterTurn(d);
  d.SetRotateMode(false);
  EXPECT_EQ(Rotated(d, CPoint(110, 100)), CPoint(110, 100));
  d.SetRotateMode(true);
  EXPECT_EQ(Rotated(d, CPoint(110, 100)), CPoint(100, 110));
  EXPECT_TRUE(d.GetShape(0) == Pivot100().GetShape(0));  // only the picture turns

  d.SetZoom(200);  // the angle was measured in drawing units; the pivot is zoomed
  EXPECT_EQ(Rotated(d, CPoint(220, 200)), CPoint(200, 220));
}

// The pending turn is the selected shape's: a change of selection must not carry it over.
TEST(Rotation, EveryChangeOfTheSelectionDropsAPendingTurn) {
  CShape clip;
  const std::pair<const char*, void (*)(CTavlo&, CShape&)> changes[] = {
      {"SetSelected", [](CTavlo& d, CShape&) { d.SetSelected(0); }},
      {"ClearSelection", [](CTavlo& d, CShape&) { d.ClearSelection(); }},
      {"AddShape", [](CTavlo& d, CShape& c) { d.AddShape(c); }},
      {"DeleteSelected", [](CTavlo& d, CShape&) { d.DeleteSelected(); }},
      {"MoveBackwards", [](CTavlo& d, CShape&) { d.MoveBackwards(); }},
      {"CutSelected", [](CTavlo& d, CShape& c) { d.CutSelected(c); }},
      {"CopySelected", [](CTavlo& d, CShape& c) { d.CopySelected(c); }},
  };
  for (const auto& [name, change] : changes) {
    CTavlo d = Pivot100();
    d.SetRotateMode(true);
    QuarterTurn(d);
    ASSERT_NE(d.GetAngle(), 0.0);
    change(d, clip);
    EXPECT_EQ(d.GetAngle(), 0.0) << name;
  }
  // Rotate mode alone keeps it: the view decides what a switch in mid-turn means.
  CTavlo d = Pivot100();
  QuarterTurn(d);
  d.SetRotateMode(true);
  EXPECT_NE(d.GetAngle(), 0.0);
}

TEST(Rotation, TurningAtTheEndsOfTheRangeClampsInsteadOfOverflowing) {
  CTavlo d;
  CShape s;
  s.SetCenter(INT_MIN, INT_MIN);
  s.SetPoint(0, INT_MAX, INT_MAX);
  s.SetPoint(1, INT_MIN, INT_MIN);
  s.SetPoint(2, INT_MAX, INT_MIN);
  s.SetPointCount(3);
  d.AddShape(s);
  d.TrackRotation(INT_MAX, INT_MIN, INT_MIN, INT_MAX);
  EXPECT_NEAR(d.GetAngle(), kQuarter, 1e-8);
  d.ApplyRotation();
  // Offsets of 2^32 - 1 turn a quarter: x would fall below the range, y lands on its top.
  EXPECT_EQ(d.GetShape(0).GetPoint(0), CPoint(INT_MIN, INT_MAX));
  EXPECT_EQ(d.GetShape(0).GetPoint(1), CPoint(INT_MIN, INT_MIN));
  EXPECT_EQ(d.GetShape(0).GetPoint(2), CPoint(INT_MIN, INT_MAX));

  // At zoom 500 the centre (1e9, -1e9) zooms past both ends of the range.
  CTavlo z;
  s.SetCenter(1'000'000'000, -1'000'000'000);
  z.AddShape(s);
  z.SetZoom(500);
  z.SetRotateMode(true);
  z.TrackRotation(1'000'000'010, -1'000'000'000, 1'000'000'000, -999'999'990);
  EXPECT_EQ(Rotated(z, CPoint(INT_MIN, INT_MAX)), CPoint(INT_MIN, INT_MIN));
  EXPECT_EQ(Rotated(z, CPoint(INT_MAX, INT_MIN)), CPoint(INT_MAX, INT_MIN));  // the clamped pivot
}
