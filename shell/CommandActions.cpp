#include "shell/CommandActions.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QWidget>

#include "platform/qt/CCommandRouter.h"

namespace {

void CollectTexts(const std::vector<res::MenuItem>& items, std::map<int, QString>& texts) {
  for (const res::MenuItem& item : items) {
    if (item.kind == res::MenuItem::popup) CollectTexts(item.items, texts);
    // The document menu names the keys; the first text found for an id wins.
    if (item.kind == res::MenuItem::command) texts.emplace(item.id, QString::fromStdString(item.text));
  }
}

QKeySequence ToKeySequence(const res::Accelerator& a) {
  int key = 0;
  switch (a.key) {
    case res::VK_BACK: key = Qt::Key_Backspace; break;
    case res::VK_INSERT: key = Qt::Key_Insert; break;
    case res::VK_DELETE: key = Qt::Key_Delete; break;
    case res::VK_UP: key = Qt::Key_Up; break;
    case res::VK_DOWN: key = Qt::Key_Down; break;
    case res::VK_F6: key = Qt::Key_F6; break;
    default: key = a.key;  // letters are their own codes
  }
  Qt::KeyboardModifiers mods;
  if (a.ctrl) mods |= Qt::ControlModifier;
  if (a.shift) mods |= Qt::ShiftModifier;
  if (a.alt) mods |= Qt::AltModifier;
  return QKeySequence(QKeyCombination(mods, Qt::Key(key)));
}

// The accelerator table, then the editor's own keys.
std::vector<res::Accelerator> AllKeys() {
  std::vector<res::Accelerator> keys = res::LoadAccelerators(IDR_MAINFRAME);
  keys.insert(keys.end(), res::EditorKeys().begin(), res::EditorKeys().end());
  return keys;
}

}  // namespace

CommandActions::CommandActions(const CCommandRouter& router, QWidget* window)
    : QObject(window), m_router(router), m_window(window) {
  CollectTexts(res::LoadMenu(IDR_TAVLOTYPE), m_menuTexts);
  CollectTexts(res::LoadMenu(IDR_MAINFRAME), m_menuTexts);
  MakeKeyActions();
}

// Keys work in the whole main window, also for commands that no menu shows (Undo, Redo, the panes).
void CommandActions::MakeKeyActions() {
  for (const res::Accelerator& a : AllKeys()) Action(a.id);
}

QAction* CommandActions::Action(int id) {
  if (const auto it = m_actions.find(id); it != m_actions.end()) return it->second;

  const QString menuText = m_menuTexts.count(id) ? m_menuTexts[id] : QString();
  const int tab = menuText.indexOf(QLatin1Char('\t'));
  auto* action = new QAction(tab < 0 ? menuText : menuText.left(tab), this);

  QList<QKeySequence> keys;
  for (const res::Accelerator& a : AllKeys())
    if (a.id == id) keys << ToKeySequence(a);
  if (tab >= 0) {
    // The key the menu shows comes first, so that it is the one displayed beside the item.
    const QKeySequence named = QKeySequence::fromString(
        menuText.mid(tab + 1) == QLatin1String("Del") ? QStringLiteral("Delete") : menuText.mid(tab + 1));
    std::stable_partition(keys.begin(), keys.end(), [&](const QKeySequence& k) { return k == named; });
  }
  action->setShortcuts(keys);
  action->setShortcutContext(Qt::WindowShortcut);
  // The menu bar names the keys; the context menu shows its items bare, whatever the desktop's
  // theme prefers.
  action->setShortcutVisibleInContextMenu(false);
  action->setStatusTip(QString::fromStdString(res::Prompt(id)));
  const QString tip = QString::fromStdString(res::Tooltip(id));
  action->setToolTip(tip.isEmpty() ? action->text().remove(QLatin1Char('&')) : tip);
  action->setData(id);
  m_window->addAction(action);
  connect(action, &QAction::triggered, this, [this, id] {
    if (m_router.Run(id)) emit commandRun(id);
    Update();
  });
  m_actions.emplace(id, action);
  return action;
}

void CommandActions::FillMenu(QMenu* menu, const std::vector<res::MenuItem>& items) {
  for (const res::MenuItem& item : items) {
    switch (item.kind) {
      case res::MenuItem::separator: menu->addSeparator(); break;
      case res::MenuItem::popup: menu->addMenu(BuildMenu(item, menu)); break;
      case res::MenuItem::command:
        if (item.id == ID_FILE_MRU_FILE1) {
          // The recent-file list takes the place of its one placeholder item.
          for (int i = 0; i < kRecentFiles; ++i) menu->addAction(Action(ID_FILE_MRU_FILE1 + i));
        } else {
          menu->addAction(Action(item.id));
        }
        break;
    }
  }
}

QMenu* CommandActions::BuildMenu(const res::MenuItem& popup, QWidget* parent) {
  auto* menu = new QMenu(QString::fromStdString(popup.text), parent);
  FillMenu(menu, popup.items);
  connect(menu, &QMenu::aboutToShow, this, &CommandActions::Update);
  return menu;
}

void CommandActions::Update() {
  for (const auto& [id, action] : m_actions) {
    const CCmdUI ui = m_router.Query(id);
    action->setEnabled(ui.IsEnabled());
    action->setCheckable(ui.IsCheckable());
    action->setChecked(ui.IsChecked());
  }
}
