// Shapes whose points and centres sit at the ends of the 32-bit range, as a crafted file can hold
// them: the view paints them, hit-tests, moves, turns and zooms them without overflow, hang or
// crash (the sanitizer run of this suite turns any overflow into a failure).
#include <gtest/gtest.h>

#include <climits>

#include "platform/core/CDC.h"
#include "tests/view/ViewFixture.h"

namespace {

using viewtest::MakeShape;
using viewtest::ViewTest;

constexpr int kMin = INT_MIN, kMax = INT_MAX;

class ExtremeCoordinates : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    // Every kind, spanning the whole range; each passes through the window's corner.
    const std::vector<CPoint> box{{kMin, kMin}, {kMax, kMin}, {kMax, kMax}, {kMin, kMax}};
    for (int kind : {kRectangle, kPolygonRect, kBezier, kEllipse}) {
      CShape s = MakeShape(kind, box, CPoint(kMax, kMin));
      s.SetBrushStyle(kind == kEllipse ? int(kBrushPaint) : int(HS_DIAGCROSS));
      s.SetPenStyle(PS_DASH);
      s.SetPenWidth(3);
      doc.GetDrawing().AddShape(s);
    }
    doc.GetDrawing().AddShape(MakeShape(kLine, {CPoint(kMin, kMin), CPoint(kMax, kMax)}, CPoint(kMin, kMax)));
    doc.GetDrawing().ClearSelection();
    doc.SetTool(kLine);
  }

  QImage Paint() {
    view.viewport()->repaint();
    return view.viewport()->grab().toImage();
  }
};

}  // namespace

TEST_F(ExtremeCoordinates, PaintAtEveryZoom) {
  for (int zoom : {50, 100, 200, 300, 500}) {
    SetZoom(zoom);
    const QImage image = Paint();
    ASSERT_FALSE(image.isNull());
    // The diagonal line crosses the window from its top left corner.
    bool black = false;
    for (int i = 0; i < 40 && !black; ++i) black = image.pixelColor(i, i) == QColor(Qt::black);
    EXPECT_TRUE(black) << "zoom " << zoom;
  }
}

TEST_F(ExtremeCoordinates, PickMoveAndTurnTheLineThroughTheWindow) {
  SetZoom(500);
  // The diagonal runs through client (20, 20): a double-click picks it (the front shape).
  QTest::mouseDClick(vp(), Qt::LeftButton, {}, QPoint(20, 20));
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, QPoint(20, 20));
  ASSERT_EQ(drawing().GetSelected(), 4);
  ASSERT_EQ(doc.GetHitMode(), HIT_OUTLINE);

  // Dragged by its outline: its ends stay clamped at the range, the move is taken in full where
  // it fits.
  Drag(QPoint(20, 20), {QPoint(60, 45), QPoint(120, 90)});
  const CShape moved = at(4);
  EXPECT_EQ(moved.GetPoint(0), CPoint(kMin + 20, kMin + 14));
  EXPECT_EQ(moved.GetPoint(1), CPoint(kMax, kMax));
  EXPECT_EQ(moved.GetCenter(), CPoint(kMin + 20, kMax));

  // Turned about a centre at the far corner of the range.
  ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
  Press(Client(moved.GetPoint(0)) + QPoint(100, 100));
  Press(QPoint(200, 140));
  MoveTo(QPoint(60, 200));
  Paint();
  Release(QPoint(60, 200));
  EXPECT_EQ(drawing().GetAngle(), 0.0);
  for (int i = 0; i < 2; ++i) {
    const CPoint p = at(4).GetPoint(i);
    EXPECT_TRUE(p.x >= kMin && p.x <= kMax && p.y >= kMin && p.y <= kMax);
  }
  Paint();
}

TEST_F(ExtremeCoordinates, EveryKindHitTestsAtTheEdgesOfTheWindow) {
  SetZoom(500);
  const int outer = 5;  // the four boxed shapes, then the line
  for (int index = 0; index < outer; ++index) {
    doc.GetDrawing().SetSelected(index);
    for (QPoint p : {QPoint(0, 0), QPoint(399, 0), QPoint(0, 299), QPoint(200, 150), QPoint(399, 299)}) {
      int kind = -1, part = -7;
      const CPoint unit = CPoint(p.x() * 100 / 500, p.y() * 100 / 500);
      doc.GetDrawing().HitTest(unit.x, unit.y, index, kind, part);
      EXPECT_GE(kind, HIT_NONE);
      EXPECT_LE(kind, HIT_CENTER);
    }
  }
  int index = -1, kind = -1, part = -1;
  EXPECT_TRUE(doc.GetDrawing().FindShapeAt(4, 4, index, kind, part));
  EXPECT_EQ(index, 4);
}
