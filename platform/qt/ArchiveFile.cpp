#include "platform/qt/ArchiveFile.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <new>

#include <QFile>

#include "platform/core/CArchive.h"
#include "platform/qt/AtomicSave.h"
#include "platform/qt/QIODeviceStreamBuf.h"

QString LoadFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize) {
  // Asked before opening: a FIFO would block the window until some other program writes to it,
  // and a device would read as an empty drawing that a save then replaces with a plain file.
  struct stat info {};
  if (::stat(QFile::encodeName(path).constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) return QStringLiteral("it is a folder, not a file");
  if (!S_ISREG(info.st_mode)) return QStringLiteral("it is not a regular file");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  QIODeviceStreamBuf stream(file);
  try {
    CArchive ar(stream, CArchive::load);
    if (struct stat opened {}; ::fstat(file.handle(), &opened) == 0) ar.SetStoredBytes(uint64_t(opened.st_blocks) * 512);
    serialize(ar);
  } catch (const CArchiveException& e) {
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QString::fromStdString(e.what());
  } catch (const std::bad_alloc&) {
    return QStringLiteral("there is not enough memory to open it");
  }
  // A read that failed looks like the end of the file to the reader; at the first byte that
  // would be an empty drawing, which a save would then write over the real one.
  if (file.error() != QFileDevice::NoError) return file.errorString();
  return QString();
}

QString SaveFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize) {
  return SaveFileAtomically(path, [&serialize](QIODevice& device) {
    QIODeviceStreamBuf stream(device);
    try {
      CArchive ar(stream, CArchive::store);
      serialize(ar);
      ar.Close();
    } catch (const CArchiveException& e) {
      return QString::fromStdString(e.what());
    }
    return QString();
  });
}
