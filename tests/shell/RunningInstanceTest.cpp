// Files handed to the editor that is already running, through its socket in XDG_RUNTIME_DIR.
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QProcess>
#include <QTest>

#include "desktop/InstanceChannel.h"
#include "tests/shell/ShellFixture.h"

namespace shelltest {
namespace {

// One message as any local program could send it.
void SendRaw(const QByteArray& message) {
  QLocalSocket socket;
  socket.connectToServer(InstanceChannel::SocketPath());
  ASSERT_TRUE(socket.waitForConnected(2000));
  socket.write(message);
  ASSERT_TRUE(socket.waitForBytesWritten(2000));
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(2000);
}

// One frame: a 32-bit big-endian byte count, then the bytes.
QByteArray Framed(const QByteArray& bytes) {
  const quint32 n = quint32(bytes.size());
  const char size[] = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
  return QByteArray(size, 4) + bytes;
}

QByteArray Framed(const QString& path) { return Framed(QFile::encodeName(path)); }

// The desktop's open command, run as the desktop runs it, beside the editor of the test.
struct ShellOpen {
  int status = -1;
  QByteArray err;
};
ShellOpen RunShellOpen(const QStringList& files) {
  QProcess p;
  p.start(QStringLiteral(QUIRRA_BINARY), QStringList{"--shell-open"} + files);
  // The editor must go on serving meanwhile: wait without blocking its event loop.
  EXPECT_TRUE(QTest::qWaitFor([&] { return p.state() == QProcess::NotRunning; }, 30000));
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError()};
}

// What an editor that crashed leaves behind: a socket file that nobody listens on.
bool LeaveDeadSocket(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (size_t(name.size()) >= sizeof address.sun_path) return false;
  std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
  const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
  if (fd < 0) return false;
  const bool made = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 && ::listen(fd, 1) == 0;
  ::close(fd);
  return made;
}

class RunningInstance : public ShellTest {
 protected:
  // Sends one good file and waits for its window: the messages sent before it have been read by
  // then, once every connection the editor accepted is gone.
  void OpenThrough(const QString& path) {
    ASSERT_TRUE(InstanceChannel::SendToRunning({path}));
    const QString name = QFileInfo(path).fileName();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Titles().contains(name); })) << Titles().join(',').toStdString();
    const auto* server = app->findChild<QLocalServer*>();
    ASSERT_NE(server, nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return server->findChildren<QLocalSocket*>().isEmpty(); }));
  }
};

TEST_F(RunningInstance, OpensTheFilesSentToIt) {
  const QString sent = WriteFile("sent.qrf", DrawingFile(TwoShapes(), 0, 0, 0));
  const QString other = WriteFile("other.qrf", DrawingFile({}, -1, 0, 0));
  ASSERT_TRUE(Start({"-Embedding"}));
  OpenThrough(sent);
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "sent.qrf"}));
  EXPECT_EQ(Doc().GetPathName(), sent);
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 1);

  // Several in one message; one already open only comes forward.
  ASSERT_TRUE(InstanceChannel::SendToRunning({other, sent}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Titles().size() == 3 && Doc().GetPathName() == sent; }));
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "sent.qrf", "other.qrf"}));
}

TEST_F(RunningInstance, KeepsEveryByteOfANameAndDropsMalformedMessagesWhole) {
  // Split at its newline, this name would be a file that exists too.
  const QString decoy = WriteFile("line", DrawingFile({}, -1, 0, 0));
  const QString odd = WriteFile("line\nbreak.qrf", DrawingFile(TwoShapes(), 0, 0, 0));
  const QString good = WriteFile("good.qrf", DrawingFile({}, -1, 0, 0));
  ASSERT_TRUE(Start({"-Embedding"}));
  ASSERT_TRUE(InstanceChannel::SendToRunning({odd}));
  ASSERT_TRUE(QTest::qWaitFor([&] { return Titles().size() == 2; }));
  EXPECT_EQ(Doc().GetPathName(), odd);
  EXPECT_EQ(Doc().GetDrawing().GetUpperBound(), 1);

  // Each of these holds one good frame for `decoy` and one bad part: none opens anything.
  const QByteArray first = Framed(decoy);
  const QByteArray tooLong = Framed(QByteArray(InstanceChannel::kMaxMessage, '/'));
  for (const QByteArray& bad :
       {Framed(QByteArray("relative.qrf")), Framed(QByteArray()), Framed(QFile::encodeName(good) + '\0'),
        Framed(QByteArray("/\xff\xfe.qrf")), first.left(first.size() - 1), QByteArray(2, '\0'), tooLong.left(10),
        QByteArray("\xff\xff\xff\xff/x"), tooLong}) {
    SendRaw(first + bad);
    SendRaw(bad + first);
  }
  // Lines of the old kind are no frames either.
  SendRaw(QFile::encodeName(decoy) + '\n');
  OpenThrough(good);
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "line\nbreak.qrf", "good.qrf"}));
}

TEST_F(RunningInstance, ServesRequestsOnlyFromTheMainLoop) {
  const QString damaged = WriteFile("damaged.qrf", "xx");
  ASSERT_TRUE(Start({"-Embedding"}));
  {
    // A flood of requests that all fail: one message each, never one inside another.
    int most = 0;
    ModalHandler handler([&](QWidget* w) {
      const auto windows = QApplication::topLevelWidgets();
      most = std::max<int>(most, std::count_if(windows.begin(), windows.end(), [](QWidget* t) {
                             return qobject_cast<QMessageBox*>(t) && t->isVisible();
                           }));
      Answer(w, QMessageBox::Ok);
    });
    constexpr int kFlood = 20;
    for (int i = 0; i < kFlood; ++i) SendRaw(Framed(damaged));
    EXPECT_TRUE(QTest::qWaitFor([&] { return handler.Seen() == kFlood; }, 30000)) << handler.Seen();
    EXPECT_EQ(most, 1);
    EXPECT_FALSE(handler.TimedOut());
  }

  // A request that comes while a dialog of the user's is open waits until it is closed.
  const QString good = WriteFile("good.qrf", DrawingFile({}, -1, 0, 0));
  bool openedInside = true;
  ModalHandler about([&](QWidget* w) {
    SendRaw(Framed(good));
    const auto* server = app->findChild<QLocalServer*>();
    EXPECT_TRUE(QTest::qWaitFor([&] { return server->findChildren<QLocalSocket*>().isEmpty(); }));
    openedInside = Titles().contains("good.qrf");
    static_cast<QDialog*>(w)->reject();
  });
  Action(ID_APP_ABOUT)->trigger();
  EXPECT_EQ(about.Seen(), 1);
  EXPECT_FALSE(openedInside);
  EXPECT_TRUE(QTest::qWaitFor([&] { return Titles().contains("good.qrf"); }));
}

TEST_F(RunningInstance, ReportsWhatOneRequestCannotOpenInOneMessage) {
  const QStringList bad = {WriteFile("damaged.qrf", "xx"), files.filePath("missing.qrf"), files.path()};
  QByteArray message;
  for (const QString& p : bad) message += Framed(p);
  constexpr int kRefused = 5;
  for (int i = 0; i < InstanceChannel::kMaxFiles - int(bad.size()) + kRefused; ++i)
    message += Framed(WriteFile(QString("f%1.qrf").arg(i), DrawingFile({}, -1, 0, 0)));
  ASSERT_TRUE(Start({"-Embedding"}));
  QStringList texts;
  ModalHandler handler([&](QWidget* w) {
    if (auto* box = qobject_cast<QMessageBox*>(w)) texts << box->text();
    Answer(w, QMessageBox::Ok);
  });
  SendRaw(message);
  ASSERT_TRUE(QTest::qWaitFor([&] { return handler.Seen() == 1; }));
  Idle();
  EXPECT_EQ(handler.Seen(), 1);
  EXPECT_EQ(Titles().size(), 1 + InstanceChannel::kMaxFiles - bad.size());
  EXPECT_TRUE(Titles().contains("f60.qrf"));
  EXPECT_FALSE(Titles().contains("f61.qrf"));
  ASSERT_EQ(texts.size(), 1);
  EXPECT_TRUE(texts[0].contains("\"" + bad[0] + "\":\n")) << texts[0].toStdString();
  EXPECT_TRUE(texts[0].contains("\"" + bad[1] + "\":\nNo such file or directory."));
  EXPECT_TRUE(texts[0].contains("\"" + bad[2] + "\":\nit is a folder, not a file."));
  EXPECT_TRUE(texts[0].contains(QString("%1 more files were refused").arg(kRefused)));
}

TEST_F(RunningInstance, TheOpenCommandSaysWhatItCannotSend) {
  const QString good = WriteFile("good.qrf", DrawingFile({}, -1, 0, 0));
  const QString missing = files.filePath("missing.qrf");
  const QString fifo = files.filePath("pipe.qrf");
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(Start({"-Embedding"}));

  const ShellOpen none = RunShellOpen({missing, files.path(), fifo});
  EXPECT_EQ(none.status, 1);
  EXPECT_EQ(QString::fromLocal8Bit(none.err), QString("quirra: %1: No such file or directory\n"
                                                      "quirra: %2: it is a folder, not a file\n"
                                                      "quirra: %3: it is not a regular file\n")
                                                  .arg(missing, files.path(), fifo));
  // The good one still goes to the editor.
  const ShellOpen some = RunShellOpen({missing, good});
  EXPECT_EQ(some.status, 1);
  EXPECT_EQ(QString::fromLocal8Bit(some.err), QString("quirra: %1: No such file or directory\n").arg(missing));
  EXPECT_TRUE(QTest::qWaitFor([&] { return Titles().contains("good.qrf"); }));
  EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "good.qrf"}));
}

TEST_F(RunningInstance, TakesAFolderOfItsOwnWhenTheRuntimeFolderIsNotPrivate) {
  QTemporaryDir tmp;
  ASSERT_TRUE(tmp.isValid());
  // The temporary folder of the other tests comes back even when this one stops half-way.
  struct Restore {
    QByteArray before = qgetenv("TMPDIR");
    ~Restore() { before.isEmpty() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", before); }
  } restore;
  qputenv("TMPDIR", QFile::encodeName(tmp.path()));
  const QString own = tmp.filePath(QString("quirra-%1").arg(::getuid()));
  const QString good = WriteFile("good.qrf", DrawingFile({}, -1, 0, 0));
  const auto mode = [](const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 ? info.st_mode & 07777 : 0u;
  };

  // Open to others: the editor and the open command both meet in a folder of the user's own.
  ASSERT_TRUE(QFile::setPermissions(
      runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
  ASSERT_TRUE(Start({"-Embedding"}));
  EXPECT_EQ(QFileInfo(InstanceChannel::SocketPath()).absolutePath(), own);
  EXPECT_EQ(mode(own), 0700u);
  const ShellOpen sent = RunShellOpen({good});
  EXPECT_EQ(sent.status, 0);
  EXPECT_EQ(sent.err.count('\n'), 1);
  EXPECT_TRUE(sent.err.contains("not mode 0700")) << sent.err.toStdString();
  EXPECT_TRUE(QTest::qWaitFor([&] { return Titles().contains("good.qrf"); }));
  Stop();

  // Unset, and the own folder not private either (open to others, or a link): no channel at all.
  qunsetenv("XDG_RUNTIME_DIR");
  const QString elsewhere = tmp.filePath("elsewhere");
  ASSERT_TRUE(QDir().mkdir(elsewhere));
  ASSERT_TRUE(QFile::setPermissions(elsewhere, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
  for (const bool link : {false, true}) {
    SCOPED_TRACE(link ? "link" : "open folder");
    if (link) {
      ASSERT_TRUE(QDir(own).removeRecursively());
      ASSERT_TRUE(QFile::link(elsewhere, own));
    } else {
      ASSERT_EQ(::chmod(QFile::encodeName(own).constData(), 0755), 0);
    }
    EXPECT_EQ(InstanceChannel::SocketPath(), QString());
    ASSERT_TRUE(Start({"-Embedding"}));
    EXPECT_EQ(app->findChild<QLocalServer*>(), nullptr);
    EXPECT_TRUE(QDir(elsewhere).isEmpty());
    Stop();
  }
}

TEST_F(RunningInstance, SocketBelongsToTheUserAlone) {
  ASSERT_TRUE(Start({"-Embedding"}));
  const QString path = InstanceChannel::SocketPath();
  ASSERT_FALSE(path.isEmpty());
  EXPECT_EQ(QFileInfo(path).absolutePath(), QFileInfo(runtime.path()).absoluteFilePath());
  EXPECT_TRUE(path.contains(QString::number(::getuid())));
  struct stat info {};
  ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &info), 0);
  EXPECT_TRUE(S_ISSOCK(info.st_mode));
  EXPECT_EQ(info.st_uid, ::getuid());
  EXPECT_EQ(info.st_mode & (S_IRWXG | S_IRWXO), 0u) << std::oct << info.st_mode;

  // A second editor finds the first one serving and leaves its socket alone.
  InstanceChannel second;
  EXPECT_FALSE(second.Listen());
  OpenThrough(WriteFile("still.qrf", DrawingFile({}, -1, 0, 0)));
}

TEST_F(RunningInstance, AStaleSocketDoesNotStopTheNextEditor) {
  const QString file = WriteFile("after.qrf", DrawingFile({}, -1, 0, 0));
  for (const bool plainFile : {false, true}) {
    SCOPED_TRACE(plainFile ? "plain file" : "dead socket");
    const QString path = InstanceChannel::SocketPath();
    QFile::remove(path);
    if (plainFile) {
      QFile stale(path);
      ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
      stale.write("left over");
    } else {
      ASSERT_TRUE(LeaveDeadSocket(path));
    }
    ASSERT_TRUE(QFileInfo::exists(path));
    ASSERT_TRUE(Start({"-Embedding"}));
    OpenThrough(file);
    EXPECT_EQ(Titles(), (QStringList{"Tavlo1", "after.qrf"}));
    Stop();
  }
}

}  // namespace
}  // namespace shelltest
