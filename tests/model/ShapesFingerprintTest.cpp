#include <gtest/gtest.h>

#include <random>

#include "model/CTavlo.h"
#include "model/ShapesFingerprint.h"

namespace {

CShape Record(int kind) {
  CShape s;
  s.SetType(kRectangle);
  s.SetPointCount(4);
  s.SetPoint(2, 10 * kind, 10 * kind);
  return s;
}

}  // namespace

// Whatever changes a drawing goes through, the fingerprint it keeps is the one its list has, and
// lists that differ in one record, or only in order, have different fingerprints.
TEST(ShapesFingerprint, FollowsEveryChangeAndTellsListsApart) {
  std::mt19937 rng(7);
  auto pick = [&rng](int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(rng)); };
  CTavlo drawing;
  const ShapesFingerprint empty = drawing.GetFingerprint();
  EXPECT_EQ(empty, ShapesFingerprint());
  for (int step = 0; step < 3000; ++step) {
    const int n = drawing.GetUpperBound() + 1;
    switch (n == 0 ? 0 : pick(4)) {
      case 0: drawing.InsertShape(pick(n + 1), Record(pick(4))); break;
      case 1: drawing.RemoveShape(pick(n)); break;
      case 2: drawing.ReplaceShape(pick(n), Record(pick(4))); break;
      default: drawing.MoveShape(pick(n), pick(n)); break;
    }
    ASSERT_EQ(drawing.GetFingerprint(), ShapesFingerprint::Of(drawing.GetShapes())) << "step " << step;
  }

  CShapeArray ab, ba, aab;
  for (int k : {1, 2}) ab.Add(Record(k));
  for (int k : {2, 1}) ba.Add(Record(k));
  for (int k : {1, 1, 2}) aab.Add(Record(k));
  CShape moved = Record(1);
  moved.SetCenter(0, 1);
  CShapeArray changed = ab;
  changed.ElementAt(0) = moved;
  const ShapesFingerprint prints[] = {empty, ShapesFingerprint::Of(ab), ShapesFingerprint::Of(ba),
                                      ShapesFingerprint::Of(aab), ShapesFingerprint::Of(changed)};
  for (size_t i = 0; i < std::size(prints); ++i)
    for (size_t j = i + 1; j < std::size(prints); ++j) EXPECT_NE(prints[i], prints[j]) << i << " " << j;
}
