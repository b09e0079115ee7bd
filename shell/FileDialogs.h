#pragma once

#include <QString>

class QWidget;

// The Open and Save As dialogs for drawings, with the template's filter. Each starts in the folder
// last used, and the folder of the file chosen is the next one's. An empty path when cancelled.
namespace file_dialogs {

QString ChooseFileToOpen(QWidget* parent);
// `suggested` is the name or path the dialog offers first.
QString ChooseFileToSave(QWidget* parent, const QString& suggested);

}  // namespace file_dialogs
