#include "recovery/RecoveryCopy.h"

#include <chrono>
#include <memory>

#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

#include "document/CQuirraDoc.h"
#include "model/DocumentFileContent.h"
#include "platform/qt/ArchiveFile.h"
#include "platform/qt/AtomicSave.h"
#include "recovery/RecoveryFolder.h"

namespace {

// The record goes first: an editor killed between the two writes leaves the earlier copy (or none)
// under the document's own name, never the new copy under the name of the copy's file.
QString WriteCopy(const QString& base, DocumentFileContent& content, const RecoveryRecord& record) {
  const QByteArray bytes = RecoveryFolder::RecordBytes(record);
  const QString error =
      SaveFileAtomically(RecoveryFolder::RecordPath(base), [&bytes](QIODevice& d) { return WriteBytes(d, bytes); });
  if (!error.isEmpty()) return error;
  return SaveFileThroughArchive(RecoveryFolder::CopyPath(base), [&content](CArchive& ar) { content.Serialize(ar); });
}

}  // namespace

RecoveryCopy::RecoveryCopy(CQuirraDoc& document, QString base, int delayMs)
    : QObject(&document), m_document(document), m_base(std::move(base)) {
  m_thread.setMaxThreadCount(1);
  m_timer.setSingleShot(true);
  m_timer.setInterval(delayMs);
  connect(&m_timer, &QTimer::timeout, this, &RecoveryCopy::Write);
  connect(&m_writing, &QFutureWatcher<QString>::finished, this, &RecoveryCopy::Finished);
  connect(&document, &CDocument::modifiedChanged, this, &RecoveryCopy::Changed);
  connect(&document.GetHistory(), &QUndoStack::indexChanged, this, &RecoveryCopy::Changed);
  Changed();
}

RecoveryCopy::~RecoveryCopy() {
  m_writing.waitForFinished();
  RemoveFiles();
}

void RecoveryCopy::Adopt() { m_timer.stop(); }

void RecoveryCopy::WriteSoon() {
  m_timer.stop();
  Write();
}

void RecoveryCopy::Changed() {
  if (!m_document.IsModified()) {
    m_timer.stop();
    m_again = false;
    if (!m_writing.isRunning()) RemoveFiles();
    return;
  }
  // The first change since the last copy starts the clock; later ones ride along with it.
  if (!m_timer.isActive()) m_timer.start();
}

void RecoveryCopy::Write() {
  if (m_writing.isRunning()) {
    m_again = true;
    return;
  }
  if (!m_document.IsModified()) return;
  const auto start = std::chrono::steady_clock::now();
  auto content = std::make_shared<DocumentFileContent>(
      DocumentFileContent{m_document.GetDrawing(), m_document.GetHitMode(), m_document.GetHitPart()});
  const RecoveryRecord record{m_document.GetPathName(), m_document.GetTitle(), QDateTime::currentDateTime(),
                              content->drawing.GetUpperBound() + 1};
  m_writing.setFuture(
      QtConcurrent::run(&m_thread, [base = m_base, content, record] { return WriteCopy(base, *content, record); }));
  m_snapshotMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

void RecoveryCopy::Finished() {
  const QString error = m_writing.result();
  if (!error.isEmpty())
    qWarning("quirra: the recovery copy %s was not written: %s", qUtf8Printable(RecoveryFolder::CopyPath(m_base)),
             qUtf8Printable(error));
  // Saved, or undone to the saved state, while the copy was being written: it is not wanted.
  if (!m_document.IsModified())
    RemoveFiles();
  else if (m_again)
    WriteSoon();
  m_again = false;
  emit written(error);
}

void RecoveryCopy::RemoveFiles() {
  QFile::remove(RecoveryFolder::CopyPath(m_base));
  QFile::remove(RecoveryFolder::RecordPath(m_base));
}
