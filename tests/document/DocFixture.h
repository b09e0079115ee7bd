#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "document/CQuirraDoc.h"
#include "model/CShape.h"
#include "platform/qt/CCommandRouter.h"

// A shape as a finished drag makes it from the document's current tool and attributes: a line
// from (x0, y0) to (x1, y1), or any other kind in the box they span, which also takes the brush.
inline CShape DragShape(const CQuirraDoc& doc, int x0, int y0, int x1, int y1) {
  CShape s;
  s.SetType(doc.GetTool());
  s.SetPenColor(doc.GetAttributes().penColor);
  s.SetPenStyle(doc.GetAttributes().penStyle);
  s.SetPenWidth(doc.GetAttributes().penWidth);
  s.SetPoint(0, x0, y0);
  if (doc.GetTool() == kLine) {
    s.SetPoint(1, x1, y1);
    s.SetPointCount(2);
  } else {
    s.SetPoint(1, x1, y0);
    s.SetPoint(2, x1, y1);
    s.SetPoint(3, x0, y1);
    s.SetPointCount(4);
    s.SetBrushColor(doc.GetAttributes().brushColor);
    s.SetBrushStyle(doc.GetAttributes().brushStyle);
  }
  s.SetCenter((x0 + x1) / 2, (y0 + y1) / 2);
  return s;
}

// A new document whose commands reach it through a router, as from the menu of its window.
class DocTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(doc.OnNewDocument()); }

  bool Checked(int id) const { return router.Query(id).IsChecked(); }
  bool Enabled(int id) const { return router.Query(id).IsEnabled(); }
  CTavlo& Drawing() { return doc.GetDrawing(); }
  const CShape& ShapeAt(int index) { return Drawing().GetShapes()[index]; }

  // Adds `count` shapes of the current tool, side by side; the last one ends up selected, but
  // not gripped.
  void AddShapes(int count) {
    for (int i = 0; i < count; ++i) Drawing().AddShape(DragShape(doc, 10 + 50 * i, 10, 40 + 50 * i, 40));
    doc.ReleaseGrip();
  }
  // A press on a vertex handle of shape `index`, as the view records it.
  void Grip(int index, int mode = HIT_VERTEX, int part = 0) {
    Drawing().SetSelected(index);
    doc.Grip(mode, part);
  }
  // A press on empty space.
  void Release() {
    Drawing().ClearSelection();
    doc.Grip(HIT_NONE, -1);
  }

  CQuirraDoc doc;
  CCommandRouter router{[this] { return std::vector<CCmdTarget*>{&doc}; }};
};
