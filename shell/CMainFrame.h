#pragma once

#include <vector>

#include <QMainWindow>

#include "platform/qt/CCmdTarget.h"

class CChildFrame;
class CommandActions;
class CCommandRouter;
class MainFrameHost;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QMenu;
class QToolBar;

// The main window: the menu bar (menu 128 while no document window is active, menu 129 while one
// is), the toolbar, the status bar with its message pane and key-state panes, and the area that
// holds the child windows. It carries Exit, the View toggles and the Window commands, and fills in
// the recent-file items of the File menu. Files dropped on it open.
class CMainFrame : public QMainWindow, public CCmdTarget {
  Q_OBJECT
  DECLARE_MESSAGE_MAP(CMainFrame)

 public:
  using Base = CCmdTarget;

  CMainFrame(const CCommandRouter& router, MainFrameHost& host);
  ~CMainFrame() override;

  QMdiArea* GetMdiArea() const { return m_mdiArea; }
  CChildFrame* GetActiveFrame() const;
  CommandActions& GetActions() const { return *m_actions; }
  // The context menu, built once from menu 103.
  QMenu* GetContextMenu();
  // Shows the menu bar that fits whether a document window is active.
  void UpdateMenuBar();
  // Refreshes enabling and check marks of every command, and the window title.
  void UpdateCommands();

  // Puts a new child window in the area: cascading from the top left, each fully inside.
  void AddChild(QMdiSubWindow* child);
  // Window, Cascade: the open windows overlapping from the top left, each as large as the area
  // allows after its offset.
  void CascadeChildren();
  // Window, Arrange Icons: minimised windows in rows along the bottom of the area.
  void ArrangeIcons();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void BuildMenus();
  void BuildToolBar();
  void BuildStatusBar();
  void UpdateRecentFileItems();
  void UpdateWindowList(QMenu* menu);
  void UpdateKeyStates();
  void UpdateTitle();
  QSize AreaSize() const;
  int CascadeStep(const QMdiSubWindow* child) const;
  void ChildStateChanged(QMdiSubWindow* child, Qt::WindowStates before, Qt::WindowStates now);

  MainFrameHost& m_host;
  QMdiArea* m_mdiArea;
  CommandActions* m_actions;
  QToolBar* m_toolBar = nullptr;
  std::vector<QMenu*> m_frameMenus;     // menu 128
  std::vector<QMenu*> m_documentMenus;  // menu 129
  QMenu* m_contextMenu = nullptr;
  std::vector<QAction*> m_windowListActions;
  QLabel* m_ready = nullptr;
  std::vector<std::pair<int, QLabel*>> m_keyPanes;
  bool m_showingDocumentMenus = false;
  QString m_title;  // the title last set, which a maximised child extends on its own
};
