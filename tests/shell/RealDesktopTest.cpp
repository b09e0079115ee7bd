// The editor under a real X server with a window manager, driven by xdotool and read back with
// xprop: what only a real desktop shows (titles as the window manager sees them, pointer grabs of
// popups and dialogs, what the manager offers for each window).
#include <sys/resource.h>

#include <functional>

#include <QApplication>
#include <QMap>
#include <QMdiArea>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QTest>

#include "shell/CSplashWnd.h"
#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

// How long the X server, the window manager and the editor may take to answer, on a machine that
// is busy with other work: a wait ends as soon as its condition holds, so only a fault waits this
// long.
constexpr int kPatience = 60000;

bool WaitFor(const std::function<bool()>& condition) { return QTest::qWaitFor(condition, kPatience); }

// Runs an X tool to its end; its standard output.
QString Run(const QString& program, const QStringList& arguments) {
  QProcess p;
  p.start(program, arguments);
  EXPECT_TRUE(p.waitForFinished(kPatience)) << program.toStdString();
  return QString::fromUtf8(p.readAllStandardOutput());
}

QString Property(const QWidget* window, const char* name) {
  return Run("xprop", {"-id", QString::number(window->winId()), name});
}

// The title the window manager shows.
QString XTitle(const QWidget* window) {
  const QString line = Property(window, "_NET_WM_NAME");
  const qsizetype quote = line.indexOf('"');
  return quote < 0 ? QString() : line.mid(quote + 1, line.lastIndexOf('"') - quote - 1);
}

// The window's frame as the X server and the window manager have placed it.
QRect XFrame(const QWidget* window) {
  QMap<QString, int> at;
  for (const QString& line : Run("xwininfo", {"-id", QString::number(window->winId())}).split('\n'))
    at[line.section(':', 0, 0).trimmed()] = line.section(':', 1).trimmed().toInt();
  const QStringList extents = Property(window, "_NET_FRAME_EXTENTS").section('=', 1).split(',');
  if (extents.size() != 4) return {};
  // left, right, top, bottom
  const QMargins frame(extents[0].toInt(), extents[2].toInt(), extents[1].toInt(), extents[3].toInt());
  return QRect(at["Absolute upper-left X"], at["Absolute upper-left Y"], at["Width"], at["Height"]).marginsAdded(frame);
}

void Pointer(QPoint global) { Run("xdotool", {"mousemove", QString::number(global.x()), QString::number(global.y())}); }
void XDo(const QStringList& arguments) { Run("xdotool", arguments); }

double CpuSeconds() {
  rusage use{};
  getrusage(RUSAGE_SELF, &use);
  return double(use.ru_utime.tv_sec + use.ru_stime.tv_sec) + 1e-6 * double(use.ru_utime.tv_usec + use.ru_stime.tv_usec);
}

class RealDesktop : public ShellTest {
 protected:
  void SetUp() override {
    ShellTest::SetUp();
    ASSERT_EQ(QGuiApplication::platformName(), "xcb");
  }
  void TearDown() override {
    XDo({"mouseup", "1"});
    ShellTest::TearDown();
  }
  // Lets the program take every event the pointer has caused so far.
  void Settle(QPoint pointer) {
    ASSERT_TRUE(WaitFor([&] { return QCursor::pos() == pointer; }));
    Idle();
  }
  int Shapes() const { return Doc().GetDrawing().GetUpperBound() + 1; }
};

TEST_F(RealDesktop, AMaximisedChildGivesOneTitleAndTheIdleEditorRests) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Activate();
  ASSERT_TRUE(WaitFor([&] { return XTitle(Frame()) == QString("Quirra - Tavlo1"); }));
  CChildFrame* child = Active();
  // A double-click on its title bar.
  Pointer(child->mapToGlobal(QPoint(child->width() / 2, 8)));
  XDo({"click", "--repeat", "2", "--delay", "60", "1"});
  ASSERT_TRUE(WaitFor([&] { return child->isMaximized(); }));
  ASSERT_TRUE(WaitFor([&] { return XTitle(Frame()) == QString("Quirra - [Tavlo1]"); }));

  // Idle means idle: a second with nothing to do changes no title and takes next to no processor.
  const double before = CpuSeconds();
  EventCount changes(Frame(), QEvent::WindowTitleChange);
  QTest::qWait(1000);
  EXPECT_EQ(changes.count, 0);
  EXPECT_LT(CpuSeconds() - before, 0.25);
  EXPECT_EQ(XTitle(Frame()), "Quirra - [Tavlo1]");
}

TEST_F(RealDesktop, ModalDialogsAreTitledOnceAndComeBackWhenMinimised) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Activate();
  QStringList titles;
  QStringList restored;
  ModalHandler handler([&](QWidget* w) {
    ASSERT_TRUE(WaitFor([&] { return !XTitle(w).isEmpty(); }));
    titles << XTitle(w);
    XDo({"windowminimize", QString::number(w->winId())});
    if (WaitFor([&] {
          return Property(w, "WM_STATE").contains("Normal") && !w->isMinimized() &&
                 Property(Frame(), "WM_STATE").contains("Normal");
        }))
      restored << XTitle(w);
    w->close();
  });
  Action(ID_APP_ABOUT)->trigger();
  Action(ID_FILE_OPEN)->trigger();
  EXPECT_EQ(titles, (QStringList{"About Quirra", "Open"}));
  EXPECT_EQ(restored, titles);
  EXPECT_FALSE(handler.TimedOut());
}

// The popup and the dialog take the pointer, and the button's release with it.
TEST_F(RealDesktop, ADragCutShortByAPopupOrADialogEndsThere) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Activate();
  const QPoint start = Viewport()->mapToGlobal(QPoint(60, 60));
  Pointer(start);
  XDo({"mousedown", "1"});
  Pointer(start + QPoint(40, 30));
  ASSERT_TRUE(WaitFor([&] { return Shapes() == 1; }));
  XDo({"click", "3"});
  QMenu* popup = Frame()->GetContextMenu();
  ASSERT_TRUE(WaitFor([&] { return popup->isVisible(); }));
  XDo({"mouseup", "1"});
  XDo({"key", "Escape"});
  ASSERT_TRUE(WaitFor([&] { return !popup->isVisible(); }));
  ASSERT_TRUE(WaitFor([&] { return !View()->HasCapture(); }));
  const CShape drawn = Doc().GetDrawing().GetShapes()[0];
  Pointer(start + QPoint(120, 90));
  Settle(start + QPoint(120, 90));
  EXPECT_EQ(Doc().GetDrawing().GetShapes()[0], drawn);

  // Ctrl+O with the button held: the release goes to the file dialog.
  Pointer(start + QPoint(0, 100));
  XDo({"mousedown", "1"});
  Pointer(start + QPoint(50, 140));
  ASSERT_TRUE(WaitFor([&] { return Shapes() == 2; }));
  bool dialog = false;
  ModalHandler handler([&](QWidget* w) {
    dialog = true;
    XDo({"mouseup", "1"});
    w->close();
  });
  XDo({"key", "ctrl+o"});
  ASSERT_TRUE(WaitFor([&] { return dialog; }));
  // The window system sent that release to the blocked main window, where it was dropped; the
  // first move tells the view that no button is held any more.
  const CShape second = Doc().GetDrawing().GetShapes()[1];
  Pointer(start + QPoint(150, 40));
  Settle(start + QPoint(150, 40));
  ASSERT_TRUE(WaitFor([&] { return !View()->HasCapture(); }));
  EXPECT_EQ(Doc().GetDrawing().GetShapes()[1], second);

  // The next press starts a new shape.
  Pointer(start + QPoint(200, 10));
  XDo({"mousedown", "1"});
  Pointer(start + QPoint(230, 50));
  XDo({"mouseup", "1"});
  ASSERT_TRUE(WaitFor([&] { return Shapes() == 3; }));
  ASSERT_TRUE(WaitFor([&] { return !View()->HasCapture(); }));
}

TEST_F(RealDesktop, TheSplashIsAnOrdinaryOwnedWindowNotOneAboveAll) {
  ASSERT_TRUE(Start({}));
  ASSERT_NE(CSplashWnd::Current(), nullptr);
  const CSplashWnd* splash = CSplashWnd::Current();
  ASSERT_TRUE(WaitFor([&] { return Property(splash, "WM_STATE").contains("Normal"); }));
  EXPECT_FALSE(Property(splash, "_NET_WM_STATE").contains("ABOVE"));
  EXPECT_TRUE(Property(splash, "WM_TRANSIENT_FOR").contains(QString::number(Frame()->winId(), 16)));
}

// With every drawing minimised the last one stays active, also once the editor is back from the
// window manager's icons: the Window menu, with that window marked, and Save are there in the menu
// bar, and the window comes back where it was.
TEST_F(RealDesktop, EveryDrawingMinimisedKeepsTheDocumentsMenuAndComesBackWhereItWas) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Activate();
  Action(ID_FILE_NEW)->trigger();
  CChildFrame* last = nullptr;
  QRect place;
  for (int i = 0; i < 2; ++i) {
    last = Active();
    place = last->geometry();
    last->showMinimized();
    ASSERT_TRUE(WaitFor([&] { return last->isMinimized() && Active() && (i == 1 || Active() != last); }));
  }
  const QString id = QString::number(Frame()->winId());
  XDo({"windowminimize", id});
  ASSERT_TRUE(WaitFor([&] { return Property(Frame(), "WM_STATE").contains("Iconic"); }));
  XDo({"windowactivate", id});
  ASSERT_TRUE(WaitFor([&] { return Frame()->isActiveWindow(); }));
  ASSERT_EQ(Active(), last);

  // Moved out of its row, then Window, Arrange Icons by the keyboard puts it back.
  const QPoint row = last->pos();
  last->move(row - QPoint(0, 100));
  XDo({"key", "alt+w"});
  ASSERT_TRUE(WaitFor([&] { return QApplication::activePopupWidget() != nullptr; }));
  QStringList marked;
  for (QAction* a : QApplication::activePopupWidget()->actions())
    if (a->isChecked()) marked << a->text();
  EXPECT_EQ(marked, QStringList{"&1 " + last->GetDocument().GetTitle()});
  XDo({"key", "a"});
  ASSERT_TRUE(WaitFor([&] { return last->pos() == row; }));
  XDo({"key", "alt+f"});
  ASSERT_TRUE(WaitFor([&] { return QApplication::activePopupWidget() != nullptr; }));
  EXPECT_TRUE(Action(ID_FILE_SAVE)->isEnabled());
  XDo({"key", "Escape"});
  ASSERT_TRUE(WaitFor([&] { return QApplication::activePopupWidget() == nullptr; }));

  // A double-click on its title restores it.
  Pointer(last->mapToGlobal(last->rect().center()));
  XDo({"click", "--repeat", "2", "--delay", "60", "1"});
  ASSERT_TRUE(WaitFor([&] { return !last->isMinimized(); }));
  EXPECT_EQ(last->geometry(), place);
  EXPECT_EQ(Frame()->GetMdiArea()->activeSubWindow(), last);
}

// As from a session on a larger screen or at a smaller scale factor: the frame, title bar and
// status bar included, comes back whole on this screen, moved before it is made smaller.
TEST_F(RealDesktop, AMainWindowTooLargeForTheScreenComesBackInsideIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  StoreMainWindowGeometry(QRect(screen.center(), QSize(screen.width() + 500, screen.height() / 2)));
  ASSERT_TRUE(Start({"-Embedding"}));
  ASSERT_TRUE(WaitFor([&] {
    const QRect frame = XFrame(Frame());
    return screen.contains(frame) && frame.width() == screen.width();
  }));
  EXPECT_EQ(Frame()->height(), screen.height() / 2);
}

}  // namespace
}  // namespace shelltest
