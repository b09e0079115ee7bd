#pragma once

#include <memory>

#include <QElapsedTimer>
#include <QString>

class QProgressDialog;
class QWidget;

// The progress of a long load or save, with Cancel. Fed the steps of one transfer at a time (see
// LoadFileThroughArchive), it shows a dialog only once the transfer has taken longer than
// `patienceMs`, so quick ones pass unseen, and closes it when the transfer ends.
class FileProgressDialog {
 public:
  explicit FileProgressDialog(QWidget* parent, int patienceMs = 500);
  ~FileProgressDialog();

  // One step of the transfer of `path`: `done` bytes of `total` (-1: not known); done == total
  // ends it. False when the user has cancelled.
  bool Step(const QString& path, qint64 done, qint64 total);
  QProgressDialog* Dialog() const { return m_dialog.get(); }

 private:
  QWidget* m_parent;
  int m_patienceMs;
  bool m_running = false;
  QElapsedTimer m_since;
  std::unique_ptr<QProgressDialog> m_dialog;
};
