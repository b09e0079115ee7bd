// The left button and the space bar on a real view: drawing new shapes at any zoom and scroll
// position, dragging the grips of the selected shape, rotate mode and double-click selection.
#include <cmath>
#include <string>

#include <QKeyEvent>

#include "model/Geometry.h"
#include "platform/core/CDC.h"
#include "tests/view/ViewFixture.h"

using namespace viewtest;

namespace {

// A rectangle in creation order with its centre 10 units right of and below its first corner.
const std::vector<CPoint> kBox = {{100, 100}, {150, 100}, {150, 120}, {100, 120}};
const CPoint kBoxCentre(110, 110);
// A curve whose middle passes through (200, 125), well away from its handles and control polygon.
const std::vector<CPoint> kCurve = {{100, 200}, {150, 100}, {250, 100}, {300, 200}};

// --- New shapes ------------------------------------------------------------------------------

struct Viewing {
  int zoom;
  CPoint scroll;
};
void PrintTo(const Viewing& v, std::ostream* os) {
  *os << v.zoom << "% scrolled to (" << v.scroll.x << ", " << v.scroll.y << ")";
}

class NewShape : public ViewTest, public ::testing::WithParamInterface<Viewing> {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (HasFatalFailure()) return;
    SetZoom(GetParam().zoom);
    view.ScrollToPosition(GetParam().scroll);
    ASSERT_EQ(view.GetScrollPosition(), GetParam().scroll);
    doc.SetAttributes({.penWidth = 3,
                       .penStyle = PS_DASH,
                       .penColor = RGB(200, 10, 20),
                       .brushStyle = kBrushPaint,
                       .brushColor = RGB(0, 128, 255)});
  }

  // Press at (100, 100), step to (101, 101) and (150, 120), release; in drawing units.
  void Gesture() { Drag(Client({100, 100}), {Client({101, 101}), Client({150, 120})}); }
};

TEST_P(NewShape, RectangleSpansPressAndLastPointWithAllAttributes) {
  doc.SetTool(kRectangle);
  Gesture();
  ASSERT_EQ(count(), 1);
  CShape expected = MakeShape(kRectangle, kBox, {110, 110});
  expected.SetPenColor(RGB(200, 10, 20));
  expected.SetPenStyle(PS_DASH);
  expected.SetPenWidth(3);
  expected.SetBrushColor(RGB(0, 128, 255));
  expected.SetBrushStyle(kBrushPaint);
  EXPECT_EQ(at(0), expected);
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_EQ(doc.GetHitPart(), 2);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(view.HasCapture());
}

TEST_P(NewShape, LineTakesThePenButNotTheBrush) {
  doc.SetTool(kLine);
  Gesture();
  ASSERT_EQ(count(), 1);
  CShape expected = MakeShape(kLine, {{100, 100}, {150, 120}}, {110, 110});
  expected.SetPenColor(RGB(200, 10, 20));
  expected.SetPenStyle(PS_DASH);
  expected.SetPenWidth(3);
  EXPECT_EQ(at(0), expected);  // brush colour 0 and style -1, as a bare record has them
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_EQ(doc.GetHitPart(), 1);
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(ZoomAndScroll, NewShape,
                         ::testing::Values(Viewing{100, {0, 0}}, Viewing{200, {0, 0}}, Viewing{300, {0, 0}},
                                           Viewing{100, {10, 20}}, Viewing{200, {30, 40}}, Viewing{300, {90, 150}}),
                         [](const ::testing::TestParamInfo<Viewing>& info) {
                           const Viewing& v = info.param;
                           return "Zoom" + std::to_string(v.zoom) + "Scroll" + std::to_string(v.scroll.x) + "x" +
                                  std::to_string(v.scroll.y);
                         });

TEST_F(ViewTest, PressAndReleaseOnEmptySpaceOnlyDeselects) {
  Add(MakeShape(kRectangle, kBox, kBoxCentre));
  Grip({100, 100});
  ASSERT_EQ(doc.GetHitMode(), HIT_VERTEX);
  ASSERT_FALSE(doc.IsModified());

  Grip({300, 250});
  EXPECT_EQ(count(), 1);
  EXPECT_EQ(drawing().GetSelected(), -1);
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(at(0), MakeShape(kRectangle, kBox, kBoxCentre));
}

// --- Coordinates -----------------------------------------------------------------------------

TEST_F(ViewTest, ScrollPositionIsAddedBeforeTheZoomIsTakenOut) {
  SetZoom(200);
  view.ScrollToPosition({0, 40});
  ASSERT_EQ(view.GetScrollPosition(), CPoint(0, 40));
  doc.SetTool(kLine);
  Drag({30, 10}, {{60, 30}});
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(at(0).GetPoint(0), CPoint(15, 25));
  EXPECT_EQ(at(0).GetPoint(1), CPoint(30, 35));
}

TEST_F(ViewTest, StepWithinOneDrawingUnitIsDropped) {
  SetZoom(300);
  doc.SetTool(kLine);
  Press({1, 1});
  MoveTo({2, 2});
  EXPECT_EQ(count(), 0);
  EXPECT_FALSE(doc.IsModified());
  // The first step that reaches another unit takes effect.
  MoveTo({3, 3});
  Release({3, 3});
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(PointsOf(at(0)), (std::vector<CPoint>{{0, 0}, {1, 1}}));
}

TEST_F(ViewTest, MovesAreClampedAtTheOriginButPressesAreNot) {
  doc.SetTool(kLine);
  Press({100, 100});
  MoveTo({120, -30});
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(at(0).GetPoint(1), CPoint(120, 0));
  MoveTo({-15, -30});
  Release({-15, -30});
  EXPECT_EQ(at(0).GetPoint(1), CPoint(0, 0));

  // A press left of the window keeps its negative coordinate.
  Drag({-20, 50}, {{30, 60}});
  ASSERT_EQ(count(), 2);
  EXPECT_EQ(PointsOf(at(1)), (std::vector<CPoint>{{-20, 50}, {30, 60}}));

  // Scrolled down, a pointer above the window may still lie below the drawing's origin.
  view.ScrollToPosition({0, 40});
  ASSERT_EQ(view.GetScrollPosition(), CPoint(0, 40));
  Drag({200, 100}, {{220, -30}});
  ASSERT_EQ(count(), 3);
  EXPECT_EQ(PointsOf(at(2)), (std::vector<CPoint>{{200, 140}, {220, 10}}));
}

TEST_F(ViewTest, MovesWithoutCaptureAreIgnored) {
  doc.SetTool(kRectangle);
  Send(QEvent::MouseMove, {50, 50}, Qt::NoButton, Qt::NoButton);
  Send(QEvent::MouseMove, {90, 80}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(count(), 0);

  Drag({100, 100}, {{150, 120}});
  ASSERT_EQ(count(), 1);
  EXPECT_FALSE(view.HasCapture());
  const CShape drawn = at(0);
  Send(QEvent::MouseMove, {200, 200}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(at(0), drawn);
}

// --- Grips of the selected shape -------------------------------------------------------------

struct GripCase {
  const char* name;
  int type;
  std::vector<CPoint> points;
  CPoint press;
  CPoint to;
  bool space;
  int hitMode;
  int hitPart;
  std::vector<CPoint> expected;
  CPoint expectedCentre;
};
void PrintTo(const GripCase& c, std::ostream* os) { *os << c.name; }

class GripDrag : public ViewTest, public ::testing::WithParamInterface<GripCase> {};

TEST_P(GripDrag, MovesWhatTheGripHolds) {
  const GripCase& c = GetParam();
  Add(MakeShape(c.type, c.points, kBoxCentre));
  if (c.space) QTest::keyPress(&view, Qt::Key_Space);
  Press(Q(c.press));
  EXPECT_EQ(doc.GetHitMode(), c.hitMode);
  EXPECT_EQ(doc.GetHitPart(), c.hitPart);
  // Two steps, so each must be taken from the point of the one before.
  MoveTo(QPoint((c.press.x + c.to.x) / 2, (c.press.y + c.to.y) / 2));
  MoveTo(Q(c.to));
  Release(Q(c.to));
  if (c.space) QTest::keyRelease(&view, Qt::Key_Space);

  ASSERT_EQ(count(), 1);
  EXPECT_EQ(PointsOf(at(0)), c.expected);
  EXPECT_EQ(at(0).GetCenter(), c.expectedCentre);
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Grips, GripDrag,
                         ::testing::Values(GripCase{"RectangleVertex0",
                                                    kRectangle,
                                                    kBox,
                                                    {100, 100},
                                                    {95, 95},
                                                    false,
                                                    HIT_VERTEX,
                                                    0,
                                                    {{95, 95}, {150, 95}, {150, 120}, {95, 120}},
                                                    kBoxCentre},
                                           GripCase{"RectangleVertex1",
                                                    kRectangle,
                                                    kBox,
                                                    {150, 100},
                                                    {155, 96},
                                                    false,
                                                    HIT_VERTEX,
                                                    1,
                                                    {{100, 96}, {155, 96}, {155, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"EllipseVertex2",
                                                    kEllipse,
                                                    kBox,
                                                    {150, 120},
                                                    {160, 126},
                                                    false,
                                                    HIT_VERTEX,
                                                    2,
                                                    {{100, 100}, {160, 100}, {160, 126}, {100, 126}},
                                                    kBoxCentre},
                                           GripCase{"PolygonVertex0",
                                                    kPolygonRect,
                                                    kBox,
                                                    {100, 100},
                                                    {95, 95},
                                                    false,
                                                    HIT_VERTEX,
                                                    0,
                                                    {{95, 95}, {150, 100}, {150, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"BezierVertex1",
                                                    kBezier,
                                                    kCurve,
                                                    {150, 100},
                                                    {160, 90},
                                                    false,
                                                    HIT_VERTEX,
                                                    1,
                                                    {{100, 200}, {160, 90}, {250, 100}, {300, 200}},
                                                    kBoxCentre},
                                           GripCase{"LineVertex0",
                                                    kLine,
                                                    {{100, 100}, {200, 150}},
                                                    {100, 100},
                                                    {90, 104},
                                                    false,
                                                    HIT_VERTEX,
                                                    0,
                                                    {{90, 104}, {200, 150}},
                                                    kBoxCentre},
                                           GripCase{"RectangleEdge0",
                                                    kRectangle,
                                                    kBox,
                                                    {125, 100},
                                                    {135, 92},
                                                    false,
                                                    HIT_EDGE,
                                                    0,
                                                    {{100, 92}, {150, 92}, {150, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"RectangleEdge0Space",
                                                    kRectangle,
                                                    kBox,
                                                    {125, 100},
                                                    {135, 92},
                                                    true,
                                                    HIT_EDGE,
                                                    0,
                                                    {{110, 100}, {160, 100}, {150, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"RectangleEdge1",
                                                    kRectangle,
                                                    kBox,
                                                    {150, 110},
                                                    {158, 104},
                                                    false,
                                                    HIT_EDGE,
                                                    1,
                                                    {{100, 100}, {158, 100}, {158, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"EllipseEdge0Space",
                                                    kEllipse,
                                                    kBox,
                                                    {125, 100},
                                                    {135, 92},
                                                    true,
                                                    HIT_EDGE,
                                                    0,
                                                    {{100, 92}, {150, 92}, {150, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"PolygonEdge0",
                                                    kPolygonRect,
                                                    kBox,
                                                    {125, 100},
                                                    {135, 92},
                                                    false,
                                                    HIT_EDGE,
                                                    0,
                                                    {{110, 92}, {160, 92}, {150, 120}, {100, 120}},
                                                    kBoxCentre},
                                           GripCase{"RectangleOutline",
                                                    kRectangle,
                                                    kBox,
                                                    {110, 100},
                                                    {115, 108},
                                                    false,
                                                    HIT_OUTLINE,
                                                    0,
                                                    {{105, 108}, {155, 108}, {155, 128}, {105, 128}},
                                                    {115, 118}},
                                           GripCase{"LineOutline",
                                                    kLine,
                                                    {{100, 100}, {200, 150}},
                                                    {150, 125},
                                                    {160, 120},
                                                    false,
                                                    HIT_OUTLINE,
                                                    0,
                                                    {{110, 95}, {210, 145}},
                                                    {120, 105}},
                                           GripCase{"BezierCurve",
                                                    kBezier,
                                                    kCurve,
                                                    {200, 125},
                                                    {190, 131},
                                                    false,
                                                    HIT_OUTLINE,
                                                    4,
                                                    {{90, 206}, {140, 106}, {240, 106}, {290, 206}},
                                                    {100, 116}}),
                         [](const ::testing::TestParamInfo<GripCase>& info) { return std::string(info.param.name); });

TEST_F(ViewTest, SpaceBarFollowsKeyPressAndReleaseButNotAutoRepeat) {
  Add(MakeShape(kRectangle, kBox, kBoxCentre));
  QTest::keyPress(&view, Qt::Key_Space);
  QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
  QApplication::sendEvent(&view, &repeatUp);
  Drag({125, 100}, {{135, 92}});
  EXPECT_EQ(at(0).GetPoint(0), CPoint(110, 100));
  EXPECT_EQ(at(0).GetPoint(1), CPoint(160, 100));

  QTest::keyRelease(&view, Qt::Key_Space);
  Drag({135, 100}, {{145, 92}});  // the middle of edge 0 has moved along with it
  EXPECT_EQ(at(0).GetPoint(0), CPoint(110, 92));
  EXPECT_EQ(at(0).GetPoint(1), CPoint(160, 92));
}

// The drag rules follow the document's tool: a line has no edge to move, and a tool outside
// the five shape kinds moves nothing at all.
TEST_F(ViewTest, ToolWithoutARuleForTheGripChangesNothing) {
  const CShape box = MakeShape(kRectangle, kBox, kBoxCentre);
  Add(box);
  doc.SetTool(kLine);
  Press({125, 100});
  ASSERT_EQ(doc.GetHitMode(), HIT_EDGE);
  MoveTo({135, 92});
  Release({135, 92});
  EXPECT_EQ(at(0), box);
  EXPECT_FALSE(doc.IsModified());

  doc.SetTool(kClosedOutline);
  Press({100, 100});
  ASSERT_EQ(doc.GetHitMode(), HIT_VERTEX);
  MoveTo({90, 90});
  Release({90, 90});
  EXPECT_EQ(at(0), box);
  EXPECT_EQ(count(), 1);
  EXPECT_FALSE(doc.IsModified());
}

// --- Rotate mode -----------------------------------------------------------------------------

class RotateMode : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (HasFatalFailure()) return;
    Add(box);
    ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
    ASSERT_TRUE(drawing().GetRotateMode());
  }
  const CShape box = MakeShape(kRectangle, kBox, kBoxCentre);
};

TEST_F(RotateMode, PressOnTheShapeRotatesExceptOnTheCentre) {
  struct Expect {
    QPoint at;
    int hitMode;
    int hitPart;
  };
  const Expect presses[] = {{{100, 100}, HIT_ROTATE, 0},  // vertex 0
                            {{125, 100}, HIT_ROTATE, 0},  // edge 0
                            {{150, 110}, HIT_ROTATE, 1},  // edge 1
                            {{130, 100}, HIT_ROTATE, 0},  // outline
                            {{110, 110}, HIT_CENTER, -1}};
  for (const Expect& e : presses) {
    Grip(e.at);
    EXPECT_EQ(doc.GetHitMode(), e.hitMode) << e.at.x() << "," << e.at.y();
    EXPECT_EQ(doc.GetHitPart(), e.hitPart) << e.at.x() << "," << e.at.y();
    EXPECT_EQ(drawing().GetSelected(), 0);
  }
  EXPECT_EQ(at(0), box);  // a release without a turn changes nothing
  EXPECT_FALSE(doc.IsModified());

  Grip({130, 112});  // inside, away from outline and handles
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_EQ(drawing().GetSelected(), -1);
}

TEST_F(RotateMode, CentreDragMovesOnlyTheCentre) {
  Press({110, 110});
  ASSERT_EQ(doc.GetHitMode(), HIT_CENTER);
  MoveTo({120, 112});
  MoveTo({130, 115});
  Release({130, 115});
  EXPECT_EQ(at(0).GetCenter(), CPoint(130, 115));
  EXPECT_EQ(PointsOf(at(0)), kBox);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(RotateMode, TurnIsMeasuredFromThePressAndAppliedAtRelease) {
  Press({150, 120});
  ASSERT_EQ(doc.GetHitMode(), HIT_ROTATE);
  MoveTo({150, 130});
  MoveTo({150, 140});
  // The angle from the press point to the pointer about the centre; the points wait.
  const double expected = std::atan2(30.0, 40.0) - std::atan2(10.0, 40.0);
  EXPECT_NEAR(drawing().GetAngle(), expected, 1e-9);
  EXPECT_EQ(PointsOf(at(0)), kBox);
  // Until the turn is applied, a save would write the shape as it was.
  EXPECT_FALSE(doc.IsModified());

  // Back on the press point: the same unit as the last applied point, so dropped.
  MoveTo({150, 120});
  EXPECT_NEAR(drawing().GetAngle(), expected, 1e-9);
  EXPECT_EQ(PointsOf(at(0)), kBox);

  Release({150, 120});
  EXPECT_EQ(drawing().GetAngle(), 0.0);
  ASSERT_EQ(count(), 1);
  for (int i = 0; i < 4; ++i)
    EXPECT_EQ(at(0).GetPoint(i), geometry::Turn(kBox[size_t(i)], kBoxCentre, expected)) << "point " << i;
  EXPECT_NE(at(0).GetPoint(2), kBox[2]);
  EXPECT_EQ(at(0).GetCenter(), kBoxCentre);
  EXPECT_TRUE(doc.IsModified());
}

// A turn is shown until the gesture ends; it must never be left over for another shape or a
// later release.
TEST_F(RotateMode, SwitchedOffMidTurnTheShownTurnIsAppliedAndTheDragEnds) {
  Press({150, 120});
  MoveTo({150, 140});
  const double shown = drawing().GetAngle();
  ASSERT_NE(shown, 0.0);
  ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
  EXPECT_FALSE(drawing().GetRotateMode());
  EXPECT_EQ(drawing().GetAngle(), 0.0);
  EXPECT_FALSE(view.HasCapture());
  for (int i = 0; i < 4; ++i) EXPECT_EQ(at(0).GetPoint(i), geometry::Turn(kBox[size_t(i)], kBoxCentre, shown));
  const CShape turned = at(0);
  MoveTo({160, 150});
  Release({160, 150});
  EXPECT_EQ(at(0), turned);
  EXPECT_EQ(count(), 1);
}

TEST_F(RotateMode, DeleteMidTurnDropsItSoTheRestOfTheDragDrawsAnUprightShape) {
  Press({150, 120});
  MoveTo({150, 140});
  ASSERT_NE(drawing().GetAngle(), 0.0);
  ASSERT_TRUE(router.Run(ID_EDIT_DELETE));
  EXPECT_EQ(drawing().GetAngle(), 0.0);
  MoveTo({200, 200});
  MoveTo({230, 240});
  Release({230, 240});
  ASSERT_EQ(count(), 1);
  // A rotation step leaves the press point as the last point: the new shape starts there.
  EXPECT_EQ(PointsOf(at(0)), (std::vector<CPoint>{{150, 120}, {230, 120}, {230, 240}, {150, 240}}));
}

// --- A gesture whose release never arrives -----------------------------------------------------

// A popup or a dialog that opens while the button is held takes the release; the view must end
// the gesture then, not go on dragging at every later move.
TEST_F(ViewTest, LosingTheMouseEndsTheGestureAsAReleaseWould) {
  doc.SetTool(kRectangle);
  Press({50, 50});
  MoveTo({80, 70});
  ASSERT_EQ(count(), 1);
  QFocusEvent popupOpened(QEvent::FocusOut, Qt::PopupFocusReason);
  QApplication::sendEvent(&view, &popupOpened);
  EXPECT_FALSE(view.HasCapture());
  const CShape drawn = at(0);
  QTest::mouseRelease(vp(), Qt::LeftButton, {}, {80, 70});  // the test library's idea of the button
  Send(QEvent::MouseMove, {120, 110}, Qt::NoButton, Qt::NoButton);
  EXPECT_EQ(at(0), drawn);
  Drag({200, 200}, {{240, 230}});
  EXPECT_EQ(count(), 2);

  // A release lost without any focus change shows in the next move: no button is held.
  Press({20, 20});
  MoveTo({40, 40});
  ASSERT_EQ(count(), 3);
  const CShape third = at(2);
  Send(QEvent::MouseMove, {60, 90}, Qt::NoButton, Qt::NoButton);
  EXPECT_FALSE(view.HasCapture());
  EXPECT_EQ(at(2), third);
}

TEST_F(RotateMode, ALostGestureEndsAsAReleaseInRotateMode) {
  Press({150, 120});
  MoveTo({150, 140});
  const double shown = drawing().GetAngle();
  ASSERT_NE(shown, 0.0);
  Send(QEvent::MouseMove, {150, 150}, Qt::NoButton, Qt::NoButton);
  EXPECT_FALSE(view.HasCapture());
  EXPECT_EQ(drawing().GetAngle(), 0.0);
  EXPECT_EQ(at(0).GetPoint(2), geometry::Turn(kBox[2], kBoxCentre, shown));
}

// --- Double-click ----------------------------------------------------------------------------

// Qt under X11 reports a double-click as press, release, double-click, release. The test library
// can give the same with its own calls, or the events can be built by hand; the view must treat
// the second click as a double-click only, never as a press too.
enum class Clicks { TestLibrary, RawEvents };
void PrintTo(Clicks c, std::ostream* os) { *os << (c == Clicks::RawEvents ? "raw events" : "test library"); }

class DoubleClick : public ViewTest, public ::testing::WithParamInterface<Clicks> {
 protected:
  bool raw() const { return GetParam() == Clicks::RawEvents; }

  // Up to and including the double-click; the button is still held.
  void Down(QPoint p) {
    if (raw()) {
      Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
      Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
      Send(QEvent::MouseButtonDblClick, p, Qt::LeftButton, Qt::LeftButton);
    } else {
      QTest::mouseClick(vp(), Qt::LeftButton, {}, p);
      QTest::mouseDClick(vp(), Qt::LeftButton, {}, p);
    }
  }
  void HeldMove(QPoint p) {
    if (raw())
      Send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton);
    else
      MoveTo(p);
  }
  void Up(QPoint p) {
    if (raw())
      Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
    else
      Release(p);
  }
  void Twice(QPoint p) {
    Down(p);
    Up(p);
  }
};

TEST_P(DoubleClick, OnEmptyDrawingDoesNothingAndTakesNoCapture) {
  Down({100, 100});
  EXPECT_FALSE(view.HasCapture());
  HeldMove({150, 130});
  Up({150, 130});
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(doc.GetTool(), kLine);
  EXPECT_FALSE(doc.IsModified());
}

TEST_P(DoubleClick, PicksTheShapeWithoutASecondPress) {
  // In rotate mode a press on the selected shape would turn the grip into a rotation.
  Add(MakeShape(kRectangle, kBox, kBoxCentre));
  doc.GetDrawing().ClearSelection();
  doc.SetTool(kLine);
  ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
  Down({130, 100});
  EXPECT_TRUE(view.HasCapture());
  Up({130, 100});
  EXPECT_FALSE(view.HasCapture());
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_OUTLINE);
  EXPECT_EQ(doc.GetTool(), kRectangle);
  EXPECT_EQ(at(0), MakeShape(kRectangle, kBox, kBoxCentre));
  EXPECT_FALSE(doc.IsModified());
}

TEST_P(DoubleClick, StepsThroughStackedShapesFromFrontToBack) {
  Add(MakeShape(kLine, {{100, 150}, {300, 150}}, kBoxCentre));
  Add(MakeShape(kRectangle, {{110, 150}, {290, 150}, {290, 250}, {110, 250}}, kBoxCentre));
  Add(MakeShape(kPolygonRect, {{130, 150}, {270, 150}, {270, 200}, {130, 200}}, kBoxCentre));
  doc.GetDrawing().ClearSelection();
  const int order[] = {2, 1, 0, 2};
  const int tools[] = {kPolygonRect, kRectangle, kLine, kPolygonRect};
  for (int k = 0; k < 4; ++k) {
    Twice({210, 150});
    EXPECT_EQ(drawing().GetSelected(), order[k]) << "double-click " << k;
    EXPECT_EQ(doc.GetTool(), tools[k]) << "double-click " << k;
    EXPECT_EQ(doc.GetHitMode(), HIT_OUTLINE) << "double-click " << k;
  }
  EXPECT_EQ(count(), 3);
}

TEST_P(DoubleClick, OnABezierCurveSelectsItAndItsTool) {
  Add(MakeShape(kBezier, kCurve, kBoxCentre));
  doc.GetDrawing().ClearSelection();
  doc.SetTool(kEllipse);
  Twice({200, 125});
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetTool(), kBezier);
  EXPECT_EQ(doc.GetHitMode(), HIT_OUTLINE);
}

TEST_P(DoubleClick, HeldSecondClickDragsThePickedShape) {
  Add(MakeShape(kRectangle, {{100, 100}, {200, 100}, {200, 160}, {100, 160}}, kBoxCentre));
  doc.GetDrawing().ClearSelection();
  doc.SetTool(kLine);
  Down({130, 100});
  HeldMove({140, 115});
  HeldMove({150, 130});
  Up({150, 130});
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(PointsOf(at(0)), (std::vector<CPoint>{{120, 130}, {220, 130}, {220, 190}, {120, 190}}));
  EXPECT_EQ(at(0).GetCenter(), CPoint(130, 140));
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(Sequences, DoubleClick, ::testing::Values(Clicks::TestLibrary, Clicks::RawEvents),
                         [](const ::testing::TestParamInfo<Clicks>& info) {
                           return std::string(info.param == Clicks::RawEvents ? "RawEvents" : "TestLibrary");
                         });

}  // namespace
