// The view's commands as the frame gives them, through a router whose chain is the view and
// then its document: reordering, Delete, the editor's clipboard, rotate mode and zoom; and what
// the view paints.
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QScrollBar>

#include "tests/view/ViewFixture.h"

using namespace viewtest;

namespace {

// --- Stacking order and Delete ---------------------------------------------------------------

// Five lines P, Q, R, S, T at list indices 0 to 4, each with its own points.
class Stack : public ViewTest {
 protected:
  void SetUp() override {
    ViewTest::SetUp();
    if (HasFatalFailure()) return;
    for (int k = 0; k < 5; ++k) {
      shapes.push_back(MakeShape(kLine, {{20 + 40 * k, 200}, {40 + 40 * k, 260}}, {30 + 40 * k, 210}));
      Add(shapes.back());
    }
  }
  // Selects shape k and grips it by its first vertex, as a double-click and a press would.
  void GripShape(int k) {
    doc.GetDrawing().SetSelected(k);
    Grip(Q(shapes[size_t(k)].GetPoint(0)));
    ASSERT_EQ(doc.GetHitMode(), HIT_VERTEX);
    ASSERT_EQ(drawing().GetSelected(), k);
    ASSERT_FALSE(doc.IsModified());
  }
  std::vector<CShape> Listed() const {
    return std::vector<CShape>(drawing().GetShapes().begin(), drawing().GetShapes().end());
  }
  std::vector<CShape> InOrder(const std::vector<int>& order) const {
    std::vector<CShape> out;
    for (int k : order) out.push_back(shapes[size_t(k)]);
    return out;
  }
  std::vector<CShape> shapes;
};

struct Reorder {
  const char* name;
  int command;
  std::vector<int> order;
};
void PrintTo(const Reorder& r, std::ostream* os) { *os << r.name; }

class StackCommand : public Stack, public ::testing::WithParamInterface<Reorder> {};

TEST_P(StackCommand, MovesTheGrippedShapeAndLetsGo) {
  GripShape(1);
  ASSERT_TRUE(router.Run(GetParam().command));
  EXPECT_EQ(Listed(), InOrder(GetParam().order));
  EXPECT_EQ(drawing().GetSelected(), -1);
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_TRUE(doc.IsModified());
}

INSTANTIATE_TEST_SUITE_P(OnQ, StackCommand,
                         ::testing::Values(Reorder{"TotallyForwards", ID_EDIT_TOTALLYFORWARDS, {0, 2, 3, 4, 1}},
                                           Reorder{"Forwards", ID_EDIT_FORWARDS, {0, 2, 1, 3, 4}},
                                           Reorder{"Backwards", ID_EDIT_BACKWARDS, {1, 0, 2, 3, 4}},
                                           Reorder{"TotallyBackwards", ID_EDIT_TOTALLYBACKWARDS, {1, 0, 2, 3, 4}},
                                           Reorder{"Delete", ID_EDIT_DELETE, {0, 2, 3, 4}}),
                         [](const ::testing::TestParamInfo<Reorder>& info) { return std::string(info.param.name); });

TEST_F(Stack, DisabledCommandsNeverRun) {
  // Selected but not gripped: nothing that needs a grip may run.
  ASSERT_EQ(drawing().GetSelected(), 4);
  ASSERT_EQ(doc.GetHitMode(), HIT_NONE);
  CQuirraView::ClearClipboard();
  for (int id : {ID_EDIT_DELETE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_BACKWARDS}) {
    EXPECT_FALSE(router.Query(id).IsEnabled()) << id;
    EXPECT_FALSE(router.Run(id)) << id;
  }
  EXPECT_EQ(Listed(), shapes);
  EXPECT_EQ(CQuirraView::GetClipShape().GetPointCount(), 0);

  GripShape(4);
  for (int id : {ID_EDIT_FORWARDS, ID_EDIT_TOTALLYFORWARDS}) EXPECT_FALSE(router.Run(id)) << id;
  EXPECT_TRUE(router.Query(ID_EDIT_BACKWARDS).IsEnabled());
  GripShape(0);
  for (int id : {ID_EDIT_BACKWARDS, ID_EDIT_TOTALLYBACKWARDS}) EXPECT_FALSE(router.Run(id)) << id;
  EXPECT_TRUE(router.Query(ID_EDIT_FORWARDS).IsEnabled());

  EXPECT_EQ(Listed(), shapes);
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_FALSE(doc.IsModified());
}

// --- Clipboard -------------------------------------------------------------------------------

const std::vector<CPoint> kClipBox = {{10, 10}, {50, 10}, {50, 40}, {10, 40}};
const std::vector<CPoint> kPastedBox = {{17, 17}, {57, 17}, {57, 47}, {17, 47}};

class Clipboard : public ViewTest {
 protected:
  void SetUp() override {
    CQuirraView::ClearClipboard();
    ViewTest::SetUp();
    if (HasFatalFailure()) return;
    Add(original);
    Grip({10, 10});
    ASSERT_EQ(doc.GetHitMode(), HIT_VERTEX);
  }
  const CShape original = MakeShape(kRectangle, kClipBox, {20, 20});
};

TEST_F(Clipboard, CopyThenPasteAddsAShiftedCopyInFront) {
  EXPECT_FALSE(router.Query(ID_EDIT_PASTE).IsEnabled());
  EXPECT_FALSE(router.Run(ID_EDIT_PASTE));
  EXPECT_EQ(count(), 1);

  ASSERT_TRUE(router.Run(ID_EDIT_COPY));
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_EQ(drawing().GetSelected(), -1);
  EXPECT_EQ(CQuirraView::GetClipTool(), kRectangle);
  EXPECT_TRUE(router.Query(ID_EDIT_PASTE).IsEnabled());

  doc.SetTool(kLine);  // free to change now that nothing is gripped
  ASSERT_TRUE(router.Run(ID_EDIT_PASTE));
  ASSERT_EQ(count(), 2);
  EXPECT_EQ(at(0), original);
  EXPECT_EQ(PointsOf(at(1)), kPastedBox);
  EXPECT_EQ(at(1).GetCenter(), CPoint(20, 20));
  EXPECT_EQ(at(1).GetType(), kRectangle);
  EXPECT_EQ(drawing().GetSelected(), 1);
  EXPECT_EQ(doc.GetTool(), kRectangle);
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_TRUE(doc.IsModified());

  // The buffer is used again unchanged: every paste lands on the same place.
  ASSERT_TRUE(router.Run(ID_EDIT_PASTE));
  ASSERT_TRUE(router.Run(ID_EDIT_PASTE));
  ASSERT_EQ(count(), 4);
  EXPECT_EQ(at(2), at(1));
  EXPECT_EQ(at(3), at(1));
  EXPECT_EQ(drawing().GetSelected(), 3);
}

TEST_F(Clipboard, CutOfTheOnlyShapeAndPasteBringsItBackShifted) {
  ASSERT_TRUE(router.Run(ID_EDIT_CUT));
  EXPECT_EQ(count(), 0);
  EXPECT_EQ(doc.GetHitMode(), HIT_NONE);
  EXPECT_TRUE(doc.IsModified());

  ASSERT_TRUE(router.Run(ID_EDIT_PASTE));
  ASSERT_EQ(count(), 1);
  EXPECT_EQ(PointsOf(at(0)), kPastedBox);
  EXPECT_EQ(at(0).GetCenter(), CPoint(20, 20));
  EXPECT_EQ(drawing().GetSelected(), 0);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(Clipboard, IsSharedByTheViewsOfEveryDocument) {
  Window other;
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&other.view));
  EXPECT_FALSE(other.router.Query(ID_EDIT_PASTE).IsEnabled());

  ASSERT_TRUE(router.Run(ID_EDIT_COPY));
  EXPECT_TRUE(router.Query(ID_EDIT_PASTE).IsEnabled());
  EXPECT_TRUE(other.router.Query(ID_EDIT_PASTE).IsEnabled());

  ASSERT_EQ(other.doc.GetTool(), kLine);
  ASSERT_TRUE(other.router.Run(ID_EDIT_PASTE));
  ASSERT_EQ(other.doc.GetDrawing().GetUpperBound(), 0);
  EXPECT_EQ(PointsOf(other.doc.GetDrawing().GetShapes()[0]), kPastedBox);
  EXPECT_EQ(other.doc.GetTool(), kRectangle);
  EXPECT_TRUE(other.doc.IsModified());
  EXPECT_EQ(count(), 1);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(Clipboard, RotateTwiceRestoresTheModeAndLeavesTheDocumentAlone) {
  ASSERT_FALSE(router.Query(ID_EDIT_ROTATE).IsChecked());
  ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
  EXPECT_TRUE(drawing().GetRotateMode());
  EXPECT_TRUE(router.Query(ID_EDIT_ROTATE).IsChecked());
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  ASSERT_TRUE(router.Run(ID_EDIT_ROTATE));
  EXPECT_FALSE(drawing().GetRotateMode());
  EXPECT_FALSE(router.Query(ID_EDIT_ROTATE).IsChecked());
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(at(0), original);
}

// --- Zoom and scrolling ----------------------------------------------------------------------

CSize Screen() {
  const QSize s = QGuiApplication::primaryScreen()->size();
  return CSize(s.width(), s.height());
}

TEST_F(ViewTest, ExtentIsOneScreenTimesTheZoom) {
  const CSize screen = Screen();
  EXPECT_EQ(view.GetScrollArea(), QRect(0, 0, screen.cx, screen.cy));

  Add(MakeShape(kRectangle, {{10, 10}, {50, 10}, {50, 40}, {10, 40}}, {20, 20}));
  Grip({10, 10});
  ASSERT_EQ(doc.GetHitMode(), HIT_VERTEX);
  ASSERT_FALSE(doc.IsModified());

  const int zooms[] = {200, 500, 50, 100, 300, 100};
  const int all[] = {ID_ZOOM_50, ID_ZOOM_100, ID_ZOOM_200, ID_ZOOM_300, ID_ZOOM_500};
  for (int z : zooms) {
    SCOPED_TRACE(z);
    ASSERT_TRUE(router.Run(ZoomCommand(z)));
    EXPECT_EQ(drawing().GetZoom(), z);
    const CSize total(screen.cx * z / 100, screen.cy * z / 100);
    EXPECT_EQ(view.GetScrollArea(), QRect(0, 0, total.cx, total.cy));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), std::max(0, total.cx - vp()->width()));
    EXPECT_EQ(view.verticalScrollBar()->maximum(), std::max(0, total.cy - vp()->height()));
    for (int id : all) EXPECT_EQ(router.Query(id).IsChecked(), id == ZoomCommand(z)) << id;
  }
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(doc.GetHitMode(), HIT_VERTEX);
  EXPECT_EQ(drawing().GetSelected(), 0);
}

TEST_F(ViewTest, ZoomKeepsTheScrollPosition) {
  SetZoom(200);
  view.ScrollToPosition({30, 40});
  ASSERT_EQ(view.GetScrollPosition(), CPoint(30, 40));
  SetZoom(300);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(30, 40));
  SetZoom(100);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(30, 40));
}

// --- Painting --------------------------------------------------------------------------------

bool Dark(const QImage& image, QPoint p) { return image.valid(p) && qGray(image.pixel(p)) < 128; }

// The view's picture as it paints it now, in viewport pixels.
class Painting : public ViewTest {
 protected:
  QImage Picture() const { return vp()->grab().toImage(); }
  // A black outline with corners (100, 100) and (200, 150), not selected.
  void AddBox() {
    Add(MakeShape(kRectangle, {{100, 100}, {200, 100}, {200, 150}, {100, 150}}, {110, 110}));
    doc.GetDrawing().ClearSelection();
  }
};

TEST_F(Painting, ShapesArePaintedZoomedAndShiftedByTheScrollPosition) {
  AddBox();
  struct Expect {
    int zoom;
    CPoint scroll;
    QPoint topLeft, bottomRight;
  };
  // Zoomed corners: (200, 200) and (400, 300) at 200 %, (50, 50) and (100, 75) at 50 %.
  const Expect cases[] = {{200, {100, 100}, {100, 100}, {300, 200}},
                          {200, {150, 120}, {50, 80}, {250, 180}},
                          {50, {10, 20}, {40, 30}, {90, 55}},
                          {100, {0, 0}, {100, 100}, {200, 150}}};
  for (const Expect& e : cases) {
    SCOPED_TRACE(e.zoom);
    SetZoom(e.zoom);
    view.ScrollToPosition(e.scroll);
    ASSERT_EQ(view.GetScrollPosition(), e.scroll);
    const QImage image = Picture();
    ASSERT_EQ(image.size(), vp()->size());
    EXPECT_TRUE(Dark(image, e.topLeft));
    EXPECT_TRUE(Dark(image, e.bottomRight));
    EXPECT_TRUE(Dark(image, {e.bottomRight.x(), e.topLeft.y()}));
    EXPECT_TRUE(Dark(image, {e.topLeft.x(), e.bottomRight.y()}));
    const QPoint middle = (e.topLeft + e.bottomRight) / 2;
    EXPECT_TRUE(Dark(image, {middle.x(), e.topLeft.y()}));
    // Unfilled inside, and nothing outside the outline.
    EXPECT_FALSE(Dark(image, middle));
    EXPECT_FALSE(Dark(image, e.topLeft - QPoint(3, 3)));
    EXPECT_FALSE(Dark(image, e.bottomRight + QPoint(3, 3)));
  }
}

TEST_F(Painting, EveryEditRepaintsTheView) {
  viewtest::PaintCounter counter;
  vp()->installEventFilter(&counter);
  doc.SetTool(kLine);
  Press({50, 200});
  ASSERT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }));
  const QImage before = Picture();
  EXPECT_EQ(before.pixel(60, 210), qRgb(255, 255, 255));

  // The step itself must ask for the repaint: nothing else is pending now.
  counter.paints = 0;
  MoveTo({70, 220});
  ASSERT_EQ(count(), 1);
  EXPECT_TRUE(QTest::qWaitFor([&] { return counter.paints > 0; }));
  Release({70, 220});

  // The new line is there, drawn as the selection's light wireframe.
  const QImage after = Picture();
  EXPECT_NE(after.pixel(60, 210), qRgb(255, 255, 255));
  vp()->removeEventFilter(&counter);
}

}  // namespace
