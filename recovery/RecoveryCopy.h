#pragma once

#include <QFutureWatcher>
#include <QObject>
#include <QString>
#include <QThreadPool>
#include <QTimer>

class CQuirraDoc;

// Keeps the recovery copy of one document while it is modified: BASE.qrf in the document's file
// format and the record BASE.json beside it (see RecoveryFolder). A change is on the disk at most
// `delayMs` after it was made (kDelayMs, unless tests that cannot wait give less), plus the time
// the write takes; the copy goes when the document is saved, comes back to its saved state
// through undo, or is closed.
//
// The copy is written from a snapshot of the drawing on another thread, through the atomic save:
// the window's thread only takes the snapshot. A copy that cannot be written is tried again with
// the next change; it is no reason to disturb the user.
//
// Made as the document's child; it goes with the document, and its files with it.
class RecoveryCopy : public QObject {
  Q_OBJECT

 public:
  static constexpr int kDelayMs = 2000;

  RecoveryCopy(CQuirraDoc& document, QString base, int delayMs = kDelayMs);
  ~RecoveryCopy() override;

  QString Base() const { return m_base; }
  // The files at Base() were put there from elsewhere and hold the document as it is now.
  void Adopt();
  // Writes now, without waiting for the delay (a write in progress finishes first).
  void WriteSoon();
  // How long the last copy kept the window's thread, in milliseconds.
  double LastSnapshotMs() const { return m_snapshotMs; }

 signals:
  // A copy has reached the disk (or failed to, with the reason).
  void written(const QString& error);

 private:
  void Changed();
  void Write();
  void Finished();
  void RemoveFiles();

  CQuirraDoc& m_document;
  QString m_base;
  QTimer m_timer;
  // A thread of the copy's own: the shared pool's threads paint the windows.
  QThreadPool m_thread;
  QFutureWatcher<QString> m_writing;
  bool m_again = false;
  double m_snapshotMs = 0;
};
