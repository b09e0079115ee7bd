#pragma once

#include <QString>

class QMainWindow;

// What the editor remembers between runs besides the recent files, in the same settings: the
// folder the file dialogs last showed, and the main window's size, place and toolbar position.
class EditorSettings {
 public:
  // The folder of the last file opened or saved through a dialog; the home folder at first.
  static QString LastFolder();
  static void SetLastFolder(const QString& folder);

  // False when nothing was stored yet (the window keeps its own first size).
  static bool RestoreMainWindow(QMainWindow& window);
  static void SaveMainWindow(const QMainWindow& window);
};
