#pragma once

#include <QObject>
#include <QStringList>

class QLocalServer;
class QLocalSocket;

// How the desktop's open command hands files to the editor that is already running: a local
// socket in a folder of the user's alone (see SocketFolder), named with the user id.
//
// Messages are untrusted. One message is at most 64 KiB: a series of frames, each a 32-bit
// big-endian byte count followed by that many bytes of one absolute path in UTF-8. A name may
// hold any byte but NUL, newlines included, so nothing inside a path can end it. A message that
// is too large, too slow or holds one malformed frame is dropped whole. Whether the files exist
// and open is for the receiver to find out and to report.
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

  // The folder of the socket: $XDG_RUNTIME_DIR when it is a folder of this user's alone (mode
  // 0700), else a folder of the user's own in the temporary folder, made when missing; empty
  // when that one is not private either. `note`, when given, says why the first was not taken.
  static QString SocketFolder(QString* note);

  static constexpr int kMaxMessage = 64 * 1024;
  // Files opened for one request; the rest are refused.
  static constexpr int kMaxFiles = 64;

 signals:
  // The paths of one message, in the order sent.
  void openRequested(const QStringList& paths);

 private:
  static void TellOnce(const QString& note);
  static QString SocketPathIn(const QString& folder);
  // The socket's path for listening or sending: the folder chosen once, and why, said once.
  static QString ChooseSocketPath();
  void Accept();
  void Read(QLocalSocket* socket);

  QLocalServer* m_server = nullptr;
};
