// Scrolling the view: thumbs as long as the visible part, page steps of a tenth of the extent
// from the trough and the keys, Home and End, the wheel with Shift going sideways, and an area
// that reaches every shape.
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>
#include <random>

#include "tests/support/RandomShapes.h"

#include "tests/view/ViewFixture.h"

using namespace viewtest;

namespace {

// A part of the bar where its style draws it, from the state the bar draws itself with.
QRect Part(const QScrollBar* bar, QStyle::SubControl part) {
  QStyleOptionSlider o;
  o.initFrom(bar);
  o.orientation = bar->orientation();
  if (o.orientation == Qt::Horizontal) o.state |= QStyle::State_Horizontal;
  o.minimum = bar->minimum();
  o.maximum = bar->maximum();
  o.sliderPosition = bar->sliderPosition();
  o.sliderValue = bar->value();
  o.singleStep = bar->singleStep();
  o.pageStep = bar->pageStep();
  o.upsideDown = bar->invertedAppearance();
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &o, part, bar);
}

class Scrolling : public ViewTest {
 protected:
  QScrollBar* H() const { return view.horizontalScrollBar(); }
  QScrollBar* V() const { return view.verticalScrollBar(); }
  // A click in the trough, half-way between the thumb and the groove's far end.
  void ClickPastThumb(QScrollBar* bar) {
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = Part(bar, QStyle::SC_ScrollBarGroove);
    QTest::mouseClick(bar, Qt::LeftButton, {},
                      bar == H() ? QPoint((thumb.right() + groove.right()) / 2, thumb.center().y())
                                 : QPoint(thumb.center().x(), (thumb.bottom() + groove.bottom()) / 2));
  }
  void WheelDown(Qt::KeyboardModifiers modifiers) {
    const QPointF at(50, 50);
    QWheelEvent e(at, vp()->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, modifiers, Qt::NoScrollPhase, false);
    QApplication::sendEvent(vp(), &e);
  }
};

TEST_F(Scrolling, ThumbsAreToTheirGroovesAsTheVisiblePartToTheExtent) {
  for (int zoom : {100, 300}) {
    SCOPED_TRACE(zoom);
    SetZoom(zoom);
    const CSize total(view.GetScrollArea().width(), view.GetScrollArea().height());
    auto along = [](QScrollBar* bar, QSize s) { return bar->orientation() == Qt::Horizontal ? s.width() : s.height(); };
    for (auto [bar, extent] : {std::pair{H(), total.cx}, std::pair{V(), total.cy}}) {
      const int visible = along(bar, vp()->size());
      ASSERT_LT(visible, extent);
      EXPECT_EQ(bar->maximum(), extent - visible);
      EXPECT_NEAR(along(bar, Part(bar, QStyle::SC_ScrollBarSlider).size()),
                  double(along(bar, Part(bar, QStyle::SC_ScrollBarGroove).size())) * visible / extent, 1.0);
    }
  }
}

TEST_F(Scrolling, TroughAndPageKeysMoveATenthHomeAndEndGoToTheEnds) {
  SetZoom(300);
  const CSize tenth(view.GetScrollArea().width() / 10, view.GetScrollArea().height() / 10);
  ClickPastThumb(V());
  EXPECT_EQ(view.GetScrollPosition(), CPoint(0, tenth.cy));
  ClickPastThumb(H());
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, tenth.cy));

  QTest::keyClick(&view, Qt::Key_PageDown);
  QTest::keyClick(&view, Qt::Key_PageDown);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, 3 * tenth.cy));
  QTest::keyClick(&view, Qt::Key_PageUp);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, 2 * tenth.cy));
  QTest::keyClick(&view, Qt::Key_End);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, V()->maximum()));
  QTest::keyClick(&view, Qt::Key_PageDown);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, V()->maximum()));
  QTest::keyClick(&view, Qt::Key_Home);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(tenth.cx, 0));
}

TEST_F(Scrolling, WheelWithShiftScrollsAcrossAsManyLinesAsThePlainWheelDown) {
  SetZoom(300);
  const int lines = QApplication::wheelScrollLines();
  ASSERT_GT(lines, 0);
  WheelDown(Qt::NoModifier);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(0, lines * V()->singleStep()));
  WheelDown(Qt::ShiftModifier);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(lines * H()->singleStep(), lines * V()->singleStep()));
}

// Shapes anywhere, at any zoom: scrolled to, every point of every shape lies inside the view with
// room for its handle, and the area begins at the origin unless a shape lies left of or above it.
TEST_F(Scrolling, EveryShapeCanBeScrolledToAndTheOriginStaysWhereNothingLiesBeyondIt) {
  std::mt19937 rng(26);
  auto pick = [&](int n) { return random_shapes::Pick(rng, n); };
  for (int trial = 0; trial < 30; ++trial) {
    doc.OnNewDocument();
    const bool beyondOrigin = trial % 2;
    for (int n = 1 + pick(4); n > 0; --n) {
      CShape s = random_shapes::CrowdedShape(rng);
      // Beyond the origin, or far enough inside that no pen or handle reaches it.
      const int shift = beyondOrigin ? -10000 : 0, floor = beyondOrigin ? INT_MIN : 100;
      const int dx = pick(20000) + shift, dy = pick(20000) + shift;
      for (int i = 0; i < s.GetPointCount(); ++i)
        s.SetPoint(i, std::max(s.GetPoint(i).x + dx, floor), std::max(s.GetPoint(i).y + dy, floor));
      s.SetCenter(std::max(s.GetCenter().x + dx, floor), std::max(s.GetCenter().y + dy, floor));
      doc.GetDrawing().AddShape(s);
    }
    doc.UpdateAllViews();
    const int zoom = std::array{50, 100, 200, 300, 500}[pick(5)];
    SetZoom(zoom);
    SCOPED_TRACE("trial " + std::to_string(trial) + ", zoom " + std::to_string(zoom));
    const QRect area = view.GetScrollArea();
    if (!beyondOrigin) {
      EXPECT_EQ(area.topLeft(), QPoint(0, 0));
    }
    const int handle = drawing().GetTolerance();
    for (const CShape& s : drawing().GetShapes()) {
      std::vector<CPoint> points = PointsOf(s);
      points.push_back(s.GetCenter());
      for (CPoint p : points) {
        // The point in the middle of the view, or as near as the bars go.
        const QPoint at = Client(p) + Q(view.GetScrollPosition());
        view.ScrollToPosition(CPoint(at.x() - vp()->width() / 2, at.y() - vp()->height() / 2));
        const QRect shown = vp()->rect().translated(Q(view.GetScrollPosition()));
        EXPECT_TRUE(shown.contains(QRect(at - QPoint(handle, handle), at + QPoint(handle, handle))))
            << "point (" << p.x << ", " << p.y << ") at " << at.x() << ", " << at.y() << "; the area is " << area.x()
            << ", " << area.y() << ", " << area.width() << " x " << area.height();
      }
    }
  }
}

// Far right and below, at the keys' and the bars' far ends: the shape is painted there.
TEST_F(Scrolling, TheFarEndsOfTheBarsShowAShapeFarOut) {
  doc.GetDrawing().AddShape(MakeShape(kRectangle, {{10, 10}, {60, 10}, {60, 60}, {10, 60}}, {20, 20}));
  doc.GetDrawing().AddShape(
      MakeShape(kEllipse, {{2900, 2400}, {3000, 2400}, {3000, 2480}, {2900, 2480}}, {2910, 2410}));
  doc.GetDrawing().ClearSelection();
  doc.UpdateAllViews();
  for (int zoom : {100, 50, 300}) {
    SetZoom(zoom);
    QTest::keyClick(&view, Qt::Key_End);
    H()->triggerAction(QAbstractSlider::SliderToMaximum);
    const QImage shown = vp()->grab().toImage();
    const QPoint right = Client({3000, 2440});
    ASSERT_TRUE(vp()->rect().contains(right)) << zoom;
    int black = 0;
    for (int dx = -2; dx <= 0; ++dx) black += shown.pixelColor(right + QPoint(dx, 0)) == Qt::black;
    EXPECT_GT(black, 0) << zoom;
  }
  // Gone, the shape takes its part of the area with it.
  doc.GetDrawing().SetSelected(1);
  doc.Grip(HIT_OUTLINE, 0);
  ASSERT_TRUE(router.Run(ID_EDIT_DELETE));
  const QSize screen = QGuiApplication::primaryScreen()->size() * 3;
  EXPECT_EQ(view.GetScrollArea(), QRect(QPoint(0, 0), screen));
}

}  // namespace
