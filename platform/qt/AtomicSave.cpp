#include "platform/qt/AtomicSave.h"

#include <cerrno>
#include <cstring>

#include <QSaveFile>

namespace {

// A write that stops part-way (a full disk, a file-size limit) leaves Qt with no reason of its
// own, only "Unknown error"; the system's reason for the write that failed is the real one.
QString Reason(const QIODevice& device, int code) {
  return code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : device.errorString();
}

}  // namespace

QString SaveFileAtomically(const QString& path, const std::function<QString(QIODevice&)>& write) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  errno = 0;
  QString reason = write(file);
  // The device's own error says more than the writer's.
  if (file.error() != QFileDevice::NoError) reason = Reason(file, errno);
  // QSaveFile::commit (Qt 6.4) does not notice when the final flush of its write buffer fails
  // and renames the short file over the old one: flush first.
  errno = 0;
  if (reason.isEmpty() && !file.flush()) reason = Reason(file, errno);
  if (!reason.isEmpty()) {
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return QString();
}

QString WriteBytes(QIODevice& device, const QByteArray& bytes) {
  errno = 0;
  return device.write(bytes) == bytes.size() ? QString() : Reason(device, errno);
}
