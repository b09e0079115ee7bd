#include "desktop/InstanceChannel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int kTimeoutMs = 2000;

constexpr qsizetype kMaxPath = 4096;

// Why `folder` may not hold the socket, or empty when it is a real folder of this user's alone.
QString WhyNotPrivate(const QString& folder) {
  struct stat info {};
  if (::lstat(QFile::encodeName(folder).constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  if (!S_ISDIR(info.st_mode)) return QStringLiteral("not a folder");
  if (info.st_uid != ::getuid()) return QStringLiteral("not owned by this user");
  if ((info.st_mode & 07777) != 0700) return QStringLiteral("not mode 0700");
  return QString();
}

void PutFrame(QByteArray& message, const QByteArray& bytes) {
  const quint32 size = quint32(bytes.size());
  for (int shift = 24; shift >= 0; shift -= 8) message.append(char((size >> shift) & 0xFF));
  message.append(bytes);
}

// The paths of a message, or nothing at all when any frame is malformed.
QStringList Frames(const QByteArray& message) {
  QStringList paths;
  qsizetype at = 0;
  while (at < message.size()) {
    if (message.size() - at < 4) return {};
    quint32 size = 0;
    for (int i = 0; i < 4; ++i) size = (size << 8) | quint8(message[at + i]);
    at += 4;
    if (size == 0 || size > kMaxPath || size > quint64(message.size() - at)) return {};
    const QByteArray bytes = message.mid(at, size);
    at += size;
    const QString path = QString::fromUtf8(bytes);
    if (bytes.contains('\0') || path.toUtf8() != bytes || !QDir::isAbsolutePath(path)) return {};
    paths << path;
  }
  return paths;
}

}  // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() {
  if (m_server) m_server->close();
}

QString InstanceChannel::SocketPathIn(const QString& folder) {
  return folder.isEmpty() ? QString() : folder + QStringLiteral("/quirra-%1.socket").arg(::getuid());
}

QString InstanceChannel::SocketPath() { return SocketPathIn(SocketFolder(nullptr)); }

QString InstanceChannel::ChooseSocketPath() {
  QString note;
  const QString folder = SocketFolder(&note);
  TellOnce(note);
  return SocketPathIn(folder);
}

QString InstanceChannel::SocketFolder(QString* note) {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  const QString why = runtime.isEmpty() ? QStringLiteral("not set") : WhyNotPrivate(runtime);
  if (why.isEmpty()) return runtime;
  const QString whyNotRuntime = runtime.isEmpty() ? QStringLiteral("XDG_RUNTIME_DIR: %1").arg(why)
                                                  : QStringLiteral("XDG_RUNTIME_DIR %1: %2").arg(runtime, why);
  // Any account may make a name in a shared folder: the socket goes only where nobody else can.
  const QString own = QDir::tempPath() + QStringLiteral("/quirra-%1").arg(::getuid());
  ::mkdir(QFile::encodeName(own).constData(), 0700);
  const QString whyNotOwn = WhyNotPrivate(own);
  if (note)
    *note = whyNotOwn.isEmpty() ? QStringLiteral("%1; the instance socket goes in %2").arg(whyNotRuntime, own)
                                : QStringLiteral("%1; %2: %3; files from the desktop open in a new editor each time")
                                      .arg(whyNotRuntime, own, whyNotOwn);
  return whyNotOwn.isEmpty() ? own : QString();
}

void InstanceChannel::TellOnce(const QString& note) {
  // The open command both sends and, when no editor answers, listens: one run says it once.
  static bool told = false;
  if (note.isEmpty() || told) return;
  told = true;
  std::fprintf(stderr, "quirra: %s\n", note.toLocal8Bit().constData());
}

bool InstanceChannel::Listen() {
  const QString path = ChooseSocketPath();
  if (path.isEmpty()) return false;
  // Someone answers: another editor serves already. Nobody answers: a crashed one left it. Ask
  // before listening: with access options set, listen() puts its socket in place of whatever
  // is at the path, even of a live one.
  QLocalSocket probe;
  probe.connectToServer(path);
  if (probe.waitForConnected(500)) return false;
  QLocalServer::removeServer(path);
  m_server = new QLocalServer(this);
  m_server->setSocketOptions(QLocalServer::UserAccessOption);
  m_server->setMaxPendingConnections(8);
  if (!m_server->listen(path)) {
    delete m_server;
    m_server = nullptr;
    return false;
  }
  connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::Accept);
  return true;
}

void InstanceChannel::Accept() {
  while (QLocalSocket* socket = m_server->nextPendingConnection()) {
    socket->setReadBufferSize(kMaxMessage + 1);
    connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
      Read(socket);
      socket->deleteLater();
    });
    auto drop = [socket] {
      socket->setProperty("dropped", true);
      socket->abort();
    };
    connect(socket, &QLocalSocket::readyRead, this, [socket, drop] {
      if (socket->bytesAvailable() > kMaxMessage) drop();
    });
    QTimer::singleShot(kTimeoutMs, socket, drop);
  }
}

void InstanceChannel::Read(QLocalSocket* socket) {
  // A message that was too large or too slow counts for nothing, not even its first lines.
  if (socket->property("dropped").toBool() || socket->bytesAvailable() > kMaxMessage) return;
  const QStringList paths = Frames(socket->readAll());
  if (!paths.isEmpty()) emit openRequested(paths);
}

bool InstanceChannel::SendToRunning(const QStringList& paths) {
  const QString path = ChooseSocketPath();
  if (path.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(1000)) return false;
  QByteArray message;
  for (const QString& p : paths) PutFrame(message, QFileInfo(p).absoluteFilePath().toUtf8());
  if (message.size() > kMaxMessage) return false;
  socket.write(message);
  if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}
