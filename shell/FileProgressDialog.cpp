#include "shell/FileProgressDialog.h"

#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>

#include "platform/qt/ModalFrame.h"

namespace {
constexpr int kSteps = 1000;
}

FileProgressDialog::FileProgressDialog(QWidget* parent, int patienceMs) : m_parent(parent), m_patienceMs(patienceMs) {}

FileProgressDialog::~FileProgressDialog() = default;

bool FileProgressDialog::Step(const QString& path, qint64 done, qint64 total) {
  if (done == total) {
    m_dialog.reset();
    m_running = false;
    return true;
  }
  if (!m_running) {
    m_running = true;
    m_since.start();
  }
  if (!m_dialog && m_since.elapsed() >= m_patienceMs) {
    m_dialog = std::make_unique<QProgressDialog>(QDir::toNativeSeparators(QFileInfo(path).fileName()),
                                                 QStringLiteral("Cancel"), 0, kSteps, m_parent);
    SetModalFrame(m_dialog.get());
    m_dialog->setWindowTitle(QStringLiteral("Quirra"));
    m_dialog->setWindowModality(Qt::ApplicationModal);
    m_dialog->setMinimumDuration(0);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
  }
  if (m_dialog) {
    // A save does not know its end: the bar then only shows that work goes on.
    if (total < 0) m_dialog->setRange(0, 0);
    // setValue also lets the window repaint and the Cancel button be pressed.
    m_dialog->setValue(total > 0 ? int(kSteps * done / total) : 0);
    if (m_dialog->wasCanceled()) return false;
  }
  return true;
}
