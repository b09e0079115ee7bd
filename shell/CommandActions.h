#pragma once

#include <map>

#include <QObject>

#include "res/Resources.h"

constexpr int kRecentFiles = 4;

class CCommandRouter;
class QAction;
class QMenu;
class QWidget;

// Builds every QAction of the program from the command tables: one action per command id, shared
// by the menu bar, the context menu, the toolbar and the keys. An action runs its command through
// the router, which asks the command's update handler first and drops a disabled command. Update
// refreshes every action's enabled state and check mark from the update handlers.
class CommandActions : public QObject {
  Q_OBJECT

 public:
  CommandActions(const CCommandRouter& router, QWidget* window);

  // The action of `id`, made on first use: menu text, key sequences from the accelerator table
  // (the one the menu names first), status-bar prompt and tooltip from the string table.
  QAction* Action(int id);
  // A menu (or submenu) built from the items of a menu resource.
  QMenu* BuildMenu(const res::MenuItem& popup, QWidget* parent);
  // Fills `menu` with the items of a popup; used again when a menu is rebuilt.
  void FillMenu(QMenu* menu, const std::vector<res::MenuItem>& items);

  void Update();
  const std::map<int, QAction*>& Actions() const { return m_actions; }

 signals:
  // After a command ran from any of its places.
  void commandRun(int id);

 private:
  void MakeKeyActions();

  const CCommandRouter& m_router;
  QWidget* m_window;
  std::map<int, QAction*> m_actions;
  std::map<int, QString> m_menuTexts;
};
