#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "model/CTavlo.h"
#include "tests/model/NamedShapes.h"

namespace {

using named_shapes::Drawing;
using named_shapes::Named;
using named_shapes::Order;

CShape Line1020to3040() {
  CShape s;
  s.SetType(kLine);
  s.SetCenter(20, 30);
  s.SetPoint(0, 10, 20);
  s.SetPoint(1, 30, 40);
  s.SetPoint(2, 5, 6);  // beyond the point count: never shifted
  s.SetPointCount(2);
  return s;
}

CPoint Zoomed(const CTavlo& d, CPoint p) {
  d.ZoomPoint(p);
  return p;
}
CPoint Unzoomed(const CTavlo& d, CPoint p) {
  d.UnzoomPoint(p);
  return p;
}

}  // namespace

TEST(CTavlo, NewDrawingIsEmptyAndAddShapeSelectsTheNewShape) {
  CTavlo d;
  EXPECT_EQ(d.GetUpperBound(), -1);
  EXPECT_EQ(d.GetSelected(), -1);
  EXPECT_EQ(d.GetZoom(), 100);
  EXPECT_FALSE(d.GetRotateMode());
  EXPECT_EQ(d.GetAngle(), 0.0);
  d.AddShape(Named('K'));
  EXPECT_EQ(d.GetSelected(), 0);
  EXPECT_EQ(d.GetUpperBound(), 0);
  d.AddShape(Named('L'));
  EXPECT_EQ(d.GetSelected(), 1);
  EXPECT_EQ(Order(d), "KL");
}

TEST(CTavlo, DeleteSelectedClosesTheGapAndDropsTheSelection) {
  CTavlo d = Drawing("KLM", 1);
  d.DeleteSelected();
  EXPECT_EQ(Order(d), "KM");
  EXPECT_EQ(d.GetSelected(), -1);
}

TEST(CTavlo, IndexZeroOfGetShapeAndSetShapeMeansTheSelection) {
  CTavlo d = Drawing("KLM", 2);
  EXPECT_TRUE(d.GetShape(0) == Named('M'));
  EXPECT_TRUE(d.GetShape(1) == Named('L'));
  d.SetShape(Named('X'), 0);
  d.SetShape(Named('Y'), 1);
  EXPECT_EQ(Order(d), "KYX");
  EXPECT_TRUE(d.GetShapes()[1] == Named('Y'));
  EXPECT_EQ(d.GetSelected(), 2);
}

TEST(CTavlo, WithoutASelectionNothingIsReachedOrChanged) {
  for (int selected : {-1, 4, INT_MAX}) {  // none, or a stale index left by SetSelected
    for (int op = 0; op < 11; ++op) {
      CTavlo d = Drawing("KLMN", 0);
      d.SetRotateMode(true);
      d.TrackRotation(85, 150, 75, 160);  // a quarter turn of K about (75, 150) in progress
      ASSERT_NE(d.GetAngle(), 0.0);
      d.SetSelected(selected);
      const CTavlo before = d;
      CPoint p(3, 4);
      CShape clip = Named('Z');
      switch (op) {
        case 0: d.DeleteSelected(); break;
        case 1: d.MoveForwards(); break;
        case 2: d.MoveBackwards(); break;
        case 3: d.MoveTotallyForwards(); break;
        case 4: d.MoveTotallyBackwards(); break;
        case 5: d.CutSelected(clip); break;
        case 6: d.CopySelected(clip); break;
        case 7: d.TrackRotation(80, 10, 10, 80); break;
        case 8: d.RotatePoint(p); break;
        case 9: d.ApplyRotation(); break;
        default:
          for (int i : {0, 4, -1}) {
            EXPECT_TRUE(d.GetShape(i) == CShape()) << i;
            d.SetShape(Named('X'), i);
          }
      }
      EXPECT_TRUE(d == before) << selected << " op " << op;
      EXPECT_TRUE(clip == Named('Z'));
      EXPECT_EQ(p, CPoint(3, 4));
    }
  }
}

TEST(CTavlo, ReorderingMovesTheSelectedShapeAndDropsTheSelection) {
  const struct {
    int selected;
    void (CTavlo::*move)();
    const char* order;
  } cases[] = {
      {1, &CTavlo::MoveForwards, "KMLN"},        {1, &CTavlo::MoveBackwards, "LKMN"},
      {1, &CTavlo::MoveTotallyForwards, "KMNL"}, {2, &CTavlo::MoveTotallyBackwards, "MKLN"},
      {0, &CTavlo::MoveTotallyForwards, "LMNK"}, {3, &CTavlo::MoveTotallyBackwards, "NKLM"},
  };
  for (const auto& c : cases) {
    CTavlo d = Drawing("KLMN", c.selected);
    (d.*c.move)();
    EXPECT_EQ(Order(d), c.order);
    EXPECT_EQ(d.GetSelected(), -1);
    // Whole records move, not only their kinds.
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(d.GetShapes()[i] == Named(c.order[i])) << c.order << " at " << i;
  }
}

TEST(CTavlo, CopyAndCutShiftThePointsButNotTheCentre) {
  for (bool cut : {false, true}) {
    CTavlo d;
    d.AddShape(Line1020to3040());
    d.AddShape(Named('K'));
    d.SetSelected(0);
    CShape clip;
    cut ? d.CutSelected(clip) : d.CopySelected(clip);
    CShape expected = Line1020to3040();
    expected.SetPoint(0, 17, 27);
    expected.SetPoint(1, 37, 47);
    EXPECT_TRUE(clip == expected) << cut;  // centre (20, 30) and the unused slot as they were
    EXPECT_EQ(d.GetSelected(), -1);
    EXPECT_EQ(d.GetUpperBound(), cut ? 0 : 1);
    EXPECT_TRUE(d.GetShapes()[0] == (cut ? Named('K') : Line1020to3040()));
  }

  // Near the end of the range the shift stops there.
  CTavlo d;
  CShape s;
  s.SetPoint(0, INT_MAX - 3, INT_MAX);
  s.SetPoint(1, INT_MIN, -7);
  s.SetPointCount(2);
  d.AddShape(s);
  CShape clip;
  d.CopySelected(clip);
  EXPECT_EQ(clip.GetPoint(0), CPoint(INT_MAX, INT_MAX));
  EXPECT_EQ(clip.GetPoint(1), CPoint(INT_MIN + 7, 0));
}

TEST(CTavlo, ZoomMultipliesThenDividesTruncatingTowardZeroAndNeverOverflows) {
  CTavlo d;
  EXPECT_EQ(Zoomed(d, CPoint(7, -9)), CPoint(7, -9));
  d.SetZoom(50);
  EXPECT_EQ(d.GetZoom(), 50);
  EXPECT_EQ(Zoomed(d, CPoint(5, -5)), CPoint(2, -2));
  EXPECT_EQ(Unzoomed(d, CPoint(2, -2)), CPoint(4, -4));
  d.SetZoom(300);
  EXPECT_EQ(Unzoomed(d, CPoint(100, 101)), CPoint(33, 33));
  EXPECT_EQ(Zoomed(d, CPoint(33, 33)), CPoint(99, 99));
  EXPECT_EQ(Unzoomed(d, CPoint(-100, -101)), CPoint(-33, -33));

  d.SetZoom(500);
  // 5e6 * 500 does not fit in 32 bits, the result does.
  EXPECT_EQ(Zoomed(d, CPoint(5'000'000, -5'000'000)), CPoint(25'000'000, -25'000'000));
  EXPECT_EQ(Zoomed(d, CPoint(500'000'000, -500'000'000)), CPoint(INT_MAX, INT_MIN));
  EXPECT_EQ(Zoomed(d, CPoint(INT_MAX, INT_MIN)), CPoint(INT_MAX, INT_MIN));
  d.SetZoom(50);
  EXPECT_EQ(Unzoomed(d, CPoint(30'000'000, -1'500'000'000)), CPoint(60'000'000, INT_MIN));
  EXPECT_EQ(Unzoomed(d, CPoint(INT_MAX, INT_MIN)), CPoint(INT_MAX, INT_MIN));
}
