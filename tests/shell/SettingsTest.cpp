// What the editor remembers across restarts besides the recent files: the folder of the file
// dialogs and the main window's size, place and toolbar position.
#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <QToolBar>

#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

using Settings = ShellTest;

struct DialogSeen {
  QString folder;
  QStringList filters;
};

// Runs a file command; the dialog it opens is read, then answered with `choice` (cancelled when
// empty).
DialogSeen RunFileDialog(QAction* command, const QString& choice) {
  DialogSeen seen;
  ModalHandler handler([&](QWidget* w) {
    auto* dialog = qobject_cast<QFileDialog*>(w);
    if (!dialog) {
      w->close();
      return;
    }
    seen.folder = dialog->directory().absolutePath();
    seen.filters = dialog->nameFilters();
    if (choice.isEmpty()) return dialog->reject();
    dialog->selectFile(choice);
    static_cast<QDialog*>(dialog)->accept();
  });
  command->trigger();
  EXPECT_EQ(handler.Seen(), 1);
  EXPECT_FALSE(handler.TimedOut());
  return seen;
}

TEST_F(Settings, FileDialogsStartInTheFolderLastUsedAlsoAfterARestart) {
  ASSERT_TRUE(QDir(files.path()).mkpath("drawings"));
  const QString folder = files.filePath("drawings");
  const QString path = WriteFile("drawings/garden.qrf", DrawingFile(TwoShapes(), -1, 0, 0));
  ASSERT_TRUE(Start({"-Embedding"}));
  const DialogSeen first = RunFileDialog(Action(ID_FILE_OPEN), path);
  EXPECT_EQ(first.filters, (QStringList{"Quirra Files (*.qrf)", "All Files (*.*)"}));
  EXPECT_EQ(Doc().GetPathName(), path);

  Stop();
  ASSERT_TRUE(Start({"-Embedding"}));
  EXPECT_EQ(RunFileDialog(Action(ID_FILE_OPEN), QString()).folder, folder);
  const DialogSeen saveAs = RunFileDialog(Action(ID_FILE_SAVE_AS), QString());
  EXPECT_EQ(saveAs.folder, folder);
  EXPECT_EQ(saveAs.filters, first.filters);
}

TEST_F(Settings, TheMainWindowComesBackWithItsSizePlaceAndToolbar) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Frame()->setGeometry(QRect(40, 30, 720, 540));
  Frame()->addToolBar(Qt::LeftToolBarArea, Frame()->findChild<QToolBar*>());
  ASSERT_TRUE(Frame()->close());
  const QRect closed = Frame()->geometry();
  Stop();

  ASSERT_TRUE(Start({"-Embedding"}));
  EXPECT_EQ(Frame()->geometry(), closed);
  EXPECT_EQ(Frame()->size(), QSize(720, 540));
  EXPECT_EQ(Frame()->toolBarArea(Frame()->findChild<QToolBar*>()), Qt::LeftToolBarArea);
}

// As from a session on a larger screen, or at a smaller scale factor: the window, its status bar
// included, comes back whole on this screen, moved before it is made smaller, and only as much
// smaller as it must be.
TEST_F(Settings, AMainWindowTooLargeForTheScreenComesBackInsideIt) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  StoreMainWindowGeometry(QRect(screen.center(), QSize(screen.width() + 900, screen.height() / 2)));
  ASSERT_TRUE(Start({"-Embedding"}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return screen.contains(Frame()->frameGeometry()); }));
  EXPECT_EQ(Frame()->frameGeometry().width(), screen.width());
  EXPECT_EQ(Frame()->height(), screen.height() / 2);
}

}  // namespace
}  // namespace shelltest
