// Scrolling the view: thumbs as long as the visible part, page steps of a tenth of the extent
// from the trough and the keys, Home and End, and the wheel with Shift going sideways.
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

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
    const CSize total = view.GetTotalSize();
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
  const CSize tenth(view.GetTotalSize().cx / 10, view.GetTotalSize().cy / 10);
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

}  // namespace
