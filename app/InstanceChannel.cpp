#include "app/InstanceChannel.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

namespace {

constexpr int kTimeoutMs = 2000;

bool AcceptablePath(const QString& line) {
  if (line.isEmpty() || line.size() > 4096 || !QDir::isAbsolutePath(line)) return false;
  for (const QChar c : line)
    if (c.category() == QChar::Other_Control) return false;
  return true;
}

}  // namespace

InstanceChannel::InstanceChannel(QObject* parent) : QObject(parent) {}

InstanceChannel::~InstanceChannel() {
  if (m_server) m_server->close();
}

QString InstanceChannel::SocketPath() {
  const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
  if (runtime.isEmpty() || !QFileInfo(runtime).isDir()) return QString();
  return runtime + QStringLiteral("/quirra-%1.socket").arg(::getuid());
}

bool InstanceChannel::Listen() {
  const QString path = SocketPath();
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
  const QByteArray message = socket->readAll();
  QStringList paths;
  for (const QByteArray& line : message.split('\n')) {
    const QString path = QString::fromUtf8(line);
    if (path.toUtf8() == line && AcceptablePath(path)) paths << path;
  }
  if (!paths.isEmpty()) emit openRequested(paths);
}

QString InstanceChannel::WhyUnopenable(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  if (!S_ISREG(info.st_mode)) return QStringLiteral("Not a regular file");
  if (::access(name.constData(), R_OK) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  return QString();
}

bool InstanceChannel::SendToRunning(const QStringList& paths) {
  const QString path = SocketPath();
  if (path.isEmpty()) return false;
  QLocalSocket socket;
  socket.connectToServer(path);
  if (!socket.waitForConnected(1000)) return false;
  QByteArray message;
  for (const QString& p : paths) message += QFileInfo(p).absoluteFilePath().toUtf8() + '\n';
  if (message.size() > kMaxMessage) return false;
  socket.write(message);
  if (!socket.waitForBytesWritten(kTimeoutMs)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(kTimeoutMs);
  return true;
}
