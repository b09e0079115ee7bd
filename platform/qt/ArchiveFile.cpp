#include "platform/qt/ArchiveFile.h"

#include <new>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include "platform/core/CArchive.h"
#include "platform/qt/QIODeviceStreamBuf.h"

QString LoadFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize) {
  if (QFileInfo(path).isDir()) return QStringLiteral("it is a folder, not a file");
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  QIODeviceStreamBuf stream(file);
  try {
    CArchive ar(stream, CArchive::load);
    serialize(ar);
  } catch (const CArchiveException& e) {
    if (file.error() != QFileDevice::NoError) return file.errorString();
    return QString::fromStdString(e.what());
  } catch (const std::bad_alloc&) {
    return QStringLiteral("there is not enough memory to open it");
  }
  return QString();
}

QString SaveFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  QIODeviceStreamBuf stream(file);
  try {
    CArchive ar(stream, CArchive::store);
    serialize(ar);
    ar.Close();
  } catch (const CArchiveException& e) {
    const QString reason = file.error() != QFileDevice::NoError ? file.errorString() : QString::fromStdString(e.what());
    file.cancelWriting();
    return reason;
  }
  // QSaveFile::commit (Qt 6.4) does not notice when the final flush of its write buffer fails
  // (a full disk, a file-size limit) and renames the short file over the old one. Flush first.
  if (!file.flush()) {
    const QString reason = file.errorString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return QString();
}
