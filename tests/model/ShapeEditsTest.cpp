// The record of a run of changes: taken back it gives the drawing it started from, done again the
// one it ended with, and a drag, however long, stays one small change.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "model/CTavlo.h"
#include "tests/model/NamedShapes.h"

namespace {

using named_shapes::Drawing;
using named_shapes::Named;
using named_shapes::Order;

struct Run {
  const char* name;
  int selected;  // before the run
  std::function<void(CTavlo&)> run;
  const char* after;
};

CShape Moved(CShape s, int by) {
  s.SetPoint(0, s.GetPoint(0).x + by, s.GetPoint(0).y);
  return s;
}

const Run kRuns[] = {
    {"add", 1, [](CTavlo& d) { d.AddShape(Named('x')); }, "abcdex"},
    {"delete", 1, [](CTavlo& d) { d.DeleteSelected(); }, "acde"},
    {"forwards", 1, [](CTavlo& d) { d.MoveForwards(); }, "acbde"},
    {"backwards", 3, [](CTavlo& d) { d.MoveBackwards(); }, "abdce"},
    {"totally forwards", 1, [](CTavlo& d) { d.MoveTotallyForwards(); }, "acdeb"},
    {"totally backwards", 3, [](CTavlo& d) { d.MoveTotallyBackwards(); }, "dabce"},
    {"cut", 4,
     [](CTavlo& d) {
       CShape clip;
       d.CutSelected(clip);
     },
     "abcd"},
    {"drag", 2,
     [](CTavlo& d) {
       for (int i = 1; i <= 50; ++i) d.SetShape(Moved(d.GetShape(0), 1), 0);
     },
     "abcde"},
    {"paste, drag it, delete another, reorder", 0,
     [](CTavlo& d) {
       d.AddShape(Named('x'));
       d.SetShape(Moved(d.GetShape(0), 3), 0);
       d.SetSelected(1);
       d.DeleteSelected();
       d.SetSelected(0);
       d.MoveTotallyForwards();
     },
     "cdexa"},
};

class Runs : public ::testing::TestWithParam<Run> {};

TEST_P(Runs, UndoGivesTheDrawingBackAndRedoMakesItAgain) {
  CTavlo d = Drawing("abcde", GetParam().selected);
  const CTavlo before = d;
  d.BeginEdits();
  GetParam().run(d);
  const ShapeEdits edits = d.EndEdits();
  ASSERT_EQ(Order(d), GetParam().after);
  const CShapeArray after = d.GetShapes();

  edits.Undo(d);
  EXPECT_TRUE(d.GetShapes() == before.GetShapes());
  edits.Redo(d);
  EXPECT_TRUE(d.GetShapes() == after);
  // Not recording any more: a later change leaves the record as it was.
  d.AddShape(Named('z'));
  EXPECT_FALSE(d.IsRecordingEdits());
}

INSTANTIATE_TEST_SUITE_P(EveryChange, Runs, ::testing::ValuesIn(kRuns),
                         [](const auto& info) { return "Run" + std::to_string(info.index); });

TEST(ShapeEdits, ADragIsOneChangeAndOneThatEndsWhereItBeganIsNone) {
  CTavlo d;
  d.AddShape(Named('a'));
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

  // A shape put in and taken out again, and a reorder that leaves it where it was.
  d.BeginEdits();
  d.AddShape(Named('b'));
  d.SetShape(Moved(d.GetShape(0), 2), 0);
  d.DeleteSelected();
  d.SetSelected(0);
  d.MoveTotallyForwards();
  EXPECT_TRUE(d.EndEdits().Empty());
}

}  // namespace
