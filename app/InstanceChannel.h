#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// How the desktop's open command hands files to the editor that is already running: a local
// socket in $XDG_RUNTIME_DIR, reachable only by the same user, named with the user id.
//
// Messages are untrusted. One message is at most 64 KiB of UTF-8 lines, each an absolute path to
// an existing regular file; a larger message is dropped whole, any other line is dropped, and a
// sender that stalls is cut off.
class InstanceChannel : public QObject {
  Q_OBJECT

 public:
  explicit InstanceChannel(QObject* parent = nullptr);
  ~InstanceChannel() override;

  // The socket's path, or empty when there is no runtime folder.
  static QString SocketPath();
  // Starts serving; a socket left by an instance that crashed is replaced. False when another
  // instance already serves or there is nowhere to listen.
  bool Listen();
  // Hands `paths` (made absolute) to the serving instance; false when none answers.
  static bool SendToRunning(const QStringList& paths);

  static constexpr int kMaxMessage = 64 * 1024;

 signals:
  void openRequested(const QString& path);

 private:
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* m_server = nullptr;
};
