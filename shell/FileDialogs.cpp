#include "shell/FileDialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "res/Resources.h"
#include "shell/EditorSettings.h"

namespace file_dialogs {
namespace {

QStringList FileFilters() {
  return {QString::fromStdString(res::TemplateStrings().filterName), QStringLiteral("All Files (*.*)")};
}

QString ChooseFile(QFileDialog& dialog) {
  dialog.setNameFilters(FileFilters());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return QString();
  const QString path = dialog.selectedFiles().first();
  EditorSettings::SetLastFolder(QFileInfo(path).absolutePath());
  return path;
}

}  // namespace

QString ChooseFileToOpen(QWidget* parent) {
  QFileDialog dialog(parent, QStringLiteral("Open"), EditorSettings::LastFolder());
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  return ChooseFile(dialog);
}

QString ChooseFileToSave(QWidget* parent, const QString& suggested) {
  QFileDialog dialog(parent, QStringLiteral("Save As"), EditorSettings::LastFolder());
  dialog.setDefaultSuffix(QStringLiteral("qrf"));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.selectFile(suggested);
  return ChooseFile(dialog);
}

}  // namespace file_dialogs
