#include "platform/qt/ArchiveFile.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <new>

#include <QFile>

#include "platform/core/CArchive.h"
#include "platform/qt/AtomicSave.h"
#include "platform/qt/QIODeviceStreamBuf.h"

namespace {

struct Cancelled {};

// Reports the transfer's progress through `stream` to `progress` for as long as it lives, and its
// end when it goes; a false answer stops the transfer.
class ProgressReport {
 public:
  ProgressReport(QIODeviceStreamBuf& stream, const QIODevice& device, qint64 total, const FileProgress& progress)
      : m_device(device), m_total(total), m_progress(progress) {
    if (!m_progress) return;
    stream.SetProgress([this] {
      if (!Tell(m_device.pos())) throw Cancelled{};
    });
  }
  ~ProgressReport() {
    if (m_progress) m_progress(m_device.pos(), m_device.pos());
  }

 private:
  bool Tell(qint64 done) { return m_progress(done, m_total > 0 ? m_total : -1); }

  const QIODevice& m_device;
  qint64 m_total;
  const FileProgress& m_progress;
};

}  // namespace

QString CancelledReason() { return QStringLiteral("cancelled"); }

QString WhyNotReadable(const QString& path) {
  const QByteArray name = QFile::encodeName(path);
  struct stat info {};
  if (::stat(name.constData(), &info) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  if (S_ISDIR(info.st_mode)) return QStringLiteral("it is a folder, not a file");
  if (!S_ISREG(info.st_mode)) return QStringLiteral("it is not a regular file");
  if (::access(name.constData(), R_OK) != 0) return QString::fromLocal8Bit(std::strerror(errno));
  return QString();
}

QString LoadFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize,
                               const FileProgress& progress) {
  if (const QString why = WhyNotReadable(path); !why.isEmpty()) return why;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return file.errorString();
  QIODeviceStreamBuf stream(file);
  const ProgressReport report(stream, file, file.size(), progress);
  try {
    CArchive ar(stream, CArchive::load);
    if (struct stat opened{}; ::fstat(file.handle(), &opened) == 0) ar.SetStoredBytes(uint64_t(opened.st_blocks) * 512);
    serialize(ar);
  } catch (const Cancelled&) {
    return CancelledReason();
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

QString SaveFileThroughArchive(const QString& path, const std::function<void(CArchive&)>& serialize,
                               const FileProgress& progress) {
  return SaveFileAtomically(path, [&serialize, &progress](QIODevice& device) {
    QIODeviceStreamBuf stream(device);
    const ProgressReport report(stream, device, 0, progress);
    try {
      CArchive ar(stream, CArchive::store);
      serialize(ar);
      ar.Close();
    } catch (const Cancelled&) {
      return CancelledReason();
    } catch (const CArchiveException& e) {
      return QString::fromStdString(e.what());
    } catch (const std::bad_alloc&) {
      return QStringLiteral("there is not enough memory to save it");
    }
    return QString();
  });
}
