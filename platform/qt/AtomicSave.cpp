#include "platform/qt/AtomicSave.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

namespace {

QString SystemReason(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

// A write that stops part-way (a full disk, a file-size limit) leaves Qt with no reason of its
// own, only "Unknown error"; the system's reason for the call that failed is the real one.
QString Reason(const QIODevice& device, int code) { return code != 0 ? SystemReason(code) : device.errorString(); }

// The file keeps the rights it had; a new one gets what the user's mask allows.
mode_t ModeFor(const QString& target) {
  struct stat info {};
  if (::stat(QFile::encodeName(target).constData(), &info) == 0) return info.st_mode & 07777;
  const mode_t mask = ::umask(0);
  ::umask(mask);
  return 0666 & ~mask;
}

}  // namespace

// QSaveFile would do most of this, but its temporary file is the target's name and seven more
// characters, which fails for a name near the file system's limit, and in Qt 6.4 its commit
// renames even when the last flush failed.
QString SaveFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& write) {
  // Through a symbolic link the file it leads to is replaced, not the link.
  const QFileInfo info(path);
  const QString target = info.isSymLink() ? info.symLinkTarget() : info.absoluteFilePath();
  QTemporaryFile temp(QFileInfo(target).absolutePath() + QStringLiteral("/.quirra-XXXXXX"));
  errno = 0;
  if (!temp.open()) return Reason(temp, errno);
  errno = 0;
  QString reason = write(temp);
  // The device's own error says more than the writer's.
  if (temp.error() != QFileDevice::NoError) reason = Reason(temp, errno);
  errno = 0;
  if (reason.isEmpty() && !temp.flush()) reason = Reason(temp, errno);
  if (reason.isEmpty() && ::fchmod(temp.handle(), ModeFor(target)) != 0) reason = SystemReason(errno);
  // On the disk before it takes the old file's place, so a power cut leaves one or the other.
  if (reason.isEmpty() && ::fsync(temp.handle()) != 0) reason = SystemReason(errno);
  if (!reason.isEmpty()) return reason;  // the temporary file goes with `temp`
  if (std::rename(QFile::encodeName(temp.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
    return SystemReason(errno);
  temp.setAutoRemove(false);
  return QString();
}

QString WriteBytes(QIODevice& device, const QByteArray& bytes) {
  errno = 0;
  return device.write(bytes) == bytes.size() ? QString() : Reason(device, errno);
}
