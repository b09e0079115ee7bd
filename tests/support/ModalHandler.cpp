#include "tests/support/ModalHandler.h"

#include <QApplication>
#include <QDialog>
#include <QEvent>

namespace {
// Generous: a handler may wait on a busy window system before it answers.
constexpr qint64 kPatienceMs = 60000;
}  // namespace

ModalHandler::ModalHandler(std::function<void(QWidget*)> act) : m_act(std::move(act)) {
  m_timer.setInterval(5);
  QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
  m_timer.start();
  qApp->installEventFilter(this);
}

ModalHandler::~ModalHandler() {
  qApp->removeEventFilter(this);
  m_timer.stop();
}

bool ModalHandler::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show && watched == m_current) m_current = nullptr;
  return false;
}

void ModalHandler::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (!modal || !modal->isVisible()) return;
  if (modal != m_current) {
    m_current = modal;
    ++m_seen;
    m_shownFor.start();
    m_act(modal);
    return;
  }
  if (m_shownFor.elapsed() > kPatienceMs) {
    m_timedOut = true;
    if (auto* dialog = qobject_cast<QDialog*>(modal))
      dialog->reject();
    else
      modal->close();
  }
}
