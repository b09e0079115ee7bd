// The child windows in the area: where new ones go, their numbers, Cascade, minimising, and the
// main title while one is maximised.
#include <QMdiArea>
#include <QTest>
#include <QWindow>

#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

class ChildWindows : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_TRUE(Start({"-Embedding"}));
    Activate();
  }
  QRect Area() const { return Frame()->GetMdiArea()->viewport()->rect(); }
  // The title the window system shows, placeholders resolved.
  QString ShownTitle() const { return Frame()->windowHandle()->title(); }
};

TEST_F(ChildWindows, AMaximisedChildGivesTheOldFrameworksTitleOnceAndThenItRests) {
  EXPECT_EQ(ShownTitle(), "Quirra - Tavlo1");
  Active()->showMaximized();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ShownTitle() == QString("Quirra - [Tavlo1]"); }));
  // Nothing happens from here on: the title must not change at every idle moment.
  EventCount changes(Frame(), QEvent::WindowTitleChange);
  for (int i = 0; i < 20; ++i) Idle();
  EXPECT_EQ(changes.count, 0);
  EXPECT_EQ(ShownTitle(), "Quirra - [Tavlo1]");

  Active()->showNormal();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ShownTitle() == QString("Quirra - Tavlo1"); }));
}

TEST_F(ChildWindows, NewWindowsCascadeFromTheTopLeftInsideTheArea) {
  for (int i = 0; i < 3; ++i) Action(ID_FILE_NEW)->trigger();
  const auto children = Children();
  ASSERT_EQ(children.size(), 4u);
  EXPECT_EQ(children[0]->pos(), QPoint(0, 0));
  for (size_t i = 0; i < children.size(); ++i) {
    const QRect g = children[i]->geometry();
    EXPECT_TRUE(Area().contains(g)) << i << ": " << g.x() << "," << g.y() << " " << g.width() << "x" << g.height();
    EXPECT_EQ(g.x(), g.y());
    if (i > 0) {
      EXPECT_GT(g.x(), children[i - 1]->x());
    }
  }
}

// A document's windows are numbered in the order they were made, whichever is in front, and the
// numbers close up when one of them goes.
TEST_F(ChildWindows, ADocumentsWindowsAreNumberedInTheOrderTheyWereMade) {
  Action(ID_WINDOW_NEW)->trigger();
  Action(ID_WINDOW_NEW)->trigger();
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1:1", "Tavlo1:2", "Tavlo1:3"}));
  const auto children = Children();
  Frame()->GetMdiArea()->setActiveSubWindow(children[0]);
  QPointer<CChildFrame> middle(children[1]);
  EXPECT_TRUE(middle->close());
  ASSERT_TRUE(QTest::qWaitFor([&] { return middle.isNull(); }));
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1:1", "Tavlo1:2"}));
}

TEST_F(ChildWindows, CascadeKeepsEachWindowAsLargeAsTheAreaAllowsAfterItsOffset) {
  Action(ID_FILE_NEW)->trigger();
  Action(ID_FILE_NEW)->trigger();
  for (CChildFrame* child : Children()) child->setGeometry(40, 30, 200, 150);
  Action(ID_WINDOW_CASCADE)->trigger();
  const QList<QMdiSubWindow*> stack = Frame()->GetMdiArea()->subWindowList(QMdiArea::StackingOrder);
  ASSERT_EQ(stack.size(), 3);
  for (int i = 0; i < stack.size(); ++i) {
    const QRect g = stack[i]->geometry();
    EXPECT_EQ(g.bottomRight(), Area().bottomRight()) << i;
    EXPECT_EQ(g.x(), g.y()) << i;
    if (i > 0) {
      EXPECT_GT(g.x(), stack[i - 1]->x());
    }
  }
  EXPECT_EQ(stack.front()->geometry(), Area());
  EXPECT_EQ(stack.back(), Frame()->GetMdiArea()->activeSubWindow());
}

// A window minimised gives way to the one used before it that is still in sight; the last one
// minimised stays active, as in the old framework, with its document's menu and commands, and
// comes back where it was.
TEST_F(ChildWindows, MinimisedWindowsLineUpAlongTheBottomAndTheLastStaysActive) {
  Action(ID_FILE_NEW)->trigger();
  Action(ID_FILE_NEW)->trigger();
  CChildFrame* last = nullptr;
  QRect place;
  for (int i = 0; i < 3; ++i) {
    last = Active();
    ASSERT_NE(last, nullptr);
    place = last->geometry();
    last->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return last->isMinimized(); }));
    if (i < 2) {
      ASSERT_TRUE(QTest::qWaitFor([&] { return Active() != last; }));
      EXPECT_FALSE(Active()->isMinimized());
    }
    int x = 0;
    for (QMdiSubWindow* w : Frame()->GetMdiArea()->subWindowList(QMdiArea::CreationOrder)) {
      if (!w->isMinimized()) continue;
      EXPECT_EQ(w->geometry().bottom(), Area().bottom());
      EXPECT_EQ(w->x(), x);
      x += w->width();
    }
  }
  Idle();
  EXPECT_EQ(Active(), last);
  EXPECT_EQ(ShownTitle(), "Quirra - " + last->GetDocument().GetTitle());
  const QList<QAction*> window = MenuItems("&Window");
  for (int id : {ID_WINDOW_ARRANGE, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_NEW}) {
    EXPECT_TRUE(window.contains(Action(id))) << id;
    EXPECT_TRUE(Action(id)->isEnabled()) << id;
  }
  EXPECT_TRUE(MenuItems("&File").contains(Action(ID_FILE_SAVE)));
  EXPECT_TRUE(Action(ID_FILE_SAVE)->isEnabled());

  last->showNormal();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !last->isMinimized(); }));
  EXPECT_EQ(last->geometry(), place);
  EXPECT_EQ(Frame()->GetMdiArea()->activeSubWindow(), last);
}

}  // namespace
}  // namespace shelltest
