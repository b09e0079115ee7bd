#include "shell/CMainFrame.h"

#include <algorithm>

#include <QCloseEvent>
#include <QDir>
#include <QDragEnterEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QWindow>

#include "document/CQuirraDoc.h"
#include "res/Resources.h"
#include "shell/CChildFrame.h"
#include "shell/CSplashWnd.h"
#include "shell/CommandActions.h"
#include "shell/EditorSettings.h"
#include "shell/KeepOnScreen.h"
#include "shell/KeyLocks.h"
#include "shell/MainFrameHost.h"

namespace {

bool HasActiveDocument(CMainFrame& f) { return f.GetActiveFrame() != nullptr; }

// A recent file as the menu shows it: the name, with the folder shortened when it is long.
QString RecentItemText(int index, const QString& path) {
  QString shown = QDir::toNativeSeparators(path);
  if (shown.size() > 60) shown = QStringLiteral("...") + shown.right(57);
  return QStringLiteral("&%1 %2").arg(index + 1).arg(shown.replace(QLatin1Char('&'), QLatin1String("&&")));
}

}  // namespace

const MessageMap<CMainFrame>& CMainFrame::GetMessageMap() {
  using Map = MessageMap<CMainFrame>;
  static const Map map = [] {
    std::vector<Map::Command> commands = {
        {ID_APP_EXIT, [](CMainFrame& f) { f.close(); }},
        {ID_VIEW_TOOLBAR, [](CMainFrame& f) { f.m_toolBar->setVisible(!f.m_toolBar->isVisible()); }},
        {ID_VIEW_STATUS_BAR, [](CMainFrame& f) { f.statusBar()->setVisible(!f.statusBar()->isVisible()); }},
        {ID_WINDOW_NEW, [](CMainFrame& f) { f.m_host.CreateFrame(f.GetActiveFrame()->GetDocument()); }},
        {ID_WINDOW_CASCADE, [](CMainFrame& f) { f.CascadeChildren(); }},
        {ID_WINDOW_TILE_HORZ, [](CMainFrame& f) { f.m_mdiArea->tileSubWindows(); }},
        {ID_WINDOW_ARRANGE, [](CMainFrame& f) { f.ArrangeIcons(); }},
    };
    std::vector<Map::Update> updates;
    for (int id : {ID_WINDOW_NEW, ID_WINDOW_CASCADE, ID_WINDOW_TILE_HORZ, ID_WINDOW_ARRANGE})
      updates.push_back({id, [](CMainFrame& f, CCmdUI& ui) { ui.Enable(HasActiveDocument(f)); }});
    updates.push_back({ID_VIEW_TOOLBAR, [](CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.m_toolBar->isVisible()); }});
    updates.push_back({ID_VIEW_STATUS_BAR, [](CMainFrame& f, CCmdUI& ui) { ui.SetCheck(f.statusBar()->isVisible()); }});
    return Map(std::move(commands), std::move(updates));
  }();
  return map;
}

CMainFrame::CMainFrame(const CCommandRouter& router, MainFrameHost& host) : m_host(host) {
  setWindowTitle(QString::fromStdString(res::LoadString(IDR_MAINFRAME)));
  setWindowIcon(QIcon(QStringLiteral(":/icons/quirra-48.png")));
  setAcceptDrops(true);
  m_mdiArea = new QMdiArea(this);
  setCentralWidget(m_mdiArea);
  m_actions = new CommandActions(router, this);
  BuildMenus();
  BuildToolBar();
  BuildStatusBar();
  connect(m_mdiArea, &QMdiArea::subWindowActivated, this, [this] {
    UpdateMenuBar();
    UpdateCommands();
  });
  UpdateMenuBar();
  if (!EditorSettings::RestoreMainWindow(*this)) resize(900, 650);
  KeepOnScreen(*this);
  CSplashWnd::ShowSplashScreen(this);
}

CMainFrame::~CMainFrame() {
  // The area hides and deletes the child windows only after this body, when the frame is half
  // gone: their activation and state changes must no longer reach it.
  disconnect(m_mdiArea, nullptr, this, nullptr);
  for (QMdiSubWindow* child : m_mdiArea->subWindowList()) disconnect(child, nullptr, this, nullptr);
}

CChildFrame* CMainFrame::GetActiveFrame() const {
  // The current window stays current while the program is in the background.
  if (QMdiSubWindow* current = m_mdiArea->currentSubWindow()) return qobject_cast<CChildFrame*>(current);
  // The area lets go of a minimised window, for one when the program comes back from being
  // minimised itself, and then has none active while every window is minimised. The window used
  // last stays the active one then, as in the old framework: its document keeps its menu and its
  // commands, and Arrange Icons stays within reach.
  const QList<QMdiSubWindow*> used = m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder);
  const bool allMinimised = std::all_of(used.begin(), used.end(), [](QMdiSubWindow* w) { return w->isMinimized(); });
  return !used.isEmpty() && allMinimised ? qobject_cast<CChildFrame*>(used.back()) : nullptr;
}

void CMainFrame::BuildMenus() {
  for (const res::MenuItem& popup : res::LoadMenu(IDR_MAINFRAME))
    m_frameMenus.push_back(m_actions->BuildMenu(popup, this));
  for (const res::MenuItem& popup : res::LoadMenu(IDR_TAVLOTYPE))
    m_documentMenus.push_back(m_actions->BuildMenu(popup, this));
  for (QMenu* file : {m_frameMenus.front(), m_documentMenus.front()})
    connect(file, &QMenu::aboutToShow, this, &CMainFrame::UpdateRecentFileItems);
  for (QMenu* menu : m_documentMenus)
    if (menu->title() == QLatin1String("&Window"))
      connect(menu, &QMenu::aboutToShow, this, [this, menu] { UpdateWindowList(menu); });
  UpdateRecentFileItems();
}

QMenu* CMainFrame::GetContextMenu() {
  if (!m_contextMenu) m_contextMenu = m_actions->BuildMenu(res::LoadMenu(IDR_POPUP).front(), this);
  return m_contextMenu;
}

void CMainFrame::UpdateMenuBar() {
  const bool document = GetActiveFrame() != nullptr;
  if (document == m_showingDocumentMenus && !menuBar()->actions().isEmpty()) return;
  m_showingDocumentMenus = document;
  menuBar()->clear();
  for (QMenu* menu : document ? m_documentMenus : m_frameMenus) menuBar()->addMenu(menu);
}

void CMainFrame::UpdateRecentFileItems() {
  const QStringList files = m_host.RecentFiles();
  for (int i = 0; i < kRecentFiles; ++i) {
    QAction* item = m_actions->Action(ID_FILE_MRU_FILE1 + i);
    if (i < files.size()) {
      item->setText(RecentItemText(i, files[i]));
      item->setVisible(true);
    } else {
      item->setText(QStringLiteral("Recent File"));
      item->setVisible(i == 0 && files.isEmpty());
    }
  }
  m_actions->Update();
}

void CMainFrame::UpdateWindowList(QMenu* menu) {
  for (QAction* a : m_windowListActions) {
    menu->removeAction(a);
    a->deleteLater();
  }
  m_windowListActions.clear();
  const QList<QMdiSubWindow*> windows = m_mdiArea->subWindowList();
  if (windows.isEmpty()) return;
  m_windowListActions.push_back(menu->addSeparator());
  int n = 0;
  for (QMdiSubWindow* w : windows) {
    QString title =
        w->windowTitle().replace(QLatin1String("[*]"), w->isWindowModified() ? QStringLiteral("*") : QString());
    QAction* a =
        menu->addAction(QStringLiteral("&%1 %2").arg(++n).arg(title.replace(QLatin1Char('&'), QLatin1String("&&"))));
    a->setCheckable(true);
    a->setChecked(w == GetActiveFrame());
    connect(a, &QAction::triggered, this, [this, w] { m_mdiArea->setActiveSubWindow(w); });
    m_windowListActions.push_back(a);
  }
}

void CMainFrame::BuildToolBar() {
  m_toolBar = addToolBar(QStringLiteral("Standard"));
  m_toolBar->setObjectName(QStringLiteral("ToolBar128"));
  m_toolBar->setIconSize(QSize(16, 16));
  const QPixmap strip(QStringLiteral(":/pictures/toolbar.png"));
  int image = 0;
  for (int id : res::ToolbarButtons()) {
    if (id == ID_SEPARATOR) {
      m_toolBar->addSeparator();
      continue;
    }
    QAction* action = m_actions->Action(id);
    action->setIcon(QIcon(strip.copy(16 * image++, 0, 16, 16)));
    action->setIconVisibleInMenu(false);
    m_toolBar->addAction(action);
  }
}

void CMainFrame::BuildStatusBar() {
  m_ready = new QLabel(QString::fromStdString(res::LoadString(AFX_IDS_IDLEMESSAGE)));
  statusBar()->addWidget(m_ready, 1);
  for (int id : res::StatusIndicators()) {
    if (id == ID_SEPARATOR) continue;
    auto* pane = new QLabel(QString::fromStdString(res::LoadString(id)));
    pane->setAlignment(Qt::AlignCenter);
    pane->setMinimumWidth(pane->fontMetrics().horizontalAdvance(pane->text()) + 12);
    pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    statusBar()->addPermanentWidget(pane);
    m_keyPanes.emplace_back(id, pane);
  }
  UpdateKeyStates();
  // The window system sends no event when a lock changes elsewhere, so look twice a second.
  auto* timer = new QTimer(this);
  connect(timer, &QTimer::timeout, this, &CMainFrame::UpdateKeyStates);
  timer->start(500);
}

void CMainFrame::UpdateKeyStates() {
  const std::optional<KeyLocks> locks = QueryKeyLocks();
  for (const auto& [id, pane] : m_keyPanes) {
    const bool on = locks && (id == ID_INDICATOR_CAPS  ? locks->caps
                              : id == ID_INDICATOR_NUM ? locks->num
                                                       : locks->scroll);
    // The pane keeps its place; its text shows only while the lock is on.
    pane->setText(on ? QString::fromStdString(res::LoadString(id)) : QString());
  }
}

void CMainFrame::UpdateCommands() {
  m_actions->Update();
  UpdateTitle();
}

// "Quirra - Tavlo1", or "Quirra - [Tavlo1]" while the active child is maximised. A maximised child
// that hands its buttons to the menu bar appends " - [its title]" to whatever title this window
// gets, every time it gets one; so the title is set only when its own text changes, and then to
// just the program's name while such a child is maximised.
void CMainFrame::UpdateTitle() {
  const CChildFrame* active = GetActiveFrame();
  QString title = QString::fromStdString(res::LoadString(IDR_MAINFRAME));
  if (active && active->isMaximized()) {
    if (!active->maximizedButtonsWidget()) title += QStringLiteral(" - [%1]").arg(active->windowTitle());
  } else if (active) {
    title += QStringLiteral(" - ") + active->GetDocument().GetTitle();
  }
  if (title == m_title) return;
  m_title = title;
  setWindowTitle(title);
}

QSize CMainFrame::AreaSize() const {
  // The first windows come before this one is shown, when nothing is laid out yet: lay it out
  // now to learn the area's size.
  if (!isVisible()) {
    layout()->invalidate();
    layout()->activate();
  }
  return m_mdiArea->contentsRect().size();
}

int CMainFrame::CascadeStep(const QMdiSubWindow* child) const {
  // One title bar and its frame, so that each title stays in sight.
  return child->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, child) +
         child->style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, child);
}

void CMainFrame::AddChild(QMdiSubWindow* child) {
  int others = 0;
  for (QMdiSubWindow* w : m_mdiArea->subWindowList())
    if (w != child && !w->isMinimized()) ++others;
  m_mdiArea->addSubWindow(child);
  connect(child, &QMdiSubWindow::windowStateChanged, this,
          [this, child](Qt::WindowStates before, Qt::WindowStates now) { ChildStateChanged(child, before, now); });
  const QSize area = AreaSize();
  const QSize size = area * 3 / 4;
  const int step = std::max(CascadeStep(child), 1);
  const int places = std::max(std::min(area.width() - size.width(), area.height() - size.height()) / step, 0) + 1;
  const int offset = step * (others % places);
  child->setGeometry(QRect(QPoint(offset, offset), size));
}

void CMainFrame::CascadeChildren() {
  std::vector<QMdiSubWindow*> windows;
  for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::StackingOrder))
    if (!w->isMinimized()) windows.push_back(w);
  if (windows.empty()) return;
  const QSize area = AreaSize();
  const int step = std::max(CascadeStep(windows.front()), 1);
  // Start again at the top left before a window would be less than half the area.
  const int places = std::max(std::min(area.width(), area.height()) / 2 / step, 0) + 1;
  for (size_t i = 0; i < windows.size(); ++i) {
    QMdiSubWindow* w = windows[i];
    if (w->isMaximized()) w->showNormal();
    const int offset = step * int(i % places);
    w->setGeometry(QRect(QPoint(offset, offset), area - QSize(offset, offset)));
  }
}

void CMainFrame::ArrangeIcons() {
  const QSize area = AreaSize();
  int x = 0, y = area.height();
  int rowHeight = 0;
  for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::CreationOrder)) {
    if (!w->isMinimized()) continue;
    if (x > 0 && x + w->width() > area.width()) {
      x = 0;
      y -= rowHeight;
      rowHeight = 0;
    }
    if (rowHeight == 0) rowHeight = w->height();
    w->move(x, y - w->height());
    w->raise();  // in sight above the windows at full size, without taking the keys
    x += w->width();
  }
}

void CMainFrame::ChildStateChanged(QMdiSubWindow* child, Qt::WindowStates before, Qt::WindowStates now) {
  const bool minimised = now & Qt::WindowMinimized;
  if (minimised == bool(before & Qt::WindowMinimized)) {
    UpdateTitle();
    return;
  }
  if (minimised && m_mdiArea->activeSubWindow() == child) {
    // Keys should go on to a drawing in sight: the window used before it takes over, if any is in
    // sight; otherwise it stays the active one.
    QMdiSubWindow* next = nullptr;
    for (QMdiSubWindow* w : m_mdiArea->subWindowList(QMdiArea::ActivationHistoryOrder))
      if (w != child && !w->isMinimized()) next = w;
    if (next) m_mdiArea->setActiveSubWindow(next);
  }
  // After the activation, which raises the window it activates.
  ArrangeIcons();
  UpdateMenuBar();
  UpdateCommands();
}

void CMainFrame::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  // The window manager's frame is known only once the window is on the screen: the whole frame,
  // title bar and all, is kept inside the screen then.
  if (!event->spontaneous()) windowHandle()->installEventFilter(this);
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
  if (watched == windowHandle() && event->type() == QEvent::Expose && windowHandle()->isExposed()) {
    watched->removeEventFilter(this);
    KeepOnScreen(*this);
  }
  return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (!m_host.SaveAllModified()) {
    event->ignore();
    return;
  }
  EditorSettings::SaveMainWindow(*this);
  m_host.CloseAllDocuments();
  QMainWindow::closeEvent(event);
}

void CMainFrame::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent* event) {
  const QList<QUrl> urls = event->mimeData()->urls();
  event->acceptProposedAction();
  for (const QUrl& url : urls)
    if (url.isLocalFile()) m_host.OpenDocumentFile(url.toLocalFile());
}
