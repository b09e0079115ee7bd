#pragma once

#include <functional>

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

// Deals with the modal dialogs a command opens, from inside their own event loops: polls for
// QApplication::activeModalWidget() and hands each newly shown one to `act`, which is expected to
// close it. A dialog still open a few seconds later is rejected, so a failing test cannot hang.
// A window shown again (the colour dialog is kept and reused) counts as newly shown.
class ModalHandler : public QObject {
 public:
  explicit ModalHandler(std::function<void(QWidget*)> act);
  ~ModalHandler() override;

  int Seen() const { return m_seen; }
  bool TimedOut() const { return m_timedOut; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Poll();

  std::function<void(QWidget*)> m_act;
  QTimer m_timer;
  QPointer<QWidget> m_current;
  QElapsedTimer m_shownFor;
  int m_seen = 0;
  bool m_timedOut = false;
};
