#pragma once

#include <QMessageBox>

class QWidget;

// The frame of a modal dialog: a caption, a system menu and a close box, nothing to minimise or
// maximise it with. Without the customise hint the window system adds those buttons, and a
// minimised modal box hides the whole program with no way back.
void SetModalFrame(QWidget* dialog);

// A modal message box in that frame, titled with the program's name. Returns the button chosen.
QMessageBox::StandardButton ShowMessageBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);
