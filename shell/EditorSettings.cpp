#include "shell/EditorSettings.h"

#include <QDir>
#include <QMainWindow>
#include <QSettings>

namespace {
const QString kFolder = QStringLiteral("Settings/Folder");
const QString kGeometry = QStringLiteral("Main Window/Geometry");
const QString kState = QStringLiteral("Main Window/State");
}  // namespace

QString EditorSettings::LastFolder() {
  const QString folder = QSettings().value(kFolder).toString();
  // A folder that has gone since gives way to the home folder rather than to the dialog's guess.
  return !folder.isEmpty() && QDir(folder).exists() ? folder : QDir::homePath();
}

void EditorSettings::SetLastFolder(const QString& folder) { QSettings().setValue(kFolder, folder); }

bool EditorSettings::RestoreMainWindow(QMainWindow& window) {
  const QSettings settings;
  const QByteArray geometry = settings.value(kGeometry).toByteArray();
  if (geometry.isEmpty() || !window.restoreGeometry(geometry)) return false;
  window.restoreState(settings.value(kState).toByteArray());
  return true;
}

void EditorSettings::SaveMainWindow(const QMainWindow& window) {
  QSettings settings;
  settings.setValue(kGeometry, window.saveGeometry());
  settings.setValue(kState, window.saveState());
}
