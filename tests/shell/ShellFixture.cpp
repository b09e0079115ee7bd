#include "tests/shell/ShellFixture.h"

#include "app/CommandLine.h"

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QSettings>
#include <QTest>

namespace shelltest {

namespace {

void Put32(QByteArray& bytes, uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.append(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

QByteArray DrawingFile(const std::vector<Record>& records, int selected, int hitMode, int hitPart) {
  QByteArray bytes;
  Put32(bytes, uint32_t(selected));
  bytes.append(char(records.size() & 0xFF));
  bytes.append(char((records.size() >> 8) & 0xFF));
  for (const Record& r : records) {
    const qsizetype start = bytes.size();
    Put32(bytes, 0x0040CA70);
    Put32(bytes, uint32_t(r.center.x()));
    Put32(bytes, uint32_t(r.center.y()));
    Put32(bytes, uint32_t(r.type));
    Put32(bytes, r.penColor);
    Put32(bytes, r.brushColor);
    Put32(bytes, uint32_t(r.penWidth));
    Put32(bytes, uint32_t(r.penStyle));
    Put32(bytes, uint32_t(r.type == kLine ? -1 : r.brushStyle));
    Put32(bytes, uint32_t(r.points.size()));
    for (size_t i = 0; i < 10; ++i) {
      const QPoint p = i < r.points.size() ? r.points[i] : QPoint();
      Put32(bytes, uint32_t(p.x()));
      Put32(bytes, uint32_t(p.y()));
    }
    EXPECT_EQ(bytes.size() - start, 120);
  }
  Put32(bytes, uint32_t(hitMode));
  Put32(bytes, uint32_t(hitPart));
  return bytes;
}

std::vector<Record> TwoShapes() {
  Record a;
  a.center = QPoint(30, 30);
  a.points = {{20, 20}, {120, 20}, {120, 80}, {20, 80}};
  Record b;
  b.type = kEllipse;
  b.center = QPoint(210, 50);
  b.points = {{200, 40}, {300, 40}, {300, 140}, {200, 140}};
  b.penColor = 0x0000FF;
  b.penWidth = 3;
  return {a, b};
}

void CollectItems(QMenu* menu, QList<QAction*>& items) {
  for (QAction* a : menu->actions()) {
    if (a->isSeparator()) continue;
    items << a;
    if (a->menu()) CollectItems(a->menu(), items);
  }
}

bool Answer(QWidget* w, QMessageBox::StandardButton button) {
  auto* box = qobject_cast<QMessageBox*>(w);
  QAbstractButton* b = box ? box->button(button) : nullptr;
  if (!b) return false;
  b->click();
  return true;
}

void ShellTest::SetUp() {
  for (QTemporaryDir* dir : {&config, &data, &runtime, &state, &files}) ASSERT_TRUE(dir->isValid());
  // The runtime folder must be the user's alone, as the desktop makes it.
  ASSERT_TRUE(QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
  qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
  qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  qputenv("XDG_STATE_HOME", QFile::encodeName(state.path()));
  // QSettings looks at XDG_CONFIG_HOME only once per process; every test has its own folder.
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, config.path());
  QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, config.path());
  // The editor's one-shape clipboard lives as long as the process: start each test empty.
  CQuirraView::ClearClipboard();
}

void ShellTest::TearDown() {
  if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
  Stop();
}

void ShellTest::Stop() {
  app.reset();
  // Every start refreshes the desktop databases under the data folder in the background; let
  // those refreshes end before the next start or before the folder goes.
  EXPECT_TRUE(QTest::qWaitFor([this] { return !RefreshRunning(); }, 10000));
}

bool ShellTest::RefreshRunning() const {
  const QByteArray folder = QFile::encodeName(data.path());
  for (const QString& pid : QDir("/proc").entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
    if (!pid.front().isDigit()) continue;
    QFile command("/proc/" + pid + "/cmdline");
    if (command.open(QIODevice::ReadOnly) && command.readAll().contains(folder)) return true;
  }
  return false;
}

bool ShellTest::MimeDatabaseWritten() const {
  const QDir mime(data.filePath("mime"));
  return mime.exists("version") && mime.entryList({"*.new"}, QDir::Files | QDir::Hidden).isEmpty();
}

bool ShellTest::Start(const QStringList& arguments) {
  app = std::make_unique<CQuirraApp>(recoveryDelayMs);
  const CommandLine line = ParseCommandLine(arguments);
  return app->InitInstance(line.files, line.automated);
}

std::vector<CChildFrame*> ShellTest::Children() const {
  std::vector<CChildFrame*> children;
  for (QMdiSubWindow* w : Frame()->GetMdiArea()->subWindowList(QMdiArea::CreationOrder))
    if (auto* child = qobject_cast<CChildFrame*>(w)) children.push_back(child);
  return children;
}

QStringList ShellTest::Titles() const {
  QStringList titles;
  for (CChildFrame* child : Children()) {
    QString title = child->windowTitle();
    titles << title.replace(QLatin1String("[*]"), child->isWindowModified() ? QStringLiteral("*") : QString());
  }
  return titles;
}

QStringList ShellTest::MenuBarTitles() const {
  QStringList titles;
  for (QAction* a : Frame()->menuBar()->actions()) titles << a->text();
  return titles;
}

void ShellTest::Activate() {
  Frame()->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(Frame()));
  View()->setFocus();
  ASSERT_TRUE(QTest::qWaitFor([this] { return View()->hasFocus(); }));
}

void ShellTest::Idle() {
  QEventLoop loop;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                   &QEventLoop::quit);
  QTimer::singleShot(5000, &loop, &QEventLoop::quit);
  loop.exec();
}

void ShellTest::Drag(QPoint from, QPoint to) {
  QTest::mousePress(Viewport(), Qt::LeftButton, {}, from);
  QTest::mouseMove(Viewport(), from + QPoint(1, 1));
  QTest::mouseMove(Viewport(), to);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, to);
}

void ShellTest::Pick(QPoint p) {
  QTest::mouseClick(Viewport(), Qt::LeftButton, {}, p);
  QTest::mouseDClick(Viewport(), Qt::LeftButton, {}, p);
  QTest::mouseRelease(Viewport(), Qt::LeftButton, {}, p);
}

QList<QAction*> ShellTest::MenuItems(const QString& title) const {
  QList<QAction*> items;
  for (QAction* a : Frame()->menuBar()->actions())
    if (a->text() == title && a->menu()) CollectItems(a->menu(), items);
  return items;
}

QString ShellTest::WriteFile(const QString& name, const QByteArray& bytes) const {
  const QString path = files.filePath(name);
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write(bytes);
  return path;
}

QString ShellTest::SettingsFile() const {
  return config.filePath(QStringLiteral("Local AppWizard-Generated Applications/Quirra.conf"));
}

void ShellTest::StoreMainWindowGeometry(const QRect& geometry) const {
  QMainWindow window;
  window.setGeometry(geometry);
  QSettings(SettingsFile(), QSettings::IniFormat).setValue("Main Window/Geometry", window.saveGeometry());
}

}  // namespace shelltest
