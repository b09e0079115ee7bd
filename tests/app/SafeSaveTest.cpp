// A save never loses the drawing on disk: whatever stops it (a kill at any moment, a full disk, a
// folder the user may not write), the file is afterwards either the whole old one or the whole
// new one, and a save that did not complete says so.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <cstdio>
#include <random>

#include "model/DocumentFileContent.h"
#include "tests/support/EnvInt.h"
#include "tests/support/FileBytes.h"

namespace {

// A drawing of `count` rectangles whose coordinates depend on `seed`, as file bytes.
QByteArray Drawing(int count, int seed) {
  DocumentFileContent doc;
  for (int i = 0; i < count; ++i) {
    CShape s;
    s.SetType(kRectangle);
    s.SetPointCount(4);
    const int x = (i * 7 + seed) % 5000, y = (i * 13 + seed) % 4000;
    s.SetPoint(0, x, y);
    s.SetPoint(1, x + 40, y);
    s.SetPoint(2, x + 40, y + 30);
    s.SetPoint(3, x, y + 30);
    s.SetBrushStyle(seed % 6);
    doc.drawing.AddShape(s);
  }
  const std::string bytes = file_bytes::Save(doc);
  return QByteArray(bytes.data(), qsizetype(bytes.size()));
}

QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  ASSERT_TRUE(f.open(QIODevice::WriteOnly));
  ASSERT_EQ(f.write(bytes), bytes.size());
}

struct Outcome {
  int status;
  QByteArray err;
};

Outcome Export(const QString& from, const QString& to, const std::function<void()>& inChild = {}) {
  QProcess p;
  if (inChild) p.setChildProcessModifier(inChild);
  p.start(QStringLiteral(QUIRRA_BINARY), {QStringLiteral("--export"), from, to});
  EXPECT_TRUE(p.waitForFinished(60000));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

}  // namespace

TEST(SafeSave, KilledAtAnyMomentLeavesTheOldOrTheNewFile) {
  QTemporaryDir dir;
  const QByteArray oldBytes = Drawing(150000, 1), newBytes = Drawing(150000, 2);
  const QString source = dir.filePath("new.qrf"), target = dir.filePath("target.qrf");
  Write(source, newBytes);

  // How long a whole save takes here, so the kills fall before, during and after the writing.
  Write(target, oldBytes);
  QElapsedTimer clock;
  clock.start();
  ASSERT_EQ(Export(source, target).status, 0);
  const qint64 whole = std::max<qint64>(clock.elapsed(), 5);
  ASSERT_EQ(Read(target), newBytes);

  std::mt19937 rng(11);
  const int trials = EnvInt("QUIRRA_KILL_TRIALS", 25);
  int sawOld = 0, sawNew = 0;
  for (int i = 0; i < trials; ++i) {
    Write(target, oldBytes);
    QProcess p;
    p.start(QStringLiteral(QUIRRA_BINARY), {QStringLiteral("--export"), source, target});
    ASSERT_TRUE(p.waitForStarted());
    const int delay = std::uniform_int_distribution<int>(0, int(whole * 3 / 2))(rng);
    // The one deliberate wait: the kill must land at a random moment of the save.
    QElapsedTimer wait;
    wait.start();
    while (wait.elapsed() < delay && p.state() == QProcess::Running) p.waitForFinished(1);
    // (A pid of 0 would signal this whole process group: only a running child is killed.)
    if (p.state() == QProcess::Running && p.processId() > 0) ::kill(pid_t(p.processId()), SIGKILL);
    p.waitForFinished(10000);
    const QByteArray now = Read(target);
    ASSERT_TRUE(now == oldBytes || now == newBytes)
        << "trial " << i << " after " << delay << " ms: " << now.size() << " bytes";
    (now == oldBytes ? sawOld : sawNew)++;
    // No temporary file is left behind as the target, whatever remains beside it.
    ASSERT_TRUE(QFile::exists(target));
  }
  RecordProperty("kill_trials", trials);
  std::printf("kill trials: %d, old file kept %d, new file whole %d\n", trials, sawOld, sawNew);
  EXPECT_EQ(sawOld + sawNew, trials);
  EXPECT_GT(sawOld, 0) << "no kill landed before the rename";
}

TEST(SafeSave, FullDiskKeepsTheOldFileAndSaysSo) {
  QTemporaryDir dir;
  const QByteArray oldBytes = Drawing(10, 3), newBytes = Drawing(5000, 4);
  const QString source = dir.filePath("new.qrf"), target = dir.filePath("target.qrf");
  Write(source, newBytes);
  Write(target, oldBytes);
  // A file-size limit stands in for a full disk: writes beyond it fail with "File too large".
  const Outcome r = Export(source, target, [] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{64 * 1024, 64 * 1024};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  });
  EXPECT_EQ(r.status, 1);
  EXPECT_TRUE(r.err.startsWith(("quirra: " + target + ": ").toUtf8())) << r.err.constData();
  EXPECT_EQ(Read(target), oldBytes);
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2) << "a temporary file was left behind";
}

TEST(SafeSave, ReadOnlyFolderKeepsTheOldFileAndSaysSo) {
  // The folder and files are world-readable; the save runs as a user who may not write there.
  const QString base = QDir::tempPath() + QStringLiteral("/quirra-ro-%1").arg(::getpid());
  ASSERT_TRUE(QDir().mkpath(base));
  QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                  QFileDevice::ReadOther | QFileDevice::ExeOther | QFileDevice::ReadGroup |
                                  QFileDevice::ExeGroup);
  const QByteArray oldBytes = Drawing(10, 5), newBytes = Drawing(100, 6);
  const QString source = base + "/new.qrf", target = base + "/target.qrf";
  Write(source, newBytes);
  Write(target, oldBytes);
  for (const QString& f : {source, target})
    QFile::setPermissions(
        f, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadOther | QFileDevice::ReadGroup);

  Outcome r;
  if (::geteuid() == 0) {
    // Root may write anywhere: drop to an ordinary account for the save.
    const QString setpriv = QStandardPaths::findExecutable(QStringLiteral("setpriv"));
    if (setpriv.isEmpty()) GTEST_SKIP() << "setpriv is needed to save as another user";
    const QStringList asNobody{"--reuid=65534", "--regid=65534", "--clear-groups"};
    // The build may sit in a folder an ordinary account cannot enter: then the check cannot run.
    QProcess probe;
    probe.start(setpriv, asNobody + QStringList{QStringLiteral(QUIRRA_BINARY), "--help"});
    if (!probe.waitForFinished(30000) || probe.exitStatus() != QProcess::NormalExit || probe.exitCode() != 0)
      GTEST_SKIP() << "an ordinary account cannot run " << QUIRRA_BINARY;
    QProcess p;
    p.start(setpriv, asNobody + QStringList{QStringLiteral(QUIRRA_BINARY), "--export", source, target});
    ASSERT_TRUE(p.waitForFinished(60000));
    r = {p.exitCode(), p.readAllStandardError()};
  } else {
    QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    r = Export(source, target);
    QFile::setPermissions(base, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  }
  EXPECT_EQ(r.status, 1) << r.err.constData();
  EXPECT_TRUE(r.err.startsWith(("quirra: " + target + ": ").toUtf8())) << r.err.constData();
  EXPECT_EQ(Read(target), oldBytes);
  QDir(base).removeRecursively();
}
