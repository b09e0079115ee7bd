#include "platform/qt/ModalFrame.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Some window managers offer to minimise any window whatever it asks for, and minimise the
// owner with it; a modal dialog minimised so would leave the program out of sight and out of
// reach. It comes straight back.
class StayInSight : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    auto* dialog = static_cast<QWidget*>(watched);
    if (event->type() == QEvent::WindowStateChange && dialog->isMinimized())
      QTimer::singleShot(0, dialog, [dialog] {
        dialog->showNormal();
        dialog->activateWindow();
      });
    return false;
  }
};

}  // namespace

void SetModalFrame(QWidget* dialog) {
  dialog->setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                         Qt::WindowCloseButtonHint);
  dialog->installEventFilter(new StayInSight(dialog));
}

QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons,
                                           QMessageBox::StandardButton defaultButton) {
  QMessageBox box(icon, QCoreApplication::applicationName(), text, buttons, parent);
  SetModalFrame(&box);
  if (defaultButton != QMessageBox::NoButton) box.setDefaultButton(defaultButton);
  return QMessageBox::StandardButton(box.exec());
}
