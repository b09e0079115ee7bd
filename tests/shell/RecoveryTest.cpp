// Recovery copies: kept while a drawing is modified, gone when it is saved, undone or closed,
// offered at the next start when their editor is gone, never taken from a live editor; and an
// editor killed at random moments while it edits and saves.
#include <random>

#include <QDir>
#include <QProcess>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include "model/DocumentFileContent.h"
#include "platform/qt/ArchiveFile.h"
#include "recovery/RecoveryCopy.h"
#include "recovery/RecoveryFolder.h"
#include "shell/RecoveryDialog.h"
#include "tests/shell/RecoveryFixture.h"
#include "tests/shell/ShapesHash.h"

namespace {

using namespace shelltest;

using Recovery = RecoveryFixture;

TEST_F(Recovery, ACopyIsKeptWhileTheDrawingIsModified) {
  ASSERT_TRUE(Start({"-Embedding"}));  // no splash to take the first press
  Drag({30, 30}, {90, 70});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, RecoveryCopy::kDelayMs + 3000));
  // What the copy holds is the drawing, and its record names it.
  const QString session = QDir(Root()).filePath(Left().filter("session-").filter(".lock").front().chopped(5));
  const QString base = QDir(session).filePath("1");
  ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(RecoveryFolder::RecordPath(base)); }));
  DocumentFileContent copy;
  EXPECT_TRUE(
      LoadFileThroughArchive(RecoveryFolder::CopyPath(base), [&](CArchive& ar) { copy.Serialize(ar); }).isEmpty());
  EXPECT_EQ(ShapesHash(copy.drawing), ShapesHash(Doc().GetDrawing()));
  const RecoveryRecord record = RecoveryFolder::ReadRecord(RecoveryFolder::RecordPath(base), "");
  EXPECT_EQ(record.title, "Tavlo1");
  EXPECT_TRUE(record.pathName.isEmpty());
  EXPECT_EQ(record.shapes, 1);

  // Saved: gone. Changed again: back. Undone to the saved drawing: gone.
  ASSERT_TRUE(app->GetTemplate().SaveDocument(&Doc(), files.filePath("saved.qrf")));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().isEmpty(); }));
  Drag({130, 30}, {190, 70});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, RecoveryCopy::kDelayMs + 3000));
  Doc().Undo();
  EXPECT_FALSE(Doc().IsModified());
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().isEmpty(); }));
  EXPECT_TRUE(QDir(files.path()).entryList(QDir::Files | QDir::Hidden) == QStringList{"saved.qrf"});
}

TEST_F(Recovery, ALiveEditorsCopiesAreNotAnotherEditorsOrphans) {
  ASSERT_TRUE(Start({"-Embedding"}));  // no splash to take the first press
  Drag({30, 30}, {90, 70});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, RecoveryCopy::kDelayMs + 3000));
  // A second editor of the same user, started meanwhile.
  RecoveryFolder second(Root());
  ASSERT_TRUE(second.IsUsable());
  EXPECT_TRUE(second.TakeOrphans().empty());
  second.ReleaseOrphans();
  EXPECT_EQ(Copies().size(), 1);
}

TEST_F(Recovery, TheOfferRecoversDiscardsOrWaits) {
  const QString titled = WriteFile("titled.qrf", DrawingFile({}, -1, 0, 0));
  Orphan("1", DrawingFile(TwoShapes(), 1, 0, 0), {titled, "titled.qrf", QDateTime::currentDateTime(), 2});
  Orphan("2", DrawingFile({TwoShapes()[0]}, -1, 0, 0), {"", "Tavlo3", QDateTime::currentDateTime(), 1});
  Orphan("3", "not a drawing", {"", "Tavlo5", QDateTime::currentDateTime(), 9});

  // Later: nothing opens but the usual new drawing, and every copy stays.
  auto rows = [](QTreeWidget& list) {
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(list.topLevelItem(0)->text(2), "2");
    EXPECT_EQ(list.topLevelItem(1)->text(0), "Tavlo3");
    EXPECT_TRUE(list.topLevelItem(2)->text(2).startsWith("damaged: "));
    EXPECT_EQ(list.topLevelItem(2)->checkState(0), Qt::Unchecked);
  };
  EXPECT_EQ(StartAndAnswer("Later", rows), 1);
  EXPECT_EQ(Titles(), QStringList{"Tavlo1"});
  Stop();
  EXPECT_EQ(Copies().size(), 3);

  // Recover: the two readable drawings, modified, one with its file, one with its title; no
  // "Tavlo1", and a new drawing is numbered after the recovered one.
  EXPECT_EQ(StartAndAnswer("Recover"), 1);
  ASSERT_EQ(Children().size(), 2u);
  CQuirraDoc* file = static_cast<CQuirraDoc*>(app->GetTemplate().FindDocument(titled));
  ASSERT_TRUE(file);
  EXPECT_TRUE(file->IsModified());
  EXPECT_EQ(file->GetDrawing().GetUpperBound(), 1);
  ASSERT_TRUE(DocTitled("Tavlo3"));
  EXPECT_TRUE(DocTitled("Tavlo3")->IsModified());
  EXPECT_TRUE(DocTitled("Tavlo3")->GetPathName().isEmpty());
  app->OnFileNew();
  EXPECT_TRUE(DocTitled("Tavlo4"));
  // The recovered copies now belong to this editor; the damaged one is still an orphan.
  EXPECT_EQ(Copies().size(), 3);
  EXPECT_EQ(Copies().filter("session-1-1/").size(), 1);
  // Save writes the recovered drawing to its own file.
  ASSERT_TRUE(app->DoSave(*file, false));
  EXPECT_EQ(QFileInfo(titled).size(), DrawingFile(TwoShapes(), 1, 0, 0).size());
  Stop();

  // Discard, with the damaged copy checked: gone, and a clean exit leaves nothing.
  EXPECT_EQ(StartAndAnswer("Discard",
                           [](QTreeWidget& list) {
                             ASSERT_EQ(list.topLevelItemCount(), 1);
                             list.topLevelItem(0)->setCheckState(0, Qt::Checked);
                           }),
            1);
  Stop();
  EXPECT_EQ(Left(), QStringList());
}

TEST_F(Recovery, AStartByAnotherProgramAsksNothingAndKeepsTheCopies) {
  Orphan("1", DrawingFile(TwoShapes(), -1, 0, 0), {"", "Tavlo1", QDateTime::currentDateTime(), 2});
  EXPECT_EQ(StartAndAnswer("Recover", {}, {"-Embedding"}), 0);
  Stop();
  EXPECT_EQ(Copies().size(), 1);
}

TEST_F(Recovery, QuittingWithoutSavingLeavesNothing) {
  ASSERT_TRUE(Start({"-Embedding"}));  // no splash to take the first press
  Drag({30, 30}, {90, 70});
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1; }, RecoveryCopy::kDelayMs + 3000));
  ModalHandler no([](QWidget* w) {
    if (!Answer(w, QMessageBox::No)) w->close();
  });
  Frame()->close();
  EXPECT_EQ(no.Seen(), 1);
  Stop();
  EXPECT_EQ(Left(), QStringList());
}

// A recovered drawing differs from its file (here: from a new drawing) however its history
// began: a click that only selects, or a change undone, leaves it modified, and Exit asks.
TEST_F(Recovery, ARecoveredDrawingStaysModifiedUntilItEqualsItsFile) {
  ASSERT_TRUE(Start({"-Embedding"}));  // no splash to take the first press
  Drag({30, 30}, {90, 70});
  // The copy, and the record that names it, written after it.
  ASSERT_TRUE(QTest::qWaitFor([&] { return Copies().size() == 1 && Left().filter(".json").size() == 1; },
                              RecoveryCopy::kDelayMs + 3000));
  const QByteArray line = ShapesHash(Doc().GetDrawing());
  StopAsKilled();

  ASSERT_EQ(StartAndAnswer("Recover"), 1);
  ASSERT_EQ(Titles(), QStringList{"Tavlo1*"});
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, QPoint(300, 200));  // on no shape
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(ShapesHash(Doc().GetDrawing()), line);
  Idle();
  EXPECT_EQ(Copies().size(), 1);
  {
    ModalHandler no([](QWidget* w) {
      if (!Answer(w, QMessageBox::No)) w->close();
    });
    Action(ID_APP_EXIT)->trigger();
    EXPECT_EQ(no.Seen(), 1);
  }
  Stop();
  EXPECT_EQ(Left(), QStringList());

  // Drawn in and undone: back where it was recovered, which is not its file.
  Orphan("1", DrawingFile({TwoShapes()[0]}, -1, 0, 0), {"", "Tavlo1", QDateTime::currentDateTime(), 1});
  ASSERT_EQ(StartAndAnswer("Recover"), 1);
  Activate();
  const QByteArray recovered = ShapesHash(Doc().GetDrawing());
  Drag({200, 150}, {260, 190});
  ASSERT_NE(ShapesHash(Doc().GetDrawing()), recovered);
  Idle();
  QTest::keyClick(View(), Qt::Key_Z, Qt::ControlModifier);
  EXPECT_EQ(ShapesHash(Doc().GetDrawing()), recovered);
  EXPECT_TRUE(Doc().IsModified());
  EXPECT_EQ(Titles(), QStringList{"Tavlo1*"});
  Idle();
  EXPECT_EQ(Copies().size(), 1);
}

// The log of recovery_driver: each document's states in order, and the saves.
struct DriverLog {
  struct State {
    qint64 ms;
    bool modified;
    QByteArray hash;
  };
  std::vector<State> states[2];
  QByteArrayList saved;     // the hashes of the saves that finished
  QByteArray savingAtKill;  // a save that was under way
};

DriverLog ReadLog(const QString& path) {
  DriverLog log;
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray saving;
  for (const QByteArray& line : file.readAll().split('\n')) {
    const QByteArrayList f = line.split(' ');
    if (f.size() == 5 && f[1] == "state" && f[4].size() == 32)
      log.states[f[2].toInt()].push_back({f[0].toLongLong(), f[3] == "1", f[4]});
    else if (f.size() == 3 && f[1] == "saving")
      saving = f[2];
    else if (f.size() == 2 && f[1] == "saved")
      log.saved << std::exchange(saving, QByteArray());
  }
  log.savingAtKill = saving;
  return log;
}

TEST_F(Recovery, AnEditorKilledAtRandomMomentsLosesNothingOlderThanFiveSeconds) {
  bool ok = false;
  const int trials = qEnvironmentVariableIntValue("QUIRRA_KILL_TRIALS", &ok);
  std::mt19937 rng(20261208);
  for (int trial = 0; trial < (ok ? trials : 3); ++trial) {
    SCOPED_TRACE("trial " + std::to_string(trial));
    // A state folder of the trial's own, for the killed editor and the one started after it.
    const QString home = QDir(state.path()).filePath(QString::number(trial));
    qputenv("XDG_STATE_HOME", QFile::encodeName(home));
    const QString drawing = WriteFile(QString("drawing%1.qrf").arg(trial), DrawingFile(TwoShapes(), -1, 0, 0));
    const QString logPath = files.filePath(QString("log%1").arg(trial));

    // Killed once it has done a random number of things (at about 20 a second).
    QProcess driver;
    driver.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    driver.start(RECOVERY_DRIVER, {drawing, logPath, QString::number(rng())});
    const int steps = std::uniform_int_distribution<int>(20, 240)(rng);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
          QFile log(logPath);
          return log.open(QIODevice::ReadOnly) && log.readAll().count('\n') >= steps + 3;
        },
        60000));
    const qint64 killed = QDateTime::currentMSecsSinceEpoch();
    driver.kill();
    ASSERT_TRUE(driver.waitForFinished());
    const DriverLog log = ReadLog(logPath);

    // The user's file is the last save, or one under way, or the file as it was.
    DocumentFileContent onDisk;
    ASSERT_TRUE(LoadFileThroughArchive(drawing, [&](CArchive& ar) { onDisk.Serialize(ar); }).isEmpty());
    const QByteArray fileHash = ShapesHash(onDisk.drawing);
    const QByteArray lastSaved = log.saved.isEmpty() ? log.states[0].front().hash : log.saved.back();
    EXPECT_TRUE(fileHash == lastSaved || fileHash == log.savingAtKill);

    std::vector<QByteArray> recovered(2);
    StartAndAnswer("Recover", [](QTreeWidget& list) {
      for (int i = 0; i < list.topLevelItemCount(); ++i)
        EXPECT_FALSE(list.topLevelItem(i)->text(2).startsWith("damaged")) << "a damaged copy";
    });
    for (CDocument* d : app->GetTemplate().GetDocuments()) {
      auto* doc = static_cast<CQuirraDoc*>(d);
      const int which = doc->GetPathName() == QFileInfo(drawing).absoluteFilePath() ? 0 : 1;
      if (which == 1) {
        EXPECT_EQ(doc->GetTitle(), "Tavlo1");
      }
      if (doc->IsModified()) recovered[which] = ShapesHash(doc->GetDrawing());
    }
    for (int which : {0, 1}) {
      SCOPED_TRACE("document " + std::to_string(which));
      const auto& states = log.states[which];
      // The newest state from more than five seconds before the kill, or any later one, comes back.
      size_t due = 0;
      for (size_t i = 0; i < states.size(); ++i)
        if (states[i].ms <= killed - 5000) due = i;
      if (recovered[which].isEmpty()) {
        // Nothing came back: then the drawing was saved (or undone to its file) after the state due.
        bool unmodified = false;
        for (size_t i = due; i < states.size(); ++i) unmodified = unmodified || !states[i].modified;
        EXPECT_TRUE(unmodified) << "an unsaved drawing older than five seconds was lost";
        continue;
      }
      bool found = false;
      for (size_t i = due; i < states.size(); ++i) found = found || states[i].hash == recovered[which];
      EXPECT_TRUE(found) << "the recovered drawing is older than five seconds or none the editor had";
    }
    Stop();
  }
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
}

}  // namespace
