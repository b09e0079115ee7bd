// Start-up: the command line, the first window, the splash, the recent files and the desktop
// registration.
#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QMenuBar>
#include <QRegularExpression>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QXmlStreamReader>

#include "desktop/ShellRegistration.h"
#include "shell/CSplashWnd.h"
#include "shell/CommandActions.h"
#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

const QStringList kDocumentMenus = {"&File", "&Edit", "&View", "&Window", "&Help", "&Pen", "&Brush", "&Object"};
const QStringList kFrameMenus = {"&File", "&View", "&Help"};

QByteArray ReadAll(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

using Startup = ShellTest;

TEST_F(Startup, WithoutArgumentsShowsTavlo1WithTheDocumentMenus) {
  ASSERT_TRUE(Start({}));
  EXPECT_EQ(Titles(), QStringList{"Tavlo1"});
  EXPECT_FALSE(Doc().IsModified());
  EXPECT_TRUE(Doc().GetPathName().isEmpty());
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), -1);
  EXPECT_TRUE(Frame()->isVisible());
  EXPECT_EQ(MenuBarTitles(), kDocumentMenus);
  // Started without a switch, the splash stands over the main window.
  ASSERT_NE(CSplashWnd::Current(), nullptr);
  EXPECT_TRUE(CSplashWnd::Current()->isVisible());
}

TEST_F(Startup, FileNewNumbersTheDocumentsAndClosingTheLastLeavesTheFrameMenus) {
  ASSERT_TRUE(Start({"-Embedding"}));
  Action(ID_FILE_NEW)->trigger();
  Action(ID_FILE_NEW)->trigger();
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "Tavlo2", "Tavlo3"}));
  EXPECT_EQ(Doc().GetTitle(), "Tavlo3");
  EXPECT_EQ(app->GetTemplate().GetDocuments().size(), 3u);

  for (CChildFrame* child : Children()) {
    EXPECT_EQ(MenuBarTitles(), kDocumentMenus);
    QPointer<CChildFrame> gone(child);
    child->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return gone.isNull(); }));
  }
  EXPECT_TRUE(Children().empty());
  EXPECT_TRUE(app->GetTemplate().GetDocuments().empty());
  EXPECT_EQ(MenuBarTitles(), kFrameMenus);
  // The document commands are gone with the documents; File New still works.
  EXPECT_FALSE(Action(ID_FILE_SAVE)->isEnabled());
  EXPECT_TRUE(Action(ID_FILE_NEW)->isEnabled());
  Action(ID_FILE_NEW)->trigger();
  EXPECT_EQ(Titles(), QStringList{"Tavlo4"});
  EXPECT_EQ(MenuBarTitles(), kDocumentMenus);
}

TEST_F(Startup, OpensTheFileNamedInsteadOfANewDocument) {
  const QString path = WriteFile("garden.qrf", DrawingFile(TwoShapes(), 1, HIT_EDGE, 2));
  ASSERT_TRUE(Start({"-Embedding", path}));
  EXPECT_EQ(Titles(), QStringList{"garden.qrf"});
  EXPECT_EQ(Doc().GetPathName(), QFileInfo(path).absoluteFilePath());
  EXPECT_FALSE(Doc().IsModified());
  const CTavlo& drawing = Doc().GetDrawing();
  ASSERT_EQ(drawing.GetUpperBound(), 1);
  EXPECT_EQ(drawing.GetSelected(), 1);
  EXPECT_EQ(Doc().GetHitMode(), HIT_EDGE);
  EXPECT_EQ(Doc().GetHitPart(), 2);
  const CShape& first = drawing.GetShapes()[0];
  const CShape& second = drawing.GetShapes()[1];
  EXPECT_EQ(first.GetType(), kRectangle);
  EXPECT_EQ(first.GetPoint(2), CPoint(120, 80));
  EXPECT_EQ(second.GetType(), kEllipse);
  EXPECT_EQ(second.GetCenter(), CPoint(210, 50));
  EXPECT_EQ(second.GetPenWidth(), 3);
  EXPECT_EQ(second.GetPenColor(), 0x0000FFu);
  EXPECT_EQ(MenuBarTitles(), kDocumentMenus);
}

TEST_F(Startup, DamagedFileEndsStartUpAfterOneMessageNamingIt) {
  // The count promises two records; the file holds one.
  QByteArray bytes = DrawingFile(TwoShapes(), 0, 0, 0);
  bytes.chop(120 + 8);
  const QString path = WriteFile("torn.qrf", bytes);
  QStringList texts;
  ModalHandler closer([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) texts << box->text();
    if (!Answer(w, QMessageBox::Ok)) w->close();
  });
  EXPECT_FALSE(Start({"-Embedding", path}));
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_FALSE(closer.TimedOut());
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains("torn.qrf")) << texts[0].toStdString();
  EXPECT_TRUE(Children().empty());
  EXPECT_TRUE(app->GetTemplate().GetDocuments().empty());
}

TEST_F(Startup, OfSeveralFilesEachThatOpensIsShownAndEachThatDoesNotIsReported) {
  const QString good = WriteFile("garden.qrf", DrawingFile(TwoShapes(), -1, 0, 0));
  const QString missing = files.filePath("missing.qrf"), gone = files.filePath("gone.qrf");
  QStringList texts;
  ModalHandler closer([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) texts << box->text();
    if (!Answer(w, QMessageBox::Ok)) w->close();
  });
  ASSERT_TRUE(Start({"-Embedding", missing, good}));
  EXPECT_EQ(Titles(), QStringList{"garden.qrf"});
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains("missing.qrf")) << texts[0].toStdString();
  Stop();

  // None of them opens: then the editor ends, each one reported.
  texts.clear();
  EXPECT_FALSE(Start({"-Embedding", missing, gone}));
  ASSERT_EQ(texts.size(), 2);
  EXPECT_TRUE(texts[1].contains("gone.qrf")) << texts[1].toStdString();
  EXPECT_FALSE(closer.TimedOut());
}

// --- Splash ------------------------------------------------------------------------------------

using Splash = ShellTest;

TEST_F(Splash, StandsCentredOnTheScreenAndClosesByItsTimer) {
  QElapsedTimer clock;
  clock.start();
  ASSERT_TRUE(Start({}));
  QPointer<CSplashWnd> splash = CSplashWnd::Current();
  ASSERT_FALSE(splash.isNull());
  EXPECT_TRUE(splash->isVisible());
  EXPECT_EQ(splash->size(), QSize(400, 190));
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  const QRect at = splash->frameGeometry();
  EXPECT_LE(std::abs((at.left() - screen.left()) - (screen.right() - at.right())), 1);
  EXPECT_LE(std::abs((at.top() - screen.top()) - (screen.bottom() - at.bottom())), 1);

  EXPECT_TRUE(QTest::qWaitFor([&] { return CSplashWnd::Current() == nullptr; }, 6000));
  EXPECT_GE(clock.elapsed(), 2300);  // a coarse 2500 ms timer may fire up to 5% early
  EXPECT_TRUE(QTest::qWaitFor([&] { return splash.isNull() || !splash->isVisible(); }));
  EXPECT_EQ(Titles(), QStringList{"Tavlo1"});
}

TEST_F(Splash, AKeyPressOnlyClosesItAndTheNextKeyActs) {
  // Saved with the front shape gripped, so that Delete may run at once.
  const QString path = WriteFile("gripped.qrf", DrawingFile(TwoShapes(), 1, HIT_VERTEX, 0));
  ASSERT_TRUE(Start({path}));
  ASSERT_NE(CSplashWnd::Current(), nullptr);
  Activate();
  ASSERT_TRUE(Action(ID_EDIT_DELETE)->isEnabled());
  QSignalSpy ran(&Frame()->GetActions(), &CommandActions::commandRun);
  QTest::keyClick(View(), Qt::Key_Delete);
  EXPECT_EQ(CSplashWnd::Current(), nullptr);
  EXPECT_TRUE(ran.isEmpty());
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 1);
  EXPECT_FALSE(Doc().IsModified());
  QTest::keyClick(View(), Qt::Key_Delete);
  ASSERT_EQ(ran.size(), 1);
  EXPECT_EQ(ran[0][0].toInt(), ID_EDIT_DELETE);
  ASSERT_EQ(Doc().GetDrawing().GetUpperBound(), 0);
  EXPECT_EQ(Doc().GetDrawing().GetShapes()[0].GetType(), kRectangle);
}

TEST_F(Splash, AMousePressOnlyClosesItAndTheNextDragDraws) {
  ASSERT_TRUE(Start({}));
  ASSERT_NE(CSplashWnd::Current(), nullptr);
  Action(ID_OBJECT_RECTANGLE)->trigger();
  ASSERT_EQ(Doc().GetTool(), kRectangle);
  Drag({30, 30}, {90, 70});
  EXPECT_EQ(CSplashWnd::Current(), nullptr);
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), -1);
  EXPECT_FALSE(Doc().IsModified());
  Drag({30, 30}, {90, 70});
  ASSERT_EQ(Doc().GetDrawing().GetUpperBound(), 0);
  EXPECT_EQ(Doc().GetDrawing().GetShapes()[0].GetPoint(2), CPoint(90, 70));
}

// The splash would hide the message and take the click meant for it.
TEST_F(Splash, StepsAsideForAMessageAboutAFileThatWouldNotOpen) {
  const QString good = WriteFile("garden.qrf", DrawingFile(TwoShapes(), -1, 0, 0));
  bool splashGone = false;
  ModalHandler closer([&](QWidget* w) {
    splashGone = CSplashWnd::Current() == nullptr;
    if (!Answer(w, QMessageBox::Ok)) w->close();
  });
  ASSERT_TRUE(Start({files.filePath("missing.qrf"), good}));
  EXPECT_EQ(closer.Seen(), 1);
  EXPECT_TRUE(splashGone);
  EXPECT_EQ(Titles(), QStringList{"garden.qrf"});
}

TEST_F(Splash, EmbeddingOrAutomationInAnyCaseSuppressesIt) {
  for (const char* option : {"-Embedding", "/embedding", "-AUTOMATION", "/Automation"}) {
    SCOPED_TRACE(option);
    ASSERT_TRUE(Start({option}));
    EXPECT_EQ(CSplashWnd::Current(), nullptr);
    EXPECT_EQ(Titles(), QStringList{"Tavlo1"});
    Stop();
  }
  ASSERT_TRUE(Start({}));
  EXPECT_NE(CSplashWnd::Current(), nullptr);
}

// --- Recent files ------------------------------------------------------------------------------

using RecentFiles = ShellTest;

TEST_F(RecentFiles, OutliveARestartNewestFirst) {
  const QString first = WriteFile("first.qrf", DrawingFile(TwoShapes(), -1, 0, 0));
  const QString second = WriteFile("second.qrf", DrawingFile({}, -1, 0, 0));
  ASSERT_TRUE(Start({"-Embedding"}));
  ASSERT_NE(app->OpenDocumentFile(first), nullptr);
  ASSERT_NE(app->OpenDocumentFile(second), nullptr);
  Stop();

  // Stored where the desktop keeps the user's settings, under the program's company and name.
  ASSERT_TRUE(QFileInfo::exists(SettingsFile()));
  const QByteArray stored = ReadAll(SettingsFile());
  EXPECT_TRUE(stored.contains("[Recent%20File%20List]")) << stored.toStdString();
  QSettings settings(SettingsFile(), QSettings::IniFormat);
  settings.beginGroup("Recent File List");
  EXPECT_EQ(settings.value("File1").toString(), second);
  EXPECT_EQ(settings.value("File2").toString(), first);
  EXPECT_FALSE(settings.contains("File3"));

  ASSERT_TRUE(Start({"-Embedding"}));
  QMenu* file = Frame()->menuBar()->actions().front()->menu();
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->actions().contains(Action(ID_FILE_MRU_FILE1)));
  emit file->aboutToShow();
  EXPECT_TRUE(Action(ID_FILE_MRU_FILE1)->isVisible());
  EXPECT_TRUE(Action(ID_FILE_MRU_FILE1)->isEnabled());
  EXPECT_TRUE(Action(ID_FILE_MRU_FILE1)->text().contains(QDir::toNativeSeparators(second)));
  EXPECT_TRUE(Action(ID_FILE_MRU_FILE1 + 1)->text().contains(QDir::toNativeSeparators(first)));
  EXPECT_TRUE(Action(ID_FILE_MRU_FILE1 + 1)->isVisible());
  EXPECT_FALSE(Action(ID_FILE_MRU_FILE1 + 2)->isVisible());
  EXPECT_FALSE(Action(ID_FILE_MRU_FILE1 + 3)->isVisible());

  // Choosing one opens it.
  Action(ID_FILE_MRU_FILE1 + 1)->trigger();
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "first.qrf"}));
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 1);
}

TEST_F(RecentFiles, KeepFourWithoutDuplicates) {
  ASSERT_TRUE(Start({"-Embedding"}));
  QStringList paths;
  for (const char* name : {"a.qrf", "b.qrf", "c.qrf", "d.qrf", "e.qrf"}) {
    paths << WriteFile(name, DrawingFile({}, -1, 0, 0));
    ASSERT_NE(app->OpenDocumentFile(paths.back()), nullptr);
  }
  // Closed and opened again, "b" moves to the top and is listed once.
  auto* b = static_cast<CQuirraDoc*>(app->GetTemplate().FindDocument(paths[1]));
  ASSERT_NE(b, nullptr);
  ASSERT_TRUE(app->CloseDocument(*b));
  ASSERT_TRUE(QTest::qWaitFor([&] { return app->GetTemplate().FindDocument(paths[1]) == nullptr; }));
  ASSERT_NE(app->OpenDocumentFile(paths[1]), nullptr);
  EXPECT_EQ(Doc().GetPathName(), paths[1]);
  EXPECT_EQ(Children().size(), 6u);
  Stop();

  QSettings settings(SettingsFile(), QSettings::IniFormat);
  settings.beginGroup("Recent File List");
  EXPECT_EQ(settings.value("File1").toString(), paths[1]);
  EXPECT_EQ(settings.value("File2").toString(), paths[4]);
  EXPECT_EQ(settings.value("File3").toString(), paths[3]);
  EXPECT_EQ(settings.value("File4").toString(), paths[2]);
  EXPECT_FALSE(settings.contains("File5"));

  ASSERT_TRUE(Start({"-Embedding"}));
  const int expected[] = {1, 4, 3, 2};
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    QAction* item = Action(ID_FILE_MRU_FILE1 + i);
    EXPECT_TRUE(item->text().contains(QDir::toNativeSeparators(paths[expected[i]])));
    EXPECT_TRUE(item->isVisible());
  }
  for (const auto& [id, action] : Frame()->GetActions().Actions())
    EXPECT_FALSE(action->text().contains(QDir::toNativeSeparators(paths[0]))) << id;
}

// --- Desktop registration ----------------------------------------------------------------------

using Registration = ShellTest;

// A line break in the program's path would end the Exec line and start keys of its own.
TEST_F(Registration, AProgramPathWithALineBreakGetsNoEntry) {
  const QString home = RegisterShellFileTypes("/opt/odd\nExec=sh -c evil\n/quirra");
  EXPECT_TRUE(QFile::exists(home + "/mime/packages/quirra.xml"));
  EXPECT_FALSE(QFile::exists(home + "/applications/quirra.desktop"));
  EXPECT_FALSE(QFile::exists(home + "/thumbnailers/quirra.thumbnailer"));
  EXPECT_TRUE(QTest::qWaitFor([this] { return !RefreshRunning(); }, 10000));
}

TEST_F(Registration, WritesTheTypeTheEntryAndTheIconsUnderTheDataHome) {
  ASSERT_TRUE(Start({"-Embedding"}));
  QFile mime(data.filePath("mime/packages/quirra.xml"));
  ASSERT_TRUE(mime.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&mime);
  QString type, comment;
  QStringList globs;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (xml.name() == u"mime-type")
      type = xml.attributes().value("type").toString();
    else if (xml.name() == u"glob")
      globs << xml.attributes().value("pattern").toString();
    else if (xml.name() == u"comment" && comment.isEmpty())
      comment = xml.readElementText();
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(type, "application/x-quirra-document");
  EXPECT_EQ(globs, QStringList{"*.qrf"});
  EXPECT_EQ(comment, "Tavlo Document");

  const QString entry = QString::fromUtf8(ReadAll(data.filePath("applications/quirra.desktop")));
  const QStringList lines = entry.split('\n');
  const QStringList execs = lines.filter(QRegularExpression("^Exec="));
  ASSERT_EQ(execs.size(), 1) << entry.toStdString();
  // The program that registered, quoted or not, then the open switch and the files.
  QString program = execs[0].mid(5);
  ASSERT_TRUE(program.endsWith(" --shell-open %F")) << program.toStdString();
  program.chop(16);
  if (program.startsWith('"') && program.endsWith('"')) program = program.mid(1, program.size() - 2);
  EXPECT_EQ(program, QCoreApplication::applicationFilePath());
  EXPECT_TRUE(lines.contains("MimeType=application/x-quirra-document;")) << entry.toStdString();
  EXPECT_TRUE(lines.contains("[Desktop Entry]"));
  // The thumbnailer runs the same program.
  const QStringList thumbnailer =
      QString::fromUtf8(ReadAll(data.filePath("thumbnailers/quirra.thumbnailer"))).split('\n');
  EXPECT_TRUE(thumbnailer.contains("TryExec=" + QCoreApplication::applicationFilePath()));
  EXPECT_TRUE(thumbnailer.filter(QRegularExpression("^Exec=.* --thumbnail %i %o %s$")).size() == 1);
  EXPECT_TRUE(thumbnailer.contains("MimeType=application/x-quirra-document;"));

  for (const char* icon :
       {"icons/hicolor/48x48/apps/quirra.png", "icons/hicolor/48x48/mimetypes/application-x-quirra-document.png"}) {
    SCOPED_TRACE(icon);
    QImage image(data.filePath(icon));
    EXPECT_EQ(image.size(), QSize(48, 48));
  }
  // Nothing of it lands outside the data folder given.
  EXPECT_FALSE(QFileInfo::exists(config.filePath("mime")));
  // The desktop's MIME database is brought up to date when its tool is there.
  if (!QStandardPaths::findExecutable("update-mime-database").isEmpty()) {
    EXPECT_TRUE(QTest::qWaitFor([this] { return MimeDatabaseWritten(); }, 5000));
  }
}

// The files under `folder`, its subfolders' too.
QStringList FilesUnder(const QString& folder) {
  QStringList files;
  for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();)
    files << it.next();
  return files;
}

TEST_F(Registration, AnInstalledEditorWritesNothingForTheUserAndTakesAwayEntriesOfAVanishedOne) {
  // A system data folder whose entry runs "quirra" from the path, which is this program.
  QTemporaryDir system, bin;
  ASSERT_TRUE(QDir().mkpath(system.filePath("applications")));
  QFile entry(system.filePath("applications/quirra.desktop"));
  ASSERT_TRUE(entry.open(QIODevice::WriteOnly));
  entry.write("[Desktop Entry]\nType=Application\nName=Quirra\nExec=quirra --shell-open %F\n");
  entry.close();
  ASSERT_TRUE(QFile::link(QCoreApplication::applicationFilePath(), bin.filePath("quirra")));
  const QByteArray path = qgetenv("PATH"), dirs = qgetenv("XDG_DATA_DIRS");
  qputenv("PATH", QFile::encodeName(bin.path()) + ':' + path);
  qputenv("XDG_DATA_DIRS", QFile::encodeName(system.path()));

  EXPECT_EQ(RegisterShellFileTypes(QCoreApplication::applicationFilePath()), QString());
  EXPECT_EQ(FilesUnder(data.path()), QStringList());

  // What an editor run from a build folder since removed left behind goes at the next start.
  qputenv("XDG_DATA_DIRS", "/nowhere");
  ASSERT_EQ(RegisterShellFileTypes(bin.filePath("gone/quirra")), data.path());
  EXPECT_TRUE(QTest::qWaitFor([this] { return !RefreshRunning(); }, 10000));
  ASSERT_TRUE(QFile::exists(data.filePath("applications/quirra.desktop")));
  qputenv("XDG_DATA_DIRS", QFile::encodeName(system.path()));
  ASSERT_TRUE(Start({"-Embedding"}));
  for (const QString& file : FilesUnder(data.path()))
    EXPECT_FALSE(file.endsWith("quirra.desktop") || file.endsWith("quirra.thumbnailer") ||
                 file.endsWith("packages/quirra.xml") || file.endsWith(".png"))
        << file.toStdString();

  qputenv("PATH", path);
  dirs.isNull() ? qunsetenv("XDG_DATA_DIRS") : qputenv("XDG_DATA_DIRS", dirs);
}

}  // namespace
}  // namespace shelltest
