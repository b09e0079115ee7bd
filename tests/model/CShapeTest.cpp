#include <gtest/gtest.h>

#include <climits>

#include "model/CShape.h"

TEST(CShape, FreshRecordHasDefaults) {
  const CShape s;
  EXPECT_EQ(s.GetCenter(), CPoint(0, 0));
  EXPECT_EQ(s.GetType(), 0);
  EXPECT_EQ(s.GetPenColor(), 0u);
  EXPECT_EQ(s.GetBrushColor(), 0u);
  EXPECT_EQ(s.GetPenWidth(), 1);
  EXPECT_EQ(s.GetPenStyle(), 0);
  EXPECT_EQ(s.GetBrushStyle(), -1);
  EXPECT_EQ(s.GetPointCount(), 0);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s.GetPoint(i), CPoint(0, 0)) << "slot " << i;
}

TEST(CShape, PointCountOutsideOneToTenBecomesZero) {
  CShape s;
  for (int n : {1, 2, 4, 10}) {
    s.SetPointCount(n);
    EXPECT_EQ(s.GetPointCount(), n);
  }
  for (int n : {0, -3, 11, INT_MIN, INT_MAX}) {
    s.SetPointCount(4);
    s.SetPointCount(n);
    EXPECT_EQ(s.GetPointCount(), 0) << n;
  }
}

TEST(CShape, EdgeMidpointRoundsTowardTheSmallerValueInEitherOrder) {
  CShape s;
  s.SetPoint(1, 5, -3);
  s.SetPoint(2, -3, -4);
  s.SetPoint(3, -4, -3);
  EXPECT_EQ(s.GetEdgeMidpoint(0, 1), CPoint(2, -2));
  EXPECT_EQ(s.GetEdgeMidpoint(1, 0), CPoint(2, -2));
  // -3 and -4 meet at -4, not at the -3 that truncating (a + b) / 2 would give.
  EXPECT_EQ(s.GetEdgeMidpoint(2, 3), CPoint(-4, -4));
  EXPECT_EQ(s.GetEdgeMidpoint(3, 2), CPoint(-4, -4));
}

TEST(CShape, EdgeMidpointAtTheEndsOfTheRange) {
  CShape s;
  s.SetPoint(0, INT_MIN, INT_MAX);
  s.SetPoint(1, INT_MAX, INT_MIN);
  s.SetPoint(2, INT_MAX, INT_MAX);
  s.SetPoint(3, INT_MAX - 1, INT_MIN);
  s.SetPoint(4, INT_MIN, INT_MIN + 1);
  EXPECT_EQ(s.GetEdgeMidpoint(0, 1), CPoint(-1, -1));  // INT_MIN + (2^32 - 1) / 2
  EXPECT_EQ(s.GetEdgeMidpoint(1, 0), CPoint(-1, -1));
  EXPECT_EQ(s.GetEdgeMidpoint(2, 3), CPoint(INT_MAX - 1, -1));
  EXPECT_EQ(s.GetEdgeMidpoint(3, 2), CPoint(INT_MAX - 1, -1));
  EXPECT_EQ(s.GetEdgeMidpoint(4, 1), CPoint(-1, INT_MIN));
  EXPECT_EQ(s.GetEdgeMidpoint(2, 2), CPoint(INT_MAX, INT_MAX));
}

TEST(CShape, CopiesCarryAllTenSlotsWhateverThePointCount) {
  CShape s;
  s.SetType(kLine);
  s.SetCenter(20, 30);
  s.SetPenColor(RGB(9, 8, 7));
  s.SetBrushStyle(3);
  for (int i = 0; i < 10; ++i) s.SetPoint(i, 10 * i + 1, -i - 1);
  s.SetPointCount(2);

  const CShape copy(s);
  CShape assigned;
  assigned = s;
  for (const CShape* c : {&copy, static_cast<const CShape*>(&assigned)}) {
    EXPECT_TRUE(*c == s);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(c->GetPoint(i), CPoint(10 * i + 1, -i - 1)) << "slot " << i;
  }
}

// The other tests compare whole records with ==, so it must see every field.
TEST(CShape, EqualityLooksAtEveryFieldAndSlot) {
  CShape a;
  a.SetPointCount(2);
  CShape b = a;
  EXPECT_TRUE(a == b);
  b.SetPoint(9, 0, 1);  // beyond the point count, but still part of the record
  EXPECT_FALSE(a == b);
  b = a;
  b.SetBrushColor(1);
  EXPECT_FALSE(a == b);
  b = a;
  b.SetCenter(0, -1);
  EXPECT_FALSE(a == b);
}
