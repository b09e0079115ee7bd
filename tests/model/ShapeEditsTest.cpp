// The record of a run of changes: taken back it gives the drawing it started from, done again the
// one it ended with, and a drag, however long, stays one small change. (Each kind of change on its
// own is undone and redone through the view's tests.)
#include <gtest/gtest.h>

#include "model/CTavlo.h"
#include "tests/model/NamedShapes.h"

namespace {

using named_shapes::Drawing;
using named_shapes::Named;
using named_shapes::Order;

CShape Moved(CShape s, int by) {
  s.SetPoint(0, s.GetPoint(0).x + by, s.GetPoint(0).y);
  return s;
}

TEST(ShapeEdits, ARunOfMixedChangesIsTakenBackInReverseAndDoneAgainInOrder) {
  CTavlo d = Drawing("abcde", 0);
  const CShapeArray before = d.GetShapes();
  d.BeginEdits();
  d.AddShape(Named('x'));
  d.SetShape(Moved(d.GetShape(0), 3), 0);
  d.SetSelected(1);
  d.DeleteSelected();
  d.SetSelected(0);
  d.MoveTotallyForwards();
  d.SetSelected(3);
  d.MoveBackwards();
  const ShapeEdits edits = d.EndEdits();
  ASSERT_EQ(Order(d), "cdxea");
  const CShapeArray after = d.GetShapes();

  edits.Undo(d);
  EXPECT_TRUE(d.GetShapes() == before);
  edits.Redo(d);
  EXPECT_TRUE(d.GetShapes() == after);
  d.AddShape(Named('z'));  // no longer recording
  EXPECT_FALSE(d.IsRecordingEdits());
}

TEST(ShapeEdits, ADragIsOneChangeAndOneThatEndsWhereItBeganIsNone) {
  CTavlo d = Drawing("a", 0);
  d.BeginEdits();
  d.SetShape(Moved(d.GetShape(0), 1), 0);
  const size_t one = d.EndEdits().Bytes();

  d.BeginEdits();
  for (int i = 0; i < 1000; ++i) d.SetShape(Moved(d.GetShape(0), 1), 0);
  EXPECT_EQ(d.EndEdits().Bytes(), one);

  d.BeginEdits();
  d.SetShape(Moved(d.GetShape(0), 5), 0);
  d.SetShape(Moved(d.GetShape(0), -5), 0);
  EXPECT_TRUE(d.EndEdits().Empty());

  // A shape put in, reshaped and taken out again, and a reorder that leaves it where it was.
  d.BeginEdits();
  d.AddShape(Named('b'));
  d.SetShape(Moved(d.GetShape(0), 2), 0);
  d.DeleteSelected();
  d.SetSelected(0);
  d.MoveTotallyForwards();
  EXPECT_TRUE(d.EndEdits().Empty());
}

}  // namespace
