// Scrolling the view: thumbs as long as the visible part, page steps of a tenth of the extent
// from the trough and the keys, Home and End, and the wheel with Shift going sideways.
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionSlider>
#include <QWheelEvent>

#include "tests/view/ViewFixture.h"

using namespace viewtest;

namespace {

// The bar's state as its style reads it when drawing.
QStyleOptionSlider DrawnAs(const QScrollBar* bar) {
  QStyleOptionSlider option;
  option.initFrom(bar);
  option.orientation = bar->orientation();
  if (bar->orientation() == Qt::Horizontal) option.state |= QStyle::State_Horizontal;
  option.minimum = bar->minimum();
  option.maximum = bar->maximum();
  option.sliderPosition = bar->sliderPosition();
  option.sliderValue = bar->value();
  option.singleStep = bar->singleStep();
  option.pageStep = bar->pageStep();
  option.upsideDown = bar->invertedAppearance();
  return option;
}

QRect Part(const QScrollBar* bar, QStyle::SubControl part) {
  const QStyleOptionSlider option = DrawnAs(bar);
  return bar->style()->subControlRect(QStyle::CC_ScrollBar, &option, part, bar);
}

class Scrolling : public ViewTest {
 protected:
  QScrollBar* H() const { return view.horizontalScrollBar(); }
  QScrollBar* V() const { return view.verticalScrollBar(); }
  // A click in the trough, past the thumb.
  void ClickPastThumb(QScrollBar* bar) {
    const QRect thumb = Part(bar, QStyle::SC_ScrollBarSlider);
    const QRect groove = Part(bar, QStyle::SC_ScrollBarGroove);
    const QPoint at = bar->orientation() == Qt::Horizontal
                          ? QPoint((thumb.right() + groove.right()) / 2, thumb.center().y())
                          : QPoint(thumb.center().x(), (thumb.bottom() + groove.bottom()) / 2);
    QTest::mouseClick(bar, Qt::LeftButton, {}, at);
  }
  void Wheel(Qt::KeyboardModifiers modifiers) {
    const QPointF at(50, 50);
    QWheelEvent e(at, vp()->mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, modifiers, Qt::NoScrollPhase,
                  false);
    QApplication::sendEvent(vp(), &e);
  }
};

TEST_F(Scrolling, ThumbsAreToTheirGroovesAsTheVisiblePartToTheExtent) {
  for (int zoom : {100, 300}) {
    SCOPED_TRACE(zoom);
    SetZoom(zoom);
    const CSize total = view.GetTotalSize();
    const struct {
      QScrollBar* bar;
      int visible, extent, thumb, groove;
    } bars[] = {{H(), vp()->width(), total.cx, Part(H(), QStyle::SC_ScrollBarSlider).width(),
                 Part(H(), QStyle::SC_ScrollBarGroove).width()},
                {V(), vp()->height(), total.cy, Part(V(), QStyle::SC_ScrollBarSlider).height(),
                 Part(V(), QStyle::SC_ScrollBarGroove).height()}};
    for (const auto& b : bars) {
      ASSERT_LT(b.visible, b.extent);
      EXPECT_EQ(b.bar->maximum(), b.extent - b.visible);
      EXPECT_NEAR(b.thumb, double(b.groove) * b.visible / b.extent, 1.0);
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
  Wheel(Qt::NoModifier);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(0, lines * V()->singleStep()));
  Wheel(Qt::ShiftModifier);
  EXPECT_EQ(view.GetScrollPosition(), CPoint(lines * H()->singleStep(), lines * V()->singleStep()));
}

}  // namespace
